#pragma once

#include "ChildProcess.h"
#include "SystemAccount.h"
#include "TempDir.h"

#include <memory>
#include <string>

namespace tarvo::test {

struct VsftpdOptions {
    int maxClients = 0; // 0: unlimited
    // A PEM file with certificate and key: TLS required for logins and data, with session reuse
    // on data connections (vsftpd's require_ssl_reuse), explicit (AUTH TLS) or implicit.
    std::string tlsCertificate{};
    bool implicitTls = false;
    bool tls12Only = false; // TLS 1.2 at most (through the server's OpenSSL configuration)
};

// /usr/sbin/vsftpd on 127.0.0.1 with a configuration of its own, serving a fresh folder to a
// throw-away system account whose home (and chroot) it is, and read-only to anonymous.
// Needs root. The constructor returns once the server answers "220"; it throws
// std::runtime_error otherwise. Destruction ends every session, then deletes the account
// and the folder.
class Vsftpd {
public:
    // True when this machine can run it (root, vsftpd and the account tools present).
    static bool Available(std::string& whyNot);

    explicit Vsftpd(VsftpdOptions options = {});
    Vsftpd(const Vsftpd&) = delete;
    Vsftpd& operator=(const Vsftpd&) = delete;

    unsigned port() const { return port_; }
    const std::string& root() const { return root_; }
    const std::string& user() const { return account_.name(); }
    const std::string& password() const { return account_.password(); }

private:
    bool TryStart(const VsftpdOptions& options, std::string& failure);

    TempDir dir_; // holds root/, empty/ (the secure chroot), vsftpd.conf and the log
    std::string root_;
    unsigned port_ = 0;
    SystemAccount account_{root_};
    // Last, so it ends first: sessions run as the account and must be gone before userdel.
    std::unique_ptr<ChildProcess> process_;
};

} // namespace tarvo::test
