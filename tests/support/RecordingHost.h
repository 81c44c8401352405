// An OperationHost for tests: records the count reports (with the status row the main frame
// would read), the retries and the local files opened. Workers report from their threads; read
// the records after the workers have ended, or through Started and Running at any time.
#pragma once

#include "operations/OperationHost.h"
#include "operations/OperationLists.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvo::test {

class RecordingHost : public OperationHost {
public:
    struct Count {
        bool started;
        std::uint32_t id;
        std::optional<OperationStatus> row; // the status row as the main frame reads it
    };
    void OperationCount(bool started, std::uint32_t id) override
    {
        auto row = OperationStatusList.Find(id);
        std::lock_guard<std::mutex> guard(m_lock);
        counts.push_back({started, id, row});
        (started ? m_started : m_ended)++;
    }
    void RetrySameConnection(unsigned long code, std::uint32_t id) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        retries.emplace_back(code, id);
    }
    void OpenLocalFile(const std::string& folder, const std::string& name) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        opened.push_back(folder + "|" + name);
    }
    // The texts of the row that count report `i` saw: "title | description".
    std::string Row(std::size_t i = 0) const
    {
        const auto& row = counts.at(i).row;
        return row ? row->title + " | " + row->description : "(no row)";
    }
    int Started() const { return m_started; }
    // Folder jobs started so far: operations whose row carries a job's progress.
    int JobsStarted()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        int jobs = 0;
        for (const Count& count : counts)
            jobs += count.started && count.row && count.row->progress ? 1 : 0;
        return jobs;
    }
    int Running() const { return m_started - m_ended; }

    std::vector<Count> counts;
    std::vector<std::pair<unsigned long, std::uint32_t>> retries;
    std::vector<std::string> opened;

private:
    std::mutex m_lock;
    std::atomic<int> m_started{0};
    std::atomic<int> m_ended{0};
};

} // namespace tarvo::test
