// Remote directories: PWD, CWD, LIST and the records of a listing.
#include "ConnectionPrivate.h"
#include "Parsing.h"

#include <algorithm>
#include <cerrno>
#include <memory>
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

void QorFtpConnection::SetListingLimit(int lines)
{
    m_listingLimit = std::max(1, lines);
}

// 1: the listing arrived (what came before a failed read too); 0: it has more lines than the
// limit and was left unread, the control channel still in step; -1: the connection was lost.
int QorFtpConnection::ReceiveListing(DataChannel& channel, std::string& lines, std::size_t& count)
{
    ListingCollector collector(lines);
    std::unique_ptr<char[]> block(new char[kReceiveBlock]);
    for (;;) {
        short events = POLLIN;
        ssize_t n = channel.Receive(block.get(), kReceiveBlock, events);
        if (n > 0) {
            collector.Add(std::string_view(block.get(), static_cast<std::size_t>(n)));
            if (collector.Count() > static_cast<std::size_t>(m_listingLimit))
                return 0;
            continue;
        }
        if (n == 0)
            break;
        int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            error = Wait(channel.dataFd, events, WaitTimeoutMs());
            if (error == kOk)
                continue;
        }
        if (error == kErrCancelled || error == ETIMEDOUT) {
            LoseConnection(error);
            return -1;
        }
        // What arrived before the failure is still shown.
        ShowSocketError(error);
        break;
    }
    collector.Finish();
    count = collector.Count();
    return count > static_cast<std::size_t>(m_listingLimit) ? 0 : 1;
}

std::string_view QorFtpConnection::CurrentLine() const
{
    const std::size_t end = m_pLines.find('\n', m_nextLine);
    return std::string_view(m_pLines).substr(m_nextLine, end - m_nextLine);
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
    std::string lines;
    std::size_t count = 0;
    const int received = ReceiveListing(channel, lines, count);
    channel.Close();
    if (received < 0)
        return -1;
    // As after a transfer: a failure reply after the data (426, 451) or none at all means the
    // listing may not be whole, and a part must not pass for the folder's content.
    const bool whole = !finalDue || Accepted(ReadReply(reply));
    if (received == 0) {
        if (m_bShowError)
            ShowMessage(kListingTooLong, std::to_string(m_listingLimit));
        return -1;
    }
    if (!whole) {
        ShowReply(kPlain, {}, reply);
        return -1;
    }
    m_pLines.swap(lines);
    m_nextLine = 0;
    // Said once for the whole listing, so a folder whose lines no format reads does not pass
    // for an empty one.
    if (m_bShowError) {
        if (const std::size_t unread = CountUnreadLines(m_pLines))
            ShowMessage(kListingLinesUnread, std::to_string(unread));
    }
    return static_cast<int>(count);
}

int QorFtpConnection::GetNextFile(_Qor_Ftp_FileData& rec, int remove)
{
    while (m_nextLine < m_pLines.size()) {
        std::size_t after = m_nextLine;
        _Qor_Ftp_FileData parsed;
        if (ReadListEntry(m_pLines, after, parsed) != ListingLine::Entry) {
            m_nextLine = after;
            continue;
        }
        rec = std::move(parsed);
        if (remove)
            m_nextLine = after;
        return 1;
    }
    std::string().swap(m_pLines);
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
    rec = ParseListLine(CurrentLine());
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
