// Downloads and uploads in binary type, with restart offset, append, progress and cancel.
#include "ConnectionPrivate.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qorftp;

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor() { CloseFd(m_fd); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int Close()
    {
        int result = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        ssize_t n = ::write(fd, bytes, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void QorFtpConnection::RegisterProgress(QorFtpProgress* progress)
{
    std::lock_guard<std::mutex> guard(m_progressLock);
    m_pProgress.store(progress);
}

bool QorFtpConnection::TypeBinary()
{
    if (m_typeIsBinary)
        return true;
    if (SendCommand("TYPE I") <= 0)
        return false;
    std::string reply;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        return false;
    }
    m_typeIsBinary = true;
    return true;
}

// The part of a transfer loop that does not depend on its direction: the window, the cancel
// question after each block, the waits of a stalled socket and how the loop ended.
class QORFTP_HIDDEN QorFtpConnection::TransferLoop {
public:
    TransferLoop(QorFtpConnection& connection, QorFtpProgress::Direction direction, const std::string& fileText,
                 std::uint64_t offset, std::uint64_t total)
        : m_connection(connection)
        , m_progress(connection.Ui(), direction, fileText)
        , m_count(offset)
        , m_total(total)
    {
        // Registered, the window is what CancelOperation reaches from another thread.
        if (m_progress.HasWindow())
            m_connection.RegisterProgress(&m_progress);
        m_progress.Update(m_count, m_total, true);
    }
    ~TransferLoop() { m_connection.RegisterProgress(nullptr); }
    TransferLoop(const TransferLoop&) = delete;
    TransferLoop& operator=(const TransferLoop&) = delete;

    // After each block: false when the user confirmed a cancel.
    bool Moved(std::size_t bytes)
    {
        if (ConfirmCancel())
            return false;
        m_count += bytes;
        m_progress.Update(m_count, m_total);
        return true;
    }

    // After a call that moved nothing and set errno: true to try again, false to leave the loop.
    bool Stalled(int fd, short events)
    {
        int error = errno;
        if (error == EINTR)
            return true;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            error = m_connection.Wait(fd, events, m_connection.WaitTimeoutMs());
            if (error == kOk)
                return true;
            // With a window, a wake is the window's cancel request, asked about like the button;
            // without one it cancels the blocking call.
            if (error == kErrCancelled && m_progress.HasWindow())
                return !ConfirmCancel();
        }
        failure = error;
        return false;
    }

    void Finish()
    {
        m_progress.Update(m_count, m_total, true);
        // Every wake was this window's cancel request, dealt with above; left pending, it would
        // cancel the reading of the final reply.
        if (m_progress.HasWindow())
            DrainWake(m_connection.m_wakeFd);
    }

    int failure = kOk;
    bool cancelled = false;

private:
    bool ConfirmCancel()
    {
        if (m_progress.IsCancelRequested()
            && m_connection.Ui().AskYesNo("Cancel", LibraryText(kAskCancel), &m_progress))
            cancelled = true;
        return cancelled;
    }

    QorFtpConnection& m_connection;
    QorFtpProgress m_progress;
    std::uint64_t m_count;
    std::uint64_t m_total;
};

int QorFtpConnection::EndTransfer(TransferLoop& loop)
{
    loop.Finish();
    if (loop.failure != kOk) {
        if (loop.failure == kErrCancelled || loop.failure == ETIMEDOUT)
            LoseConnection(loop.failure);
        else
            ShowSocketError(loop.failure);
        return 0;
    }
    // A cancelled transfer leaves a partial file: it must not pass for a complete one.
    return loop.cancelled ? 0 : 1;
}

// `size` becomes the offset plus the bytes received: the size of the remote file as far as it came.
int QorFtpConnection::ReceiveToFile(DataChannel& channel, const std::string& local, std::uint64_t offset, int append,
                                    std::uint64_t total, std::uint64_t& size)
{
    size = offset;
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | ((offset || append) ? O_APPEND : O_TRUNC);
    FileDescriptor file(::open(local.c_str(), flags, 0666));
    if (file.get() < 0) {
        ShowFileError(errno);
        return 0;
    }
    TransferLoop loop(*this, QorFtpProgress::Direction::Download, local + " from " + m_strHost, offset, total);
    std::unique_ptr<char[]> buffer(new char[kReceiveBlock]);
    for (;;) {
        short events = POLLIN;
        ssize_t n = channel.Receive(buffer.get(), kReceiveBlock, events);
        if (n > 0) {
            if (!WriteAll(file.get(), buffer.get(), static_cast<std::size_t>(n))) {
                ShowFileError(errno);
                return 0;
            }
            size += static_cast<std::uint64_t>(n);
            if (!loop.Moved(static_cast<std::size_t>(n)))
                break;
        } else if (n == 0 || !loop.Stalled(channel.dataFd, events)) {
            break;
        }
    }
    if (file.Close() != 0 && loop.failure == kOk && !loop.cancelled) {
        loop.Finish();
        ShowFileError(errno);
        return 0;
    }
    return EndTransfer(loop);
}

int QorFtpConnection::SendFromFile(DataChannel& channel, const std::string& local, std::uint64_t offset)
{
    FileDescriptor file(::open(local.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info { };
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        ShowFileError(errno);
        return 0;
    }
    TransferLoop loop(*this, QorFtpProgress::Direction::Upload, local + " to " + m_strHost, offset,
                      static_cast<std::uint64_t>(info.st_size));
    off_t position = static_cast<off_t>(offset);
    // TLS encrypts in this process: the file's bytes must pass through it.
    bool useSendfile = channel.ssl == nullptr;
    std::unique_ptr<char[]> buffer;
    std::size_t pending = 0, pendingAt = 0; // bytes read but not yet sent, without sendfile
    if (!useSendfile)
        buffer.reset(new char[kReceiveBlock]);
    for (;;) {
        ssize_t n;
        short events = POLLOUT;
        if (useSendfile) {
            n = ::sendfile(channel.dataFd, file.get(), &position, kSendBlock);
            if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {
                useSendfile = false;
                buffer.reset(new char[kReceiveBlock]);
                continue;
            }
            if (n == 0)
                break;
        } else {
            if (pending == 0) {
                ssize_t got = ::pread(file.get(), buffer.get(), kReceiveBlock, position);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0) {
                    ShowFileError(errno);
                    return 0;
                }
                if (got == 0)
                    break;
                pending = static_cast<std::size_t>(got);
                pendingAt = 0;
            }
            n = channel.Send(buffer.get() + pendingAt, pending, events);
            if (n > 0) {
                pending -= static_cast<std::size_t>(n);
                pendingAt += static_cast<std::size_t>(n);
                position += n;
            }
        }
        // sendfile reports a failed read of the file like a socket failure; the socket is the
        // usual cause.
        if (n > 0 ? !loop.Moved(static_cast<std::size_t>(n)) : !loop.Stalled(channel.dataFd, events))
            break;
    }
    return EndTransfer(loop);
}

int QorFtpConnection::GetFile(std::string remote, std::string local, std::uint64_t offset, int append)
{
    if (!CheckConnected())
        return 0;
    // The size feeds the percentage and tells a short download from a whole one; a file the
    // listing cannot find still downloads, so its refusal is not worth a message box here.
    std::uint64_t total = 0;
    bool sizeKnown = false;
    {
        _Qor_Ftp_FileData rec;
        const int show = m_bShowError;
        m_bShowError = 0;
        if (FindFile(remote, rec)) {
            total = rec.Size;
            // A link's or a folder's line gives no size of the file itself.
            sizeKnown = rec.Type == 0 && !rec.Name.empty();
        }
        m_bShowError = show;
        if (!IsConnected())
            return 0;
    }
    Lock lock(*this);
    if (!TypeBinary())
        return 0;
    DataChannel channel;
    if (!OpenDataPort(channel))
        return 0;
    std::string reply;
    if (offset != 0) {
        if (SendCommand("REST " + std::to_string(offset)) <= 0)
            return 0;
        if (!Accepted(ReadReply(reply))) {
            ShowReply(kPlain, {}, reply);
            return 0;
        }
    }
    if (SendCommand("RETR " + remote) <= 0)
        return 0;
    const int code = ReadReply(reply);
    if (!Accepted(code)) {
        ShowReply(kPlain, {}, reply);
        return 0;
    }
    const bool finalDue = code < 200;
    if (!AcceptData(channel, !finalDue))
        return 0;
    std::uint64_t size = 0;
    int result = ReceiveToFile(channel, local, offset, append, total, size);
    channel.Close();
    if (finalDue && IsConnected()) {
        // A server that reports a failure after the data (426, 451) did not send the whole file.
        if (!Accepted(ReadReply(reply)) && result) {
            ShowReply(kPlain, {}, reply);
            result = 0;
        }
    }
    // Nor did one that closed the data connection early and still said 226; the partial file
    // stays for a resumed download.
    if (result && sizeKnown && size < total) {
        if (m_bShowError)
            ShowMessage(kShortDownload, std::to_string(size), std::to_string(total));
        result = 0;
    }
    return result;
}

int QorFtpConnection::PutFile(std::string local, std::string remote, std::uint64_t offset, int append)
{
    if (!CheckConnected())
        return 0;
    Lock lock(*this);
    if (!TypeBinary())
        return 0;
    DataChannel channel;
    if (!OpenDataPort(channel))
        return 0;
    std::string reply;
    if (offset != 0) {
        if (SendCommand("REST " + std::to_string(offset)) <= 0)
            return 0;
        if (!Accepted(ReadReply(reply))) {
            ShowReply(kPlain, {}, reply);
            return 0;
        }
    }
    if (SendCommand((append ? "APPE " : "STOR ") + remote) <= 0)
        return 0;
    const int code = ReadReply(reply);
    if (!Accepted(code)) {
        ShowReply(kPlain, {}, reply);
        // Bring the channel back in step before the next command.
        if (SendCommand("NOOP") > 0) {
            int next;
            do
                next = ReadReply(reply);
            while (next > 300 && next != 421);
        }
        return 0;
    }
    const bool finalDue = code < 200;
    if (!AcceptData(channel, !finalDue))
        return 0;
    int result = SendFromFile(channel, local, offset);
    // Closing the data connection ends the file for the server.
    channel.EndSending();
    if (channel.ssl)
        AwaitDataEnd(channel);
    channel.Close();
    if (finalDue && IsConnected()) {
        if (!Accepted(ReadReply(reply)) && result) {
            ShowReply(kPlain, {}, reply);
            result = 0;
        }
    }
    return result;
}
