// Shared by the window tests: a settings file and data folder of their own, and answers to
// modal dialogs, which would otherwise wait for a person.
#pragma once

#include "settings/Settings.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

class TemporarySettings {
public:
    TemporarySettings()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.filePath(QStringLiteral("data"))));
        SetSettingsFilePath(m_folder.filePath(QStringLiteral("config/Halvern/Tarvo.conf")));
    }
    ~TemporarySettings() { SetSettingsFilePath({}); }

    bool IsValid() const { return m_folder.isValid(); }

private:
    QTemporaryDir m_folder;
};

// Runs `answer` on the next modal dialog of type T once it is on the screen; the timer keeps
// looking from inside any nested event loop, and stops looking when `owner` goes.
template <typename T = QDialog>
void WhenModalShows(QObject* owner, std::function<void(T*)> answer)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start();
}
