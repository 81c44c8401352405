// The socket layer under QorFtpConnection: every wait is a poll() on the socket and a wake-up
// descriptor, so that CancelOperation from another thread ends it at once, and every wait has a
// time-out. Errors are errno values, or one of the negative codes below.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <string>

namespace qorftp {

enum SocketError : int {
    kOk = 0,
    kErrCancelled = -1, // the wait was woken by CancelOperation
    kErrClosed = -2, // the server closed the control connection
    kErrHostNotFound = -3, // resolver errors
    kErrTryAgain = -4,
    kErrNoRecovery = -5,
    kErrNoData = -6,
    kErrLineTooLong = -7, // a reply line past kLineLimit: the server does not speak FTP
    kErrReplyTooLong = -8, // a multi-line reply past kReplyLimit
    kErrTls = -9, // the TLS layer failed (handshake, a bad record)
};

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int Family() const { return storage.ss_family; }
    unsigned Port() const;
    void SetPort(unsigned port);
    std::string Host() const; // numeric form
};

// Creates a wake-up descriptor (eventfd); -1 on failure.
int CreateWakeFd();
void Wake(int wakeFd);
void DrainWake(int wakeFd);
// True when a wake was pending; it is taken.
bool TakeWake(int wakeFd);

// Waits until `fd` is ready for `events`. Returns kOk, ETIMEDOUT, kErrCancelled or an errno.
// timeoutMs < 0 waits without limit.
int WaitReady(int fd, short events, int wakeFd, int timeoutMs);

// Resolves `host` ("name", "1.2.3.4", "::1" or "[::1]") and connects to the first address that
// answers. The socket is non-blocking. Returns kOk and sets fd, or an error.
int ConnectTcp(const std::string& host, unsigned port, int wakeFd, int timeoutMs, int& fd);
int ConnectAddress(const Address& address, int wakeFd, int timeoutMs, int& fd);

int LocalAddress(int fd, Address& address);
int PeerAddress(int fd, Address& address);

// A listening socket on `local`'s address with a free port; non-blocking.
int Listen(const Address& local, int backlog, int& fd);
// Accepts one connection on a listening socket from `peer`'s host (any port), waiting at most
// timeoutMs in all: connections from other hosts are closed and the wait goes on.
int Accept(int listenFd, const Address& peer, int wakeFd, int timeoutMs, int& fd);

void SetNonBlocking(int fd);
void SetNoDelay(int fd);
void CloseFd(int& fd);

} // namespace qorftp
