// FTP over TLS: the control connection's TLS state, the handshake, reads and writes on
// non-blocking sockets, and the certificate facts a user decides on. OpenSSL stays in here.
#pragma once

#include "QorFtpUi.h"

#include <deque>
#include <string>
#include <sys/types.h>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_session_st SSL_SESSION;

namespace qorftp {

// What an encrypted control connection carries: its TLS object and the sessions its data
// connections resume. Servers such as vsftpd (require_ssl_reuse) refuse a data connection that
// does not resume the control connection's session. Under TLS 1.3 sessions come as tickets
// after each handshake, and a server may accept each ticket only once: so every ticket the
// server sends, on the control connection or a data connection, is kept, and each is used once
// while a newer one is at hand.
struct TlsState {
    TlsState();
    ~TlsState();
    TlsState(const TlsState&) = delete;
    TlsState& operator=(const TlsState&) = delete;

    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
    std::deque<SSL_SESSION*> sessions; // oldest first
    int fd = -1; // the socket `ssl` reads and writes
    bool protectedData = false; // PROT P accepted: data connections are encrypted too
    bool sscn = false; // the server takes the client's part of a data connection's TLS on "SSCN ON"
    std::string description; // "TLSv1.3, TLS_AES_256_GCM_SHA384"
};

// Runs a handshake as the client on a connected non-blocking socket, at most timeoutMs in all
// (< 0: no limit) and ended by the wake descriptor. `ssl` already has its descriptor. Returns
// kOk or an error (kErrTls with `why` set, kErrCancelled, ETIMEDOUT, kErrClosed, errno).
int Handshake(SSL* ssl, int fd, int wakeFd, int timeoutMs, std::string& why);

// A new TLS object for the control connection on `fd`, to check the certificate against `host`
// (a name or a numeric address).
SSL* NewControlTls(TlsState& state, int fd, const std::string& host);
// A new TLS object for a data connection on `fd` that resumes the control connection's session.
SSL* NewDataTls(TlsState& state, int fd);
// After the control handshake: the protocol and cipher, for EncryptionDescription.
std::string Describe(SSL* ssl);

// The peer's certificate when it fails the checks; false when it passes them. Fills everything
// but host, port and trustedBefore.
bool CertificateProblem(SSL* ssl, QorFtpCertificate& certificate);
// A data connection that did not resume the session must show the control connection's
// certificate, or a third party could stand in for the server's data port.
bool SameServerCertificate(SSL* control, SSL* data);

// As recv, MSG_PEEK recv and send: bytes, 0 at the orderly end (reads), or -1 with errno set
// (EAGAIN when the call must wait; `events` then says for POLLIN or POLLOUT; EPROTO for a TLS
// failure).
ssize_t TlsRead(SSL* ssl, void* buffer, std::size_t length, short& events);
ssize_t TlsPeek(SSL* ssl, void* buffer, std::size_t length, short& events);
ssize_t TlsWrite(SSL* ssl, const void* buffer, std::size_t length, short& events);
// Sends the close notice without waiting for the peer's; the server of an upload may want it.
void TlsShutdown(SSL* ssl);
// Reads and drops what a peer still sends (tickets, its close notice) until it closes: -1 with
// errno EAGAIN while it must wait for `events`, 0 at the end, -1 with another errno on failure.
ssize_t TlsDrain(SSL* ssl, short& events);
void FreeTls(SSL*& ssl);
// A data connection's end: its close notice when not sent yet, and its tickets kept usable.
void FreeDataTls(SSL*& ssl);

} // namespace qorftp
