// A worker's questions: shown by the user-interface thread while the worker waits, answered
// with the button's result, and given up once the operation is cancelled.
#include "GuiTestSupport.h"

#include "app/QtInteraction.h"
#include "dialogs/DeleteConfirmDialog.h"
#include "dialogs/OverwriteDialog.h"

#include <QCheckBox>
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
        QTest::addColumn<bool>("inJob"); // asked by a folder job: "Apply to all" is offered
        QTest::addColumn<QString>("typed"); // "\b" is Backspace
        QTest::addColumn<bool>("all"); // "Apply to all" ticked after typing
        QTest::addColumn<QString>("button"); // empty: Enter in the name field
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("newName");
        QTest::newRow("recover") << false << "" << false << "recover" << 5 << "";
        QTest::newRow("append") << false << "" << false << "append" << 8 << "";
        QTest::newRow("overwrite forgets a typed name") << false << "other.txt" << false << "overwrite" << 1 << "";
        QTest::newRow("Enter renames") << false << "report (2).txt" << false << "" << 1 << "report (2).txt";
        QTest::newRow("Enter without a name does nothing") << false << "" << false << "" << 2 << "";
        QTest::newRow("Enter after the name is cleared does nothing") << false << "b\b" << false << "" << 2 << "";
        QTest::newRow("cancel") << false << "" << false << "cancel" << 2 << "";
        QTest::newRow("job: overwrite all") << true << "" << true << "overwrite" << 1 << "";
        QTest::newRow("job: recover this one") << true << "" << false << "recover" << 5 << "";
        QTest::newRow("job: all takes the rename away") << true << "x.txt" << true << "" << 2 << "";
        QTest::newRow("job: rename this one") << true << "x.txt" << false << "" << 1 << "x.txt";
    }
    void overwriteAnswered()
    {
        QFETCH(bool, inJob);
        QFETCH(QString, typed);
        QFETCH(bool, all);
        QFETCH(QString, button);
        QtInteraction interaction;
        OverwriteAnswer answer;
        const auto notCancelled = std::make_shared<std::atomic<bool>>(false);
        const std::string path = "/home/ann/report.txt";
        AskFromWorker<OverwriteDialog>(
            [&] {
                answer = inJob ? interaction.AskOverwriteInJob(path, notCancelled)
                               : interaction.AskOverwrite(path, notCancelled);
            },
            [&](OverwriteDialog* dialog) {
                // A failed check still lets the worker go.
                const auto close = qScopeGuard([dialog] {
                    if (dialog->isVisible())
                        dialog->reject();
                });
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvo"));
                QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("message"))->text(), QString::fromStdString(path));
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("newName"));
                auto* rename = dialog->findChild<QPushButton*>(QStringLiteral("rename"));
                auto* applyToAll = dialog->findChild<QCheckBox*>(QStringLiteral("applyToAll"));
                QCOMPARE(applyToAll->isVisible(), inJob);
                QVERIFY(!rename->isEnabled());
                QTest::keyClicks(name, typed);
                if (all)
                    applyToAll->click();
                QCOMPARE(applyToAll->isChecked(), all);
                QCOMPARE(rename->isEnabled(), !name->text().isEmpty() && !all);
                if (!button.isEmpty()) {
                    dialog->findChild<QPushButton*>(button)->click();
                    return;
                }
                QTest::keyClick(name, Qt::Key_Return);
                // Enter with Rename disabled chose nothing: the dialog waits for a button (the guard's Cancel).
            });
        QTEST(answer.result, "result");
        QTEST(QString::fromStdString(answer.newName), "newName");
        QCOMPARE(answer.applyToAll, all && answer.result != OverwriteAnswer::Cancel);
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
