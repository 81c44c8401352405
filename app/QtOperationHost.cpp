#include "app/QtOperationHost.h"

#include "app/MainFrame.h"
#include "app/OperationNotifier.h"
#include "dialogs/UiThread.h"
#include "operations/OperationLists.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
constexpr unsigned long kServiceNotAvailable = 421;
}

QtOperationHost::QtOperationHost(CMainFrame* frame, QObject* parent, NotificationSender* sender)
    : QObject(parent)
    , m_frame(frame)
{
    if (!sender) {
        m_busSender = std::make_unique<DBusNotificationSender>();
        sender = m_busSender.get();
    }
    m_notifier = std::make_unique<OperationNotifier>(*sender);
}

QtOperationHost::~QtOperationHost() = default;

void QtOperationHost::OperationCount(bool started, std::uint32_t operationId)
{
    // A background operation is counted by the worker that runs it, so that worker's messages
    // are the operation's. The tree's listings and logins are counted on the user-interface
    // thread and are not announced.
    const bool background = !IsUiThread();
    if (background && started)
        SetCurrentOperation(operationId);
    else if (background && CurrentOperation() == operationId)
        SetCurrentOperation(0);
    // Returns only after the window shows the new count, so an operation's end is never
    // counted before its start.
    RunOnUiThreadAndWait([this, started, operationId, background] {
        if (started && background) {
            if (const std::optional<OperationStatus> status = OperationStatusList.Find(operationId))
                m_notifier->Started(operationId, QString::fromStdString(status->title), status->cancelled);
        } else if (!started) {
            m_notifier->Ended(operationId);
        }
        if (m_frame)
            m_frame->WM_OPERATION_COUNT(started, operationId);
    });
}

void QtOperationHost::RetrySameConnection(unsigned long errorCode, std::uint32_t operationId)
{
    QMetaObject::invokeMethod(
        this, [this, errorCode, operationId] { WM_RETRY_SAME_CONNECTION(errorCode, operationId); },
        Qt::QueuedConnection);
}

void QtOperationHost::WM_RETRY_SAME_CONNECTION(unsigned long errorCode, std::uint32_t operationId)
{
    if (errorCode == kServiceNotAvailable && m_frame)
        m_frame->WM_RUN_ON_SAME_CONNECTION(operationId);
    else
        PendingRequestList.Take(operationId);
}

void QtOperationHost::OpenLocalFile(const std::string& folder, const std::string& name)
{
    const QUrl url = QUrl::fromLocalFile(QDir(QString::fromStdString(folder)).filePath(QString::fromStdString(name)));
    QMetaObject::invokeMethod(
        this, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
}
