#include "Tls.h"

#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>

namespace qorftp {

namespace {

// The ex-data slot that leads from a control connection's SSL back to its state.
int StateIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

constexpr std::size_t kKeptSessions = 8;

// Keeps every session the server hands out, on the control connection and on data connections.
int KeepSession(SSL* ssl, SSL_SESSION* session)
{
    auto* state = static_cast<TlsState*>(SSL_get_ex_data(ssl, StateIndex()));
    if (!state)
        return 0;
    state->sessions.push_back(session);
    if (state->sessions.size() > kKeptSessions) {
        SSL_SESSION_free(state->sessions.front());
        state->sessions.pop_front();
    }
    return 1; // the reference is ours now
}

std::string LastErrorText()
{
    const unsigned long code = ERR_peek_last_error();
    ERR_clear_error();
    if (code == 0)
        return {};
    const char* reason = ERR_reason_error_string(code);
    return reason ? reason : "";
}

// OpenSSL's own socket BIO writes with write(): a server that closed its end would raise
// SIGPIPE in the program. This one sends with MSG_NOSIGNAL, as the plain connection does.
int BioWrite(BIO* bio, const char* data, int length)
{
    const int fd = static_cast<int>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    BIO_clear_retry_flags(bio);
    const ssize_t n = ::send(fd, data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        BIO_set_retry_write(bio);
    return static_cast<int>(n);
}

int BioRead(BIO* bio, char* data, int length)
{
    const int fd = static_cast<int>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    BIO_clear_retry_flags(bio);
    const ssize_t n = ::recv(fd, data, static_cast<std::size_t>(length), 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        BIO_set_retry_read(bio);
    return static_cast<int>(n);
}

long BioControl(BIO*, int command, long, void*)
{
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int BioCreate(BIO* bio)
{
    BIO_set_init(bio, 1);
    return 1;
}

BIO* NewSocketBio(int fd)
{
    static BIO_METHOD* method = [] {
        BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "qorftp socket");
        BIO_meth_set_write(made, BioWrite);
        BIO_meth_set_read(made, BioRead);
        BIO_meth_set_ctrl(made, BioControl);
        BIO_meth_set_create(made, BioCreate);
        return made;
    }();
    BIO* bio = BIO_new(method);
    if (bio)
        BIO_set_data(bio, reinterpret_cast<void*>(static_cast<intptr_t>(fd)));
    return bio;
}

// An SSL of the context reading and writing `fd`.
SSL* NewTls(SSL_CTX* context, int fd)
{
    SSL* ssl = context ? SSL_new(context) : nullptr;
    BIO* bio = ssl ? NewSocketBio(fd) : nullptr;
    if (!bio) {
        SSL_free(ssl);
        return nullptr;
    }
    SSL_set_bio(ssl, bio, bio);
    return ssl;
}

bool IsNumericHost(const std::string& host)
{
    unsigned char bytes[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), bytes) == 1 || inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

std::string NameText(const X509_NAME* name)
{
    char text[512] = {};
    if (name)
        X509_NAME_oneline(name, text, sizeof text);
    return text;
}

std::string TimeText(const ASN1_TIME* time)
{
    std::tm parts{};
    if (!time || ASN1_TIME_to_tm(time, &parts) != 1)
        return {};
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// Maps what SSL_read/SSL_peek/SSL_write said onto the recv/send convention.
ssize_t Outcome(SSL* ssl, int result, short& events)
{
    if (result > 0)
        return result;
    const int savedErrno = errno;
    switch (SSL_get_error(ssl, result)) {
    case SSL_ERROR_WANT_READ:
        events = POLLIN;
        errno = EAGAIN;
        return -1;
    case SSL_ERROR_WANT_WRITE:
        events = POLLOUT;
        errno = EAGAIN;
        return -1;
    case SSL_ERROR_ZERO_RETURN:
        return 0;
    case SSL_ERROR_SYSCALL:
        ERR_clear_error();
        // OpenSSL 3 reports an end without close notice here when told to ignore it.
        if (savedErrno == 0)
            return 0;
        errno = savedErrno;
        return -1;
    default:
        ERR_clear_error();
        errno = EPROTO;
        return -1;
    }
}

} // namespace

TlsState::TlsState()
    : context(SSL_CTX_new(TLS_client_method()))
{
    if (!context)
        return;
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    SSL_CTX_set_default_verify_paths(context);
    // The checks run in the handshake, but their verdict is ours to act on afterwards: a user may
    // trust a certificate that fails them.
    SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
    SSL_CTX_set_session_cache_mode(context, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(context, KeepSession);
    SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    // Many servers close a data connection without a close notice; the size check and the final
    // reply tell a cut transfer from a whole one.
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
}

TlsState::~TlsState()
{
    FreeTls(ssl);
    for (SSL_SESSION* session : sessions)
        SSL_SESSION_free(session);
    SSL_CTX_free(context);
}

int Handshake(SSL* ssl, int fd, int wakeFd, int timeoutMs, std::string& why)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    ERR_clear_error();
    for (;;) {
        if (TakeWake(wakeFd))
            return kErrCancelled;
        const int result = SSL_connect(ssl);
        if (result == 1)
            return kOk;
        const int savedErrno = errno;
        short events = 0;
        switch (SSL_get_error(ssl, result)) {
        case SSL_ERROR_WANT_READ:
            events = POLLIN;
            break;
        case SSL_ERROR_WANT_WRITE:
            events = POLLOUT;
            break;
        case SSL_ERROR_SYSCALL:
            ERR_clear_error();
            if (savedErrno != 0)
                return savedErrno;
            return kErrClosed;
        default:
            why = LastErrorText();
            return kErrTls;
        }
        int left = -1;
        if (timeoutMs >= 0) {
            const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (remaining.count() <= 0)
                return ETIMEDOUT;
            left = static_cast<int>(remaining.count());
        }
        const int error = WaitReady(fd, events, wakeFd, left);
        if (error != kOk)
            return error;
    }
}

SSL* NewControlTls(TlsState& state, int fd, const std::string& host)
{
    SSL* ssl = NewTls(state.context, fd);
    if (!ssl)
        return nullptr;
    SSL_set_ex_data(ssl, StateIndex(), &state);
    if (IsNumericHost(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, host.c_str());
        SSL_set1_host(ssl, host.c_str());
    }
    return ssl;
}

SSL* NewDataTls(TlsState& state, int fd)
{
    SSL* ssl = NewTls(state.context, fd);
    if (!ssl)
        return nullptr;
    SSL_set_ex_data(ssl, StateIndex(), &state);
    // A whole block per call, not a record: fewer calls and progress reports for a big file.
    SSL_clear_mode(ssl, SSL_MODE_ENABLE_PARTIAL_WRITE);
    if (!state.sessions.empty()) {
        SSL_SESSION* newest = state.sessions.back();
        SSL_set_session(ssl, newest); // takes a reference of its own
        // The last one stays for reuse: a TLS 1.2 session serves any number of connections.
        if (state.sessions.size() > 1) {
            state.sessions.pop_back();
            SSL_SESSION_free(newest);
        }
    }
    return ssl;
}

std::string Describe(SSL* ssl)
{
    return std::string(SSL_get_version(ssl)) + ", " + SSL_get_cipher_name(ssl);
}

bool CertificateProblem(SSL* ssl, QorFtpCertificate& certificate)
{
    X509* peer = SSL_get1_peer_certificate(ssl);
    const long verdict = SSL_get_verify_result(ssl);
    if (peer && verdict == X509_V_OK) {
        X509_free(peer);
        return false;
    }
    if (!peer) {
        certificate.problem = "the server showed no certificate";
        return true;
    }
    certificate.problem = X509_verify_cert_error_string(verdict);
    certificate.subject = NameText(X509_get_subject_name(peer));
    certificate.issuer = NameText(X509_get_issuer_name(peer));
    certificate.validFrom = TimeText(X509_get0_notBefore(peer));
    certificate.validUntil = TimeText(X509_get0_notAfter(peer));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(peer, EVP_sha256(), digest, &length) == 1) {
        std::string text;
        char pair[4];
        for (unsigned int i = 0; i < length; ++i) {
            std::snprintf(pair, sizeof pair, i ? ":%02X" : "%02X", digest[i]);
            text += pair;
        }
        certificate.fingerprint = text;
    }
    X509_free(peer);
    return true;
}

bool SameServerCertificate(SSL* control, SSL* data)
{
    if (SSL_session_reused(data))
        return true;
    X509* a = SSL_get1_peer_certificate(control);
    X509* b = SSL_get1_peer_certificate(data);
    const bool same = a && b && X509_cmp(a, b) == 0;
    X509_free(a);
    X509_free(b);
    return same;
}

ssize_t TlsRead(SSL* ssl, void* buffer, std::size_t length, short& events)
{
    errno = 0;
    return Outcome(ssl, SSL_read(ssl, buffer, static_cast<int>(std::min<std::size_t>(length, 1 << 30))), events);
}

ssize_t TlsPeek(SSL* ssl, void* buffer, std::size_t length, short& events)
{
    errno = 0;
    return Outcome(ssl, SSL_peek(ssl, buffer, static_cast<int>(std::min<std::size_t>(length, 1 << 30))), events);
}

ssize_t TlsWrite(SSL* ssl, const void* buffer, std::size_t length, short& events)
{
    errno = 0;
    return Outcome(ssl, SSL_write(ssl, buffer, static_cast<int>(std::min<std::size_t>(length, 1 << 30))), events);
}

void TlsShutdown(SSL* ssl)
{
    if (ssl && !(SSL_get_shutdown(ssl) & SSL_SENT_SHUTDOWN) && SSL_shutdown(ssl) < 0)
        ERR_clear_error();
}

void FreeDataTls(SSL*& ssl)
{
    if (!ssl)
        return;
    TlsShutdown(ssl);
    // Freed without a sent close notice, OpenSSL would mark the connection's newest session (a
    // ticket the next data connection is to resume) as not resumable.
    SSL_set_shutdown(ssl, SSL_get_shutdown(ssl) | SSL_SENT_SHUTDOWN);
    FreeTls(ssl);
}

ssize_t TlsDrain(SSL* ssl, short& events)
{
    char discard[4096];
    for (;;) {
        const ssize_t n = TlsRead(ssl, discard, sizeof discard, events);
        if (n <= 0)
            return n;
    }
}

void FreeTls(SSL*& ssl)
{
    if (ssl)
        SSL_free(ssl);
    ssl = nullptr;
}

} // namespace qorftp
