#include "UnpackedFtpd.h"

#include "Loopback.h"

#include <chrono>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#ifndef TARVO_UNPACKED_SERVERS
#error "TARVO_UNPACKED_SERVERS must name the folder the servers' packages are unpacked into"
#endif

namespace tarvo::test {
namespace {

std::string Program(UnpackedFtpd::Kind kind)
{
    return std::string(TARVO_UNPACKED_SERVERS)
        + (kind == UnpackedFtpd::Kind::ProFtpd ? "/usr/sbin/proftpd" : "/usr/sbin/pure-ftpd");
}

} // namespace

bool UnpackedFtpd::Available(Kind kind, std::string& whyNot)
{
    whyNot = geteuid() != 0                        ? "it needs root"
        : access(Program(kind).c_str(), X_OK) != 0 ? Program(kind) + " is missing (tools/deps.sh unpacks it)"
                                                   : "";
    return whyNot.empty();
}

UnpackedFtpd::UnpackedFtpd(Kind kind)
    : root_(dir_.file("root"))
{
    if (chmod(dir_.path().c_str(), 0755) != 0 || mkdir(root_.c_str(), 0755) != 0)
        throw std::runtime_error("cannot prepare " + dir_.path());
    Own(root_);
    port_ = FreeLoopbackPort();
    std::vector<std::string> argv{Program(kind)};
    if (kind == Kind::ProFtpd) {
        const std::string config = dir_.file("proftpd.conf");
        WriteFileBytes(config,
                       "ServerType standalone\nDefaultAddress 127.0.0.1\nPort " + std::to_string(port_)
                           + "\nUseIPv6 off\nUser root\nGroup root\nScoreboardFile " + dir_.file("scoreboard")
                           + "\nPidFile " + dir_.file("pid") + "\nDelayTable none\nWtmpLog off\nTransferLog none\n"
                           + "SystemLog " + dir_.file("system.log")
                           + "\nRequireValidShell off\nAuthOrder mod_auth_unix.c\nDefaultRoot ~\n"
                             "UseReverseDNS off\nAllowOverwrite on\n");
        argv.insert(argv.end(), {"-n", "-q", "-c", config});
    } else {
        // Chrooted users (-A), no anonymous (-E), no name lookups (-H), the system's accounts.
        argv.insert(argv.end(), {"-S", "127.0.0.1," + std::to_string(port_), "-l", "unix", "-E", "-A", "-H"});
    }
    process_ = std::make_unique<ChildProcess>(argv, dir_.file("server.out"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && process_->Running()) {
        const int probe = ConnectLoopback(port_, 2000);
        std::string greeting;
        try {
            greeting = probe >= 0 ? ReceiveLine(probe, 2000) : "";
        } catch (const std::exception&) {
        }
        if (probe >= 0) {
            (void)!send(probe, "QUIT\r\n", 6, MSG_NOSIGNAL);
            WaitClosed(probe, 2000);
            close(probe);
        }
        if (greeting.rfind("220", 0) == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error(argv[0] + " did not start: " + ReadFileBytes(dir_.file("server.out")));
}

void UnpackedFtpd::Own(const std::string& path) const
{
    if (chown(path.c_str(), account_.uid(), account_.gid()) != 0)
        throw std::runtime_error("cannot give " + path + " to " + account_.name());
}

} // namespace tarvo::test
