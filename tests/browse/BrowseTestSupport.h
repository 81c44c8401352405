// Shared by the browsing tests: the window tests' settings and dialog answers, a recording
// operation host and library interface, answers for the connect dialog, and a model's texts.
#pragma once

#include "GuiTestSupport.h"

#include "RecordingHost.h"
#include "RecordingUi.h"
#include "dialogs/ConnectDialog.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <string>
#include <vector>

using tarvo::test::RecordingHost;
using tarvo::test::RecordingUi;

// Fills the next connect dialog for a server on 127.0.0.1 and presses Connect once the dialog
// is on the screen.
inline void AnswerConnectDialog(QObject* owner, const QString& name, unsigned port, const QString& user = {},
                                const QString& password = {})
{
    WhenModalShows<CConnectDlg>(owner, [=](CConnectDlg* dialog) {
        // The name first: typing a new one clears the other fields.
        dialog->findChild<QComboBox*>(QStringLiteral("1007"))->setEditText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("1064"))->setText(QStringLiteral("127.0.0.1"));
        dialog->findChild<QLineEdit*>(QStringLiteral("1001"))->setText(user);
        dialog->findChild<QLineEdit*>(QStringLiteral("1003"))->setText(password);
        dialog->findChild<QLineEdit*>(QStringLiteral("1005"))->setText(QString::number(port));
        dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
    });
}

// True once the spy has fired, whether it did so before this call or within the time.
inline bool Fired(QSignalSpy& spy, int ms = 15000)
{
    return spy.count() > 0 || spy.wait(ms);
}

// The texts of one column below `parent`, top to bottom.
inline QStringList ColumnTexts(const QAbstractItemModel* model, int column = 0, const QModelIndex& parent = {})
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(parent); ++row)
        texts << model->index(row, column, parent).data().toString();
    return texts;
}
