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
    explicit FileDescriptor(int fd) : m_fd(fd) {}
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

// Registers a transfer's window with its connection, so that CancelOperation can reach it, and
// unregisters it on every way out.
class ProgressRegistration {
public:
    ProgressRegistration(QorFtpConnection& connection, QorFtpProgress& progress, void (QorFtpConnection::*set)(QorFtpProgress*))
        : m_connection(connection), m_set(set)
    {
        if (progress.HasWindow())
            (m_connection.*m_set)(&progress);
    }
    ~ProgressRegistration() { (m_connection.*m_set)(nullptr); }
    ProgressRegistration(const ProgressRegistration&) = delete;
    ProgressRegistration& operator=(const ProgressRegistration&) = delete;

private:
    QorFtpConnection& m_connection;
    void (QorFtpConnection::*m_set)(QorFtpProgress*);
};

} // namespace

void QorFtpConnection::RegisterProgress(QorFtpProgress* progress)
{
    std::lock_guard<std::mutex> guard(m_progressLock);
    m_pProgress.store(progress);
}

bool QorFtpConnection::TypeBinary()
{
    if (SendCommand("TYPE I") <= 0)
        return false;
    std::string reply;
    if (!Accepted(ReadReply(reply))) {
        ShowReply(kPlain, {}, reply);
        return false;
    }
    return true;
}

// What a transfer loop does when its wait was woken: with a window, the wake is the window's
// cancel request, confirmed by the user; without one, it is a plain cancel of the blocking call.
enum class WakeResult { GoOn, Cancelled, Failed };

static WakeResult OnWake(QorFtpUi& ui, QorFtpProgress& progress)
{
    if (!progress.HasWindow())
        return WakeResult::Failed;
    if (progress.IsCancelRequested()
        && ui.AskYesNo("Cancel", LibraryText(kAskCancel), &progress))
        return WakeResult::Cancelled;
    return WakeResult::GoOn;
}

// With a window, every wake is the window's cancel request, which the loop has dealt with; left
// pending, it would cancel the reading of the final reply.
static void DropWindowWake(QorFtpProgress& progress, int wakeFd)
{
    if (progress.HasWindow())
        DrainWake(wakeFd);
}

int QorFtpConnection::ReceiveToFile(DataChannel& channel, const std::string& local,
                                    std::uint64_t offset, int append, std::uint64_t total)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | ((offset || append) ? O_APPEND : O_TRUNC);
    FileDescriptor file(::open(local.c_str(), flags, 0666));
    if (file.get() < 0) {
        ShowFileError(errno);
        return 0;
    }
    QorFtpProgress progress(Ui(), QorFtpProgress::Direction::Download, local + " from " + m_strHost);
    ProgressRegistration registration(*this, progress, &QorFtpConnection::RegisterProgress);

    std::unique_ptr<char[]> buffer(new char[kReceiveBlock]);
    std::uint64_t count = offset;
    progress.Update(count, total, true);
    int failure = kOk;
    bool cancelled = false;
    for (;;) {
        ssize_t n = ::recv(channel.dataFd, buffer.get(), kReceiveBlock, 0);
        if (n > 0) {
            if (!WriteAll(file.get(), buffer.get(), static_cast<std::size_t>(n))) {
                ShowFileError(errno);
                return 0;
            }
            if (progress.IsCancelRequested() && Ui().AskYesNo("Cancel", LibraryText(kAskCancel), &progress)) {
                cancelled = true;
                break;
            }
            count += static_cast<std::uint64_t>(n);
            progress.Update(count, total);
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
            if (error == kErrCancelled) {
                WakeResult wake = OnWake(Ui(), progress);
                if (wake == WakeResult::GoOn)
                    continue;
                if (wake == WakeResult::Cancelled) {
                    cancelled = true;
                    break;
                }
            }
        }
        failure = error;
        break;
    }
    progress.Update(count, total, true);
    DropWindowWake(progress, m_wakeFd);
    if (file.Close() != 0 && failure == kOk && !cancelled) {
        ShowFileError(errno);
        return 0;
    }
    if (failure != kOk) {
        if (failure == kErrCancelled || failure == ETIMEDOUT)
            LoseConnection(failure);
        else
            ShowSocketError(failure);
        return 0;
    }
    // A cancelled transfer leaves a partial file: it must not pass for a complete one.
    return cancelled ? 0 : 1;
}

int QorFtpConnection::SendFromFile(DataChannel& channel, const std::string& local, std::uint64_t offset)
{
    FileDescriptor file(::open(local.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        ShowFileError(errno);
        return 0;
    }
    const std::uint64_t total = static_cast<std::uint64_t>(info.st_size);
    QorFtpProgress progress(Ui(), QorFtpProgress::Direction::Upload, local + " to " + m_strHost);
    ProgressRegistration registration(*this, progress, &QorFtpConnection::RegisterProgress);

    off_t position = static_cast<off_t>(offset);
    std::uint64_t count = offset;
    progress.Update(count, total, true);
    int failure = kOk;
    bool cancelled = false;
    bool useSendfile = true;
    std::unique_ptr<char[]> buffer;
    std::size_t pending = 0, pendingAt = 0; // bytes read but not yet sent, without sendfile
    for (;;) {
        ssize_t n;
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
                if (got < 0) {
                    if (errno == EINTR)
                        continue;
                    ShowFileError(errno);
                    return 0;
                }
                if (got == 0)
                    break;
                pending = static_cast<std::size_t>(got);
                pendingAt = 0;
            }
            n = ::send(channel.dataFd, buffer.get() + pendingAt, pending, MSG_NOSIGNAL);
            if (n > 0) {
                pending -= static_cast<std::size_t>(n);
                pendingAt += static_cast<std::size_t>(n);
                position += n;
            }
        }
        if (n > 0) {
            if (progress.IsCancelRequested() && Ui().AskYesNo("Cancel", LibraryText(kAskCancel), &progress)) {
                cancelled = true;
                break;
            }
            count += static_cast<std::uint64_t>(n);
            progress.Update(count, total);
            continue;
        }
        int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            error = Wait(channel.dataFd, POLLOUT, WaitTimeoutMs());
            if (error == kOk)
                continue;
            if (error == kErrCancelled) {
                WakeResult wake = OnWake(Ui(), progress);
                if (wake == WakeResult::GoOn)
                    continue;
                if (wake == WakeResult::Cancelled) {
                    cancelled = true;
                    break;
                }
            }
        }
        // sendfile reports a failed read of the file the same way; the socket is the usual cause.
        failure = error;
        break;
    }
    progress.Update(count, total, true);
    DropWindowWake(progress, m_wakeFd);
    if (failure != kOk) {
        if (failure == kErrCancelled || failure == ETIMEDOUT)
            LoseConnection(failure);
        else
            ShowSocketError(failure);
        return 0;
    }
    return cancelled ? 0 : 1;
}

int QorFtpConnection::GetFile(std::string remote, std::string local, std::uint64_t offset, int append)
{
    if (!CheckConnected())
        return 0;
    // The size only feeds the percentage; a file the listing cannot find still downloads, so its
    // refusal is not worth a message box here.
    std::uint64_t total = 0;
    {
        _Qor_Ftp_FileData rec;
        const int show = m_bShowError;
        m_bShowError = 0;
        if (FindFile(remote, rec))
            total = rec.Size;
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
    int result = ReceiveToFile(channel, local, offset, append, total);
    CloseFd(channel.dataFd);
    if (finalDue && IsConnected()) {
        // A server that reports a failure after the data (426, 451) did not send the whole file.
        if (!Accepted(ReadReply(reply)) && result) {
            ShowReply(kPlain, {}, reply);
            result = 0;
        }
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
    ::shutdown(channel.dataFd, SHUT_WR);
    CloseFd(channel.dataFd);
    if (finalDue && IsConnected()) {
        if (!Accepted(ReadReply(reply)) && result) {
            ShowReply(kPlain, {}, reply);
            result = 0;
        }
    }
    return result;
}
