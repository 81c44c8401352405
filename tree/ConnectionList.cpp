#include "tree/ConnectionList.h"

#include "servers/CConnectThread.h"

#include "QorFtp.h"

#include <poll.h>
#include <unistd.h>

ConnectionListType ConnectionList;

namespace {

// QUIT is a courtesy: a server that does not answer must not hold the window for long.
constexpr int kCloseTimeoutSeconds = 3;

void CloseBrowsingConnection(QorFtpConnection* connection)
{
    // A handle handed over by a connect thread but never attached still has to be closed.
    if (std::optional<int> handle = SocketHandOffMap.Take(connection); handle && *handle >= 0)
        ::close(*handle);
    connection->SetShowError(0);
    connection->SetTimeout(kCloseTimeoutSeconds);
    connection->Close();
    delete connection;
}

} // namespace

std::shared_ptr<QorFtpConnection> MakeBrowsingConnection()
{
    return std::shared_ptr<QorFtpConnection>(new QorFtpConnection, CloseBrowsingConnection);
}

bool IsKnownLost(QorFtpConnection& connection)
{
    const QorFtpSocket* socket = connection.GetSocket();
    if (!socket)
        return true;
    // A hang-up only, not mere data waiting: on an encrypted connection the server may have sent
    // a record (a session ticket) that nobody has read yet.
    pollfd peer{socket->Handle(), POLLRDHUP, 0};
    return ::poll(&peer, 1, 0) > 0 && (peer.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

const ConnectionEntry* ConnectionListType::Find(const std::string& serverName) const
{
    for (const ConnectionEntry& entry : m_entries) {
        if (entry.serverName == serverName)
            return &entry;
    }
    return nullptr;
}

ConnectionEntry* ConnectionListType::Find(const std::string& serverName)
{
    for (ConnectionEntry& entry : m_entries) {
        if (entry.serverName == serverName)
            return &entry;
    }
    return nullptr;
}

void ConnectionListType::Append(ConnectionEntry entry)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries.push_back(std::move(entry));
}

bool ConnectionListType::IsConnected(const std::string& serverName) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return Find(serverName) != nullptr;
}

std::shared_ptr<QorFtpConnection> ConnectionListType::SharedConnectionOf(const std::string& serverName) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ConnectionEntry* entry = Find(serverName);
    return entry ? entry->connection : nullptr;
}

std::optional<ConnectionEntry> ConnectionListType::EntryOf(const std::string& serverName) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ConnectionEntry* entry = Find(serverName);
    if (!entry)
        return std::nullopt;
    return *entry;
}

void ConnectionListType::SetStartDirectory(const std::string& serverName, const std::string& directory)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (ConnectionEntry* entry = Find(serverName))
        entry->startDirectory = directory;
}

void ConnectionListType::SetListing(const std::string& serverName, bool listing)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (ConnectionEntry* entry = Find(serverName))
        entry->listing = listing;
}

std::shared_ptr<QorFtpConnection> ConnectionListType::ReplaceConnection(const std::string& serverName,
                                                                        std::shared_ptr<QorFtpConnection> connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    ConnectionEntry* entry = Find(serverName);
    if (!entry)
        return nullptr;
    std::swap(entry->connection, connection);
    return connection;
}

std::vector<std::string> ConnectionListType::ServerNames() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> names;
    for (const ConnectionEntry& entry : m_entries)
        names.push_back(entry.serverName);
    return names;
}

bool ConnectionListType::IsTransferBusy(const std::string& serverName) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ConnectionEntry* entry = Find(serverName);
    return entry && entry->busy != 0;
}

void ConnectionListType::RenameServer(const std::string& oldName, const std::string& newName)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (ConnectionEntry& entry : m_entries) {
        if (entry.serverName == oldName)
            entry.serverName = newName;
    }
}

std::vector<ConnectionEntry> ConnectionListType::RemoveServer(const std::string& serverName)
{
    std::vector<ConnectionEntry> removed;
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->serverName == serverName) {
            removed.push_back(std::move(*it));
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

std::optional<ConnectionEntry> ConnectionListType::TakeFirst()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_entries.empty())
        return std::nullopt;
    ConnectionEntry first = std::move(m_entries.front());
    m_entries.erase(m_entries.begin());
    return first;
}

std::shared_ptr<QorFtpConnection> ConnectionListType::FirstConnection() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries.empty() ? nullptr : m_entries.front().connection;
}

std::size_t ConnectionListType::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries.size();
}

int ConnectionListType::IsConnectionBusy(const std::string& serverName)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ConnectionEntry* entry = Find(serverName);
    if (!entry)
        return 1;
    return entry->busy != 0 || entry->listing ? 1 : 0;
}

void ConnectionListType::SetConnectionBusy(const std::string& serverName, int busy)
{
    std::function<void()> listener;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (ConnectionEntry* entry = Find(serverName))
            entry->busy = busy;
        listener = m_busyListener;
    }
    if (listener)
        listener();
}

void ConnectionListType::SetBusyListener(std::function<void()> listener)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_busyListener = std::move(listener);
}

QorFtpConnection* ConnectionListType::FindBrowsingConnection(const std::string& serverName)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ConnectionEntry* entry = Find(serverName);
    return entry ? entry->connection.get() : nullptr;
}
