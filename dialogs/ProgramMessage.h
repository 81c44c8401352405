// The program's own message boxes carry its name as their title; the FTP library's say "Ftp".
#pragma once

#include <QMessageBox>
#include <QString>

inline const QString kProgramTitle = QStringLiteral("Tarvo");

// A modal box with OK, on the user-interface thread.
void ShowProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning);
