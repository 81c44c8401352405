#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <mutex>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString& chosenSettingsFile()
{
    static QString file;
    return file;
}

// Created with 0600 before QSettings sees it: QSettings would otherwise create the
// file with the umask's mode, and QSaveFile copies the mode of the file it replaces.
// A file left readable by an older run is tightened too.
void makePrivateFile(const QString& file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;  // QSettings then reports nothing either; the store stays empty
    ::fchmod(fd, 0600);
    ::close(fd);
}

QString withTrailingSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

}  // namespace

namespace {

std::mutex programSettingsLock;
std::optional<AppSettings> programSettings;

} // namespace

void SetSettingsFilePath(const QString& file)
{
    chosenSettingsFile() = file;
    std::lock_guard<std::mutex> guard(programSettingsLock);
    programSettings.reset();
}

QString SettingsFilePath()
{
    if (!chosenSettingsFile().isEmpty())
        return chosenSettingsFile();
    // The INI format's own default name ends in ".ini"; the file is "Tarvo.conf".
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Halvern/Tarvo.conf");
}

std::unique_ptr<QSettings> OpenSettingsStore()
{
    const QString file = SettingsFilePath();
    makePrivateFile(file);
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

AppSettings LoadAppSettings()
{
    const auto store = OpenSettingsStore();
    store->beginGroup(QStringLiteral("Settings"));
    AppSettings settings;

    QString folder = store->value(QStringLiteral("Path")).toString();
    if (folder.isEmpty() && QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    settings.programFolder = withTrailingSlash(folder);

    settings.defaultDownloadDir = store->value(QStringLiteral("DefaultDD")).toString();

    bool isNumber = false;
    const float dragTime = store->value(QStringLiteral("DragTime")).toString().trimmed().toFloat(&isNumber);
    settings.dragTime = isNumber && dragTime > 0 ? dragTime : 2.0f;

    settings.showPlus = store->value(QStringLiteral("ShowPlus"), 0).toInt();
    settings.wheelOver = store->value(QStringLiteral("WheelOver"), 0).toInt();
    const int showName = store->value(QStringLiteral("ShowName"), 0).toInt();
    settings.showName = showName >= 0 && showName <= 2 ? showName : 0;
    const int timeout = store->value(QStringLiteral("Timeout"), 60).toInt();
    // One second to one hour: the library counts in milliseconds, and a larger value waits for ever.
    settings.timeoutSeconds = timeout > 0 ? std::min(timeout, 3600) : 60;
    const int maxTransfers = store->value(QStringLiteral("MaxTransfers"), 0).toInt();
    settings.maxTransfers = maxTransfers > 0 ? maxTransfers : 0;
    return settings;
}

AppSettings ProgramSettings()
{
    std::lock_guard<std::mutex> guard(programSettingsLock);
    if (!programSettings)
        programSettings = LoadAppSettings();
    return *programSettings;
}

void SetProgramSettings(const AppSettings& settings)
{
    SaveAppSettings(settings);
    std::lock_guard<std::mutex> guard(programSettingsLock);
    programSettings = settings;
}

void SaveAppSettings(const AppSettings& settings)
{
    const auto store = OpenSettingsStore();
    store->beginGroup(QStringLiteral("Settings"));
    store->setValue(QStringLiteral("DefaultDD"), settings.defaultDownloadDir);
    store->setValue(QStringLiteral("DragTime"), FormatDragTime(settings.dragTime));
    store->setValue(QStringLiteral("ShowPlus"), settings.showPlus);
    store->setValue(QStringLiteral("WheelOver"), settings.wheelOver);
    store->setValue(QStringLiteral("ShowName"), settings.showName);
    store->setValue(QStringLiteral("Timeout"), settings.timeoutSeconds);
    store->setValue(QStringLiteral("MaxTransfers"), settings.maxTransfers);
}

QString FormatDragTime(float seconds)
{
    return QString::number(seconds, 'g', 3);
}
