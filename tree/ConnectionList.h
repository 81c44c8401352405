// The open browsing connections, one per connected server, in the order they completed. The
// folder tree owns it on the user-interface thread; background operations read and set the
// busy flags through BrowsingConnections, so every member takes the list's lock.
#pragma once

#include "operations/OperationHost.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QorFtpConnection;

struct ConnectionEntry {
    // Shared with a listing that runs in the background, so a disconnect never pulls the
    // connection away from under it; the last holder closes it (MakeBrowsingConnection).
    std::shared_ptr<QorFtpConnection> connection;
    std::string serverName;
    int busy = 0; // a background transfer runs over this connection
    std::string startDirectory;
    QDateTime connectedAt;
    bool listing = false; // a listing of the tree runs over it on a worker thread
};

// A connection whose last owner sends QUIT (waiting briefly, with no message box) and
// deletes it, on whatever thread lets it go.
std::shared_ptr<QorFtpConnection> MakeBrowsingConnection();

// Whether an idle connection is known to be gone: the library saw it end, or the server closed
// its side (as servers do after their idle time-out, with a 421 first). Only for a connection
// no other call uses at the moment.
bool IsKnownLost(QorFtpConnection& connection);

class ConnectionListType : public BrowsingConnections {
public:
    void Append(ConnectionEntry entry);
    bool IsConnected(const std::string& serverName) const;
    std::shared_ptr<QorFtpConnection> SharedConnectionOf(const std::string& serverName) const;
    std::optional<ConnectionEntry> EntryOf(const std::string& serverName) const;
    void SetStartDirectory(const std::string& serverName, const std::string& directory);
    void SetListing(const std::string& serverName, bool listing);
    // Puts a connection logged in again in place of the lost one, which it returns (null when
    // the server is no longer connected: the new one is not taken).
    std::shared_ptr<QorFtpConnection> ReplaceConnection(const std::string& serverName,
                                                        std::shared_ptr<QorFtpConnection> connection);
    std::vector<std::string> ServerNames() const;
    // The busy flag alone (a background transfer), which the tree shows as a notice.
    bool IsTransferBusy(const std::string& serverName) const;
    void RenameServer(const std::string& oldName, const std::string& newName);
    // Takes out every entry of that server.
    std::vector<ConnectionEntry> RemoveServer(const std::string& serverName);
    std::optional<ConnectionEntry> TakeFirst();
    std::shared_ptr<QorFtpConnection> FirstConnection() const;
    std::size_t Count() const;

    // BrowsingConnections. A connection that the tree is listing with counts as busy too, so a
    // same-connection retry never shares it with the listing.
    int IsConnectionBusy(const std::string& serverName) override;
    void SetConnectionBusy(const std::string& serverName, int busy) override;
    QorFtpConnection* FindBrowsingConnection(const std::string& serverName) override;
    // Called after every SetConnectionBusy, outside the lock, on the thread that set the flag:
    // Close Connection is enabled only while no transfer uses the connection.
    void SetBusyListener(std::function<void()> listener);

private:
    const ConnectionEntry* Find(const std::string& serverName) const;
    ConnectionEntry* Find(const std::string& serverName);

    mutable std::mutex m_lock;
    std::vector<ConnectionEntry> m_entries;
    std::function<void()> m_busyListener;
};

extern ConnectionListType ConnectionList;
