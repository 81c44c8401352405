// The input dialog's required fields and one-field layout, and the transfer progress window
// driven from a transfer's thread: its texts, its minimising passed on to the transfer, and the
// three ways to ask for a cancel, each confirmed by "Are you sure you want to cancel?".
#include "GuiTestSupport.h"

#include "app/QtFtpUi.h"
#include "dialogs/InputDialog.h"
#include "dialogs/ProgressWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
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
