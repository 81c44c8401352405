#include "app/QtInteraction.h"

#include "app/LibraryMessages.h"
#include "app/OperationNotifier.h"
#include "dialogs/Artwork.h"
#include "dialogs/CertificateDialog.h"
#include "dialogs/DeleteConfirmDialog.h"
#include "dialogs/DownloadAsDialog.h"
#include "dialogs/FilePropertiesDialog.h"
#include "dialogs/InputDialog.h"
#include "dialogs/OverwriteDialog.h"
#include "dialogs/PermissionsDialog.h"
#include "dialogs/ProgramMessage.h"
#include "dialogs/UiThread.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>

QWidget* DialogOwner()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(top) && top->isVisible())
            return top;
    }
    return nullptr;
}

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtInteraction::ShowMessage(const std::string& text, MessageIcon icon, const CancelFlag& cancelled)
{
    if (icon == MessageIcon::Error || icon == MessageIcon::Warning)
        ReportOperationFailure(QString::fromStdString(text));
    AskOnUiThread<bool>(
        [text = QString::fromStdString(text), icon, cancelled] {
            QMessageBox box(BoxIcon(icon), kProgramTitle, text, QMessageBox::Ok, DialogOwner());
            box.setObjectName(QStringLiteral("ProgramMessage"));
            ExecUnlessCancelled(box, cancelled, QMessageBox::Ok);
            return true;
        },
        cancelled, false);
}

bool QtInteraction::AskYesNo(const std::string& text, const CancelFlag& cancelled)
{
    return AskOnUiThread<bool>(
        [text = QString::fromStdString(text), cancelled] {
            QMessageBox box(QMessageBox::Question, kProgramTitle, text, QMessageBox::Yes | QMessageBox::No,
                            DialogOwner());
            box.setObjectName(QStringLiteral("ProgramQuestion"));
            return ExecUnlessCancelled(box, cancelled, QMessageBox::No) == QMessageBox::Yes;
        },
        cancelled, false);
}

namespace {

OverwriteAnswer AskOverwriteDialog(const std::string& path, const CancelFlag& cancelled, bool inJob)
{
    return AskOnUiThread<OverwriteAnswer>(
        [path = QString::fromStdString(path), cancelled, inJob] {
            OverwriteDialog dialog(DialogOwner());
            dialog.message = path;
            dialog.offerApplyToAll = inJob;
            OverwriteAnswer answer;
            answer.result = ExecUnlessCancelled(dialog, cancelled, OverwriteDialog::Cancel);
            // A new name is for one file: never with Apply to all.
            if (!dialog.ApplyToAll())
                answer.newName = dialog.newName.toStdString();
            answer.applyToAll = dialog.ApplyToAll() && answer.result != OverwriteAnswer::Cancel;
            return answer;
        },
        cancelled, OverwriteAnswer{});
}

} // namespace

OverwriteAnswer QtInteraction::AskOverwrite(const std::string& path, const CancelFlag& cancelled)
{
    return AskOverwriteDialog(path, cancelled, false);
}

OverwriteAnswer QtInteraction::AskOverwriteInJob(const std::string& path, const CancelFlag& cancelled)
{
    return AskOverwriteDialog(path, cancelled, true);
}

std::optional<std::string> QtInteraction::AskPermissions(const std::string& /*file*/, const std::string& permissions,
                                                         const CancelFlag& cancelled)
{
    return AskOnUiThread<std::optional<std::string>>(
        [letters = QString::fromStdString(permissions), cancelled]() -> std::optional<std::string> {
            CPermissionsDlg dialog(letters, DialogOwner());
            if (ExecUnlessCancelled(dialog, cancelled, QDialog::Rejected) != QDialog::Accepted)
                return std::nullopt;
            return dialog.m_strPermissions.toStdString();
        },
        cancelled, std::nullopt);
}

DeleteConfirmResult QtInteraction::AskDeleteConfirm(const std::string& prompt, const CancelFlag& cancelled)
{
    return AskOnUiThread<DeleteConfirmResult>(
        [prompt = QString::fromStdString(prompt), cancelled] {
            DeleteConfirmDialog dialog(DialogOwner());
            dialog.prompt = prompt;
            dialog.icon = ThemeIcon({QStringLiteral("text-x-generic")}, QStyle::SP_FileIcon);
            return static_cast<DeleteConfirmResult>(
                ExecUnlessCancelled(dialog, cancelled, DeleteConfirmDialog::Cancel));
        },
        cancelled, DeleteConfirmResult::Cancel);
}

std::string QtInteraction::LibraryText(const std::string& text)
{
    return TranslateLibraryMessage(QString::fromStdString(text)).toStdString();
}

bool QtInteraction::AskTrustCertificate(const QorFtpCertificate& certificate)
{
    return AskOnUiThread<bool>(
        [certificate] {
            CertificateDialog dialog(certificate, DialogOwner());
            return dialog.exec() == QDialog::Accepted;
        },
        nullptr, false);
}

DownloadAsAnswer QtInteraction::AskDownloadAs(const DownloadAsQuestion& question)
{
    return AskOnUiThread<DownloadAsAnswer>(
        [question] {
            CDownloadAsDlg dialog(question, DialogOwner());
            dialog.exec();
            return dialog.Answer();
        },
        nullptr, Interaction::AskDownloadAs(question));
}

std::optional<std::pair<std::string, std::string>> QtInteraction::AskTwoFields(const std::string& prompt1,
                                                                               const std::string& prompt2)
{
    using Fields = std::optional<std::pair<std::string, std::string>>;
    return AskOnUiThread<Fields>(
        [prompt1 = QString::fromStdString(prompt1), prompt2 = QString::fromStdString(prompt2)]() -> Fields {
            CInputDialog dialog(DialogOwner());
            dialog.m_bTwoFields = true;
            dialog.m_strPrompt1 = prompt1;
            dialog.m_strPrompt2 = prompt2;
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return std::make_pair(dialog.m_strValue1.toStdString(), dialog.m_strValue2.toStdString());
        },
        nullptr, std::nullopt);
}

std::optional<std::string> QtInteraction::AskText(const std::string& prompt)
{
    return AskOnUiThread<std::optional<std::string>>(
        [prompt = QString::fromStdString(prompt)]() -> std::optional<std::string> {
            CInputDialog dialog(DialogOwner());
            dialog.m_bTwoFields = false;
            dialog.m_strPrompt1 = prompt;
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.m_strValue1.toStdString();
        },
        nullptr, std::nullopt);
}

void QtInteraction::ShowFileProperties(const FilePropertiesView& properties)
{
    AskOnUiThread<bool>(
        [properties] {
            CFilePropertiesDlg dialog(properties, DialogOwner());
            dialog.exec();
            return true;
        },
        nullptr, false);
}

std::optional<std::string> QtInteraction::AskScriptFile()
{
    return AskOnUiThread<std::optional<std::string>>(
        []() -> std::optional<std::string> {
            QFileDialog dialog(DialogOwner());
            dialog.setObjectName(QStringLiteral("OpenScriptDialog"));
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setDefaultSuffix(QStringLiteral("ftp"));
            dialog.setNameFilters({QCoreApplication::translate("QtInteraction", "Tarvo Script Files (*.ftp)"),
                                   QCoreApplication::translate("QtInteraction", "All (*)")});
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return std::nullopt;
            return dialog.selectedFiles().constFirst().toStdString();
        },
        nullptr, std::nullopt);
}
