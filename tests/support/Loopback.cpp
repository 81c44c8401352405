#include "Loopback.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace tarvo::test {
namespace {

sockaddr_in LoopbackAddress(unsigned port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool WaitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    int r;
    do
        r = poll(&p, 1, timeoutMs);
    while (r < 0 && errno == EINTR);
    return r > 0;
}

// recv() that gives up when nothing arrives for timeoutMs: 0 at the end of the stream, -1 on a
// time-out or a failure.
ssize_t Receive(int fd, char* buffer, size_t size, int timeoutMs)
{
    const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ssize_t n;
    do
        n = recv(fd, buffer, size, 0);
    while (n < 0 && errno == EINTR);
    return n < 0 && errno == ECONNRESET ? 0 : n;
}

} // namespace

int BindLoopback(unsigned& port, int backlog)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address = LoopbackAddress(port);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || (backlog > 0 && listen(fd, backlog) < 0)
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
        close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

unsigned FreeLoopbackPort()
{
    unsigned port = 0;
    int fd = BindLoopback(port, 0);
    if (fd < 0)
        throw std::runtime_error(std::string("bind 127.0.0.1:0: ") + std::strerror(errno));
    close(fd);
    return port;
}

int ConnectLoopback(unsigned port, int timeoutMs, const std::string& source)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    sockaddr_in from = LoopbackAddress(0), to = LoopbackAddress(port);
    // A source address of its own stays on loopback too.
    int r = 0;
    if (!source.empty())
        r = inet_pton(AF_INET, source.c_str(), &from.sin_addr) == 1 && (ntohl(from.sin_addr.s_addr) >> 24) == 127
            ? bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from)
            : -1;
    if (r == 0)
        r = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    if (r < 0 && errno == EINPROGRESS && WaitFor(fd, POLLOUT, timeoutMs)) {
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        r = error == 0 ? 0 : -1;
    }
    if (r < 0) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string ReceiveLine(int fd, int timeoutMs)
{
    std::string line;
    for (char c = 0; c != '\n'; line += c)
        if (Receive(fd, &c, 1, timeoutMs) <= 0)
            throw std::runtime_error("no whole line within the time-out");
    line.pop_back();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool WaitClosed(int fd, int timeoutMs)
{
    char buffer[4096];
    ssize_t n;
    while ((n = Receive(fd, buffer, sizeof buffer, timeoutMs)) > 0) { }
    return n == 0;
}

} // namespace tarvo::test
