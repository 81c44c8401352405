// Setting up data connections: active mode (PORT, or EPRT on IPv6) by default, passive mode
// (PASV, or EPSV on IPv6) when the server record asks for it.
#include "ConnectionPrivate.h"
#include "Parsing.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <netinet/in.h>

using namespace qorftp;

namespace {
// After the final reply came first, the server has already made its connection, so there is no
// reason to wait the whole time-out for it.
constexpr int kLateAcceptMs = 5000;
} // namespace

int QorFtpConnection::PassiveReply(std::string& text)
{
    Address peer;
    if (PeerAddress(m_pSocket->Handle(), peer) != kOk)
        peer = Address{};
    const bool ipv6 = peer.Family() == AF_INET6;
    if (SendCommand(ipv6 ? "EPSV" : "PASV") <= 0)
        return 0;
    int code = ReadReply(text);
    if (!Accepted(code)) {
        ShowReply(kPlain, {}, text);
        return 0;
    }
    return code;
}

bool QorFtpConnection::OpenDataPort(DataChannel& channel)
{
    const int control = m_pSocket->Handle();
    std::string reply;
    if (m_passive) {
        Address peer;
        int error = PeerAddress(control, peer);
        if (error != kOk) {
            LoseConnection(error);
            return false;
        }
        if (!PassiveReply(reply))
            return false;
        unsigned port = 0;
        unsigned char host[4];
        const bool parsed = peer.Family() == AF_INET6 ? ParseEpsvPort(reply, port)
                                                      : ParsePasvNumbers(PassiveAddressText(reply), host, port);
        if (!parsed) {
            ShowReply(kPlain, {}, reply);
            return false;
        }
        // The data connection goes to the control connection's peer, whatever address the reply
        // names: behind NAT it names a private one, and a hostile server could name a third host.
        peer.SetPort(port);
        error = ConnectAddress(peer, m_wakeFd, WaitTimeoutMs(), channel.dataFd);
        if (error != kOk) {
            if (error == kErrCancelled || error == ETIMEDOUT)
                LoseConnection(error);
            else
                ShowSocketError(error);
            return false;
        }
        return true;
    }

    Address local;
    int error = LocalAddress(control, local);
    if (error == kOk)
        error = Listen(local, 5, channel.listenFd);
    Address bound;
    if (error == kOk)
        error = LocalAddress(channel.listenFd, bound);
    if (error != kOk) {
        ShowSocketError(error);
        return false;
    }
    char command[128];
    if (bound.Family() == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(bound.storage);
        const auto* b = reinterpret_cast<const unsigned char*>(&in.sin_addr.s_addr);
        const unsigned port = bound.Port();
        std::snprintf(command, sizeof command, "PORT %d,%d,%d,%d,%d,%d", b[0], b[1], b[2], b[3], port >> 8,
                      port & 0xff);
    } else {
        std::snprintf(command, sizeof command, "EPRT |2|%s|%u|", bound.Host().c_str(), bound.Port());
    }
    if (SendCommand(command) <= 0)
        return false;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        CloseFd(channel.listenFd);
        return false;
    }
    return true;
}

bool QorFtpConnection::AcceptData(DataChannel& channel, bool finalReplyCame)
{
    if (channel.dataFd >= 0)
        return SecureData(channel);
    int timeout = WaitTimeoutMs();
    if (finalReplyCame)
        timeout = timeout < 0 ? kLateAcceptMs : std::min(timeout, kLateAcceptMs);
    Address peer;
    int error = PeerAddress(m_pSocket->Handle(), peer);
    if (error == kOk)
        error = Accept(channel.listenFd, peer, m_wakeFd, timeout, channel.dataFd);
    CloseFd(channel.listenFd);
    if (error == kOk)
        return SecureData(channel);
    if (error == kErrCancelled || (error == ETIMEDOUT && !finalReplyCame))
        LoseConnection(error);
    else
        ShowSocketError(error);
    return false;
}

// After the preliminary reply, when the server waits for it: the client's side of the data
// connection's TLS, in active mode too, resuming the control connection's session.
bool QorFtpConnection::SecureData(DataChannel& channel)
{
    TlsState* tls = m_pSocket->Tls();
    if (!tls || !tls->protectedData)
        return true;
    channel.ssl = NewDataTls(*tls, channel.dataFd);
    std::string why;
    int error = channel.ssl ? Handshake(channel.ssl, channel.dataFd, m_wakeFd, WaitTimeoutMs(), why) : kErrTls;
    if (error == kOk && !SameServerCertificate(tls->ssl, channel.ssl)) {
        error = kErrTls;
        why = "the data connection showed another certificate";
    }
    if (error == kOk)
        return true;
    channel.Close();
    if (error == kErrCancelled || error == ETIMEDOUT)
        LoseConnection(error);
    else if (error == kErrTls && m_bShowError)
        ShowMessage(kTlsFailed, m_strHost, why.empty() ? SocketErrorText(kErrTls) : why);
    else
        ShowSocketError(error);
    return false;
}

// A TLS server may still send on the data connection (TLS 1.3 session tickets, its close notice)
// after an upload: closed with those bytes unread, the socket would answer with a reset, and the
// server could lose the end of the file. So the upload waits for the server to close.
void QorFtpConnection::AwaitDataEnd(DataChannel& channel)
{
    // Read through TLS: the tickets it brings serve the next data connections.
    for (;;) {
        short events = POLLIN;
        const ssize_t n = TlsDrain(channel.ssl, events);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && Wait(channel.dataFd, events, WaitTimeoutMs()) == kOk)
            continue;
        return;
    }
}
