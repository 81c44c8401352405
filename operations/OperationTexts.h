// The texts the operations show: status rows, questions and messages. They are the program's own
// texts, so they are kept character for character.
#pragma once

#include "OperationRequest.h"

#include <QtGlobal>

#include <optional>
#include <string>

namespace OperationText {

inline constexpr char kUserInformation[]
    = QT_TRANSLATE_NOOP("OperationText", "Error getting the user information  for '%1' .");
inline constexpr char kAskDownloadSameConnection[] = QT_TRANSLATE_NOOP(
    "OperationText", "Do you want to try downloading the '%1' \nby using the same connection?\n(See help.)");
inline constexpr char kAskUploadSameConnection[] = QT_TRANSLATE_NOOP(
    "OperationText", "Do you want to try uploading the '%1'\nby using the same connection?\n(See help.)");
inline constexpr char kAskTransferSameConnection[] = QT_TRANSLATE_NOOP(
    "OperationText",
    "Do you want to try transfering the '%1'\n by using the same connection?\n\n"
    "This is a transfer. So, it will first download the file and then\n"
    "upload it leaving an 'ftpXXXX.TMP' file\nin your temporary directory. (Where XXXX a random string).");
inline constexpr char kConnectionBusy[] = QT_TRANSLATE_NOOP(
    "OperationText", "There is currently other operation using the same connection.\n\t\tPlease try again later.");
inline constexpr char kNoFilesToPaste[] = QT_TRANSLATE_NOOP("OperationText", "No Available Files to Paste");

// Texts of ours, for the cases the original program did not guard against.
inline constexpr char kUnsafeRemoteName[]
    = QT_TRANSLATE_NOOP("OperationText",
                        "The file name '%1' cannot be used for the copy: a name must not be empty, \".\" or \"..\", "
                        "and must not hold \"/\" or a NUL character.\nThe file was skipped.");
inline constexpr char kDamagedTransferData[]
    = QT_TRANSLATE_NOOP("OperationText", "The transfer data is damaged or incomplete, so no file was transferred.");
inline constexpr char kSourceServerGone[] = QT_TRANSLATE_NOOP(
    "OperationText",
    "The server '%1' the files come from is no longer in the server list, so nothing was transferred.");
inline constexpr char kFoldersNotUploaded[]
    = QT_TRANSLATE_NOOP("OperationText", "Only files are uploaded; these folders were skipped:\n%1");
inline constexpr char kCopyThroughHere[] = QT_TRANSLATE_NOOP(
    "OperationText", "Copying '%1' through this computer: the servers cannot exchange encrypted data directly.");
inline constexpr char kTemporaryFileFailed[]
    = QT_TRANSLATE_NOOP("OperationText", "Could not create a temporary file in '%1' for '%2'.");

// `text`, one of the texts above, in the user's language (as it is where none is loaded).
std::string Tr(const char* text);

} // namespace OperationText

// `text` with every "%1" and "%2" replaced by the inserts, in one pass, so an insert holding
// "%1" stays as it is.
std::string FillInsert(const std::string& text, const std::string& insert1, const std::string& insert2 = {});
// `format` with its "%s" markers replaced by the inserts in order, in one pass.
std::string FillMarkers(const std::string& format, const std::string& first, const std::string& second = {});

// The part of a remote path after its last '/'.
std::string RemoteNameOf(const std::string& path);

struct StatusTexts {
    std::string title;
    std::string description;
};

// The row of a background operation, from the request's full `file`; none for the kinds that get
// no row (5, 6, 8, 11 and 12). Folder jobs (13 to 16) get FolderJobStatusTexts.
std::optional<StatusTexts> BackgroundStatusTexts(const OperationRequest& request);
// The row of a folder job, in the user's language; none for the other kinds.
std::optional<StatusTexts> FolderJobStatusTexts(const OperationRequest& request);
// The row of an operation run over the browsing connection, from the name part of `file`.
StatusTexts ForegroundDownloadTexts(const OperationRequest& request);
StatusTexts ForegroundUploadTexts(const OperationRequest& request);
