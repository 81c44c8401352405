#pragma once

#include "ChildProcess.h"
#include "SystemAccount.h"
#include "TempDir.h"

#include <memory>
#include <string>

namespace tarvo::test {

// proftpd or pure-ftpd on 127.0.0.1, run from Debian's packages unpacked (not installed: they
// conflict with vsftpd) into the folder tools/deps.sh fills, serving a fresh folder to a
// throw-away system account whose home (and chroot) it is. Needs root. The constructor returns
// once the server greets; it throws std::runtime_error otherwise.
class UnpackedFtpd {
public:
    enum class Kind { ProFtpd, PureFtpd };

    // True when this machine can run it (root, the unpacked server present).
    static bool Available(Kind kind, std::string& whyNot);

    explicit UnpackedFtpd(Kind kind);
    UnpackedFtpd(const UnpackedFtpd&) = delete;
    UnpackedFtpd& operator=(const UnpackedFtpd&) = delete;

    unsigned port() const { return port_; }
    const std::string& root() const { return root_; }
    const std::string& user() const { return account_.name(); }
    const std::string& password() const { return account_.password(); }
    // A file or folder made here belongs to the account, as if uploaded.
    void Own(const std::string& path) const;

private:
    TempDir dir_;
    std::string root_;
    unsigned port_ = 0;
    SystemAccount account_{root_};
    std::unique_ptr<ChildProcess> process_; // last, so it ends before the account goes
};

} // namespace tarvo::test
