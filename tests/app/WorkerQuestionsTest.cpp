// A worker's overwrite question: shown by the user-interface thread while the worker waits,
// answered with the button's result, and given up once the operation is cancelled.
#include "GuiTestSupport.h"

#include "app/DeleteConfirmDialog.h"
#include "app/OverwriteDialog.h"
#include "app/QtInteraction.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <thread>

class WorkerQuestionsTest : public QObject {
    Q_OBJECT

private slots:
    void overwriteAnsweredWhileWorkerWaits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("newName");
        QTest::newRow("recover") << "" << "recover" << 5 << "";
        QTest::newRow("append") << "" << "append" << 8 << "";
        QTest::newRow("overwrite forgets a typed name") << "other.txt" << "overwrite" << 1 << "";
        QTest::newRow("rename") << "report (2).txt" << "rename" << 1 << "report (2).txt";
        QTest::newRow("cancel") << "" << "cancel" << 2 << "";
    }
    void overwriteAnsweredWhileWorkerWaits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(QString, newName);

        QtInteraction interaction;
        std::atomic<bool> answered{false};
        OverwriteAnswer answer;
        std::thread worker([&] {
            answer = interaction.AskOverwrite("/home/ann/report.txt", std::make_shared<std::atomic<bool>>(false));
            answered = true;
        });

        // The dialog runs its own event loop, so the checks run from inside it.
        QObject scope;
        bool checked = false;
        WhenModalShows<OverwriteDialog>(&scope, [&](OverwriteDialog* dialog) {
            QCOMPARE(dialog->thread(), QCoreApplication::instance()->thread());
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvo"));
            QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("message"))->text(), QStringLiteral("/home/ann/report.txt"));
            auto* rename = dialog->findChild<QPushButton*>(QStringLiteral("rename"));
            QVERIFY(!rename->isEnabled());
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("newName")), typed);
            QCOMPARE(rename->isEnabled(), !typed.isEmpty());
            QTest::qWait(50);
            QVERIFY(!answered);
            checked = true;
            dialog->findChild<QPushButton*>(button)->click();
        });
        QTRY_VERIFY(answered);
        worker.join();
        QVERIFY(checked);
        QCOMPARE(answer.result, result);
        QCOMPARE(QString::fromStdString(answer.newName), newName);
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
        QFETCH(int, result);
        QtInteraction interaction;
        DeleteConfirmResult answer{};
        std::atomic<bool> answered{false};
        std::thread worker([&] {
            answer = interaction.AskDeleteConfirm("Are you sure you want to delete 'a.txt'");
            answered = true;
        });
        QObject scope;
        WhenModalShows<DeleteConfirmDialog>(&scope, [&](DeleteConfirmDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvo - Delete"));
            QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("prompt"))->text(),
                     QStringLiteral("Are you sure you want to delete 'a.txt'"));
            if (button.isEmpty())
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>(button)->click();
        });
        QTRY_VERIFY(answered);
        worker.join();
        QCOMPARE(int(answer), result);
    }

    void cancelledOperationStopsWaiting()
    {
        QtInteraction interaction;
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        std::atomic<bool> answered{false};
        OverwriteAnswer answer;
        answer.result = 0;
        std::thread worker([&] {
            answer = interaction.AskOverwrite("/home/ann/report.txt", cancelled);
            answered = true;
        });
        QObject scope;
        bool shown = false;
        WhenModalShows<OverwriteDialog>(&scope, [&](OverwriteDialog*) {
            shown = true;
            cancelled->store(true);
        });

        QTRY_VERIFY_WITH_TIMEOUT(answered, 2000);
        QVERIFY(shown);
        worker.join();
        QCOMPARE(answer.result, int(OverwriteAnswer::Cancel));
        // Nobody waits for it any more, so it goes too.
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(WorkerQuestionsTest)
#include "WorkerQuestionsTest.moc"
