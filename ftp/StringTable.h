// The library's string table: message texts by resource id, and the socket error messages.
#pragma once

#include <string>

namespace qorftp {

enum TextId : int {
    kAskCancel = 61447,
    kUploading = 61448,
    kDownloading = 61449,
    kAlreadyConnected = 61450,
    kPlain = 61451,
    kLoginFailed = 61452,
    kNotConnected = 61453,
    kDirectoryChangeFailed = 61483,
    kDirFailed = 61484,
    kChmodFailed = 61485,
    kDeleteFailed = 61486,
    kMakeDirectoryFailed = 61487,
    kRenameFailed = 61488,
    // Texts of ours, for failures the older library did not report.
    kConnectionClosed = 61489,
    kLineBreakRefused = 61490,
    kLineTooLong = 61491,
    kReplyTooLong = 61492,
    kListingTooLong = 61493,
    kShortDownload = 61494,
    kTlsRefused = 61495,
    kTlsFailed = 61496,
    kCertificateRefused = 61497,
    kDataProtectionRefused = 61498,
    kListingLinesUnread = 61499,
};

// The text of an id; empty for an unknown id.
std::string LibraryText(int id);

// The text for %1/%2 inserts: the plain text when insert1 is empty, else %1 replaced by insert1
// and, when insert2 is not empty, %2 by insert2.
std::string FormatMessage(int id, const std::string& insert1, const std::string& insert2);

// The message for a socket error (an errno value or a qorftp::SocketError); empty when the
// error has none.
std::string SocketErrorText(int error);

} // namespace qorftp
