#include "servers/CConnectThread.h"

#include "operations/Executor.h"
#include "operations/OperationConnection.h"
#include "operations/OperationHost.h"
#include "operations/OperationLists.h"

#include "QorFtp.h"

#include <unistd.h>

SocketHandOffMapType SocketHandOffMap;

void SocketHandOffMapType::Create(QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_handles[connection] = -1;
}

void SocketHandOffMapType::Set(QorFtpConnection* connection, int handle)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_handles[connection] = handle;
}

std::optional<int> SocketHandOffMapType::Take(QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_handles.find(connection);
    if (found == m_handles.end())
        return std::nullopt;
    const int handle = found->second;
    m_handles.erase(found);
    return handle;
}

CConnectThread::CConnectThread(ServerRecord server, std::shared_ptr<QorFtpConnection> connection,
                               std::uint32_t operationId, ConnectDone notify)
    : m_pConnection(std::move(connection))
    , m_server(std::move(server))
    , m_pNotifyWnd(std::move(notify))
    , m_operationId(operationId)
{
}

void CConnectThread::Resume(std::unique_ptr<CConnectThread> thread)
{
    ProgramExecutor().Run([self = std::shared_ptr<CConnectThread>(std::move(thread))] { self->Run(); });
}

bool CConnectThread::LogIn()
{
    QorFtpConnection& connection = *m_pConnection;
    // From here the running-operations window can cancel the login through the connection.
    OperationStatusList.SetStatusConnection(m_operationId, &connection);
    const CancelFlag cancelled = OperationStatusList.CancelFlagOf(m_operationId);
    const auto isCancelled = [&cancelled] { return cancelled && cancelled->load(); };
    if (isCancelled())
        return false;
    // Encrypted as the server's record says; a certificate trusted now is kept for a stored server,
    // and a new one gets it when it is stored.
    if (!LoginWith(connection, m_server))
        return false;
    // The start folder is asked here rather than on the user-interface thread, which then only
    // reads it (GetCurrentDirectoryA); a slow server cannot hold the window with it.
    std::string directory;
    connection.GetCurrentFtpDirectory(directory);
    return !isCancelled();
}

void CConnectThread::Run()
{
    if (!m_pConnection) {
        OperationStatusList.RemoveStatusEntry(m_operationId);
        GetOperationHost().OperationCount(false, m_operationId);
        return;
    }
    int handle = -1;
    const CancelFlag cancelled = OperationStatusList.CancelFlagOf(m_operationId);
    bool loggedIn = LogIn() && m_pConnection->GetSocketHandle(handle);
    // The entry names the connection, so it goes before the connection is given away or
    // deleted: a late Cancel then finds nothing to reach.
    OperationStatusList.RemoveStatusEntry(m_operationId);
    // A Cancel that came after the login's last wait still counts; its wake must not end the
    // tree's first listing on this connection.
    if (loggedIn && cancelled && cancelled->load()) {
        loggedIn = false;
        ::close(handle);
    }
    if (loggedIn) {
        SocketHandOffMap.Set(m_pConnection.get(), handle);
        m_pNotifyWnd(m_server, std::move(m_pConnection));
    } else {
        SocketHandOffMap.Take(m_pConnection.get());
        m_pConnection.reset();
        m_pNotifyWnd(m_server, nullptr);
    }
    GetOperationHost().OperationCount(false, m_operationId);
}
