// Remote directories: PWD, CWD, LIST and the records of a listing.
#include "ConnectionPrivate.h"
#include "Facts.h"
#include "ListFormats.h"
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
    const bool mlsd = m_useMlsd && m_features->mlst;
    // Some servers (pure-ftpd) split LIST's argument at blanks, taking the words for options and
    // names: a folder with a blank in its name is listed from inside it instead.
    std::string comeBack;
    if (!mlsd && path.find(' ') != std::string::npos) {
        std::string reply;
        if (m_strCurDir.empty()) {
            if (SendCommand("PWD") <= 0 || !Accepted(ReadReply(reply)))
                return -1;
            m_strCurDir = ParsePwdReply(reply);
        }
        if (SendCommand("CWD " + path) <= 0)
            return -1;
        if (!Accepted(ReadReply(reply))) {
            ShowReply(kDirFailed, path, reply);
            return -1;
        }
        comeBack = m_strCurDir.empty() ? std::string("/") : m_strCurDir;
        path.clear();
    }
    const int result = ListInto(path, mlsd);
    if (!comeBack.empty() && IsConnected()) {
        std::string reply;
        if (SendCommand("CWD " + comeBack) > 0)
            ReadReply(reply);
    }
    return result;
}

int QorFtpConnection::ListInto(const std::string& path, bool mlsd)
{
    DataChannel channel;
    if (!OpenDataPort(channel))
        return -1;
    const std::string verb = mlsd ? "MLSD" : "LIST";
    if (SendCommand(path.empty() ? verb : verb + " " + path) <= 0)
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
    m_listingIsMlsd = mlsd;
    // Said once for the whole listing, so a folder whose lines no format reads does not pass
    // for an empty one.
    if (m_bShowError && !mlsd) {
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
        bool entry;
        if (m_listingIsMlsd) {
            const std::size_t end = m_pLines.find('\n', m_nextLine);
            after = end == std::string::npos ? m_pLines.size() : end + 1;
            entry = ParseMlsdLine(
                std::string_view(m_pLines).substr(m_nextLine, after - m_nextLine - (end != std::string::npos)), parsed);
        } else {
            entry = ReadListEntry(m_pLines, after, parsed) == ListingLine::Entry;
        }
        if (!entry) {
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
    if (m_useMlsd && m_features->mlst) {
        Lock lock(*this);
        if (SendCommand("MLST " + path) <= 0)
            return 0;
        std::string reply, lines;
        const int code = ReadReply(nullptr, reply, &lines);
        if (code / 100 != 2) {
            ShowReply(kDirFailed, path, reply);
            return 0;
        }
        // The entry is the reply's one line that begins with a blank; it names the whole path.
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t end = lines.find('\n', at);
            const std::string_view line = std::string_view(lines).substr(at, end - at);
            at = end == std::string::npos ? lines.size() : end + 1;
            if (line.size() > 1 && line[0] == ' ' && ParseMlsdLine(line.substr(1), rec)) {
                const std::size_t slash = rec.Name.rfind('/');
                if (slash != std::string::npos && slash + 1 < rec.Name.size())
                    rec.Name.erase(0, slash + 1);
                return 1;
            }
        }
        return 0;
    }
    // LIST of a path with blanks may list something else entirely (see GetDir).
    if (path.find(' ') != std::string::npos)
        return FindInParent(path, rec);
    if (GetDir(path) <= 0)
        return 0;
    rec = ParseListLine(CurrentLine());
    return 1;
}

int QorFtpConnection::FindInParent(const std::string& path, _Qor_Ftp_FileData& rec)
{
    const std::size_t slash = path.rfind('/');
    const std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash ? slash : 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (GetDir(parent) < 0)
        return 0;
    _Qor_Ftp_FileData entry;
    while (GetNextFile(entry, 1)) {
        const std::size_t arrow = entry.Type == 2 ? entry.Name.find(" -> ") : std::string::npos;
        if (entry.Name.compare(0, arrow, name) == 0
            && (arrow == std::string::npos ? entry.Name.size() : arrow) == name.size()) {
            rec = std::move(entry);
            std::string().swap(m_pLines);
            m_nextLine = 0;
            return 1;
        }
    }
    return 0;
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
