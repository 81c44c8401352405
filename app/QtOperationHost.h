// What the operations need of the windows: the main frame's operation count, the
// same-connection retry and opening a viewed file, reached from any thread. It also tells the
// desktop how operations ended while the user was elsewhere.
#pragma once

#include "operations/OperationHost.h"

#include <QObject>
#include <QPointer>

#include <memory>

class CMainFrame;
class NotificationSender;
class OperationNotifier;

class QtOperationHost : public QObject, public OperationHost {
    Q_OBJECT
public:
    // Notifications go over the session bus unless `sender` is given.
    explicit QtOperationHost(CMainFrame* frame, QObject* parent = nullptr, NotificationSender* sender = nullptr);
    ~QtOperationHost() override;

    void OperationCount(bool started, std::uint32_t operationId) override;
    void RetrySameConnection(unsigned long errorCode, std::uint32_t operationId) override;
    void OpenLocalFile(const std::string& folder, const std::string& name) override;

public slots:
    // On the user-interface thread: 421 hands the request to the file list to run over the
    // browsing connection; any other error drops it.
    void WM_RETRY_SAME_CONNECTION(unsigned long errorCode, std::uint32_t operationId);

private:
    QPointer<CMainFrame> m_frame;
    std::unique_ptr<NotificationSender> m_busSender;
    std::unique_ptr<OperationNotifier> m_notifier;
};
