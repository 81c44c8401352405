// The input dialog's required fields and one-field layout; the permissions, properties and
// download-as dialogs; and the transfer progress window driven from a transfer's thread: its
// texts, its minimising passed on to the transfer, and the three ways to ask for a cancel, each
// confirmed by "Are you sure you want to cancel?".
#include "GuiTestSupport.h"

#include "app/QtFtpUi.h"
#include "dialogs/DownloadAsDialog.h"
#include "dialogs/FilePropertiesDialog.h"
#include "dialogs/InputDialog.h"
#include "dialogs/PermissionsDialog.h"
#include "dialogs/ProgressWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

TransferProgressWnd* ProgressWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TransferProgressWnd*>(top))
            return window;
    return nullptr;
}

template <typename T> T* Child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

template <typename T> T* Child(QWidget* parent, int id)
{
    return parent->findChild<T*>(QString::number(id));
}

// The nine boxes as "1" and "0" in the order of the ids given.
QString Boxes(QWidget* dialog, std::initializer_list<int> ids)
{
    QString states;
    for (int id : ids)
        states += Child<QCheckBox>(dialog, id)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

constexpr std::initializer_list<int> kPermissionBoxes = {1002, 1024, 1025, 1027, 1028, 1030, 1032, 1034, 1037};

std::vector<DownloadEntry> Entries(std::initializer_list<std::pair<const char*, const char*>> names)
{
    std::vector<DownloadEntry> entries;
    for (const auto& [remote, local] : names)
        entries.push_back({remote, local});
    return entries;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void inputDialogRefusesEmptyFields_data()
    {
        QTest::addColumn<bool>("twoFields");
        QTest::addColumn<QString>("value1");
        QTest::addColumn<QString>("value2");
        QTest::addColumn<QString>("refusedField");
        QTest::newRow("first empty") << true << ""
                                     << "b.txt"
                                     << "1076";
        QTest::newRow("second empty") << true << "127.0.0.1"
                                      << ""
                                      << "1078";
        QTest::newRow("both filled") << true << "127.0.0.1"
                                     << "b.txt"
                                     << "";
        QTest::newRow("spaces are a value") << true << " "
                                            << " "
                                            << "";
        QTest::newRow("one field ignores the second") << false << "/pub"
                                                      << ""
                                                      << "";
        QTest::newRow("one field, empty") << false << ""
                                          << ""
                                          << "1076";
    }
    void inputDialogRefusesEmptyFields()
    {
        QFETCH(bool, twoFields);
        QFETCH(QString, value1);
        QFETCH(QString, value2);
        QFETCH(QString, refusedField);

        CInputDialog dialog;
        dialog.m_bTwoFields = twoFields;
        dialog.m_strValue1 = value1;
        dialog.m_strValue2 = value2;
        QString message;
        QString focused;
        WhenModalShows<CInputDialog>(&dialog, [&](CInputDialog* shown) {
            WhenModalShows<QMessageBox>(shown, [&](QMessageBox* box) {
                message = box->text();
                box->accept();
            });
            Child<QPushButton>(shown, "IDOK")->click();
            if (shown->isVisible()) {
                focused = shown->focusWidget() ? shown->focusWidget()->objectName() : QString();
                shown->reject();
            }
        });
        const int result = dialog.exec();

        QCOMPARE(result == QDialog::Accepted, refusedField.isEmpty());
        QCOMPARE(message, refusedField.isEmpty() ? QString() : QStringLiteral("This field is required."));
        QCOMPARE(focused, refusedField);
        if (result == QDialog::Accepted) {
            QCOMPARE(dialog.m_strValue1, value1);
            QCOMPARE(dialog.m_strValue2, value2);
        }
    }

    void oneFieldDialogPutsButtonsUnderTheField()
    {
        // The second field's own layout is covered by the table above, which focuses it.
        CInputDialog dialog;
        dialog.m_bTwoFields = false;
        dialog.m_strPrompt1 = QStringLiteral("Enter the directory:");
        dialog.m_strPrompt2 = QStringLiteral("Enter the file:");
        WhenModalShows<CInputDialog>(&dialog, [](CInputDialog* shown) {
            QVERIFY(!Child<QLineEdit>(shown, "1078")->isVisible() && !Child<QLabel>(shown, "1096")->isVisible());
            QWidget* field = Child<QLineEdit>(shown, "1076");
            const int gap = Child<QPushButton>(shown, "IDOK")->mapTo(shown, QPoint(0, 0)).y()
                - field->mapTo(shown, QPoint(0, field->height())).y();
            QVERIFY2(gap > 0 && gap < 30, qPrintable(QString::number(gap)));
            shown->reject();
        });
        dialog.exec();
    }

    void permissionsDialogTurnsLettersIntoAMode_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("toggled");
        QTest::addColumn<QString>("mode");
        QTest::newRow("unchanged") << "rwxr-x---"
                                   << "111101000" << 0 << "750";
        QTest::newRow("s and t count as set") << "rwsr-xr-t"
                                              << "111101101" << 0 << "755";
        QTest::newRow("others may write") << "rwsr-xr-t"
                                          << "111101101" << 1034 << "757";
        QTest::newRow("empty") << ""
                               << "000000000" << 0 << "000";
        QTest::newRow("short, owner read cleared") << "r-"
                                                   << "100000000" << 1002 << "000";
    }
    void permissionsDialogTurnsLettersIntoAMode()
    {
        QFETCH(QString, letters);
        QFETCH(QString, boxes);
        QFETCH(int, toggled);
        QFETCH(QString, mode);

        CPermissionsDlg dialog(letters);
        QCOMPARE(Boxes(&dialog, kPermissionBoxes), boxes);
        if (toggled)
            Child<QCheckBox>(&dialog, toggled)->click();
        Child<QPushButton>(&dialog, "IDOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_strPermissions, mode);
    }

    void propertiesDialogShowsTheRow()
    {
        FilePropertiesView view{"a.tar",     "tar File", "Thursday, March 7, 1996 12:00 AM",
                                "ann",       "staff",    "1.21 KB (1,234 bytes)",
                                "rwxr-x--x", "tar",      false};
        CFilePropertiesDlg dialog(view);
        QStringList fields;
        for (int id : {1079, 1080, 1081, 1082, 1083, 1084}) {
            auto* field = Child<QLineEdit>(&dialog, id);
            QVERIFY(field->isReadOnly());
            fields << field->text();
        }
        QCOMPARE(fields,
                 QStringList({"a.tar", "tar File", "1.21 KB (1,234 bytes)", "Thursday, March 7, 1996 12:00 AM", "ann",
                              "staff"}));
        // Ids run down the columns: read for owner, group, other, then write, then execute.
        QCOMPARE(Boxes(&dialog, {1085, 1086, 1087, 1088, 1089, 1090, 1091, 1092, 1093}), QStringLiteral("110100111"));
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            QVERIFY(!box->isEnabled());
        QVERIFY(!Child<QLabel>(&dialog, 1077)->pixmap().isNull());
    }

    void downloadAsDialogEditsTheRemainingFiles()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile kept(folder.filePath(QStringLiteral("kept.txt")));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();

        DownloadAsQuestion question{"a.txt", folder.path().toStdString(),
                                    Entries({{"b.bin", "b.bin"}, {"c.txt", "c.txt"}, {"d", "d"}})};
        CDownloadAsDlg dialog(question);
        QStringList filters;
        WhenModalShows<CDownloadAsDlg>(&dialog, [&](CDownloadAsDlg* shown) {
            const auto close = qScopeGuard([shown] {
                if (shown->isVisible())
                    shown->reject();
            });
            filters = shown->nameFilters();
            auto* list = Child<QListWidget>(shown, "Remaining");
            QVERIFY(!list->isVisible());
            Child<QPushButton>(shown, "More")->click();
            QVERIFY(list->isVisible());
            Child<QCheckBox>(shown, "DontPrompt")->click();

            list->setCurrentRow(1);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Delete);
            list->editItem(list->item(1));
            auto* editor = list->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->setText(QStringLiteral("e.dat"));
            QTest::keyClick(editor, Qt::Key_Return);
            // Return ends the renaming, not the dialog.
            QTRY_COMPARE(list->item(1)->text(), QStringLiteral("e.dat"));
            QVERIFY(shown->isVisible());

            shown->selectFile(QStringLiteral("renamed.txt"));
            shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        dialog.exec();

        QCOMPARE(filters, QStringList({"txt files (*.txt)", "All Files (*)"}));
        const DownloadAsAnswer answer = dialog.Answer();
        QVERIFY(answer.accepted);
        QCOMPARE(QString::fromStdString(answer.path), folder.filePath(QStringLiteral("renamed.txt")));
        QVERIFY(answer.dontPrompt);
        QCOMPARE(answer.remaining, Entries({{"b.bin", "b.bin"}, {"d", "e.dat"}}));
        // Delete in the list removed an entry, not a file on the disk.
        QVERIFY(kept.exists());

        // With no folder given, the next one opens where this one was left; Cancel still reports
        // the box and the list.
        CDownloadAsDlg next(DownloadAsQuestion{"README", "", Entries({{"x", "x"}})});
        QString opened;
        WhenModalShows<CDownloadAsDlg>(&next, [&](CDownloadAsDlg* shown) {
            opened = shown->directory().absolutePath();
            filters = shown->nameFilters();
            Child<QCheckBox>(shown, "DontPrompt")->click();
            shown->reject();
        });
        next.exec();
        QCOMPARE(opened, QDir(folder.path()).absolutePath());
        QCOMPARE(filters, QStringList({"All Files (*)"}));
        const DownloadAsAnswer cancelled = next.Answer();
        QVERIFY(!cancelled.accepted && cancelled.dontPrompt);
        QCOMPARE(cancelled.remaining, Entries({{"x", "x"}}));
    }

    void downloadAsDialogPicksTheFolderAWholeFolderGoesInto()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        CDownloadAsDlg dialog(DownloadAsQuestion{"pub/", folder.path().toStdString(), {}});
        QString title;
        WhenModalShows<CDownloadAsDlg>(&dialog, [&](CDownloadAsDlg* shown) {
            title = shown->windowTitle();
            shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
        });
        dialog.exec();
        QCOMPARE(title, QStringLiteral("Download the Folder 'pub' Into"));
        const DownloadAsAnswer answer = dialog.Answer();
        QVERIFY(answer.accepted);
        QCOMPARE(QString::fromStdString(answer.path), QDir(folder.path()).filePath(QStringLiteral("pub")));
    }

    void progressWindowFromATransferThread()
    {
        QtFtpUi ui;
        QorFtpProgress::ResetLastShownPercent();
        std::atomic<int> reached{0};
        std::atomic<bool> minimised{false};
        std::vector<bool> answers;
        std::atomic<int> asked{0};

        std::thread transfer([&] {
            QorFtpProgress progress(ui, QorFtpProgress::Direction::Download, "/home/ann/a.bin from 127.0.0.1");
            progress.Update(1536, 3000, true);
            reached = 1;
            while (!minimised)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            progress.Update(2400, 3000, true);
            // The transfer loop: every cancel request is confirmed before the transfer stops.
            for (;;) {
                if (progress.IsCancelRequested()) {
                    const bool yes = ui.AskYesNo("Cancel", "Are you sure you want to cancel?", &progress);
                    answers.push_back(yes);
                    ++asked;
                    if (yes)
                        break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });

        QTRY_COMPARE(reached.load(), 1);
        QTRY_VERIFY(ProgressWindow() && ProgressWindow()->isVisible());
        TransferProgressWnd* window = ProgressWindow();
        QTRY_COMPARE(Child<QLabel>(window, "1014")->text(), QStringLiteral("1.50 KB"));
        QCOMPARE(Child<QProgressBar>(window, "1008")->value(), 51);
        QCOMPARE(window->windowTitle(), QStringLiteral("Downloading:"));
        QCOMPARE(Child<QLabel>(window, "1031")->toolTip(), QStringLiteral("/home/ann/a.bin from 127.0.0.1"));

        // Minimising reaches the transfer, whose next caption carries the percentage (the rule
        // of the caption itself is the library's).
        window->showMinimized();
        minimised = true;
        QTRY_VERIFY(window->windowTitle().endsWith(QLatin1Char('%')));
        window->showNormal();

        // Cancel, Escape and the close box all ask; only Yes stops, and the window stays until then.
        QStringList questions;
        auto answerNext = [&](QMessageBox::StandardButton button) {
            WhenModalShows<QMessageBox>(window, [&questions, button, window](QMessageBox* box) {
                questions << box->text();
                QCOMPARE(box->parentWidget(), window);
                box->button(button)->click();
            });
        };
        answerNext(QMessageBox::No);
        Child<QPushButton>(window, "cancel")->click();
        QTRY_COMPARE(questions.size(), 1);
        QTRY_COMPARE(asked.load(), 1);
        answerNext(QMessageBox::No);
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_COMPARE(asked.load(), 2);
        QVERIFY(window->isVisible());
        answerNext(QMessageBox::Yes);
        window->close();
        QTRY_COMPARE(asked.load(), 3);
        transfer.join();

        QCOMPARE(answers, (std::vector<bool>{false, false, true}));
        QCOMPARE(questions, QStringList(3, QStringLiteral("Are you sure you want to cancel?")));
        QTRY_VERIFY(!ProgressWindow());
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
