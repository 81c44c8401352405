#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace qorftp {

unsigned Address::Port() const
{
    if (Family() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(storage).sin_port);
    if (Family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(storage).sin6_port);
    return 0;
}

void Address::SetPort(unsigned port)
{
    if (Family() == AF_INET)
        reinterpret_cast<sockaddr_in&>(storage).sin_port = htons(static_cast<uint16_t>(port));
    else if (Family() == AF_INET6)
        reinterpret_cast<sockaddr_in6&>(storage).sin6_port = htons(static_cast<uint16_t>(port));
}

std::string Address::Host() const
{
    char text[INET6_ADDRSTRLEN] = {};
    if (Family() == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(storage).sin_addr, text, sizeof text);
    else if (Family() == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(storage).sin6_addr, text, sizeof text);
    return text;
}

int CreateWakeFd()
{
    return eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

void Wake(int wakeFd)
{
    if (wakeFd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd, &one, sizeof one);
}

void DrainWake(int wakeFd)
{
    if (wakeFd < 0)
        return;
    uint64_t value;
    [[maybe_unused]] ssize_t n = read(wakeFd, &value, sizeof value);
}

bool TakeWake(int wakeFd)
{
    uint64_t value = 0;
    return wakeFd >= 0 && read(wakeFd, &value, sizeof value) == static_cast<ssize_t>(sizeof value) && value != 0;
}

int WaitReady(int fd, short events, int wakeFd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        int left = -1;
        if (timeoutMs >= 0) {
            auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            left = remaining.count() < 0 ? 0 : static_cast<int>(remaining.count());
        }
        int n = poll(fds, wakeFd >= 0 ? 2 : 1, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ETIMEDOUT;
        if (wakeFd >= 0 && (fds[1].revents & POLLIN)) {
            DrainWake(wakeFd);
            return kErrCancelled;
        }
        // Errors and hang-ups are reported by the recv/send/accept that follows.
        if (fds[0].revents)
            return kOk;
    }
}

void SetNonBlocking(int fd)
{
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags >= 0 && !(flags & O_NONBLOCK))
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

void SetNoDelay(int fd)
{
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

int ConnectAddress(const Address& address, int wakeFd, int timeoutMs, int& fd)
{
    fd = socket(address.Family(), SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return errno;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0)
        return kOk;
    if (errno != EINPROGRESS) {
        int error = errno;
        CloseFd(fd);
        return error;
    }
    int error = WaitReady(fd, POLLOUT, wakeFd, timeoutMs);
    if (error == kOk) {
        socklen_t length = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0)
            error = errno;
    }
    if (error != kOk)
        CloseFd(fd);
    return error;
}

static int ResolverError(int code)
{
    switch (code) {
    case EAI_NONAME:
        return kErrHostNotFound;
    case EAI_AGAIN:
        return kErrTryAgain;
    case EAI_FAIL:
        return kErrNoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return kErrNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return kErrNoData;
#endif
    case EAI_MEMORY:
        return ENOBUFS;
    case EAI_SYSTEM:
        return errno;
    default:
        return kErrHostNotFound;
    }
}

int ConnectTcp(const std::string& host, unsigned port, int wakeFd, int timeoutMs, int& fd)
{
    fd = -1;
    std::string name = host;
    if (name.size() > 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    int code = getaddrinfo(name.c_str(), service.c_str(), &hints, &list);
    if (code == EAI_NONAME || code == EAI_ADDRFAMILY) {
        // AI_ADDRCONFIG hides loopback-only families; ask again without it.
        hints.ai_flags = 0;
        code = getaddrinfo(name.c_str(), service.c_str(), &hints, &list);
    }
    if (code != 0)
        return ResolverError(code);
    int error = kErrHostNotFound;
    for (addrinfo* entry = list; entry; entry = entry->ai_next) {
        Address address;
        std::memcpy(&address.storage, entry->ai_addr, entry->ai_addrlen);
        address.length = entry->ai_addrlen;
        error = ConnectAddress(address, wakeFd, timeoutMs, fd);
        if (error == kOk || error == kErrCancelled)
            break;
    }
    freeaddrinfo(list);
    return error;
}

int LocalAddress(int fd, Address& address)
{
    address.length = sizeof address.storage;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address.storage), &address.length) < 0)
        return errno;
    return kOk;
}

int PeerAddress(int fd, Address& address)
{
    address.length = sizeof address.storage;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&address.storage), &address.length) < 0)
        return errno;
    return kOk;
}

int Listen(const Address& local, int backlog, int& fd)
{
    Address bindTo = local;
    bindTo.SetPort(0);
    fd = socket(bindTo.Family(), SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return errno;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&bindTo.storage), bindTo.length) < 0 || listen(fd, backlog) < 0) {
        int error = errno;
        CloseFd(fd);
        return error;
    }
    return kOk;
}

// The host part of an address; an IPv4 address mapped into IPv6 counts as the IPv4 one.
static std::string HostBytes(const Address& address)
{
    if (address.Family() == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address.storage).sin_addr;
        return std::string(reinterpret_cast<const char*>(&in), sizeof in);
    }
    if (address.Family() == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address.storage).sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&in6))
            return std::string(reinterpret_cast<const char*>(in6.s6_addr) + 12, 4);
        return std::string(reinterpret_cast<const char*>(in6.s6_addr), sizeof in6.s6_addr);
    }
    return {};
}

int Accept(int listenFd, const Address& peer, int wakeFd, int timeoutMs, int& fd)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    const std::string expected = HostBytes(peer);
    for (;;) {
        Address from;
        from.length = sizeof from.storage;
        fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&from.storage), &from.length, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            if (!expected.empty() && HostBytes(from) == expected)
                return kOk;
            // Anyone may connect to the port a PORT command announced; only the server's data
            // is the listing or the file.
            CloseFd(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return errno;
        int left = -1;
        if (timeoutMs >= 0) {
            const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            left = remaining.count() < 0 ? 0 : static_cast<int>(remaining.count());
        }
        int error = WaitReady(listenFd, POLLIN, wakeFd, left);
        if (error != kOk)
            return error;
    }
}

} // namespace qorftp
