#pragma once

#include <string>

namespace tarvo::test {

// Plain TCP on 127.0.0.1 for the fixtures and for checking them without the library under test.

// A socket bound to 127.0.0.1:port, non-blocking and close-on-exec, listening when backlog > 0;
// port 0 picks a free port and writes it back. -1 on failure.
int BindLoopback(unsigned& port, int backlog);
// A port nobody listens on right now. Throws std::runtime_error on failure.
unsigned FreeLoopbackPort();

// A blocking, close-on-exec socket connected to 127.0.0.1:port, from another loopback address
// when `source` names one ("127.0.0.2"), or -1.
int ConnectLoopback(unsigned port, int timeoutMs = 5000, const std::string& source = {});

// One line without its CR LF, taken byte by byte so that what follows stays unread. Throws
// std::runtime_error on failure, or when nothing arrives for timeoutMs.
std::string ReceiveLine(int fd, int timeoutMs = 5000);

// True when the peer closes within timeoutMs; whatever still arrives is dropped.
bool WaitClosed(int fd, int timeoutMs);

} // namespace tarvo::test
