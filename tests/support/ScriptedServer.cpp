#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <strings.h>
#include <unistd.h>

namespace tarvo::test {
namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

int ListenLoopback(unsigned& port, int backlog) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(fd, backlog) < 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// Data connections may only go to this machine, whatever a client under test sends.
bool IsLoopback(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET)
    return (ntohl(reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr) >> 24) == 127;
  const in6_addr& a6 = reinterpret_cast<const sockaddr_in6&>(address).sin6_addr;
  return IN6_IS_ADDR_LOOPBACK(&a6) || (IN6_IS_ADDR_V4MAPPED(&a6) && a6.s6_addr[12] == 127);
}

}  // namespace

ScriptedServer::ScriptedServer() {
  listenFd_ = ListenLoopback(port_, 8);
  if (listenFd_ < 0) throw std::runtime_error(std::string("ScriptedServer: cannot listen: ") + std::strerror(errno));
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) < 0) {
    CloseFd(listenFd_);
    throw std::runtime_error(std::string("ScriptedServer: pipe: ") + std::strerror(errno));
  }
}

ScriptedServer::~ScriptedServer() {
  (void)!write(wake_[1], "x", 1);
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&listenFd_, &controlFd_, &passiveFd_, &wake_[0], &wake_[1]}) CloseFd(*fd);
}

ScriptedServer& ScriptedServer::Add(Step step) {
  if (started_) throw std::logic_error("ScriptedServer: add steps before Start()");
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedServer& ScriptedServer::Send(std::string raw) { return Add({Kind::Send, std::move(raw)}); }
ScriptedServer& ScriptedServer::Expect(std::string prefix) { return Add({Kind::Expect, std::move(prefix)}); }
ScriptedServer& ScriptedServer::ExpectAny() { return Add({Kind::ExpectAny, {}}); }
ScriptedServer& ScriptedServer::SendPasv(std::string shownAddress) {
  return Add({Kind::SendPasv, std::move(shownAddress)});
}
ScriptedServer& ScriptedServer::SendEpsv() { return Add({Kind::SendEpsv, {}}); }
ScriptedServer& ScriptedServer::DataSend(std::string bytes) { return Add({Kind::DataSend, std::move(bytes)}); }
ScriptedServer& ScriptedServer::DataReceive() { return Add({Kind::DataReceive, {}}); }
ScriptedServer& ScriptedServer::Wait(int ms) { return Add({Kind::Wait, {}, ms}); }
ScriptedServer& ScriptedServer::Close() { return Add({Kind::Close, {}}); }
ScriptedServer& ScriptedServer::Hang() { return Add({Kind::Hang, {}}); }

ScriptedServer& ScriptedServer::SetTimeout(int ms) {
  if (started_) throw std::logic_error("ScriptedServer: set the timeout before Start()");
  timeoutMs_ = ms;
  return *this;
}

void ScriptedServer::Start() {
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { Run(); });
}

bool ScriptedServer::WaitDone(int timeoutMs) {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_; });
  return finished_ && completed_;
}

std::vector<std::string> ScriptedServer::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<std::string> ScriptedServer::Mismatches() const {
  std::lock_guard lock(mutex_);
  return mismatches_;
}

std::string ScriptedServer::DataReceived() const {
  std::lock_guard lock(mutex_);
  return dataReceived_;
}

void ScriptedServer::Record(const std::string& line) {
  NoteActiveAddress(line);
  std::lock_guard lock(mutex_);
  received_.push_back(line);
}

void ScriptedServer::Mismatch(const std::string& what) {
  std::lock_guard lock(mutex_);
  mismatches_.push_back(what);
}

void ScriptedServer::Finish(bool completed) {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return;
    finished_ = true;
    completed_ = completed;
  }
  finishedChanged_.notify_all();
}

// Polls fd together with the wake pipe; fd < 0 just waits (or until stopped).
ScriptedServer::Io ScriptedServer::WaitFor(int fd, short events, int timeoutMs) {
  if (stopping_) return Io::Stopped;
  pollfd fds[2] = {{wake_[0], POLLIN, 0}, {fd, events, 0}};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int left = timeoutMs < 0 ? -1
                             : static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                    deadline - std::chrono::steady_clock::now())
                                                    .count());
    if (timeoutMs >= 0 && left < 0) left = 0;
    int r = poll(fds, 2, left);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return Io::Failed;
    if (fds[0].revents) {
      stopping_ = true;
      return Io::Stopped;
    }
    return r == 0 ? Io::Timeout : Io::Ok;
  }
}

ScriptedServer::Io ScriptedServer::ReadLine(std::string& line) {
  for (;;) {
    size_t end = input_.find('\n');
    if (end != std::string::npos) {
      line = input_.substr(0, end);
      input_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return Io::Ok;
    }
    Io io = WaitFor(controlFd_, POLLIN, timeoutMs_);
    if (io != Io::Ok) return io;
    char chunk[4096];
    ssize_t n = recv(controlFd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n == 0) return Io::Closed;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return errno == ECONNRESET ? Io::Closed : Io::Failed;
    }
    input_.append(chunk, static_cast<size_t>(n));
  }
}

ScriptedServer::Io ScriptedServer::SendAll(int fd, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    Io io = WaitFor(fd, POLLOUT, timeoutMs_);
    if (io != Io::Ok) return io;
    ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return Io::Failed;
    }
    sent += static_cast<size_t>(n);
  }
  return Io::Ok;
}

void ScriptedServer::NoteActiveAddress(const std::string& line) {
  sockaddr_storage address{};
  socklen_t length = 0;
  if (StartsWithNoCase(line, "PORT ")) {
    unsigned h[4], p[2];
    if (std::sscanf(line.c_str() + 5, "%u,%u,%u,%u,%u,%u", &h[0], &h[1], &h[2], &h[3], &p[0], &p[1]) != 6 ||
        h[0] > 255 || h[1] > 255 || h[2] > 255 || h[3] > 255 || p[0] > 255 || p[1] > 255)
      return Mismatch("cannot parse \"" + line + "\"");
    auto& a4 = reinterpret_cast<sockaddr_in&>(address);
    a4.sin_family = AF_INET;
    a4.sin_addr.s_addr = htonl(h[0] << 24 | h[1] << 16 | h[2] << 8 | h[3]);
    a4.sin_port = htons(static_cast<uint16_t>(p[0] * 256 + p[1]));
    length = sizeof a4;
  } else if (StartsWithNoCase(line, "EPRT ") && line.size() > 6) {
    // "EPRT <d>proto<d>address<d>port<d>", where <d> is whatever the client chose.
    std::vector<std::string> fields;
    const char delimiter = line[5];
    size_t start = 6;
    for (size_t at; (at = line.find(delimiter, start)) != std::string::npos; start = at + 1)
      fields.push_back(line.substr(start, at - start));
    unsigned port = 0;
    if (fields.size() == 3) port = static_cast<unsigned>(std::strtoul(fields[2].c_str(), nullptr, 10));
    auto& a4 = reinterpret_cast<sockaddr_in&>(address);
    auto& a6 = reinterpret_cast<sockaddr_in6&>(address);
    if (fields.size() == 3 && fields[0] == "1" && inet_pton(AF_INET, fields[1].c_str(), &a4.sin_addr) == 1) {
      a4.sin_family = AF_INET;
      a4.sin_port = htons(static_cast<uint16_t>(port));
      length = sizeof a4;
    } else if (fields.size() == 3 && fields[0] == "2" && inet_pton(AF_INET6, fields[1].c_str(), &a6.sin6_addr) == 1) {
      a6.sin6_family = AF_INET6;
      a6.sin6_port = htons(static_cast<uint16_t>(port));
      length = sizeof a6;
    } else {
      return Mismatch("cannot parse \"" + line + "\"");
    }
    if (port == 0 || port > 65535) return Mismatch("bad port in \"" + line + "\"");
  } else {
    return;
  }
  active_ = address;
  activeLength_ = length;
  CloseFd(passiveFd_);  // the client chose active mode after all
}

bool ScriptedServer::OpenPassive(unsigned& port) {
  CloseFd(passiveFd_);
  activeLength_ = 0;  // and passive mode now
  passiveFd_ = ListenLoopback(port, 1);
  if (passiveFd_ < 0) Mismatch(std::string("cannot open a passive listener: ") + std::strerror(errno));
  return passiveFd_ >= 0;
}

int ScriptedServer::OpenDataConnection() {
  if (passiveFd_ >= 0) {
    Io io = WaitFor(passiveFd_, POLLIN, timeoutMs_);
    int fd = io == Io::Ok ? accept4(passiveFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC) : -1;
    CloseFd(passiveFd_);  // one transfer per PASV / EPSV, as with real servers
    if (fd < 0 && io != Io::Stopped) Mismatch("no data connection to the passive port");
    return fd;
  }
  if (activeLength_ == 0) {
    Mismatch("data transfer without a PASV, EPSV, PORT or EPRT before it");
    return -1;
  }
  if (!IsLoopback(active_)) {
    Mismatch("refusing a data connection to an address outside 127.0.0.0/8 and ::1");
    return -1;
  }
  int fd = socket(active_.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    Mismatch(std::string("socket: ") + std::strerror(errno));
    return -1;
  }
  int r = connect(fd, reinterpret_cast<const sockaddr*>(&active_), activeLength_);
  if (r < 0 && errno == EINPROGRESS) {
    Io io = WaitFor(fd, POLLOUT, timeoutMs_);
    int error = io == Io::Ok ? 0 : ETIMEDOUT;
    socklen_t length = sizeof error;
    if (io == Io::Ok) getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    if (io == Io::Stopped) error = ECANCELED;
    errno = error;
    r = error == 0 ? 0 : -1;
  }
  if (r < 0) {
    if (!stopping_) Mismatch(std::string("cannot connect to the client's data port: ") + std::strerror(errno));
    close(fd);
    return -1;
  }
  return fd;
}

void ScriptedServer::Transfer(const Step& step) {
  int fd = OpenDataConnection();
  if (fd < 0) return;
  if (step.kind == Kind::DataSend) {
    Io io = SendAll(fd, step.text);
    if (io != Io::Ok && io != Io::Stopped) Mismatch("data connection: sending failed or timed out");
  } else {
    for (;;) {
      Io io = WaitFor(fd, POLLIN, timeoutMs_);
      if (io != Io::Ok) {
        if (io != Io::Stopped) Mismatch("data connection: no end of data within the timeout");
        break;
      }
      char chunk[65536];
      ssize_t n = recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        Mismatch(std::string("data connection: ") + std::strerror(errno));
        break;
      }
      std::lock_guard lock(mutex_);
      dataReceived_.append(chunk, static_cast<size_t>(n));
    }
  }
  close(fd);
}

bool ScriptedServer::RunStep(const Step& step) {
  const bool needsControl = step.kind == Kind::Send || step.kind == Kind::Expect || step.kind == Kind::ExpectAny ||
                            step.kind == Kind::SendPasv || step.kind == Kind::SendEpsv;
  if (needsControl && controlFd_ < 0) {
    Mismatch("a step after Close() needs the control connection");
    return false;
  }
  switch (step.kind) {
    case Kind::Send:
    case Kind::SendPasv:
    case Kind::SendEpsv: {
      std::string text = step.text;
      unsigned port = 0;
      if (step.kind != Kind::Send && !OpenPassive(port)) return false;
      if (step.kind == Kind::SendPasv)
        text = "227 Entering Passive Mode (" + step.text + "," + std::to_string(port / 256) + "," +
               std::to_string(port % 256) + ")\r\n";
      if (step.kind == Kind::SendEpsv) text = "229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)\r\n";
      Io io = SendAll(controlFd_, text);
      if (io != Io::Ok && io != Io::Stopped) Mismatch("cannot send \"" + text + "\": connection closed or stuck");
      return io == Io::Ok;
    }
    case Kind::Expect:
    case Kind::ExpectAny: {
      const std::string wanted = step.kind == Kind::Expect ? "\"" + step.text + "...\"" : "a command";
      std::string line;
      Io io = ReadLine(line);
      if (io == Io::Ok) {
        Record(line);
        if (step.kind == Kind::Expect && !StartsWithNoCase(line, step.text))
          Mismatch("expected " + wanted + ", received \"" + line + "\"");
        return true;
      }
      if (io == Io::Timeout) Mismatch("no line within " + std::to_string(timeoutMs_) + " ms, expected " + wanted);
      if (io == Io::Closed || io == Io::Failed) Mismatch("the client closed the connection, expected " + wanted);
      return false;
    }
    case Kind::DataSend:
    case Kind::DataReceive:
      Transfer(step);
      return !stopping_;
    case Kind::Wait:
      WaitFor(-1, 0, step.ms);
      return !stopping_;
    case Kind::Close:
      CloseFd(controlFd_);
      return true;
    case Kind::Hang:
      break;
  }
  return true;
}

void ScriptedServer::Run() {
  Io io = WaitFor(listenFd_, POLLIN, 2 * timeoutMs_);
  if (io == Io::Ok) controlFd_ = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (controlFd_ < 0) {
    if (io != Io::Stopped) Mismatch("no client connected");
    return Finish(false);
  }
  for (size_t i = 0; i < steps_.size(); ++i) {
    if (steps_[i].kind == Kind::Hang) {
      Finish(i + 1 == steps_.size());
      WaitFor(-1, 0, -1);  // the destructor closes the connection
      return;
    }
    if (!RunStep(steps_[i])) {
      Finish(false);
      break;
    }
  }
  Finish(true);  // no effect when the script broke off
  // Keep the client company until destruction, noting what it still sends.
  while (controlFd_ >= 0 && !stopping_) {
    std::string line;
    io = ReadLine(line);
    if (io == Io::Ok) Record(line);
    if (io == Io::Closed || io == Io::Failed) CloseFd(controlFd_);
  }
}

}  // namespace tarvo::test
