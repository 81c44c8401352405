#include "PyFtpd.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

#ifndef TARVO_PYFTPD_SCRIPT
#error "TARVO_PYFTPD_SCRIPT must name pyftpd_server.py"
#endif

namespace tarvo::test {

PyFtpd::PyFtpd(PyFtpdOptions options)
    : root_(dir_.file("root"))
{
    if (mkdir(root_.c_str(), 0755) != 0)
        throw std::runtime_error("cannot create " + root_);
    const std::string portFile = dir_.file("port");
    const std::string log = dir_.file("pyftpd.log");
    // Debian's interpreter is the one with pyftpdlib; -I keeps PYTHON* variables and the
    // user's site folder from changing what it imports.
    std::vector<std::string> argv
        = {"/usr/bin/python3", "-I",  TARVO_PYFTPD_SCRIPT, "--root",  root_,         "--port-file", portFile,
           "--user",           kUser, "--password",        kPassword, "--anonymous", "--address",   options.address};
    if (!options.startFolder.empty()) {
        std::filesystem::create_directories(root_ + options.startFolder);
        argv.insert(argv.end(), {"--start-dir", options.startFolder});
    }
    if (!options.tlsCertificate.empty())
        argv.insert(argv.end(), {"--tls-certificate", options.tlsCertificate});
    if (options.idleTimeoutSeconds > 0)
        argv.insert(argv.end(), {"--idle-timeout", std::to_string(options.idleTimeoutSeconds)});
    if (options.cutFirstDownloadAfter > 0)
        argv.insert(argv.end(), {"--cut-first-download-after", std::to_string(options.cutFirstDownloadAfter)});
    if (options.tls12Only)
        argv.push_back("--tls12-only");
    if (options.maxConnectionsPerIp > 0)
        argv.insert(argv.end(), {"--max-cons-per-ip", std::to_string(options.maxConnectionsPerIp)});
    process_ = std::make_unique<ChildProcess>(argv, log);

    // The script writes the port once its socket listens; connections made from then on
    // wait in the backlog, so no greeting probe is needed (one would also count against a
    // connection limit for a moment).
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        try {
            port_ = static_cast<unsigned>(std::stoul(ReadFileBytes(portFile)));
            return;
        } catch (const std::exception&) {
        }
        if (!process_->Running())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    process_->Stop();
    throw std::runtime_error("pyftpdlib did not start: " + ReadFileBytes(log));
}

int PyFtpd::Logins() const
{
    const std::string log = ReadFileBytes(dir_.file("pyftpd.log"));
    int count = 0;
    for (std::size_t at = log.find(" logged in."); at != std::string::npos; at = log.find(" logged in.", at + 1))
        ++count;
    return count;
}

} // namespace tarvo::test
