#include "app/ShellRegistration.h"

#include "dialogs/Artwork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kMimeType = QStringLiteral("text/x-tarvo-script");

// Scripts are plain text, so text editors offer to edit them as well.
QByteArray MimeDefinition()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"text/x-tarvo-script\">\n"
                             "    <comment>Tarvo Script File</comment>\n"
                             "    <sub-class-of type=\"text/plain\"/>\n"
                             "    <glob pattern=\"*.ftp\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n");
}

// Exec quoting of desktop entries: a path with spaces or specials goes in double quotes.
QString QuotedProgram(const QString& program)
{
    QString quoted = program;
    for (const char special : {'\\', '"', '`', '$'})
        quoted.replace(QLatin1Char(special), QStringLiteral("\\") + QLatin1Char(special));
    return QStringLiteral("\"%1\"").arg(quoted);
}

QByteArray DesktopEntry(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tarvo\n"
                          "GenericName=FTP Client\n"
                          "Comment=Browse FTP servers and move files between them\n"
                          "Exec=%1 %f\n"
                          "Icon=tarvo\n"
                          "Terminal=false\n"
                          "Categories=Network;FileTransfer;\n"
                          "MimeType=%2;\n")
        .arg(QuotedProgram(program), kMimeType)
        .toUtf8();
}

bool WriteIfMissing(const QString& file, const QByteArray& contents)
{
    if (QFileInfo::exists(file))
        return false;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    return out.write(contents) == contents.size();
}

void RunIfInstalled(const QString& tool, const QString& folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty())
        QProcess::startDetached(path, {folder});
}

} // namespace

bool IsInstalledProgram(const QString& program)
{
    const QDir bin = QFileInfo(program).absoluteDir();
    if (bin.dirName() != QLatin1String("bin"))
        return false;
    return QFileInfo::exists(bin.filePath(QStringLiteral("../share/applications/tarvo.desktop")));
}

QStringList RegisterScriptFileType(const QString& program, const QString& dataFolder)
{
    // A user's entry with the build folder's path would hide the package's, so none is written.
    if (IsInstalledProgram(program))
        return {};
    const QDir data(dataFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                         : dataFolder);
    QStringList written;

    const QString mime = data.filePath(QStringLiteral("mime/packages/tarvo-script.xml"));
    if (WriteIfMissing(mime, MimeDefinition())) {
        written << mime;
        RunIfInstalled(QStringLiteral("update-mime-database"), data.filePath(QStringLiteral("mime")));
    }
    const QString entry = data.filePath(QStringLiteral("applications/tarvo.desktop"));
    if (WriteIfMissing(entry, DesktopEntry(program))) {
        written << entry;
        RunIfInstalled(QStringLiteral("update-desktop-database"), data.filePath(QStringLiteral("applications")));
    }
    const QString icon = data.filePath(QStringLiteral("icons/hicolor/128x128/apps/tarvo.png"));
    if (!QFileInfo::exists(icon)) {
        QDir().mkpath(QFileInfo(icon).absolutePath());
        if (ProgramIcon().pixmap(128, 128).save(icon, "PNG"))
            written << icon;
    }
    return written;
}
