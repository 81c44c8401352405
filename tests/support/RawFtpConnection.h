#pragma once

#include <string>

namespace tarvo::test {

// A bare FTP control connection to 127.0.0.1, for fixtures and tests that must check a
// server without going through the library under test.
class RawFtpConnection {
public:
  // Connects (no greeting is read yet). Throws std::runtime_error when it cannot.
  explicit RawFtpConnection(unsigned port, int timeoutMs = 5000);
  ~RawFtpConnection();
  RawFtpConnection(const RawFtpConnection&) = delete;
  RawFtpConnection& operator=(const RawFtpConnection&) = delete;

  // One complete reply, multi-line replies joined with "\n", without the final CR LF.
  // Throws on timeout or when the server closes first.
  std::string ReadReply();
  void SendLine(const std::string& line);  // appends CR LF
  std::string Command(const std::string& line) { SendLine(line); return ReadReply(); }
  // Sends PASV and returns the data port; throws unless the reply is 227.
  unsigned EnterPassive();
  // True when the server closes the connection within timeoutMs (pending input is dropped).
  bool WaitClosed(int timeoutMs);
  int fd() const { return fd_; }

private:
  bool ReadLine(std::string& line);

  int fd_ = -1;
  int timeoutMs_;
  std::string buffer_;
};

// The three-digit code a reply starts with, or -1.
int ReplyCode(const std::string& reply);
// The port of a "227 ... (h1,h2,h3,h4,p1,p2)" reply; throws when there is none.
unsigned PasvReplyPort(const std::string& reply);

}  // namespace tarvo::test
