// The connection object, login and the control channel.
#include "ConnectionPrivate.h"
#include "Facts.h"
#include "Tls.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qorftp;

QorFtpSocket::QorFtpSocket(int fd)
    : m_fd(fd)
{
}

QorFtpSocket::~QorFtpSocket()
{
    CloseHandle();
}

int QorFtpSocket::Detach()
{
    int fd = m_fd;
    m_fd = -1;
    return fd;
}

void QorFtpSocket::Attach(int fd)
{
    // The encryption belongs to the descriptor it was set up on.
    if (m_tls && m_tls->fd != fd)
        m_tls.reset();
    m_fd = fd;
}

void QorFtpSocket::CloseHandle()
{
    m_tls.reset();
    CloseFd(m_fd);
}

void QorFtpSocket::SetTls(std::unique_ptr<qorftp::TlsState> tls)
{
    m_tls = std::move(tls);
}

QorFtpConnection::QorFtpConnection()
    : m_features(std::make_unique<Features>())
    , m_wakeFd(CreateWakeFd())
{
}

QorFtpConnection::~QorFtpConnection()
{
    // No QUIT here: the caller decides with Close whether the server hears of it.
    m_pSocket.reset();
    CloseFd(m_wakeFd);
}

QorFtpUi& QorFtpConnection::Ui()
{
    return m_ui ? *m_ui : QorFtpGetUi();
}

void QorFtpConnection::SetUi(QorFtpUi* ui)
{
    m_ui = ui;
}

void QorFtpConnection::SetPassive(int passive)
{
    m_passive = passive != 0;
}

void QorFtpConnection::SetTimeout(int seconds)
{
    m_timeoutSeconds = seconds <= 0 ? 0 : std::clamp(seconds, kMinTimeoutSeconds, kMaxTimeoutSeconds);
}

int QorFtpConnection::WaitTimeoutMs() const
{
    if (m_timeoutSeconds <= 0)
        return -1;
    // In 64 bits: a time-out of some million seconds must not wrap round to a short or an endless one.
    const long long ms = static_cast<long long>(m_timeoutSeconds) * 1000;
    return static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max()));
}

int QorFtpConnection::Wait(int fd, short events, int timeoutMs)
{
    return WaitReady(fd, events, m_wakeFd, timeoutMs);
}

unsigned long QorFtpConnection::GetError()
{
    return m_dwError;
}

void QorFtpConnection::SetShowError(int show)
{
    m_bShowError = show;
}

bool QorFtpConnection::IsConnected() const
{
    return m_pSocket && m_pSocket->IsValid();
}

bool QorFtpConnection::CheckConnected()
{
    if (IsConnected())
        return true;
    if (m_bShowError)
        ShowMessage(kNotConnected);
    return false;
}

void QorFtpConnection::ShowMessage(int id, const std::string& insert1, const std::string& insert2)
{
    Ui().ShowMessage("Ftp", FormatMessage(id, insert1, insert2));
}

void QorFtpConnection::ShowReply(int id, const std::string& insert1, const std::string& reply)
{
    if (!m_bShowError || reply.empty())
        return;
    if (id == kPlain)
        ShowMessage(kPlain, reply);
    else
        ShowMessage(id, insert1, reply);
}

void QorFtpConnection::ShowSocketError(int error)
{
    const std::string text = SocketErrorText(error);
    if (!text.empty())
        ShowMessage(kPlain, text);
}

void QorFtpConnection::ShowFileError(int error)
{
    std::string text = std::strerror(error);
    if (text.size() > 255)
        text.resize(255);
    Ui().ShowMessage("Error", text);
}

void QorFtpConnection::LoseConnection(int error)
{
    ShowSocketError(error);
    if (m_pSocket)
        m_pSocket->CloseHandle();
    m_dwError = 421;
}

int QorFtpConnection::Login(std::string host, std::string user, std::string password, unsigned int port,
                            std::string account)
{
    if (m_pSocket) {
        if (m_bShowError)
            ShowMessage(kAlreadyConnected);
        return 0;
    }
    Lock lock(*this);
    m_loginHost = host;
    m_typeIsBinary = false;
    m_pSocket = std::make_unique<QorFtpSocket>();
    int fd = -1;
    int error = ConnectTcp(host, port, m_wakeFd, WaitTimeoutMs(), fd);
    if (error != kOk) {
        // The reason ("Connection refused.", "Host not found.") says more than "Connection failed".
        if (!SocketErrorText(error).empty())
            ShowSocketError(error);
        else if (m_bShowError)
            ShowMessage(kPlain, "Connection failed");
        return 0;
    }
    SetNoDelay(fd);
    // A router or firewall in between forgets a control connection that stays quiet through a
    // long transfer; probes after a minute of silence keep it known, and find a dead peer.
    const int on = 1, idle = 60, interval = 15, probes = 4;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    m_pSocket->Attach(fd);
    m_newlyTrusted.clear();

    if (m_encryption == QorFtpEncryption::RequireImplicit && !StartTls(host, port))
        return 0;
    std::string reply;
    if (ReadReply(reply) == 421) {
        ShowReply(kLoginFailed, host, reply);
        return 0;
    }
    if (m_encryption == QorFtpEncryption::IfAvailable || m_encryption == QorFtpEncryption::RequireExplicit) {
        if (SendCommand("AUTH TLS") <= 0)
            return 0;
        const int code = ReadReply(reply);
        if (code == 421) {
            ShowReply(kLoginFailed, host, reply);
            return 0;
        }
        if (code / 100 == 2) {
            // From here on nothing goes in clear: a failed handshake ends the connection.
            if (!StartTls(host, port))
                return 0;
        } else if (m_encryption == QorFtpEncryption::RequireExplicit) {
            if (m_bShowError)
                ShowMessage(kTlsRefused, host, reply);
            m_pSocket->CloseHandle();
            return 0;
        }
    }
    if (SendCommand("USER " + user) <= 0)
        return 0;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kLoginFailed, host, reply);
        return 0;
    }
    // PASS goes out whatever the USER reply was, also after 230.
    if (SendCommand("PASS " + password) <= 0)
        return 0;
    int code = ReadReply(reply);
    if (!Accepted(code)) {
        ShowReply(kLoginFailed, host, reply);
        return 0;
    }
    if (code == 332) {
        if (SendCommand("ACCT " + account) <= 0)
            return 0;
        if (!Accepted(ReadReply(reply))) {
            ShowReply(kLoginFailed, host, reply);
            return 0;
        }
    }
    if (m_pSocket->Tls() && !ProtectData(host))
        return 0;
    if (!LearnFeatures())
        return 0;
    m_strHost = host;
    m_lastLogin = {host, user, password, port, account};
    return 1;
}

int QorFtpConnection::Relogin()
{
    if (m_strHost.empty()) {
        if (m_bShowError)
            ShowMessage(kNotConnected);
        return 0;
    }
    // Copies: Login fills them in again.
    const LastLogin last = m_lastLogin;
    std::string folder = m_strCurDir;
    // No QUIT: the server has closed its end, or will see a session of its own go.
    m_pSocket.reset();
    if (!Login(last.host, last.user, last.password, last.port, last.account))
        return 0;
    // The folder, or the nearest parent that still exists; its absence is no failure.
    const int show = m_bShowError;
    m_bShowError = 0;
    while (!folder.empty() && !ChangeDirectory(folder) && IsConnected()) {
        const std::size_t slash = folder.find_last_of('/');
        folder = slash == std::string::npos || folder == "/" ? std::string() : folder.substr(0, slash ? slash : 1);
    }
    m_bShowError = show;
    return IsConnected() ? 1 : 0;
}

// FEAT after the login, as some servers list more features to a user than to a stranger. A
// server that refuses it is taken for one that knows none of them.
bool QorFtpConnection::LearnFeatures()
{
    *m_features = Features{};
    std::string reply, lines;
    if (SendCommand("FEAT") <= 0)
        return false;
    const int code = ReadReply(nullptr, reply, &lines);
    if (code == 421)
        return false;
    if (code / 100 == 2)
        *m_features = ReadFeatures(lines);
    if (TlsState* tls = m_pSocket->Tls())
        tls->sscn = m_features->sscn;
    // Servers send only some facts unless asked; the mode and owner are among those left out.
    const std::string facts = m_features->mlst ? WantedFacts(m_features->mlstFacts) : std::string();
    if (!facts.empty() && (SendCommand("OPTS MLST " + facts) <= 0 || ReadReply(reply) == 421))
        return false;
    // Names then travel as UTF-8 both ways; the reply does not matter.
    if (m_features->utf8 && (SendCommand("OPTS UTF8 ON") <= 0 || ReadReply(reply) == 421))
        return false;
    return IsConnected();
}

void QorFtpConnection::SetUseMlsd(int use)
{
    m_useMlsd = use != 0;
}

bool QorFtpConnection::StartTls(const std::string& host, unsigned port)
{
    auto state = std::make_unique<TlsState>();
    const int fd = m_pSocket->Handle();
    state->fd = fd;
    state->ssl = NewControlTls(*state, fd, host);
    std::string why;
    const int error = state->ssl ? Handshake(state->ssl, fd, m_wakeFd, WaitTimeoutMs(), why) : kErrTls;
    if (error != kOk) {
        if (error == kErrTls && m_bShowError)
            ShowMessage(kTlsFailed, host, why.empty() ? SocketErrorText(kErrTls) : why);
        else
            ShowSocketError(error);
        m_pSocket->CloseHandle();
        return false;
    }
    QorFtpCertificate certificate;
    if (CertificateProblem(state->ssl, certificate)
        && (certificate.fingerprint.empty() || certificate.fingerprint != m_trustedFingerprint)) {
        certificate.host = host;
        certificate.port = port;
        certificate.trustedBefore = m_trustedFingerprint;
        if (certificate.fingerprint.empty() || !Ui().AskTrustCertificate(certificate)) {
            if (m_bShowError)
                ShowMessage(kCertificateRefused, host, certificate.problem);
            m_pSocket->CloseHandle();
            return false;
        }
        m_newlyTrusted = certificate.fingerprint;
    }
    state->description = Describe(state->ssl);
    m_pSocket->SetTls(std::move(state));
    return true;
}

bool QorFtpConnection::ProtectData(const std::string& host)
{
    std::string reply;
    // PBSZ must come before PROT; a server that refuses it says so again at PROT.
    if (SendCommand("PBSZ 0") <= 0 || ReadReply(reply) == 421)
        return false;
    if (SendCommand("PROT P") <= 0)
        return false;
    const int code = ReadReply(reply);
    if (code / 100 != 2) {
        // Data of an encrypted session is never sent in clear without being asked for.
        if (code != 421 && m_bShowError)
            ShowMessage(kDataProtectionRefused, host, reply);
        m_pSocket->CloseHandle();
        return false;
    }
    m_pSocket->Tls()->protectedData = true;
    return true;
}

void QorFtpConnection::SetEncryption(QorFtpEncryption mode)
{
    m_encryption = mode;
}

void QorFtpConnection::SetTrustedFingerprint(std::string fingerprint)
{
    m_trustedFingerprint = std::move(fingerprint);
}

std::string QorFtpConnection::NewlyTrustedFingerprint() const
{
    return m_newlyTrusted;
}

std::string QorFtpConnection::EncryptionDescription() const
{
    return IsConnected() && m_pSocket->Tls() ? m_pSocket->Tls()->description : std::string();
}

void QorFtpConnection::Close()
{
    std::string().swap(m_pLines);
    m_nextLine = 0;
    m_typeIsBinary = false;
    if (!m_pSocket)
        return;
    if (m_pSocket->IsValid()) {
        Lock lock(*this);
        if (SendCommand("QUIT") > 0) {
            std::string reply;
            ReadReply(reply);
        }
    }
    m_pSocket.reset();
}

bool QorFtpConnection::ArgumentIsSafe(const std::string& text)
{
    // A CR or LF inside a name would let it smuggle a second command onto the channel.
    if (text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos)
        return true;
    if (m_bShowError) {
        std::string shown = text;
        std::replace_if(
            shown.begin(), shown.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
        ShowMessage(kLineBreakRefused, shown);
    }
    return false;
}

long long QorFtpConnection::SendAll(QorFtpSocket* socket, const char* bytes, std::size_t length)
{
    if (!socket || !socket->IsValid()) {
        if (m_bShowError)
            ShowMessage(kNotConnected);
        return 0;
    }
    std::size_t sent = 0;
    SSL* tls = socket->Tls() ? socket->Tls()->ssl : nullptr;
    while (sent < length) {
        short events = POLLOUT;
        ssize_t n = tls ? TlsWrite(tls, bytes + sent, length - sent, events)
                        : ::send(socket->Handle(), bytes + sent, length - sent, MSG_NOSIGNAL);
        if (n >= 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK)
            error = Wait(socket->Handle(), events, WaitTimeoutMs());
        if (error == kOk)
            continue;
        if (socket == m_pSocket.get())
            LoseConnection(error);
        else
            ShowSocketError(error);
        return -1;
    }
    return static_cast<long long>(length);
}

void QorFtpConnection::TraceLine(bool sent, const std::string& text)
{
    QorFtpUi& ui = Ui();
    if (!ui.Tracing())
        return;
    QorFtpTraceLine line;
    line.connection = this;
    line.host = m_strHost.empty() ? m_loginHost : m_strHost;
    line.sent = sent;
    line.time = std::chrono::system_clock::now();
    // A password never reaches a log, whatever case the command is in.
    const bool secret = sent && text.size() > 5
        && (strncasecmp(text.c_str(), "PASS ", 5) == 0 || strncasecmp(text.c_str(), "ACCT ", 5) == 0);
    line.text = secret ? text.substr(0, 5) + "********" : text;
    ui.Trace(line);
}

int QorFtpConnection::SendCommandTo(QorFtpSocket* socket, const std::string& text)
{
    if (!ArgumentIsSafe(text))
        return -1;
    TraceLine(true, text);
    const std::string line = text + "\r\n";
    long long n = SendAll(socket, line.data(), line.size());
    return n > 0 ? 1 : static_cast<int>(n);
}

int QorFtpConnection::SendCommand(const std::string& text)
{
    return SendCommandTo(m_pSocket.get(), text);
}

int QorFtpConnection::ReadLine(QorFtpSocket* socket, std::string& line, Reply& reply)
{
    line.clear();
    if (!socket || !socket->IsValid())
        return 421;
    const int fd = socket->Handle();
    SSL* tls = socket->Tls() ? socket->Tls()->ssl : nullptr;
    char peeked[kLineLimit];
    int failure = kOk;
    // Peek, then take exactly the bytes up to the line end: the next reply stays in the socket,
    // which matters when the descriptor is handed to another object.
    while (line.size() < kLineLimit) {
        // Checked on every pass, not only when recv would block: a server that sends without
        // pause never lets the wait below run.
        if (TakeWake(m_wakeFd)) {
            failure = kErrCancelled;
            break;
        }
        const int leftMs = reply.LeftMs();
        if (leftMs == 0) {
            failure = ETIMEDOUT;
            break;
        }
        short events = POLLIN;
        ssize_t n = tls ? TlsPeek(tls, peeked, kLineLimit - line.size(), events)
                        : ::recv(fd, peeked, kLineLimit - line.size(), MSG_PEEK);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                failure = Wait(fd, events, leftMs);
                if (failure != kOk)
                    break;
                continue;
            }
            failure = errno;
            break;
        }
        if (n == 0) {
            failure = kErrClosed;
            break;
        }
        const char* end = static_cast<const char*>(std::memchr(peeked, '\n', static_cast<std::size_t>(n)));
        const char* nul = static_cast<const char*>(std::memchr(peeked, '\0', static_cast<std::size_t>(n)));
        if (nul && (!end || nul < end))
            end = nul;
        const std::size_t take = end ? static_cast<std::size_t>(end - peeked) + 1 : static_cast<std::size_t>(n);
        // What was peeked is buffered (in the socket or in the TLS layer): this read does not wait.
        ssize_t got = tls ? TlsRead(tls, peeked, take, events) : ::recv(fd, peeked, take, 0);
        if (got <= 0) {
            failure = got == 0 ? kErrClosed : errno;
            break;
        }
        if (static_cast<std::size_t>(got) > reply.bytesLeft) {
            failure = kErrReplyTooLong;
            break;
        }
        reply.bytesLeft -= static_cast<std::size_t>(got);
        line.append(peeked, static_cast<std::size_t>(got));
        if (!line.empty() && line.back() == '\n')
            break;
    }
    if (failure == kOk && line.back() != '\n') {
        // The rest of such a line would be read as further replies, out of step with the
        // commands; nothing the server sends after it can be trusted.
        failure = kErrLineTooLong;
    }
    // A line cut short by the time-out or a cancel is no reply: shown, it would read as the
    // server's answer ("220") beside the real reason.
    if (failure == kErrLineTooLong || failure == kErrReplyTooLong || failure == ETIMEDOUT || failure == kErrCancelled)
        line.clear();

    while (line.size() > 2 && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    const bool is421 = line.compare(0, 3, "421") == 0;
    if (failure != kOk || is421) {
        // A lost connection or a 421 ends the session: the handle closes, the object stays.
        if (failure != kOk)
            ShowSocketError(failure);
        if (socket == m_pSocket.get())
            m_pSocket->CloseHandle();
        else
            socket->CloseHandle();
        return 421;
    }
    std::size_t at = 0;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
        ++at;
    int code = 0;
    for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])) && code < 100000; ++at)
        code = code * 10 + (line[at] - '0');
    return code;
}

int QorFtpConnection::ReadReply(QorFtpSocket* socket, std::string& text, std::string* allLines)
{
    if (!socket)
        socket = m_pSocket.get();
    std::string saved;
    bool haveSaved = false;
    std::string firstCode; // "xyz" of a "xyz-" first line: the reply ends at "xyz " (RFC 959 4.2)
    Reply reply(WaitTimeoutMs());
    for (;;) {
        int code = ReadLine(socket, text, reply);
        if (!text.empty())
            TraceLine(false, text);
        if (allLines)
            allLines->append(text).push_back('\n');
        if (code == 421) {
            m_dwError = 421;
            return 421;
        }
        if (code == 0) {
            saved = text;
            haveSaved = true;
            continue;
        }
        std::size_t at = text.find_first_not_of(" \t");
        if (at == std::string::npos)
            continue;
        const bool continued = text.size() > at + 3 && text[at + 3] == '-';
        const std::string digits = text.substr(at, 3);
        if (code < 100 || code > 599 || continued) {
            if (continued && firstCode.empty())
                firstCode = digits;
            continue;
        }
        if (!firstCode.empty() && digits != firstCode)
            continue;
        if (haveSaved)
            text = saved;
        return code;
    }
}
