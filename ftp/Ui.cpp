#include "QorFtpUi.h"

#include <atomic>
#include <cstdio>

QorFtpProgressView::~QorFtpProgressView() = default;
QorFtpUi::~QorFtpUi() = default;

void QorFtpUi::ShowMessage(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

bool QorFtpUi::AskYesNo(const std::string&, const std::string&, QorFtpProgress*)
{
    return false;
}

bool QorFtpUi::AskTrustCertificate(const QorFtpCertificate&)
{
    return false;
}

bool QorFtpUi::Tracing() const
{
    return false;
}

void QorFtpUi::Trace(const QorFtpTraceLine&)
{
}

std::unique_ptr<QorFtpProgressView> QorFtpUi::CreateProgressView(QorFtpProgress&)
{
    return nullptr;
}

namespace {
QorFtpUi g_defaultUi;
std::atomic<QorFtpUi*> g_ui{nullptr};
} // namespace

void QorFtpSetUi(QorFtpUi* ui)
{
    g_ui.store(ui);
}

QorFtpUi& QorFtpGetUi()
{
    QorFtpUi* ui = g_ui.load();
    return ui ? *ui : g_defaultUi;
}
