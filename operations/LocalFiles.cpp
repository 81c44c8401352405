#include "LocalFiles.h"

#include "Interaction.h"
#include "OperationTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr char kCopyFailed[] = QT_TRANSLATE_NOOP("OperationText", "'%1' could not be copied to '%2'.");
constexpr char kMoveFailed[] = QT_TRANSLATE_NOOP("OperationText", "'%1' could not be moved to '%2'.");
constexpr char kIntoItself[]
    = QT_TRANSLATE_NOOP("OperationText", "The folder '%1' cannot be copied or moved into itself.");

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool IsInside(const fs::path& folder, const fs::path& candidate)
{
    std::error_code error;
    const fs::path outer = fs::weakly_canonical(folder, error);
    const fs::path inner = fs::weakly_canonical(candidate, error);
    auto outerPart = outer.begin();
    auto innerPart = inner.begin();
    for (; outerPart != outer.end(); ++outerPart, ++innerPart)
        if (innerPart == inner.end() || *outerPart != *innerPart)
            return false;
    return true;
}

bool CopyItem(const fs::path& source, const fs::path& target)
{
    std::error_code error;
    // Links stay links, so a link to a folder above cannot make the copy endless.
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (!error)
        return true;
    // A half copy is no copy; but a target that appeared meanwhile is someone else's.
    if (error != std::errc::file_exists)
        fs::remove_all(target, error);
    return false;
}

bool MoveItem(const fs::path& source, const fs::path& target)
{
    std::error_code error;
    fs::rename(source, target, error);
    if (!error)
        return true;
    if (error != std::errc::cross_device_link)
        return false;
    // Another file system: the source goes only once its copy is whole.
    if (!CopyItem(source, target))
        return false;
    fs::remove_all(source, error);
    return true;
}

void Report(const char* text, const std::string& source, const std::string& target)
{
    GetInteraction().ShowMessage(FillInsert(OperationText::Tr(text), source, target), MessageIcon::Error);
}

} // namespace

void SetLocalFiles(QMimeData& data, const std::vector<std::string>& paths)
{
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
}

std::vector<std::string> LocalFilesOf(const QMimeData& data)
{
    std::vector<std::string> paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return paths;
}

QString FreeLocalName(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (!Exists(QFile::encodeName(dir.filePath(name)).toStdString()))
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0;
    const QString base = hasExtension ? name.left(dot) : name;
    const QString extension = hasExtension ? name.mid(dot) : QString();
    for (int number = 2;; ++number) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(number).arg(extension);
        if (!Exists(QFile::encodeName(dir.filePath(candidate)).toStdString()))
            return candidate;
    }
}

int CopyOrMoveLocalFiles(const std::vector<std::string>& sources, const std::string& targetFolder, bool move)
{
    int done = 0;
    const fs::path folder(targetFolder);
    for (const std::string& sourceText : sources) {
        fs::path source = fs::path(sourceText).lexically_normal();
        if (source.filename().empty() && source.has_parent_path())
            source = source.parent_path(); // "/a/b/" names the folder b
        if (!Exists(source)) {
            Report(move ? kMoveFailed : kCopyFailed, sourceText, targetFolder);
            continue;
        }
        std::error_code error;
        if (move && fs::equivalent(source.parent_path(), folder, error))
            continue; // already there
        if (fs::is_directory(fs::symlink_status(source, error)) && IsInside(source, folder)) {
            GetInteraction().ShowMessage(FillInsert(OperationText::Tr(kIntoItself), sourceText), MessageIcon::Error);
            continue;
        }
        const QString name
            = FreeLocalName(QString::fromStdString(targetFolder), QFile::decodeName(source.filename().c_str()));
        const fs::path target = folder / QFile::encodeName(name).toStdString();
        if (move ? MoveItem(source, target) : CopyItem(source, target))
            ++done;
        else
            Report(move ? kMoveFailed : kCopyFailed, sourceText, target.string());
    }
    return done;
}
