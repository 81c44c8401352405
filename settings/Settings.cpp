#include "settings/Settings.h"

#include "operations/Interaction.h"

#include <QCoreApplication>
#include <QDateTime>
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
        return; // QSettings then reports nothing either; the store stays empty
    ::fchmod(fd, 0600);
    ::close(fd);
}

// QSettings reads a quoted value on past the line end until the next quote, and a line ending in a
// backslash into the next line, and calls that no error: one stray quote above "[Servers]" takes
// every server along as one value. QSettings never writes a value over two lines, so any logical
// line that runs over a line end is damage. The scan follows QSettings' reading of INI lines:
// '"' toggles quoting, '\\' takes the next character along, ';' outside quotes starts a comment.
bool hasRunOnLine(const QByteArray& text)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\n' || c == '\r') {
            if (inQuotes)
                return true;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '\\') {
            if (++i < text.size() && (text.at(i) == '\n' || text.at(i) == '\r'))
                return true;
        } else if (c == ';' && !inQuotes) {
            while (i + 1 < text.size() && text.at(i + 1) != '\n' && text.at(i + 1) != '\r')
                ++i;
        }
    }
    return false;
}

bool readsBackCleanly(const QSettings& store, const QString& file)
{
    if (store.status() == QSettings::FormatError)
        return false;
    QFile raw(file);
    // An unreadable file is no damage of its text; QSettings could not have read it either.
    return !raw.open(QIODevice::ReadOnly) || !hasRunOnLine(raw.readAll());
}

// The damaged file keeps its name with a date after it; the file under the usual name gets what
// QSettings did read, so the program goes on with it. Returns the message for the user.
QString setDamagedFileAside(QSettings& store, const QString& file)
{
    const QStringList keys = store.allKeys();
    QVariantList values;
    for (const QString& key : keys)
        values.append(store.value(key));

    const QString stem
        = file + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = stem;
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = stem + u'-' + QString::number(n);
    if (!QFile::rename(file, kept)) {
        return QCoreApplication::translate("Settings",
                                           "The settings file %1 is damaged: part of it cannot be read. It could "
                                           "not be set aside, so mend it or move it away before changing settings.")
            .arg(QDir::toNativeSeparators(file));
    }
    makePrivateFile(file);
    for (qsizetype i = 0; i < keys.size(); ++i)
        store.setValue(keys.at(i), values.at(i));
    store.sync();
    return QCoreApplication::translate("Settings",
                                       "The settings file %1 was damaged: part of it could not be read. It has been "
                                       "kept as %2, and a new settings file holds what could be read.")
        .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(kept));
}

QString withTrailingSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

namespace {

std::mutex programSettingsLock;
std::optional<AppSettings> programSettings;
// Two threads must not both find the same damage and set the file aside twice.
std::mutex settingsFileLock;

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
    std::unique_ptr<QSettings> store;
    QString damage;
    {
        std::lock_guard<std::mutex> guard(settingsFileLock);
        makePrivateFile(file);
        store = std::make_unique<QSettings>(file, QSettings::IniFormat);
        if (!readsBackCleanly(*store, file))
            damage = setDamagedFileAside(*store, file);
    }
    // Told outside the lock: a message box runs an event loop that may open the store again.
    if (!damage.isEmpty())
        GetInteraction().ShowMessage(damage.toStdString(), MessageIcon::Warning);
    return store;
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
    bool isCount = false;
    const qlonglong maxListing = store->value(QStringLiteral("MaxListing")).toLongLong(&isCount);
    // A thousand entries is an ordinary folder; past 100 million a listing takes gigabytes.
    settings.maxListing = isCount && maxListing > 0 ? int(std::clamp<qlonglong>(maxListing, 1'000, 100'000'000))
                                                    : AppSettings().maxListing;
    settings.useMlsd = store->value(QStringLiteral("UseMLSD"), 1).toInt() != 0 ? 1 : 0;
    settings.keepAlive = store->value(QStringLiteral("KeepAlive"), 0).toInt() != 0 ? 1 : 0;
    // One second at the least; an hour at the most, as servers close idle sessions well before.
    const int keepAliveSeconds = store->value(QStringLiteral("KeepAliveSeconds"), 60).toInt();
    settings.keepAliveSeconds = keepAliveSeconds > 0 ? std::clamp(keepAliveSeconds, 1, 3600) : 60;
    // More connections than this only make servers refuse logins (many allow a handful per address).
    bool isParallel = false;
    const int parallel = store->value(QStringLiteral("ParallelTransfers")).toInt(&isParallel);
    settings.parallelTransfers = isParallel ? std::clamp(parallel, 1, 10) : AppSettings().parallelTransfers;
    settings.useKeyring = store->value(QStringLiteral("UseKeyring"), 0).toInt() != 0 ? 1 : 0;
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
    store->setValue(QStringLiteral("MaxListing"), settings.maxListing);
    store->setValue(QStringLiteral("UseMLSD"), settings.useMlsd);
    store->setValue(QStringLiteral("KeepAlive"), settings.keepAlive);
    store->setValue(QStringLiteral("KeepAliveSeconds"), settings.keepAliveSeconds);
    store->setValue(QStringLiteral("ParallelTransfers"), std::clamp(settings.parallelTransfers, 1, 10));
    store->setValue(QStringLiteral("UseKeyring"), settings.useKeyring);
}

QString FormatDragTime(float seconds)
{
    return QString::number(seconds, 'g', 3);
}
