#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tarvo::test {

// Runs a program (a server) in a session of its own, under a small supervising process
// that is a child subreaper. Stopping ends the program's process group and everything it
// forked, even into sessions of their own, and reaps it all, so neither strays nor zombies
// outlive a test (PID 1 here does not reap orphans). If the test process dies, the supervisor cleans up as well;
// as that notice goes by thread, construct it on a thread that outlives it.
class ChildProcess {
public:
    // argv[0] must be an absolute path. stdout and stderr are appended to logPath.
    // Throws std::runtime_error when it cannot start.
    ChildProcess(const std::vector<std::string>& argv, const std::string& logPath);
    ~ChildProcess(); // Stop()
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False once the program has ended, on its own or through Stop().
    bool Running();
    // SIGTERM to the program and its descendants, SIGKILL a second later; returns when all
    // of them are gone. Does nothing the second time.
    void Stop();
    // The program's process id, which is also its process group id.
    pid_t pid() const { return program_; }

private:
    pid_t supervisor_ = -1;
    pid_t program_ = -1;
};

// Runs argv (absolute path) to completion with `input` on its stdin. Returns its exit
// code (-1 if it could not run); its stdout and stderr go to *output when given.
int RunCommand(const std::vector<std::string>& argv, const std::string& input, std::string* output = nullptr);

// Ids of the processes (zombies included) whose parent is `parent`.
std::vector<pid_t> ChildrenOf(pid_t parent);

} // namespace tarvo::test
