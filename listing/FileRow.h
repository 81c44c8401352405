// One entry of a listing as the file list shows it, and the rules that turn a remote listing
// record or a local file into it. Plain data: listings are turned into rows on worker threads.
#pragma once

#include "listing/FileItem.h"

#include <QString>

#include <optional>

struct _Qor_Ftp_FileData;
class QFileInfo;
class QLocale;
class QMimeDatabase;

struct FileRow {
    FileItem item; // item.name keeps the bytes the server sent, which go back to it
    QString shownName; // the Name column: the ShowName case applied to files, never to folders
    QString typeText; // "tar File", " File", "Link to usr/bin", "File Folder", a MIME comment
    QString modified;
    // The ExtensionIconMap key: the lower-case extension, or the whole lower-case name of an
    // "exe" or "lnk" file; for a link its target.
    QString iconKey;
    QString localPath; // the absolute path of a local entry; empty for remote ones
    bool shortcut = false; // links: drawn with the shortcut overlay
    bool message = false; // a notice row (MESSAGE_ROW_DATA), shownName holds its text
    bool latin1Name = false; // the remote name is not UTF-8 and is shown as Latin-1
};

// A remote name or path as shown: its bytes read as UTF-8 when they are valid UTF-8, else as
// Latin-1, where every byte is a character, so any name a server sends has a text.
QString RemoteNameText(const std::string& bytes);
bool IsUtf8(const std::string& bytes);
// The note (a tooltip) on a name shown as Latin-1.
QString Latin1NameNote();

// "%u KB" of the size in whole KiB; anything below 1 KiB shows 1.
QString SizeText(std::uint64_t size);

// The row of one remote listing record; none for "." and "..", and none for an entry whose
// extension is lnk (such files are Windows shortcuts, which are never shown).
// showName: 0 as listed, 1 upper case, 2 lower case.
std::optional<FileRow> MakeRemoteRow(const _Qor_Ftp_FileData& record, int showName);

// The locale's short time format without its seconds.
QString ShortTimeWithoutSeconds(const QLocale& locale);

// The row of one local entry; `mime` is the caller's, as lookups are cached per database.
FileRow MakeLocalRow(const QFileInfo& info, const QMimeDatabase& mime);

// Folders first, then files, then links; within each by name, ignoring case.
bool FileRowLess(const FileRow& a, const FileRow& b);

// "folder/name", with no second "/" when the folder already ends with one.
QString JoinFolder(const QString& folder, const QString& name);
