// A settings file and configuration and data folders of the test's own, never the user's; the
// program's settings file is chosen back when it goes. Shared by the core and the window tests.
#pragma once

#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>

namespace tarvo::test {

class TemporarySettings {
public:
    // `file` is the settings file inside the folder; the default is where the program would look.
    explicit TemporarySettings(const QString& file = QStringLiteral("config/Halvern/Tarvo.conf"))
        : m_file(m_folder.filePath(file))
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.filePath(QStringLiteral("data"))));
        SetSettingsFilePath(m_file);
    }
    ~TemporarySettings() { SetSettingsFilePath({}); }
    TemporarySettings(const TemporarySettings&) = delete;
    TemporarySettings& operator=(const TemporarySettings&) = delete;

    bool IsValid() const { return m_folder.isValid(); }
    const QTemporaryDir& Folder() const { return m_folder; }
    const QString& File() const { return m_file; }

private:
    QTemporaryDir m_folder;
    QString m_file;
};

} // namespace tarvo::test
