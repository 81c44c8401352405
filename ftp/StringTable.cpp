#include "StringTable.h"

#include "Socket.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace qorftp {

std::string LibraryText(int id)
{
    switch (id) {
    case kAskCancel:
        return "Are you sure you want to cancel?";
    case kUploading:
        return "Uploading:";
    case kDownloading:
        return "Downloading:";
    case kAlreadyConnected:
        return "Already Connected.";
    case kPlain:
        return "%1";
    case kLoginFailed:
        return "Login to '%1' failed.\n\n%2";
    case kNotConnected:
        return "Not Connected.";
    case kDirectoryChangeFailed:
        return "Directory change to '%1' failed.\n\n%2";
    case kDirFailed:
        return "Dir command to '%1' failed.\n\n%2";
    case kChmodFailed:
        return "Change file permisions failed for '%1'\n\n%2";
    case kDeleteFailed:
        return "Delete file '%1' failed.\n\n%2";
    case kMakeDirectoryFailed:
        return "Make directory '%1' failed.\n\n%2";
    case kRenameFailed:
        return "Rename file '%1' failed.\n\n%2";
    case kConnectionClosed:
        return "Connection closed by the server.";
    case kLineBreakRefused:
        return "The command '%1' holds a line break and was not sent.";
    case kLineTooLong:
        return "The server sent a reply line longer than 4096 bytes; the connection was closed.";
    case kReplyTooLong:
        return "The server sent a reply longer than 1 MiB; the connection was closed.";
    case kListingTooLong:
        return "The listing has more than %1 lines and was not read.";
    case kShortDownload:
        return "The download ended after %1 of the file's %2 bytes.";
    case kTlsRefused:
        return "'%1' does not offer encryption, so the user name and password were not sent.\n\n%2";
    case kTlsFailed:
        return "The encrypted connection to '%1' failed: %2";
    case kCertificateRefused:
        return "The certificate of '%1' is not trusted, so the connection was closed.\n\n%2";
    case kDataProtectionRefused:
        return "'%1' would not encrypt its data connections, so the connection was closed.\n\n%2";
    case kListingLinesUnread:
        return "The listing has %1 line(s) in a form that could not be read; they are not shown.";
    default:
        return {};
    }
}

static void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string FormatMessage(int id, const std::string& insert1, const std::string& insert2)
{
    std::string text = LibraryText(id);
    if (insert1.empty())
        return text;
    // %2 first, so that a "%2" inside insert1 stays as the server wrote it.
    if (!insert2.empty())
        ReplaceAll(text, "%2", insert2);
    ReplaceAll(text, "%1", insert1);
    return text;
}

std::string SocketErrorText(int error)
{
    switch (error) {
    case kOk:
        return {};
    case kErrCancelled:
        return "Blocking call cancelled.";
    case kErrClosed:
        return LibraryText(kConnectionClosed);
    case kErrLineTooLong:
        return LibraryText(kLineTooLong);
    case kErrReplyTooLong:
        return LibraryText(kReplyTooLong);
    case kErrTls:
    case EPROTO:
        return "The encrypted connection failed.";
    case kErrHostNotFound:
        return "Host not found.";
    case kErrTryAgain:
        return "Non-authoritative host not found.\nThis is usually a temporary error during hostname "
               "resolution and means that the local\n server did not receive a response from an "
               "authoritative\n server. A retry at some time later may be successful. ";
    case kErrNoRecovery:
        return "This is a non-recoverable error.\nConnection should be closed.";
    case kErrNoData:
        return "Valid name, no data record of requested type.\n The host itself exists in the DNS, "
               "but is not directly reachable.";
    case EINTR:
        return "Blocking call cancelled.";
    case EFAULT:
        return "Bad address.";
    case EINVAL:
        return "Invalid argument or invalid operation.";
    case EMFILE:
    case ENFILE:
        return "Too many sockets open.";
    case EAGAIN:
        return "Resource temporarily unavailable.\nTry again later.";
    case EINPROGRESS:
    case EALREADY:
        return "Other Operation now in progress. ";
    case ENOTSOCK:
    case EBADF:
        return "Socket operation on non-socket.";
    case EPROTOTYPE:
        return "Protocol wrong type for socket.";
    case EPROTONOSUPPORT:
        return "Protocol not supported.";
    case ESOCKTNOSUPPORT:
        return "Socket type not supported.";
    case EAFNOSUPPORT:
        return "Address family not supported by protocol family.";
    case EADDRINUSE:
        return "Address already in use.";
    case EADDRNOTAVAIL:
        return "Cannot assign requested address.";
    case ENETDOWN:
        return "Network is down.";
    case ECONNABORTED:
        return "Connection aborted.";
    case ECONNRESET:
    case EPIPE:
        return "Connection reseted from the server.";
    case ENOBUFS:
    case ENOMEM:
        return "No buffer space available.";
    case ENOTCONN:
        return "Socket is not connected.";
    case ETIMEDOUT:
        return "Connection timed out.";
    case ECONNREFUSED:
        return "Connection refused.";
    case EHOSTDOWN:
        return "Remote host is down.";
    case EHOSTUNREACH:
    case ENETUNREACH:
        return "Host unreachable.";
    default:
        // An error the old table did not know still deserves words rather than silence.
        return error > 0 ? std::string(std::strerror(error)) + "." : std::string();
    }
}

} // namespace qorftp
