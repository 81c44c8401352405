// A worker's questions: shown by the user-interface thread while the worker waits, answered
// with the button's result, and given up once the operation is cancelled.
#include "GuiTestSupport.h"

#include "app/QtInteraction.h"
#include "dialogs/DeleteConfirmDialog.h"
#include "dialogs/OverwriteDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <thread>

class WorkerQuestionsTest : public QObject {
    Q_OBJECT

private:
    // Runs `ask` on a worker thread, as an operation does, and `answer` on the dialog of type
    // T once it shows; the worker must still be waiting then.
    template <typename T>
    static void AskFromWorker(const std::function<void()>& ask, const std::function<void(T*)>& answer)
    {
        std::atomic<bool> answered{false};
        std::thread worker([&] {
            ask();
            answered = true;
        });
        QObject scope;
        bool shown = false;
        WhenModalShows<T>(&scope, [&](T* dialog) {
            shown = true;
            QCOMPARE(dialog->thread(), QCoreApplication::instance()->thread());
            QTest::qWait(50);
            QVERIFY(!answered);
            answer(dialog);
        });
        QTRY_VERIFY(answered);
        worker.join();
        QVERIFY(shown);
    }

private slots:
    void overwriteAnswered_data()
    {
        QTest::addColumn<QString>("typed"); // "\b" is Backspace
        QTest::addColumn<QString>("button"); // empty: Enter in the name field
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("newName");
        QTest::newRow("recover") << ""
                                 << "recover" << 5 << "";
        QTest::newRow("append") << ""
                                << "append" << 8 << "";
        QTest::newRow("overwrite forgets a typed name") << "other.txt"
                                                        << "overwrite" << 1 << "";
        QTest::newRow("Enter renames") << "report (2).txt"
                                       << "" << 1 << "report (2).txt";
        QTest::newRow("Enter without a name does nothing") << ""
                                                           << "" << 2 << "";
        QTest::newRow("Enter after the name is cleared does nothing") << "b\b"
                                                                      << "" << 2 << "";
        QTest::newRow("cancel") << ""
                                << "cancel" << 2 << "";
    }
    void overwriteAnswered()
    {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QtInteraction interaction;
        OverwriteAnswer answer;
        const auto notCancelled = std::make_shared<std::atomic<bool>>(false);
        AskFromWorker<OverwriteDialog>([&] { answer = interaction.AskOverwrite("/home/ann/report.txt", notCancelled); },
                                       [&](OverwriteDialog* dialog) {
                                           QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvo"));
                                           QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("message"))->text(),
                                                    QStringLiteral("/home/ann/report.txt"));
                                           auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("newName"));
                                           auto* rename = dialog->findChild<QPushButton*>(QStringLiteral("rename"));
                                           QVERIFY(!rename->isEnabled());
                                           QTest::keyClicks(name, typed);
                                           QCOMPARE(rename->isEnabled(), !name->text().isEmpty());
                                           if (!button.isEmpty()) {
                                               dialog->findChild<QPushButton*>(button)->click();
                                               return;
                                           }
                                           QTest::keyClick(name, Qt::Key_Return);
                                           // Enter with Rename disabled chose nothing: the dialog waits for a button.
                                           if (dialog->isVisible())
                                               dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
                                       });
        QTEST(answer.result, "result");
        QTEST(QString::fromStdString(answer.newName), "newName");
    }

    void deleteConfirmationResults_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("yes") << "yes" << int(DeleteConfirmResult::Yes);
        QTest::newRow("yes to all") << "yesToAll" << int(DeleteConfirmResult::YesToAll);
        QTest::newRow("no") << "no" << int(DeleteConfirmResult::No);
        QTest::newRow("cancel") << "cancel" << int(DeleteConfirmResult::Cancel);
        QTest::newRow("escape") << "" << int(DeleteConfirmResult::Cancel);
    }
    void deleteConfirmationResults()
    {
        QFETCH(QString, button);
        QtInteraction interaction;
        DeleteConfirmResult answer{};
        AskFromWorker<DeleteConfirmDialog>(
            [&] { answer = interaction.AskDeleteConfirm("Are you sure you want to delete 'a.txt'"); },
            [&](DeleteConfirmDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvo - Delete"));
                QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("prompt"))->text(),
                         QStringLiteral("Are you sure you want to delete 'a.txt'"));
                if (button.isEmpty())
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->findChild<QPushButton*>(button)->click();
            });
        QTEST(int(answer), "result");
    }

    void cancelledOperationStopsWaiting()
    {
        QtInteraction interaction;
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        OverwriteAnswer answer;
        answer.result = 0;
        AskFromWorker<OverwriteDialog>([&] { answer = interaction.AskOverwrite("/home/ann/report.txt", cancelled); },
                                       [&](OverwriteDialog*) { cancelled->store(true); });
        QCOMPARE(answer.result, int(OverwriteAnswer::Cancel));
        // Nobody waits for it any more, so it goes too.
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(WorkerQuestionsTest)
#include "WorkerQuestionsTest.moc"
