#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tarvo::test {
namespace {

// Everything between fork() and exec()/_exit() below runs in the child of a possibly
// multi-threaded process, so it only uses async-signal-safe calls (no allocation).

void CloseFrom(unsigned first)
{
    if (close_range(first, ~0U, 0) == 0)
        return;
    for (unsigned fd = first; fd < 65536; ++fd)
        close(static_cast<int>(fd));
}

// Signal dispositions and the mask survive exec: give the program a clean slate.
void ResetSignals()
{
    struct sigaction action { };
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int sig = 1; sig < NSIG; ++sig)
        if (sig != SIGKILL && sig != SIGSTOP)
            sigaction(sig, &action, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

int CodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 255;
}

// Reaps whatever has ended; returns true when no child is left.
bool ReapAll()
{
    pid_t pid;
    while ((pid = waitpid(-1, nullptr, WNOHANG)) > 0) { }
    return pid < 0 && errno == ECHILD;
}

// Sends sig to each child of ours (the kernel lists them, zombies too, in one line), and to
// its process group: orphans reparented to us (vsftpd's sessions, which call setsid()) are
// ended with their helpers.
void SignalChildren(int sig)
{
    char list[4096];
    const int fd = open("/proc/thread-self/children", O_RDONLY | O_CLOEXEC);
    const ssize_t n = fd < 0 ? 0 : read(fd, list, sizeof list);
    if (fd >= 0)
        close(fd);
    pid_t pid = 0;
    for (ssize_t i = 0; i < n; ++i) {
        if (list[i] >= '0' && list[i] <= '9') {
            pid = pid * 10 + (list[i] - '0');
        } else if (pid > 0) {
            kill(-pid, sig);
            kill(pid, sig);
            pid = 0;
        }
    }
}

[[noreturn]] void Supervise(pid_t parent, const char* path, char* const* argv, int logFd, int pidPipe)
{
    sigset_t waitSet;
    sigemptyset(&waitSet);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD})
        sigaddset(&waitSet, sig);
    sigprocmask(SIG_SETMASK, &waitSet, nullptr);
    struct sigaction action { };
    action.sa_handler = SIG_DFL; // an ignored SIGCHLD would make waitpid() useless
    sigaction(SIGCHLD, &action, nullptr);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(125);

    pid_t program = fork();
    if (program == 0) {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(logFd, 1);
        dup2(logFd, 2);
        dup2(open("/dev/null", O_RDONLY), 0);
        CloseFrom(3);
        ResetSignals();
        execve(path, argv, environ);
        _exit(127);
    }
    (void)!write(pidPipe, &program, sizeof program);
    // The test process's descriptors (a listening socket, say) must not live on in here.
    CloseFrom(0);
    if (program < 0)
        _exit(126);

    for (;;) { // until asked to stop, or the program ends on its own
        const int sig = sigwaitinfo(&waitSet, nullptr);
        if (sig > 0 && (sig != SIGCHLD || waitpid(program, nullptr, WNOHANG) == program))
            break;
    }
    // End the program's group and everything reparented to us, politely for a second, then
    // for sure; never wait forever.
    for (int round = 0; round < 60; ++round) { // each round waits at most 50 ms
        const int sig = round < 20 ? SIGTERM : SIGKILL;
        kill(-program, sig);
        SignalChildren(sig);
        if (ReapAll())
            break;
        sigset_t chld;
        sigemptyset(&chld);
        sigaddset(&chld, SIGCHLD);
        const timespec wait{0, 50'000'000L};
        sigtimedwait(&chld, nullptr, &wait);
    }
    _exit(0);
}

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    for (const std::string& arg : argv)
        pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logPath)
{
    if (argv.empty() || argv[0].empty() || argv[0][0] != '/')
        throw std::runtime_error("ChildProcess needs an absolute program path");
    std::vector<char*> pointers = ArgvPointers(argv);
    int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0)
        throw std::runtime_error("cannot open " + logPath + ": " + std::strerror(errno));
    int pidPipe[2];
    if (pipe2(pidPipe, O_CLOEXEC) < 0) {
        close(logFd);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    pid_t parent = getpid();
    supervisor_ = fork();
    if (supervisor_ == 0)
        Supervise(parent, pointers[0], pointers.data(), logFd, pidPipe[1]);
    int forkError = errno;
    close(logFd);
    close(pidPipe[1]);
    if (supervisor_ < 0) {
        close(pidPipe[0]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(forkError));
    }
    ssize_t n;
    do
        n = read(pidPipe[0], &program_, sizeof program_);
    while (n < 0 && errno == EINTR);
    close(pidPipe[0]);
    if (n != static_cast<ssize_t>(sizeof program_) || program_ <= 0) {
        program_ = -1;
        Stop();
        throw std::runtime_error("could not start " + argv[0]);
    }
}

ChildProcess::~ChildProcess()
{
    Stop();
}

bool ChildProcess::Running()
{
    if (supervisor_ > 0 && waitpid(supervisor_, nullptr, WNOHANG) == supervisor_)
        supervisor_ = -1;
    return supervisor_ > 0;
}

void ChildProcess::Stop()
{
    if (supervisor_ <= 0)
        return;
    kill(supervisor_, SIGTERM);
    // The supervisor needs about a second at most; do not trust it blindly though.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline && Running())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (supervisor_ <= 0)
        return;
    if (program_ > 0)
        kill(-program_, SIGKILL);
    kill(supervisor_, SIGKILL);
    while (waitpid(supervisor_, nullptr, 0) < 0 && errno == EINTR) { }
    supervisor_ = -1;
}

int RunCommand(const std::vector<std::string>& argv, const std::string& input, std::string* output)
{
    std::vector<char*> pointers = ArgvPointers(argv);
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) < 0)
        return -1;
    if (pipe2(out, O_CLOEXEC) < 0) {
        close(in[0]);
        close(in[1]);
        return -1;
    }
    // The input (a line or two) goes into the pipe before the command starts: it fits the
    // pipe's buffer, and nothing can raise SIGPIPE if the command exits without reading.
    bool written
        = input.size() < 65536 && write(in[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
    close(in[1]);
    pid_t pid = written ? fork() : -1;
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        CloseFrom(3);
        ResetSignals();
        execve(pointers[0], pointers.data(), environ);
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    std::string collected;
    char buffer[4096];
    for (ssize_t n; pid > 0;) {
        n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        collected.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    if (pid < 0)
        return -1;
    int status;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (output)
        *output = collected;
    return CodeOf(status);
}

std::vector<pid_t> ChildrenOf(pid_t parent)
{
    // Each thread has children of its own.
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(parent) + "/task", error)) {
        std::ifstream list(task.path() / "children");
        for (pid_t pid; list >> pid;)
            children.push_back(pid);
    }
    return children;
}

} // namespace tarvo::test
