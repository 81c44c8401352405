#include "app/OperationNotifier.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QVariantMap>

#include <atomic>

namespace {

thread_local std::uint32_t currentOperation = 0;
// The program's one notifier; messages from workers are posted to it.
std::atomic<OperationNotifier*> installedNotifier{nullptr};

} // namespace

DBusNotificationSender::DBusNotificationSender(QDBusConnection bus)
    : m_bus(std::move(bus))
{
}

void DBusNotificationSender::Notify(const QString& summary, const QString& body)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the program's name and icon and raise its window.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tarvo")}};
    call << QStringLiteral("Tarvo") << 0u << QStringLiteral("tarvo") << summary << body << QStringList() << hints << -1;
    // Never waits: a desktop without a notification service must not hold up the window.
    m_bus.asyncCall(call);
}

OperationNotifier::OperationNotifier(NotificationSender& sender, std::function<bool()> windowActive, QObject* parent)
    : QObject(parent)
    , m_sender(sender)
    , m_windowActive(std::move(windowActive))
{
    if (!m_windowActive)
        m_windowActive = [] { return QApplication::activeWindow() != nullptr; };
    installedNotifier = this;
}

OperationNotifier::~OperationNotifier()
{
    OperationNotifier* self = this;
    installedNotifier.compare_exchange_strong(self, nullptr);
}

void OperationNotifier::Started(std::uint32_t operationId, const QString& title, const CancelFlag& cancelled)
{
    if (operationId != 0 && !title.isEmpty())
        m_running.insert(operationId, Running{title, cancelled, false});
}

void OperationNotifier::Failed(std::uint32_t operationId, const QString& message)
{
    auto running = m_running.find(operationId);
    if (running == m_running.end() || running->failed)
        return;
    running->failed = true;
    // The worker now waits on the message box, so the end comes only when the user is back.
    if (!(running->cancelled && running->cancelled->load()) && !m_windowActive())
        m_sender.Notify(tr("%1 failed").arg(running->title), message);
}

void OperationNotifier::Ended(std::uint32_t operationId)
{
    const Running running = m_running.take(operationId);
    if (running.title.isEmpty() || running.failed || (running.cancelled && running.cancelled->load())
        || m_windowActive())
        return;
    m_sender.Notify(tr("%1 finished").arg(running.title), tr("The operation ended without an error."));
}

void SetCurrentOperation(std::uint32_t operationId)
{
    currentOperation = operationId;
}

std::uint32_t CurrentOperation()
{
    return currentOperation;
}

void ReportOperationFailure(const QString& message)
{
    const std::uint32_t operationId = currentOperation;
    OperationNotifier* notifier = installedNotifier.load();
    if (operationId == 0 || !notifier)
        return;
    QMetaObject::invokeMethod(
        notifier, [notifier, operationId, message] { notifier->Failed(operationId, message); }, Qt::QueuedConnection);
}
