#include "dialogs/ProgramMessage.h"

void ShowProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, kProgramTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ProgramMessage"));
    box.exec();
}
