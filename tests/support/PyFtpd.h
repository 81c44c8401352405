#pragma once

#include "ChildProcess.h"
#include "TempDir.h"

#include <memory>
#include <string>

namespace tarvo::test {

struct PyFtpdOptions {
    int maxConnectionsPerIp = 0; // 0: pyftpdlib's default (unlimited)
    std::string address = "127.0.0.1"; // "::1" for IPv6
    std::string startFolder{}; // logins start here (made under root()); empty: the root
    // A PEM file with certificate and key: explicit TLS (AUTH TLS), required for logins and data.
    std::string tlsCertificate{};
    bool tls12Only = false; // TLS 1.2 at most instead of 1.3
    double idleTimeoutSeconds = 0; // a session idle this long gets 421 and is closed; 0: pyftpdlib's 300 s
    // The first download's data connection is cut after this many bytes ("426 Transfer aborted");
    // 0: never.
    long long cutFirstDownloadAfter = 0;
};

// A pyftpdlib server on 127.0.0.1 serving a fresh, empty folder. User kUser / kPassword
// has every permission ("elradfmwMT") with home = root(); anonymous may read it. Banner:
// "220 pyftpdlib ready".
// The constructor returns once the server listens; it throws std::runtime_error otherwise.
class PyFtpd {
public:
    explicit PyFtpd(PyFtpdOptions options = {});
    PyFtpd(const PyFtpd&) = delete;
    PyFtpd& operator=(const PyFtpd&) = delete;

    unsigned port() const { return port_; }
    const std::string& root() const { return root_; }
    // How many logins the server has accepted so far (from its log).
    int Logins() const;

    static constexpr const char* kUser = "user";
    static constexpr const char* kPassword = "secret";

private:
    TempDir dir_; // holds root/, the port file and the server's log
    std::string root_;
    unsigned port_ = 0;
    std::unique_ptr<ChildProcess> process_; // last, so the server ends before its folder goes
};

} // namespace tarvo::test
