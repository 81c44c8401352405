// Tells the desktop how a background operation ended when the user is looking elsewhere: a
// freedesktop notification naming the operation's file and whether it finished or failed, sent
// only while no window of the program is active. A failure is announced when its message comes,
// since the operation ends only once the user has answered the message box. Cancelled operations and the folder tree's
// untitled listings are not announced.
#pragma once

#include "operations/OperationLists.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class NotificationSender {
public:
    virtual ~NotificationSender() = default;
    virtual void Notify(const QString& summary, const QString& body) = 0;
};

// org.freedesktop.Notifications.Notify on a bus (the session bus unless a test gives another);
// without a notification service the call goes nowhere.
class DBusNotificationSender : public NotificationSender {
public:
    explicit DBusNotificationSender(QDBusConnection bus = QDBusConnection::sessionBus());
    void Notify(const QString& summary, const QString& body) override;

private:
    QDBusConnection m_bus;
};

// Lives on the user-interface thread; workers reach it through ReportOperationFailure.
class OperationNotifier : public QObject {
    Q_OBJECT
public:
    // `windowActive` is asked at each end; by default: is a window of the program active.
    explicit OperationNotifier(NotificationSender& sender, std::function<bool()> windowActive = {},
                               QObject* parent = nullptr);
    ~OperationNotifier() override;

    void Started(std::uint32_t operationId, const QString& title, const CancelFlag& cancelled);
    void Failed(std::uint32_t operationId, const QString& message);
    void Ended(std::uint32_t operationId);

private:
    struct Running {
        QString title;
        CancelFlag cancelled;
        bool failed = false;
    };
    NotificationSender& m_sender;
    std::function<bool()> m_windowActive;
    QHash<std::uint32_t, Running> m_running;
};

// The operation the calling worker thread runs (0: none), kept by the operation host.
void SetCurrentOperation(std::uint32_t operationId);
std::uint32_t CurrentOperation();
// From any thread: the message the user is shown tells of a failure of the calling thread's
// operation. No effect outside an operation or without a notifier.
void ReportOperationFailure(const QString& message);
