#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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

void CloseFrom(unsigned first) {
  if (close_range(first, ~0U, 0) == 0) return;
  for (unsigned fd = first; fd < 65536; ++fd) close(static_cast<int>(fd));
}

// Signal dispositions and the mask survive exec: give the program a clean slate.
void ResetSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int sig = 1; sig < NSIG; ++sig)
    if (sig != SIGKILL && sig != SIGSTOP) sigaction(sig, &action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

int CodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 255;
}

// Reaps whatever has ended; returns true when no child is left.
bool ReapAll(pid_t program, int& programCode) {
  for (;;) {
    int status;
    pid_t pid = waitpid(-1, &status, WNOHANG);
    if (pid > 0) {
      if (pid == program) programCode = CodeOf(status);
      continue;
    }
    return pid < 0 && errno == ECHILD;
  }
}

// Calls f(pid, parentPid, groupId) for every process, reading /proc with plain system
// calls only, so the supervisor may use it too.
template <typename F>
void ForEachProcess(F f) {
  int dir = open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  alignas(dirent64) char entries[8192];
  for (;;) {
    ssize_t size = getdents64(dir, entries, sizeof entries);
    if (size <= 0) break;
    for (ssize_t at = 0; at < size;) {
      const dirent64* entry = reinterpret_cast<const dirent64*>(entries + at);
      at += entry->d_reclen;
      long pid = 0;
      const char* c = entry->d_name;
      for (; *c >= '0' && *c <= '9'; ++c) pid = pid * 10 + (*c - '0');
      if (*c != '\0' || pid <= 0) continue;
      char path[64] = "/proc/";
      size_t length = 6;
      for (c = entry->d_name; *c && length < 50; ++c) path[length++] = *c;
      for (c = "/stat"; *c; ++c) path[length++] = *c;
      path[length] = '\0';
      int fd = open(path, O_RDONLY | O_CLOEXEC);
      if (fd < 0) continue;
      char stat[1024];
      ssize_t n = read(fd, stat, sizeof stat - 1);
      close(fd);
      if (n <= 0) continue;
      // "pid (comm) state ppid pgrp ...": comm may hold anything, so start after its last ')'.
      ssize_t i = n - 1;
      while (i > 0 && stat[i] != ')') --i;
      long numbers[2] = {0, 0};
      i += 4;  // ") S "
      for (long& number : numbers) {
        for (; i < n && stat[i] >= '0' && stat[i] <= '9'; ++i) number = number * 10 + (stat[i] - '0');
        ++i;
      }
      f(static_cast<pid_t>(pid), static_cast<pid_t>(numbers[0]), static_cast<pid_t>(numbers[1]));
    }
  }
  close(dir);
}

// Sends sig to each child of ours, and to its process group when it leads one: orphans
// reparented to us (vsftpd's sessions, which call setsid()) are ended with their helpers.
void SignalChildren(int sig) {
  const pid_t self = getpid();
  ForEachProcess([&](pid_t pid, pid_t parent, pid_t group) {
    if (parent != self) return;
    if (group == pid) kill(-pid, sig);
    kill(pid, sig);
  });
}

void WaitSigchld(long ms) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGCHLD);
  timespec timeout{ms / 1000, (ms % 1000) * 1000000L};
  sigtimedwait(&set, nullptr, &timeout);
}

[[noreturn]] void Supervise(pid_t parent, const char* path, char* const* argv, int logFd, int pidPipe) {
  sigset_t waitSet;
  sigemptyset(&waitSet);
  for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&waitSet, sig);
  sigprocmask(SIG_SETMASK, &waitSet, nullptr);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;  // an ignored SIGCHLD would make waitpid() useless
  sigaction(SIGCHLD, &action, nullptr);
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(125);
  // Keep only the pipe (as 3) and the log (as 4): above 9 first, so neither lands on the other.
  pidPipe = fcntl(pidPipe, F_DUPFD, 10);
  logFd = fcntl(logFd, F_DUPFD, 10);
  dup2(pidPipe, 3);
  dup2(logFd, 4);
  pidPipe = 3;
  logFd = 4;
  CloseFrom(5);

  pid_t program = fork();
  if (program < 0) _exit(126);
  if (program == 0) {
    setsid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    dup2(logFd, 1);
    dup2(logFd, 2);
    CloseFrom(3);
    ResetSignals();
    execve(path, argv, environ);
    _exit(127);
  }
  (void)!write(pidPipe, &program, sizeof program);
  close(pidPipe);

  int programCode = -1;
  for (;;) {
    int sig = sigwaitinfo(&waitSet, nullptr);
    if (sig < 0) continue;
    if (sig != SIGCHLD) break;  // asked to stop
    ReapAll(program, programCode);
    if (programCode >= 0) break;  // the program ended on its own
  }
  // End the program's group and everything reparented to us, politely for a second, then
  // for sure; never wait forever.
  for (int round = 0; round < 60; ++round) {  // each round waits at most 50 ms
    const int sig = round < 20 ? SIGTERM : SIGKILL;
    kill(-program, sig);
    SignalChildren(sig);
    if (ReapAll(program, programCode)) break;
    WaitSigchld(50);
  }
  _exit(programCode < 0 ? 0 : programCode);
}

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logPath) {
  if (argv.empty() || argv[0].empty() || argv[0][0] != '/')
    throw std::runtime_error("ChildProcess needs an absolute program path");
  std::vector<char*> pointers = ArgvPointers(argv);
  int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (logFd < 0) throw std::runtime_error("cannot open " + logPath + ": " + std::strerror(errno));
  int pidPipe[2];
  if (pipe2(pidPipe, O_CLOEXEC) < 0) {
    close(logFd);
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }
  pid_t parent = getpid();
  supervisor_ = fork();
  if (supervisor_ == 0) Supervise(parent, pointers[0], pointers.data(), logFd, pidPipe[1]);
  int forkError = errno;
  close(logFd);
  close(pidPipe[1]);
  if (supervisor_ < 0) {
    close(pidPipe[0]);
    throw std::runtime_error(std::string("fork: ") + std::strerror(forkError));
  }
  ssize_t n;
  do n = read(pidPipe[0], &program_, sizeof program_); while (n < 0 && errno == EINTR);
  close(pidPipe[0]);
  if (n != static_cast<ssize_t>(sizeof program_)) {
    program_ = -1;
    Stop();
    throw std::runtime_error("could not start " + argv[0]);
  }
}

ChildProcess::~ChildProcess() { Stop(); }

void ChildProcess::Reaped(int status) {
  supervisor_ = -1;
  if (exitCode_ < 0) exitCode_ = CodeOf(status);
}

bool ChildProcess::Running() {
  if (supervisor_ <= 0) return false;
  int status;
  if (waitpid(supervisor_, &status, WNOHANG) == supervisor_) Reaped(status);
  return supervisor_ > 0;
}

void ChildProcess::Stop() {
  if (supervisor_ <= 0) return;
  kill(supervisor_, SIGTERM);
  // The supervisor needs about a second at most; do not trust it blindly though.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(supervisor_, &status, WNOHANG) == supervisor_) return Reaped(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (program_ > 0) kill(-program_, SIGKILL);
  kill(supervisor_, SIGKILL);
  while (waitpid(supervisor_, &status, 0) < 0 && errno == EINTR) {
  }
  Reaped(status);
}

int RunCommand(const std::vector<std::string>& argv, const std::string& input, std::string* output) {
  std::vector<char*> pointers = ArgvPointers(argv);
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) < 0) return -1;
  if (pipe2(out, O_CLOEXEC) < 0) {
    close(in[0]);
    close(in[1]);
    return -1;
  }
  // The input (a line or two) goes into the pipe before the command starts: it fits the
  // pipe's buffer, and nothing can raise SIGPIPE if the command exits without reading.
  bool written = input.size() < 65536 && write(in[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
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
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    collected.append(buffer, static_cast<size_t>(n));
  }
  close(out[0]);
  if (pid < 0) return -1;
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (output) *output = collected;
  return CodeOf(status);
}

std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  ForEachProcess([&](pid_t pid, pid_t ppid, pid_t) {
    if (ppid == parent) children.push_back(pid);
  });
  return children;
}

}  // namespace tarvo::test
