// Shared by the window tests: a settings file and data folder of their own, and answers to
// modal dialogs, which would otherwise wait for a person.
#pragma once

#include "TemporarySettings.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

using tarvo::test::TemporarySettings;

// Runs `answer` on the next modal dialog of type T once it is on the screen; the timer keeps
// looking from inside any nested event loop, and stops looking when `owner` goes.
template <typename T = QDialog> void WhenModalShows(QObject* owner, std::function<void(T*)> answer)
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
