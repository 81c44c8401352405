#pragma once

#include <string>
#include <sys/types.h>

namespace tarvo::test {

// A throw-away system account ("tarvo" + digits, shell /bin/bash, random password) for
// servers that log users in through the system, deleted again on destruction.
// Needs root. The home folder is neither created nor removed. Accounts left behind by a
// test process that died (no destructors ran) are deleted by the next one making an account.
class SystemAccount {
public:
    explicit SystemAccount(const std::string& home); // throws std::runtime_error
    ~SystemAccount();
    SystemAccount(const SystemAccount&) = delete;
    SystemAccount& operator=(const SystemAccount&) = delete;

    const std::string& name() const { return name_; }
    const std::string& password() const { return password_; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

private:
    std::string name_;
    std::string password_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

} // namespace tarvo::test
