#include "SystemAccount.h"

#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <pwd.h>
#include <random>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tarvo::test {
namespace {

std::string RandomText(std::mt19937& generator, const std::string& alphabet, size_t length)
{
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += alphabet[pick(generator)];
    return text;
}

// useradd and friends fail rather than wait while another process holds /etc/passwd's
// lock (tests may run in parallel), so retry a few times.
int RunRetrying(const std::vector<std::string>& argv, const std::string& input, std::string& output)
{
    int code = -1;
    for (int attempt = 0; attempt < 10; ++attempt) {
        code = RunCommand(argv, input, &output);
        if (code == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + 50 * attempt));
    }
    return code;
}

constexpr const char* kComment = "Tarvo test account of process ";

// Accounts of test processes that died without running destructors (a crash, or ctest
// killing a test that timed out) name the dead process in their comment: delete them.
void DeleteStaleAccounts()
{
    std::vector<std::string> stale;
    setpwent();
    while (const passwd* found = getpwent()) {
        const std::string comment = found->pw_gecos ? found->pw_gecos : "";
        if (comment.rfind(kComment, 0) != 0)
            continue;
        long pid = std::strtol(comment.c_str() + std::strlen(kComment), nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            stale.push_back(found->pw_name);
    }
    endpwent();
    std::string output;
    for (const std::string& name : stale)
        RunCommand({"/usr/sbin/userdel", "-f", name}, "", &output);
}

} // namespace

SystemAccount::SystemAccount(const std::string& home)
{
    static std::once_flag swept;
    std::call_once(swept, DeleteStaleAccounts);
    std::mt19937 generator(std::random_device{}());
    // Tests make their accounts one at a time, so getpwnam's shared buffer will do.
    do
        name_ = "tarvo" + RandomText(generator, "0123456789", 8);
    while (getpwnam(name_.c_str()));
    password_ = RandomText(generator, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 16);

    std::string output;
    if (RunRetrying({"/usr/sbin/useradd", "-M", "-d", home, "-s", "/bin/bash", "-c",
                     kComment + std::to_string(getpid()), name_},
                    "", output)
        != 0)
        throw std::runtime_error("useradd " + name_ + " failed: " + output);
    const passwd* entry = nullptr;
    if (RunRetrying({"/usr/sbin/chpasswd"}, name_ + ":" + password_ + "\n", output) != 0
        || !(entry = getpwnam(name_.c_str()))) {
        RunRetrying({"/usr/sbin/userdel", name_}, "", output);
        throw std::runtime_error("setting up account " + name_ + " failed: " + output);
    }
    uid_ = entry->pw_uid;
    gid_ = entry->pw_gid;
}

SystemAccount::~SystemAccount()
{
    std::string output;
    if (RunRetrying({"/usr/sbin/userdel", name_}, "", output) != 0
        && RunCommand({"/usr/sbin/userdel", "-f", name_}, "", &output) != 0)
        std::cerr << "SystemAccount: could not delete " << name_ << ": " << output << "\n";
}

} // namespace tarvo::test
