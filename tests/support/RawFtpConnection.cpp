#include "RawFtpConnection.h"

#include "Loopback.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvo::test {

RawFtpConnection::RawFtpConnection(unsigned port, int timeoutMs) : timeoutMs_(timeoutMs) {
  fd_ = ConnectLoopback(port, timeoutMs);
  if (fd_ < 0)
    throw std::runtime_error("cannot connect to 127.0.0.1:" + std::to_string(port));
}

RawFtpConnection::~RawFtpConnection() {
  if (fd_ >= 0) close(fd_);
}

bool RawFtpConnection::ReadLine(std::string& line) {
  for (;;) {
    size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, timeoutMs_);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) throw std::runtime_error("no reply within " + std::to_string(timeoutMs_) + " ms");
    char chunk[4096];
    ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

std::string RawFtpConnection::ReadReply() {
  std::string line;
  if (!ReadLine(line)) throw std::runtime_error("connection closed before a reply");
  std::string reply = line;
  // A multi-line reply ("123-...") ends at a line with the same code followed by a space.
  if (line.size() >= 4 && line[3] == '-') {
    const std::string last = line.substr(0, 3) + " ";
    do {
      if (!ReadLine(line)) throw std::runtime_error("connection closed inside a reply");
      reply += "\n" + line;
    } while (line.compare(0, 4, last) != 0);
  }
  return reply;
}

void RawFtpConnection::SendLine(const std::string& line) { SendAllBytes(fd_, line + "\r\n", timeoutMs_); }

unsigned RawFtpConnection::EnterPassive() { return PasvReplyPort(Command("PASV")); }

bool RawFtpConnection::WaitClosed(int timeoutMs) {
  buffer_.clear();
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, timeoutMs);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    char chunk[4096];
    ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
  }
}

int ReplyCode(const std::string& reply) {
  if (reply.size() < 3 || !std::isdigit(static_cast<unsigned char>(reply[0])) ||
      !std::isdigit(static_cast<unsigned char>(reply[1])) || !std::isdigit(static_cast<unsigned char>(reply[2])))
    return -1;
  return std::stoi(reply.substr(0, 3));
}

unsigned PasvReplyPort(const std::string& reply) {
  unsigned h[4], p1, p2;
  size_t open = reply.find('(');
  if (ReplyCode(reply) != 227 || open == std::string::npos ||
      std::sscanf(reply.c_str() + open, "(%u,%u,%u,%u,%u,%u)", &h[0], &h[1], &h[2], &h[3], &p1, &p2) != 6)
    throw std::runtime_error("not a PASV reply: " + reply);
  return p1 * 256 + p2;
}

}  // namespace tarvo::test
