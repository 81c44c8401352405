#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings file holds the "Settings" values below and the server store
// (passwords included), so it is only ever opened through OpenSettingsStore().

// Chooses the settings file; an empty path returns to the user's own file.
// Tests and an explicit configuration option point it elsewhere.
void SetSettingsFilePath(const QString& file);

// $XDG_CONFIG_HOME/Halvern/Tarvo.conf unless SetSettingsFilePath chose another file.
QString SettingsFilePath();

// Opens the settings file in INI format, creating it (and its folder) with mode 0600
// first, so neither QSettings nor its atomic save ever leaves it readable by others.
// A file that does not read back cleanly (QSettings reports a format error, or a value ran on
// over a line end and took the lines after it along) is never rewritten with less in it: it is
// renamed to "<file>.damaged-yyyyMMdd-HHmmss", a new file gets what could be read, and the user
// is told through GetInteraction() where the damaged one is.
std::unique_ptr<QSettings> OpenSettingsStore();

// The program-wide values of the "Settings" section.
struct AppSettings {
    QString programFolder; // "Path"; the program file's folder when empty; ends in "/"
    QString defaultDownloadDir; // "DefaultDD"
    float dragTime = 2.0f; // "DragTime", seconds, stored as text
    int showPlus = 0; // "ShowPlus"
    int wheelOver = 0; // "WheelOver"
    int showName = 0; // "ShowName": 0 as listed, 1 upper case, 2 lower case
    int timeoutSeconds = 60; // "Timeout": how long a connection waits for its peer
    int maxTransfers = 0; // "MaxTransfers": background operations at once, 0 for no bound
    int maxListing = 10'000'000; // "MaxListing": the most entries one folder listing may hold
    int useMlsd = 1; // "UseMLSD": MLSD listings where a server offers them, else always LIST
    int keepAlive = 0; // "KeepAlive": NOOP on an idle browsing connection, so the server keeps it
    int keepAliveSeconds = 60; // "KeepAliveSeconds": between two NOOPs
    int parallelTransfers = 2; // "ParallelTransfers": connections one folder job may use per server, 1..10
    int useKeyring = 0; // "UseKeyring": server passwords in the desktop's keyring, not in this file
};

AppSettings LoadAppSettings();

// The settings the program runs with: read from the file once, on first use, and again only
// after SetSettingsFilePath chose another file. Any thread.
AppSettings ProgramSettings();
// Changes the settings the program runs with and writes them to the file.
void SetProgramSettings(const AppSettings& settings);

// Writes everything but "Path": the program folder is derived, and storing the derived
// value would pin the program to the folder it happened to start from.
void SaveAppSettings(const AppSettings& settings);

// "DragTime" is kept as text with three significant digits.
QString FormatDragTime(float seconds);
