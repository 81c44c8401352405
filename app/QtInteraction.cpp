#include "app/QtInteraction.h"

#include "dialogs/Artwork.h"
#include "dialogs/DeleteConfirmDialog.h"
#include "dialogs/OverwriteDialog.h"
#include "dialogs/ProgramMessage.h"
#include "dialogs/UiThread.h"

#include <QApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QRegularExpression>

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

// "rwxr-xr-x" as three octal digits; letters other than r, w, x and s/t count as unset.
QString OctalMode(const std::string& permissions)
{
    const std::string letters = permissions.size() > 9 ? permissions.substr(permissions.size() - 9) : permissions;
    int mode = 0;
    for (std::size_t i = 0; i < letters.size() && i < 9; ++i) {
        if (letters[i] != '-' && letters[i] != 'S' && letters[i] != 'T')
            mode |= 1 << (8 - i);
    }
    return QStringLiteral("%1").arg(mode, 3, 8, QLatin1Char('0'));
}

} // namespace

void QtInteraction::ShowMessage(const std::string& text, MessageIcon icon, const CancelFlag& cancelled)
{
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

OverwriteAnswer QtInteraction::AskOverwrite(const std::string& path, const CancelFlag& cancelled)
{
    return AskOnUiThread<OverwriteAnswer>(
        [path = QString::fromStdString(path), cancelled] {
            OverwriteDialog dialog(DialogOwner());
            dialog.message = path;
            OverwriteAnswer answer;
            answer.result = ExecUnlessCancelled(dialog, cancelled, OverwriteDialog::Cancel);
            answer.newName = dialog.newName.toStdString();
            return answer;
        },
        cancelled, OverwriteAnswer{});
}

std::optional<std::string> QtInteraction::AskPermissions(const std::string& file, const std::string& permissions,
                                                         const CancelFlag& cancelled)
{
    // Stands in for the permissions dialog: the mode as three octal digits.
    return AskOnUiThread<std::optional<std::string>>(
        [file = QString::fromStdString(file), mode = OctalMode(permissions),
         cancelled]() -> std::optional<std::string> {
            QInputDialog dialog(DialogOwner());
            dialog.setObjectName(QStringLiteral("PermissionsDialog"));
            dialog.setWindowTitle(QStringLiteral("File Permissions"));
            dialog.setLabelText(QStringLiteral("Permissions of %1 (three octal digits):").arg(file));
            dialog.setTextValue(mode);
            if (ExecUnlessCancelled(dialog, cancelled, QDialog::Rejected) != QDialog::Accepted)
                return std::nullopt;
            const QString value = dialog.textValue().trimmed();
            if (!QRegularExpression(QStringLiteral("^[0-7]{3}$")).match(value).hasMatch())
                return std::nullopt;
            return value.toStdString();
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
