// Questions from worker threads: the user-interface thread shows the dialog while the worker
// waits on a future. The worker wakes at short intervals to look at its operation's cancel flag,
// so a cancelled operation never waits on a dialog; a plain blocking queued call could not give
// up, and deadlocks when the user-interface thread is itself waiting for that worker.
#pragma once

#include "operations/OperationLists.h"

#include "operations/Executor.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>

inline bool IsUiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

inline bool IsCancelled(const CancelFlag& cancelled)
{
    return cancelled && cancelled->load();
}

// Runs `ask` on the user-interface thread and returns its answer; `whenCancelled` when the flag
// is set before the answer comes, or when the program quits before asking. Called on the
// user-interface thread itself, it asks at once.
template <typename T> T AskOnUiThread(std::function<T()> ask, const CancelFlag& cancelled, T whenCancelled)
{
    if (IsCancelled(cancelled))
        return whenCancelled;
    if (IsUiThread())
        return ask();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return whenCancelled;

    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> answer = promise->get_future();
    QMetaObject::invokeMethod(
        app,
        [promise, ask = std::move(ask), cancelled, whenCancelled] {
            promise->set_value(IsCancelled(cancelled) ? whenCancelled : ask());
        },
        Qt::QueuedConnection);
    while (answer.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (IsCancelled(cancelled))
            return whenCancelled;
    }
    try {
        return answer.get();
    } catch (const std::future_error&) {
        // The queued call was dropped unrun: the application is going away.
        return whenCancelled;
    }
}

// Runs the call on the user-interface thread and returns once it has run there.
inline void RunOnUiThreadAndWait(std::function<void()> call)
{
    AskOnUiThread<bool>(
        [call = std::move(call)] {
            call();
            return true;
        },
        nullptr, false);
}

// exec() that gives up with `cancelResult` once the operation is cancelled, so the dialog does
// not stay on the screen for a worker that no longer waits for it.
inline int ExecUnlessCancelled(QDialog& dialog, const CancelFlag& cancelled, int cancelResult)
{
    QTimer watch;
    if (cancelled) {
        QPointer<QDialog> target(&dialog);
        QObject::connect(&watch, &QTimer::timeout, &dialog, [target, cancelled, cancelResult] {
            if (target && IsCancelled(cancelled))
                target->done(cancelResult);
        });
        watch.start(100);
    }
    return dialog.exec();
}

// Runs `work` on the program's executor and returns its result. Meanwhile the user-interface
// thread paints and answers the worker's questions (a message box of the library) but takes no
// input, so a command on a browsing connection never freezes the window and cannot be started
// twice; the connection's time-out bounds the wait. User-interface thread only.
template <typename T> T WaitOffUiThread(std::function<T()> work)
{
    struct Shared {
        std::optional<T> result;
        std::atomic<bool> done{false};
    };
    auto shared = std::make_shared<Shared>();
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    ProgramExecutor().Run([shared, work = std::move(work)] {
        shared->result.emplace(work());
        shared->done.store(true);
        // Wakes the loop below.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!shared->done.load())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    QGuiApplication::restoreOverrideCursor();
    return std::move(*shared->result);
}
