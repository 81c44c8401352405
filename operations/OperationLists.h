// The process-wide lists of running operations, pending requests and script steps. Workers and
// the user-interface thread both touch them, so each list has a lock of its own.
#pragma once

#include "OperationRequest.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QorFtpConnection;

// Set when the user cancels an operation; a worker waiting for an answer gives up when it is set.
using CancelFlag = std::shared_ptr<std::atomic<bool>>;

// The progress of a folder job, shared by the job's workers and the operations window. Totals
// grow while `counting` is set (the tree is still being walked).
struct JobProgress {
    std::atomic<std::uint64_t> totalFiles{0}, doneFiles{0}, failedFiles{0};
    std::atomic<std::uint64_t> totalBytes{0}, doneBytes{0};
    std::atomic<bool> counting{true};
    // The file in flight (the last one a worker started).
    std::string CurrentFile() const;
    void SetCurrentFile(std::string file);

private:
    mutable std::mutex m_lock;
    std::string m_currentFile;
};

struct OperationStatus {
    std::uint32_t operationId = 0;
    QorFtpConnection* connection = nullptr;
    std::string title;
    std::string description;
    CancelFlag cancelled = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<JobProgress> progress; // folder jobs only
};

class OperationStatusListType {
public:
    void Append(OperationStatus status);
    // The first entry of that id; a worker calls it when it has a connection. No effect without one.
    void SetStatusConnection(std::uint32_t operationId, QorFtpConnection* connection);
    // The first entry of that id says this from now on (the operations window's tip for its row).
    void SetStatusDescription(std::uint32_t operationId, const std::string& description);
    // Must run before the connection the entry names is destroyed.
    void RemoveStatusEntry(std::uint32_t operationId);
    // Removes the entry of that id only when it names `connection`; true when it did. A worker
    // calls it before destroying one of its connections.
    bool RemoveStatusEntryNaming(std::uint32_t operationId, QorFtpConnection* connection);
    // Cancels the operation: its flag, and its connection's blocking call or transfer. Runs under
    // the list's lock, so the connection cannot be destroyed meanwhile.
    bool Cancel(std::uint32_t operationId);
    std::optional<OperationStatus> Find(std::uint32_t operationId) const;
    CancelFlag CancelFlagOf(std::uint32_t operationId) const;
    std::vector<OperationStatus> Snapshot() const;
    std::size_t Count() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<OperationStatus> m_entries;
};

class RequestListType {
public:
    void Append(const OperationRequest& request);
    // Takes the first request of that id out of the list.
    std::optional<OperationRequest> Take(std::uint32_t operationId);
    void Replace(std::vector<OperationRequest> requests);
    std::vector<OperationRequest> Snapshot() const;
    std::size_t Count() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<OperationRequest> m_requests;
};

extern OperationStatusListType OperationStatusList;
extern RequestListType PendingRequestList;
extern RequestListType ScriptStepList;
