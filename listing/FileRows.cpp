#include "listing/FileRow.h"

#include "QorFtp.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>

namespace {

std::string Clip(const std::string& text, std::size_t keep)
{
    return text.size() > keep ? text.substr(0, keep) : text;
}

std::string TrimRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

std::string TrimLeft(const std::string& text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : text.substr(start);
}

QString WithCase(const QString& name, int showName)
{
    if (showName == 1)
        return name.toUpper();
    if (showName == 2)
        return name.toLower();
    return name;
}

QString ExtensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

// "exe" and "lnk" files each have an icon of their own, so they are keyed by the whole name.
QString IconKeyOf(const QString& name, const QString& extension)
{
    if (extension == QLatin1String("exe") || extension == QLatin1String("lnk"))
        return name.toLower();
    return extension;
}

} // namespace

bool IsUtf8(const std::string& bytes)
{
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8();
}

QString RemoteNameText(const std::string& bytes)
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? QString::fromUtf8(view) : QString::fromLatin1(view);
}

QString Latin1NameNote()
{
    return QCoreApplication::translate("FileRow", "This name is not UTF-8; it is shown as Latin-1.");
}

QString SizeText(std::uint64_t size)
{
    const std::uint64_t kb = size < 1024 ? 1 : size / 1024;
    return QStringLiteral("%1 KB").arg(kb);
}

std::optional<FileRow> MakeRemoteRow(const _Qor_Ftp_FileData& record, int showName)
{
    if (record.Name == "." || record.Name == "..")
        return std::nullopt;
    FileRow row;
    FileItem& item = row.item;
    item.owner = Clip(record.Owner, 19);
    item.group = Clip(record.Group, 19);
    item.permissions = Clip(record.Permissions, 9);
    item.size = record.Size;
    item.name = record.Name;
    std::string target;
    if (record.Type == 2) {
        const std::size_t arrow = record.Name.find("->");
        if (arrow != std::string::npos) {
            item.name = TrimRight(record.Name.substr(0, arrow));
            target = TrimLeft(record.Name.substr(arrow + 2));
        }
    }
    const QString name = RemoteNameText(item.name);
    row.latin1Name = !IsUtf8(item.name);
    row.modified = QString::fromStdString(record.Date);

    if (record.Type == 1) {
        item.kind = ITEM_FOLDER;
        row.shownName = name;
        row.typeText = QStringLiteral("File Folder");
        return row;
    }

    item.kind = record.Type == 0 ? ITEM_FILE : ITEM_LINK;
    const QString targetText = RemoteNameText(target);
    const QString extension = item.kind == ITEM_FILE ? ExtensionOf(name) : targetText;
    if (extension == QLatin1String("lnk"))
        return std::nullopt;
    if (item.kind == ITEM_FILE) {
        row.typeText = extension + QStringLiteral(" File");
        row.iconKey = IconKeyOf(name, extension);
    } else {
        row.typeText = QStringLiteral("Link to ") + targetText;
        // The target's own extension picks a better picture than the whole target text would.
        row.iconKey = ExtensionOf(targetText.section(QLatin1Char('/'), -1));
        row.shortcut = true;
    }
    row.shownName = WithCase(name, showName);
    return row;
}

QString ShortTimeWithoutSeconds(const QLocale& locale)
{
    // Some locales' short time (C's "HH:mm:ss") carries seconds, which a file list has no use for.
    static const QRegularExpression seconds(QStringLiteral("[:.]?ss?(\\.z+)?"));
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(seconds);
    return format.trimmed();
}

FileRow MakeLocalRow(const QFileInfo& info, const QMimeDatabase& mime)
{
    FileRow row;
    const QString name = info.fileName();
    row.item.name = name.toStdString();
    row.shownName = name;
    row.localPath = info.absoluteFilePath();
    row.shortcut = info.isSymLink();
    const QDateTime modified = info.lastModified();
    const QLocale locale;
    row.modified = locale.toString(modified.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(modified.time(), ShortTimeWithoutSeconds(locale));
    if (info.isDir()) {
        row.item.kind = ITEM_FOLDER;
        row.typeText = QStringLiteral("File Folder");
        return row;
    }
    row.item.kind = ITEM_FILE;
    row.item.size = static_cast<std::uint64_t>(info.size());
    const QString extension = ExtensionOf(name);
    row.iconKey = IconKeyOf(name, extension);
    // By name only: guessing from the contents would read every file of the folder.
    const QMimeType type = mime.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    row.typeText = type.isDefault() ? extension + QStringLiteral(" File") : type.comment();
    return row;
}

bool FileRowLess(const FileRow& a, const FileRow& b)
{
    if (a.item.kind != b.item.kind)
        return a.item.kind < b.item.kind;
    return a.shownName.compare(b.shownName, Qt::CaseInsensitive) < 0;
}

QString JoinFolder(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
