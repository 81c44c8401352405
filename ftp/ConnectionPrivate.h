// Pieces of QorFtpConnection shared by its source files; not exported.
#pragma once

#include "QorFtp.h"
#include "Socket.h"
#include "StringTable.h"
#include "Tls.h"

#include <chrono>
#include <cstddef>
#include <poll.h>
#include <sys/socket.h>

namespace qorftp {

// Block sizes: far above the old 4096/1024 bytes, so loopback and fast links are not held back.
constexpr std::size_t kReceiveBlock = 256 * 1024;
constexpr std::size_t kSendBlock = 4 * 1024 * 1024;
constexpr std::size_t kLineLimit = 4096;
// All lines of one reply together: far above any greeting, FEAT or HELP text and a STAT listing
// of some thousand entries, yet an endless "220-" stream ends at once even without a time-out.
constexpr std::size_t kReplyLimit = 1024 * 1024;
// The time-out a caller may set, when it sets one (0 waits without limit).
constexpr int kMinTimeoutSeconds = 1;
constexpr int kMaxTimeoutSeconds = 3600;

// A reply code of 400 or below is an acceptance.
inline bool Accepted(int code)
{
    return code < 401;
}

} // namespace qorftp

// Holds the connection's lock for one exchange. A cancel that came before the lock was taken is
// kept: it ends the first wait or reply read of this exchange, so a Cancel pressed while a call is still getting
// ready (resolving, connecting) is never lost.
class QORFTP_HIDDEN QorFtpConnection::Lock {
public:
    explicit Lock(QorFtpConnection& connection)
        : m_connection(connection)
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
// With PROT P the data socket carries TLS that resumes the control connection's session.
class QORFTP_HIDDEN QorFtpConnection::DataChannel {
public:
    DataChannel() = default;
    ~DataChannel()
    {
        qorftp::CloseFd(listenFd);
        Close();
    }
    DataChannel(const DataChannel&) = delete;
    DataChannel& operator=(const DataChannel&) = delete;

    // As recv and send; `events` says what to wait for after EAGAIN (TLS may read to write).
    ssize_t Receive(char* buffer, std::size_t length, short& events)
    {
        events = POLLIN;
        return ssl ? qorftp::TlsRead(ssl, buffer, length, events) : ::recv(dataFd, buffer, length, 0);
    }
    ssize_t Send(const char* buffer, std::size_t length, short& events)
    {
        events = POLLOUT;
        return ssl ? qorftp::TlsWrite(ssl, buffer, length, events) : ::send(dataFd, buffer, length, MSG_NOSIGNAL);
    }
    // The end of an upload: the close notice, then the end of the stream.
    void EndSending()
    {
        qorftp::TlsShutdown(ssl);
        ::shutdown(dataFd, SHUT_WR);
    }
    void Close()
    {
        qorftp::FreeDataTls(ssl);
        qorftp::CloseFd(dataFd);
    }

    int listenFd = -1;
    int dataFd = -1;
    SSL* ssl = nullptr;
};

// The bounds of one reply being read: the time-out bounds the whole reply, not each read, so a
// server dripping lines or bytes cannot hold a call longer than that; and its size is limited.
struct QORFTP_HIDDEN QorFtpConnection::Reply {
    explicit Reply(int timeoutMs)
        : limited(timeoutMs >= 0)
        , deadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0))
    {
    }
    // What is left of the time-out for the next wait; -1 without a time-out.
    int LeftMs() const
    {
        if (!limited)
            return -1;
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }

    const bool limited;
    const std::chrono::steady_clock::time_point deadline;
    std::size_t bytesLeft = qorftp::kReplyLimit;
};
