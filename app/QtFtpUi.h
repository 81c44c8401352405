// The FTP library's messages, questions and progress windows, shown by the user-interface
// thread whatever thread the library runs on.
#pragma once

#include "QorFtpUi.h"

#include <map>
#include <memory>
#include <mutex>

struct ProgressLink;

class QtFtpUi : public QorFtpUi {
public:
    void ShowMessage(const std::string& title, const std::string& text) override;
    // "Are you sure you want to cancel?" comes here with the asking transfer as `owner`; the
    // question then sits on that transfer's window.
    bool AskYesNo(const std::string& title, const std::string& text, QorFtpProgress* owner) override;
    // Asked through the program's interaction, as the operations' questions are.
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override;
    std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress& progress) override;
    // The trace goes to the Log pane while it is shown.
    bool Tracing() const override;
    void Trace(const QorFtpTraceLine& line) override;

    // Called by the views as they go away.
    void Forget(QorFtpProgress* progress);

private:
    std::weak_ptr<ProgressLink> LinkOf(QorFtpProgress* progress);

    std::mutex m_lock;
    std::map<QorFtpProgress*, std::weak_ptr<ProgressLink>> m_links;
};
