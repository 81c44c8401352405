// Copying a file from one server to another, handing the control socket between threads, and
// cancelling from another thread.
#include "ConnectionPrivate.h"
#include "Parsing.h"

using namespace qorftp;

int QorFtpConnection::GetPassive(std::string& text)
{
    if (!CheckConnected())
        return 0;
    Lock lock(*this);
    if (SendCommand("PASV") <= 0)
        return 0;
    std::string reply;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    text = PassiveAddressText(reply);
    return 1;
}

int QorFtpConnection::FromTo(QorFtpSocket* target, std::string source, std::string destination, int append)
{
    if (!CheckConnected())
        return 0;
    if (!target || !target->IsValid()) {
        if (m_bShowError)
            ShowMessage(kNotConnected);
        return 0;
    }
    if (!ArgumentIsSafe("RETR " + source) || !ArgumentIsSafe("STOR " + destination))
        return 0;
    if (!CanCopyDirectlyTo(target)) {
        if (m_bShowError)
            ShowMessage(kPlain, "The servers cannot exchange encrypted data directly.");
        return 0;
    }
    Lock lock(*this);
    std::string reply;
    if (!TypeBinary())
        return 0;
    if (SendCommandTo(target, "TYPE I") <= 0)
        return 0;
    if (!Accepted(ReadReply(target, reply))) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    // Encrypted data between two servers: the destination, which connects, takes the TLS
    // client's part; the source serves TLS as for any protected transfer.
    const bool encrypted = target->Tls() && target->Tls()->protectedData;
    if (encrypted) {
        if (SendCommandTo(target, "SSCN ON") <= 0)
            return 0;
        if (ReadReply(target, reply) / 100 != 2) {
            ShowReply(kPlain, {}, reply);
            return 0;
        }
    }
    lock.Release();
    const int result = CopyToTarget(target, source, destination, append);
    if (encrypted && target->IsValid()) {
        // Left on, the destination would play the client on its own data connections too.
        lock.Acquire();
        if (SendCommandTo(target, "SSCN OFF") > 0)
            ReadReply(target, reply);
    }
    return result;
}

bool QorFtpConnection::CanCopyDirectlyTo(QorFtpSocket* target) const
{
    const TlsState* mine = IsConnected() ? m_pSocket->Tls() : nullptr;
    const TlsState* theirs = target ? target->Tls() : nullptr;
    const bool mineProtected = mine && mine->protectedData;
    const bool theirsProtected = theirs && theirs->protectedData;
    if (!mineProtected && !theirsProtected)
        return true;
    // One side in clear would expose the other's data; neither is done without being asked.
    return mineProtected && theirsProtected && theirs->sscn;
}

int QorFtpConnection::CopyToTarget(QorFtpSocket* target, const std::string& source, const std::string& destination,
                                   int append)
{
    // The source listens (PASV) and the destination connects to it (PORT): the source's reply
    // goes to the destination unchanged, so the data never passes through this program.
    std::string hostPort;
    if (!GetPassive(hostPort))
        return 0;
    Lock lock(*this);
    std::string reply;
    if (SendCommandTo(target, "PORT " + hostPort) <= 0)
        return 0;
    if (!Accepted(ReadReply(target, reply))) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    if (SendCommandTo(target, (append ? "APPE " : "STOR ") + destination) <= 0)
        return 0;
    int targetCode = ReadReply(target, reply);
    if (!Accepted(targetCode)) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    const bool targetFinalDue = targetCode < 200;
    if (SendCommand("RETR " + source) <= 0)
        return 0;
    int sourceCode = ReadReply(reply);
    if (!Accepted(sourceCode)) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    const bool sourceFinalDue = sourceCode < 200;
    if (targetFinalDue) {
        targetCode = ReadReply(target, reply);
        if (!Accepted(targetCode)) {
            ShowReply(kPlain, {}, reply);
            return 0;
        }
    }
    if (sourceFinalDue) {
        sourceCode = ReadReply(reply);
        if (!Accepted(sourceCode)) {
            ShowReply(kPlain, {}, reply);
            return 0;
        }
    }
    return 1;
}

QorFtpSocket* QorFtpConnection::GetSocket()
{
    return IsConnected() ? m_pSocket.get() : nullptr;
}

int QorFtpConnection::GetSocketHandle(int& handle)
{
    if (m_pSocket && m_pSocket->Handle() > 0) {
        handle = m_pSocket->Detach();
        return 1;
    }
    handle = -1;
    if (m_bShowError)
        ShowMessage(kPlain, "No Socket Handle");
    return 0;
}

int QorFtpConnection::AttachSocket(int handle)
{
    if (!m_pSocket)
        m_pSocket = std::make_unique<QorFtpSocket>();
    if (!m_pSocket->IsValid()) {
        // Whoever held the socket meanwhile may have changed the type.
        m_typeIsBinary = false;
        m_pSocket->Attach(handle);
        if (handle >= 0)
            SetNonBlocking(handle);
        return 1;
    }
    if (m_bShowError)
        ShowMessage(kPlain, "Already attached Socket Handle");
    return 0;
}

int QorFtpConnection::CancelOperation()
{
    {
        std::lock_guard<std::mutex> guard(m_progressLock);
        if (QorFtpProgress* progress = m_pProgress.load()) {
            // As the window's close box: the transfer asks the user before it stops.
            progress->RequestCancel();
            Wake(m_wakeFd);
            return 1;
        }
    }
    // Kept until a wait takes it, also when no call runs yet: see ClearCancel.
    Wake(m_wakeFd);
    return 1;
}

void QorFtpConnection::ClearCancel()
{
    DrainWake(m_wakeFd);
}
