#pragma once

#include <string>
#include <string_view>

namespace tarvo::test {

// Plain TCP helpers for 127.0.0.1, used by the fixtures and by tests that talk raw FTP.

// Connects to 127.0.0.1:port; returns a blocking, close-on-exec socket or -1.
int ConnectLoopback(unsigned port, int timeoutMs);

// A port nobody listens on right now (bind to port 0, read it, close). Throws on failure.
unsigned FreeLoopbackPort();

// True when 127.0.0.1:port can be bound right now.
bool LoopbackPortFree(unsigned port);

// Both throw std::runtime_error on error or when nothing moves for timeoutMs.
void SendAllBytes(int fd, std::string_view data, int timeoutMs = 5000);
std::string ReceiveUntilEof(int fd, int timeoutMs = 5000);

}  // namespace tarvo::test
