// Logs one new browsing connection in on a thread of its own, so a slow name lookup or
// greeting never holds the window; the attempt is listed among the running operations, whose
// Cancel reaches the login.
#pragma once

#include "servers/ServerRecord.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

class QorFtpConnection;

// From connection object to the control socket's handle while a connection passes from its
// connect thread to the user-interface thread (-1 until the handle is taken out).
class SocketHandOffMapType {
public:
    void Create(QorFtpConnection* connection);
    void Set(QorFtpConnection* connection, int handle);
    // Removes the entry and returns its handle; none when there was no entry.
    std::optional<int> Take(QorFtpConnection* connection);

private:
    mutable std::mutex m_lock;
    std::map<QorFtpConnection*, int> m_handles;
};

extern SocketHandOffMapType SocketHandOffMap;

class CConnectThread {
public:
    // WM_CONNECT_DONE: called on the connect thread once; `connection` is the logged-in
    // connection, or null when the login failed or was cancelled (the library has shown why).
    // The receiver must pass it on to its own thread itself.
    using ConnectDone = std::function<void(const ServerRecord& server, std::shared_ptr<QorFtpConnection> connection)>;

    // The caller has created the connection, its SocketHandOffMap entry and the
    // OperationStatusList entry of `operationId`, and counted the operation as started.
    CConnectThread(ServerRecord server, std::shared_ptr<QorFtpConnection> connection, std::uint32_t operationId,
                   ConnectDone notify);
    CConnectThread(const CConnectThread&) = delete;
    CConnectThread& operator=(const CConnectThread&) = delete;

    // Starts the thread, which owns this object from then on and deletes it at its end.
    static void Resume(std::unique_ptr<CConnectThread> thread);

private:
    void Run();
    bool LogIn();

    std::shared_ptr<QorFtpConnection> m_pConnection;
    ServerRecord m_server;
    ConnectDone m_pNotifyWnd;
    std::uint32_t m_operationId;
};
