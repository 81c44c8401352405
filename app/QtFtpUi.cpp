#include "app/QtFtpUi.h"

#include "app/LibraryMessages.h"
#include "app/OperationNotifier.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/UiThread.h"
#include "operations/Interaction.h"
#include "operations/TraceLog.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The window a library box belongs to: the transfer's progress window, else the active one.
QWidget* OwnerWindow(const std::weak_ptr<ProgressLink>& link)
{
    if (auto alive = link.lock(); alive && alive->window)
        return alive->window;
    return QApplication::activeWindow();
}

class RegisteredProgressView : public QtProgressView {
public:
    RegisteredProgressView(QtFtpUi& ui, QorFtpProgress& progress)
        : QtProgressView(progress)
        , m_ui(ui)
        , m_progress(&progress)
    {
    }
    ~RegisteredProgressView() override { m_ui.Forget(m_progress); }

private:
    QtFtpUi& m_ui;
    QorFtpProgress* m_progress;
};

} // namespace

void QtFtpUi::ShowMessage(const std::string& title, const std::string& text)
{
    // "Error" is a local file's failure; every other box of the library is a warning.
    const QMessageBox::Icon icon = title == "Error" ? QMessageBox::Critical : QMessageBox::Warning;
    const QString shown = TranslateLibraryMessage(QString::fromStdString(text));
    ReportOperationFailure(shown);
    const QString caption
        = title == "Error" ? QCoreApplication::translate("QtFtpUi", "Error") : QString::fromStdString(title);
    RunOnUiThreadAndWait([title = caption, text = shown, icon] {
        QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
        box.setObjectName(QStringLiteral("LibraryMessage"));
        box.exec();
    });
}

bool QtFtpUi::AskYesNo(const std::string& title, const std::string& text, QorFtpProgress* owner)
{
    std::weak_ptr<ProgressLink> link = LinkOf(owner);
    return AskOnUiThread<bool>(
        [title = QString::fromStdString(title), text = TranslateLibraryMessage(QString::fromStdString(text)), link] {
            QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, OwnerWindow(link));
            box.setObjectName(QStringLiteral("LibraryQuestion"));
            box.setDefaultButton(QMessageBox::Yes);
            // On a transfer's window it holds that window only; browsing goes on meanwhile.
            if (auto alive = link.lock(); alive && alive->window)
                box.setWindowModality(Qt::WindowModal);
            return box.exec() == QMessageBox::Yes;
        },
        nullptr, false);
}

bool QtFtpUi::AskTrustCertificate(const QorFtpCertificate& certificate)
{
    return GetInteraction().AskTrustCertificate(certificate);
}

std::unique_ptr<QorFtpProgressView> QtFtpUi::CreateProgressView(QorFtpProgress& progress)
{
    auto view = std::make_unique<RegisteredProgressView>(*this, progress);
    std::lock_guard<std::mutex> guard(m_lock);
    m_links[&progress] = view->Link();
    return view;
}

bool QtFtpUi::Tracing() const
{
    return TraceFeed::Instance().Listening();
}

void QtFtpUi::Trace(const QorFtpTraceLine& line)
{
    TraceFeed::Instance().Post(line);
}

void QtFtpUi::Forget(QorFtpProgress* progress)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_links.erase(progress);
}

std::weak_ptr<ProgressLink> QtFtpUi::LinkOf(QorFtpProgress* progress)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_links.find(progress);
    return it == m_links.end() ? std::weak_ptr<ProgressLink>() : it->second;
}
