#include "tree/ListingJobs.h"

#include "QorFtp.h"

#include <QDir>
#include <QDirIterator>
#include <QMimeDatabase>

#include <algorithm>

namespace {

bool LessIgnoringCase(const QString& a, const QString& b)
{
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

constexpr QDir::Filters kVisibleFolders = QDir::Dirs | QDir::NoDotAndDotDot;

} // namespace

RemoteListing ListRemoteFolder(QorFtpConnection& connection, const RemoteListingRequest& request)
{
    RemoteListing result;
    if (request.changeDirectory && !connection.ChangeDirectory(request.changeTo)) {
        result.changeFailed = true;
        result.error = connection.GetError();
        return result;
    }
    result.folder = request.directory.empty() ? connection.GetCurrentDirectoryA() : request.directory;
    result.lineCount = connection.GetDir(request.directory);
    if (result.lineCount < 0)
        result.error = connection.GetError();
    if (result.lineCount <= 0)
        return result;
    if (request.wantRows)
        result.rows.reserve(static_cast<std::size_t>(result.lineCount));
    // Sorted by the texts shown, each decoded once.
    std::vector<std::pair<QString, std::string>> folders;
    _Qor_Ftp_FileData record;
    while (connection.GetNextFile(record, 1)) {
        if (record.Name == "." || record.Name == "..")
            continue;
        if (record.Type == 1) {
            result.folderSeen = true;
            if (request.wantFolders)
                folders.emplace_back(RemoteNameText(record.Name), record.Name);
        }
        if (request.wantRows) {
            if (std::optional<FileRow> row = MakeRemoteRow(record, request.showName))
                result.rows.push_back(std::move(*row));
        }
    }
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? LessIgnoringCase(a.first, b.first) : a.second < b.second;
    });
    result.folders.reserve(folders.size());
    for (auto& folder : folders)
        result.folders.push_back(std::move(folder.second));
    std::sort(result.rows.begin(), result.rows.end(), FileRowLess);
    return result;
}

std::vector<LocalFolder> LocalSubfolders(const QString& path)
{
    std::vector<LocalFolder> folders;
    QDirIterator entries(path, kVisibleFolders);
    while (entries.hasNext()) {
        entries.next();
        const QString child = entries.filePath();
        // Only whether there is one: the plus is drawn before the folder is opened.
        QDirIterator inside(child, kVisibleFolders);
        folders.push_back({entries.fileName(), inside.hasNext()});
    }
    std::sort(folders.begin(), folders.end(),
              [](const LocalFolder& a, const LocalFolder& b) { return LessIgnoringCase(a.name, b.name); });
    return folders;
}

std::vector<FileRow> LocalRows(const QString& path)
{
    std::vector<FileRow> rows;
    const QMimeDatabase mime;
    QDirIterator entries(path, QDir::AllEntries | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        rows.push_back(MakeLocalRow(entries.fileInfo(), mime));
    }
    std::sort(rows.begin(), rows.end(), FileRowLess);
    return rows;
}
