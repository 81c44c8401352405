// Remote directories: PWD, CWD, LIST and the records of a listing.
#include "ConnectionPrivate.h"
#include "Parsing.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

using namespace qorftp;

std::string QorFtpConnection::GetCurrentDirectoryA()
{
    return m_strCurDir;
}

int QorFtpConnection::GetCurrentFtpDirectory(std::string& dir)
{
    if (!CheckConnected())
        return 0;
    Lock lock(*this);
    if (SendCommand("PWD") <= 0)
        return 0;
    std::string reply;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    m_strCurDir = ParsePwdReply(reply);
    dir = m_strCurDir;
    return 1;
}

int QorFtpConnection::ChangeDirectory(std::string dir)
{
    if (dir.empty())
        dir.push_back('.');
    if (!CheckConnected())
        return 0;
    Lock lock(*this);
    if (SendCommand("CWD " + dir) <= 0)
        return 0;
    std::string reply;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kDirectoryChangeFailed, dir, reply);
        return 0;
    }
    lock.Release();
    std::string current;
    GetCurrentFtpDirectory(current);
    return 1;
}

bool QorFtpConnection::ReceiveListing(DataChannel& channel, std::string& data)
{
    std::size_t used = 0;
    for (;;) {
        if (data.size() - used < kReceiveBlock)
            data.resize(used + kReceiveBlock);
        ssize_t n = ::recv(channel.dataFd, data.data() + used, kReceiveBlock, 0);
        if (n > 0) {
            used += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0)
            break;
        int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            error = Wait(channel.dataFd, POLLIN, WaitTimeoutMs());
            if (error == kOk)
                continue;
        }
        data.resize(used);
        if (error == kErrCancelled || error == ETIMEDOUT) {
            LoseConnection(error);
            return false;
        }
        // What arrived before the failure is still shown.
        ShowSocketError(error);
        break;
    }
    data.resize(used);
    return true;
}

void QorFtpConnection::StoreListing(const std::string& data)
{
    m_pLines = SplitListing(data);
    m_nextLine = 0;
}

int QorFtpConnection::GetDir(std::string path)
{
    if (!CheckConnected())
        return -1;
    Lock lock(*this);
    DataChannel channel;
    if (!OpenDataPort(channel))
        return -1;
    if (SendCommand(path.empty() ? std::string("LIST") : "LIST " + path) <= 0)
        return -1;
    std::string reply;
    const int code = ReadReply(reply);
    if (!Accepted(code)) {
        ShowReply(kDirFailed, path, reply);
        return -1;
    }
    const bool finalDue = code < 200;
    if (!AcceptData(channel, !finalDue))
        return -1;
    std::string data;
    const bool received = ReceiveListing(channel, data);
    CloseFd(channel.dataFd);
    if (!received)
        return -1;
    // As after a transfer: a failure reply after the data (426, 451) or none at all means the
    // listing may not be whole, and a part must not pass for the folder's content.
    if (finalDue && !Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        return -1;
    }
    StoreListing(data);
    return static_cast<int>(m_pLines.size());
}

int QorFtpConnection::GetNextFile(_Qor_Ftp_FileData& rec, int remove)
{
    while (m_nextLine < m_pLines.size()) {
        _Qor_Ftp_FileData parsed = ParseListLine(m_pLines[m_nextLine]);
        if (parsed.Name.empty()) {
            ++m_nextLine;
            continue;
        }
        rec = std::move(parsed);
        if (remove)
            ++m_nextLine;
        return 1;
    }
    m_pLines.clear();
    m_nextLine = 0;
    return 0;
}

int QorFtpConnection::FindFile(std::string path, _Qor_Ftp_FileData& rec)
{
    if (!CheckConnected())
        return 0;
    if (path.empty())
        return 0;
    if (GetDir(path) <= 0)
        return 0;
    rec = ParseListLine(m_pLines[m_nextLine]);
    return 1;
}

int QorFtpConnection::GetFilePermission(std::string path, std::string& permissions)
{
    if (!CheckConnected())
        return 0;
    _Qor_Ftp_FileData rec;
    if (!FindFile(path, rec))
        return 0;
    permissions = rec.Permissions;
    return 1;
}
