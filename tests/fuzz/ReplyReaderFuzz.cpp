// The reply reader over a socket pair: a connection is handed one end, whose every byte to read
// is the input, then asks for the current folder, changes folder and sends a raw command, each
// reading its reply from what is left. No network and no threads, so a run takes microseconds.
#include "QorFtp.h"
#include "QorFtpUi.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class SilentUi : public QorFtpUi {
public:
    void ShowMessage(const std::string&, const std::string&) override { }
    bool AskYesNo(const std::string&, const std::string&, QorFtpProgress*) override { return false; }
};

// What one end of a socket pair holds without a reader; longer inputs are cut there.
constexpr std::size_t kMaxInput = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentUi ui;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        std::abort();
    const int sndbuf = 2 * static_cast<int>(kMaxInput);
    setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &sndbuf, sizeof sndbuf);
    size = std::min(size, kMaxInput);
    for (std::size_t sent = 0; sent < size;) {
        const ssize_t n = send(ends[1], data + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    // The server says no more: a reader that wants more meets the end of the connection.
    shutdown(ends[1], SHUT_WR);
    {
        QorFtpConnection connection;
        connection.SetUi(&ui);
        connection.SetTimeout(1);
        connection.AttachSocket(ends[0]);
        std::string folder;
        connection.GetCurrentFtpDirectory(folder);
        connection.ChangeDirectory("pub");
        connection.SendRaw("NOOP", 1);
        connection.Close();
    }
    close(ends[1]);
    return 0;
}
