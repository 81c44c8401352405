// A connection owned by one background operation. While it lives, the operation's status row may
// name it, so the background-operations window can cancel through it; it leaves the row before it
// is destroyed, on every way out, an exception included.
#pragma once

#include "servers/ServerRecord.h"

#include <cstdint>
#include <memory>

class QorFtpConnection;

class WorkerConnection {
public:
    WorkerConnection() = default;
    // A new, not yet logged-in connection for `record`; named in the row of `operationId` when
    // `named` (an id of 0 has no row).
    WorkerConnection(std::uint32_t operationId, const ServerRecord& record, int timeoutSeconds, bool named);
    ~WorkerConnection();
    WorkerConnection(WorkerConnection&& other) noexcept;
    WorkerConnection& operator=(WorkerConnection&& other) noexcept;

    QorFtpConnection* get() const { return m_connection.get(); }
    QorFtpConnection* operator->() const { return m_connection.get(); }
    explicit operator bool() const { return m_connection != nullptr; }

    // Leaves the row if it names this connection, then destroys it without a QUIT: after a failed
    // login there is nobody to say goodbye to.
    void Release();
    void CloseAndRelease();

private:
    std::uint32_t m_operationId = 0;
    std::unique_ptr<QorFtpConnection> m_connection;
};
