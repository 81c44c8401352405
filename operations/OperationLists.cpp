#include "OperationLists.h"

#include "QorFtp.h"

#include <algorithm>

OperationStatusListType OperationStatusList;
RequestListType PendingRequestList;
RequestListType ScriptStepList;

std::string JobProgress::CurrentFile() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_currentFile;
}

void JobProgress::SetCurrentFile(std::string file)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_currentFile = std::move(file);
}

void OperationStatusListType::Append(OperationStatus status)
{
    if (!status.cancelled)
        status.cancelled = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries.push_back(std::move(status));
}

void OperationStatusListType::SetStatusDescription(std::uint32_t operationId, const std::string& description)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (OperationStatus& entry : m_entries) {
        if (entry.operationId == operationId) {
            entry.description = description;
            return;
        }
    }
}

void OperationStatusListType::SetStatusConnection(std::uint32_t operationId, QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (OperationStatus& entry : m_entries) {
        if (entry.operationId == operationId) {
            entry.connection = connection;
            // A Cancel that came before the operation had its connection reaches it now.
            if (connection && entry.cancelled->load())
                connection->CancelOperation();
            return;
        }
    }
}

void OperationStatusListType::RemoveStatusEntry(std::uint32_t operationId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const OperationStatus& entry) { return entry.operationId == operationId; });
    if (it != m_entries.end())
        m_entries.erase(it);
}

bool OperationStatusListType::RemoveStatusEntryNaming(std::uint32_t operationId, QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const OperationStatus& entry) { return entry.operationId == operationId; });
    if (it == m_entries.end() || it->connection != connection)
        return false;
    m_entries.erase(it);
    return true;
}

bool OperationStatusListType::Cancel(std::uint32_t operationId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (OperationStatus& entry : m_entries) {
        if (entry.operationId == operationId) {
            entry.cancelled->store(true);
            if (entry.connection)
                entry.connection->CancelOperation();
            return true;
        }
    }
    return false;
}

std::optional<OperationStatus> OperationStatusListType::Find(std::uint32_t operationId) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (const OperationStatus& entry : m_entries)
        if (entry.operationId == operationId)
            return entry;
    return std::nullopt;
}

CancelFlag OperationStatusListType::CancelFlagOf(std::uint32_t operationId) const
{
    std::optional<OperationStatus> entry = Find(operationId);
    return entry ? entry->cancelled : nullptr;
}

std::vector<OperationStatus> OperationStatusListType::Snapshot() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries;
}

std::size_t OperationStatusListType::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries.size();
}

void OperationStatusListType::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries.clear();
}

void RequestListType::Append(const OperationRequest& request)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.push_back(request);
}

std::optional<OperationRequest> RequestListType::Take(std::uint32_t operationId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_requests.begin(), m_requests.end(),
                           [&](const OperationRequest& request) { return request.operationId == operationId; });
    if (it == m_requests.end())
        return std::nullopt;
    OperationRequest request = *it;
    m_requests.erase(it);
    return request;
}

void RequestListType::Replace(std::vector<OperationRequest> requests)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests = std::move(requests);
}

std::vector<OperationRequest> RequestListType::Snapshot() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

std::size_t RequestListType::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests.size();
}

void RequestListType::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_requests.clear();
}
