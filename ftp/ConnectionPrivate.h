// Pieces of QorFtpConnection shared by its source files; not exported.
#pragma once

#include "QorFtp.h"
#include "Socket.h"
#include "StringTable.h"

#include <cstddef>

// Holds the connection's lock for one exchange. A cancel that came before the lock was taken is
// kept: it ends the first wait of this exchange, so a Cancel pressed while a call is still getting
// ready (resolving, connecting) is never lost.
class QORFTP_HIDDEN QorFtpConnection::Lock {
public:
    explicit Lock(QorFtpConnection& connection) : m_connection(connection)
    {
        m_connection.m_pLock.lock();
    }
    ~Lock() { Release(); }
    void Release()
    {
        if (!m_held)
            return;
        m_held = false;
        m_connection.m_pLock.unlock();
    }
    void Acquire()
    {
        if (m_held)
            return;
        m_connection.m_pLock.lock();
        m_held = true;
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    QorFtpConnection& m_connection;
    bool m_held = true;
};

// One data connection: the listening socket of active mode (PORT/EPRT) or the socket already
// connected in passive mode (PASV/EPSV), then the data socket itself.
class QORFTP_HIDDEN QorFtpConnection::DataChannel {
public:
    DataChannel() = default;
    ~DataChannel()
    {
        qorftp::CloseFd(listenFd);
        qorftp::CloseFd(dataFd);
    }
    DataChannel(const DataChannel&) = delete;
    DataChannel& operator=(const DataChannel&) = delete;

    int listenFd = -1;
    int dataFd = -1;
};

namespace qorftp {

// Block sizes: far above the old 4096/1024 bytes, so loopback and fast links are not held back.
constexpr std::size_t kReceiveBlock = 256 * 1024;
constexpr std::size_t kSendBlock = 4 * 1024 * 1024;
constexpr std::size_t kLineLimit = 4096;

// A reply code of 400 or below is an acceptance.
inline bool Accepted(int code) { return code < 401; }

} // namespace qorftp
