#include "ScriptedServer.h"

#include "Loopback.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvo::test {
namespace {

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

} // namespace

ScriptedServer::ScriptedServer()
{
    listenFd_ = BindLoopback(port_, 8);
    if (listenFd_ < 0 || pipe2(wake_, O_CLOEXEC | O_NONBLOCK) < 0) {
        const std::string error = std::strerror(errno);
        CloseFd(listenFd_);
        throw std::runtime_error("ScriptedServer: cannot listen: " + error);
    }
}

ScriptedServer::~ScriptedServer()
{
    (void)!write(wake_[1], "x", 1);
    if (thread_.joinable())
        thread_.join();
    for (int* fd : {&listenFd_, &controlFd_, &passiveFd_, &wake_[0], &wake_[1]})
        CloseFd(*fd);
}

ScriptedServer& ScriptedServer::Add(Kind kind, std::string text, int ms)
{
    if (started_)
        throw std::logic_error("ScriptedServer: add steps before Start()");
    steps_.push_back({kind, std::move(text), ms});
    return *this;
}

void ScriptedServer::Start()
{
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

bool ScriptedServer::WaitDone(int timeoutMs)
{
    std::unique_lock lock(mutex_);
    finishedChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_; });
    return finished_ && completed_;
}

// A PORT line names the client's data port; only 127.0.0.1 is ever connected to.
void ScriptedServer::Record(const std::string& line)
{
    unsigned h[4], p[2];
    if (strncasecmp(line.c_str(), "PORT ", 5) == 0) {
        CloseFd(passiveFd_); // the client chose active mode after all
        activePort_ = 0;
        if (std::sscanf(line.c_str() + 5, "%u,%u,%u,%u,%u,%u", &h[0], &h[1], &h[2], &h[3], &p[0], &p[1]) != 6
            || p[0] > 255 || p[1] > 255)
            Mismatch("cannot parse \"" + line + "\"");
        else if (h[0] != 127 || h[1] != 0 || h[2] != 0 || h[3] != 1)
            Mismatch("refusing a data connection to an address other than 127.0.0.1: \"" + line + "\"");
        else
            activePort_ = p[0] * 256 + p[1];
    }
    std::lock_guard lock(mutex_);
    received_.push_back(line);
}

void ScriptedServer::Mismatch(const std::string& what)
{
    std::lock_guard lock(mutex_);
    mismatches_.push_back(what);
}

void ScriptedServer::Finish(bool completed)
{
    {
        std::lock_guard lock(mutex_);
        if (finished_)
            return;
        finished_ = true;
        completed_ = completed;
    }
    finishedChanged_.notify_all();
}

// Polls fd together with the wake pipe; fd < 0 just waits (or until stopped).
ScriptedServer::Io ScriptedServer::WaitFor(int fd, short events, int timeoutMs)
{
    if (stopping_)
        return Io::Stopped;
    pollfd fds[2] = {{wake_[0], POLLIN, 0}, {fd, events, 0}};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        int r = poll(fds, 2, timeoutMs < 0 ? -1 : std::max(0, static_cast<int>(left.count())));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return Io::Failed;
        if (fds[0].revents) {
            stopping_ = true;
            return Io::Stopped;
        }
        return r == 0 ? Io::Timeout : Io::Ok;
    }
}

// Appends what one recv brings once fd is readable; Closed at the end of the stream.
ScriptedServer::Io ScriptedServer::Receive(int fd, std::string& into)
{
    for (;;) {
        if (Io io = WaitFor(fd, POLLIN, kTimeoutMs); io != Io::Ok)
            return io;
        char chunk[65536];
        ssize_t n = recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            into.append(chunk, static_cast<size_t>(n));
            return Io::Ok;
        }
        if (n == 0 || errno == ECONNRESET)
            return Io::Closed;
        if (errno != EINTR && errno != EAGAIN)
            return Io::Failed;
    }
}

ScriptedServer::Io ScriptedServer::ReadLine(std::string& line)
{
    size_t end;
    while ((end = input_.find('\n')) == std::string::npos)
        if (Io io = Receive(controlFd_, input_); io != Io::Ok)
            return io;
    line = input_.substr(0, end > 0 && input_[end - 1] == '\r' ? end - 1 : end);
    input_.erase(0, end + 1);
    return Io::Ok;
}

ScriptedServer::Io ScriptedServer::SendAll(int fd, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        Io io = WaitFor(fd, POLLOUT, kTimeoutMs);
        if (io != Io::Ok)
            return io;
        ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return Io::Failed;
        sent += static_cast<size_t>(std::max<ssize_t>(n, 0));
    }
    return Io::Ok;
}

int ScriptedServer::OpenDataConnection(const std::string& from)
{
    if (passiveFd_ >= 0 && from.empty()) {
        Io io = WaitFor(passiveFd_, POLLIN, kTimeoutMs);
        int fd = io == Io::Ok ? accept4(passiveFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC) : -1;
        CloseFd(passiveFd_); // one transfer per PASV, as with real servers
        if (fd < 0 && io != Io::Stopped)
            Mismatch("no data connection to the passive port");
        return fd;
    }
    int fd = activePort_ ? ConnectLoopback(activePort_, kTimeoutMs, from) : -1;
    if (fd < 0)
        Mismatch(activePort_ ? "cannot connect to the client's data port from " + (from.empty() ? "127.0.0.1" : from)
                             : "a data transfer without PASV or PORT");
    return fd;
}

void ScriptedServer::Transfer(const Step& step)
{
    int fd = OpenDataConnection(step.from);
    if (fd < 0)
        return;
    Io io;
    if (step.kind == Kind::DataSend) {
        io = SendAll(fd, step.text);
    } else {
        std::string data;
        while ((io = Receive(fd, data)) == Io::Ok) { }
        if (io == Io::Closed)
            io = Io::Ok;
        std::lock_guard lock(mutex_);
        dataReceived_ += data;
    }
    if (io != Io::Ok && io != Io::Stopped)
        Mismatch("data connection: failed, or no end within the time-out");
    close(fd);
}

bool ScriptedServer::RunStep(const Step& step)
{
    if (controlFd_ < 0 && (step.kind == Kind::Send || step.kind == Kind::Expect || step.kind == Kind::SendPasv)) {
        Mismatch("a step after Close() needs the control connection");
        return false;
    }
    switch (step.kind) {
    case Kind::Send:
    case Kind::SendPasv: {
        std::string text = step.text;
        if (step.kind == Kind::SendPasv) {
            CloseFd(passiveFd_);
            activePort_ = 0; // and passive mode now
            unsigned port = 0;
            passiveFd_ = BindLoopback(port, 1);
            if (passiveFd_ < 0) {
                Mismatch(std::string("cannot open a passive listener: ") + std::strerror(errno));
                return false;
            }
            text = "227 Entering Passive Mode (" + step.text + "," + std::to_string(port / 256) + ","
                + std::to_string(port % 256) + ")\r\n";
        }
        Io io = SendAll(controlFd_, text);
        if (io != Io::Ok && io != Io::Stopped)
            Mismatch("cannot send \"" + text + "\": connection closed or stuck");
        return io == Io::Ok;
    }
    case Kind::Expect: {
        std::string line;
        Io io = ReadLine(line);
        if (io == Io::Ok) {
            Record(line);
            if (strncasecmp(line.c_str(), step.text.c_str(), step.text.size()) != 0)
                Mismatch("expected \"" + step.text + "...\", received \"" + line + "\"");
            return true;
        }
        if (io == Io::Timeout)
            Mismatch("no line within the time-out, expected \"" + step.text + "...\"");
        if (io == Io::Closed || io == Io::Failed)
            Mismatch("the client closed the connection, expected \"" + step.text + "...\"");
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

void ScriptedServer::Run()
{
    Io io = WaitFor(listenFd_, POLLIN, 2 * kTimeoutMs);
    if (io == Io::Ok)
        controlFd_ = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (controlFd_ < 0) {
        if (io != Io::Stopped)
            Mismatch("no client connected");
        return Finish(false);
    }
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (steps_[i].kind == Kind::Hang) {
            Finish(i + 1 == steps_.size());
            WaitFor(-1, 0, -1); // the destructor closes the connection
            return;
        }
        if (!RunStep(steps_[i])) {
            Finish(false);
            break;
        }
    }
    Finish(true); // no effect when the script broke off
    // Keep the client company until destruction, noting what it still sends.
    while (controlFd_ >= 0 && !stopping_) {
        std::string line;
        io = ReadLine(line);
        if (io == Io::Ok)
            Record(line);
        if (io == Io::Closed || io == Io::Failed)
            CloseFd(controlFd_);
    }
}

} // namespace tarvo::test
