// The reply reader: a connection logs in to an in-process server on loopback whose every byte
// is the input, then asks for the current folder. The server writes the input, ends its side
// and reads until the client closes, so a run ends at the connection's end or its 1 s time-out.
#include "QorFtp.h"
#include "QorFtpUi.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

class SilentUi : public QorFtpUi {
public:
    void ShowMessage(const std::string&, const std::string&) override { }
    bool AskYesNo(const std::string&, const std::string&, QorFtpProgress*) override { return false; }
};

// One listening socket for the whole run; its port is the connection's target.
int Listener(unsigned& port)
{
    static unsigned s_port = 0;
    static const int s_fd = [] {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0
            || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        s_port = ntohs(address.sin_port);
        return fd;
    }();
    port = s_port;
    return s_fd;
}

void Serve(int listener, const std::uint8_t* data, std::size_t size)
{
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            break;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    shutdown(fd, SHUT_WR);
    char sink[512];
    while (recv(fd, sink, sizeof sink, 0) > 0) { }
    close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentUi ui;
    unsigned port = 0;
    const int listener = Listener(port);
    std::thread server(Serve, listener, data, size);
    {
        QorFtpConnection connection;
        connection.SetUi(&ui);
        connection.SetTimeout(1);
        if (connection.Login("127.0.0.1", "user", "secret", port, "account")) {
            std::string folder;
            connection.GetCurrentFtpDirectory(folder);
        }
        connection.Close();
    }
    server.join();
    return 0;
}
