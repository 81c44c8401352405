// The frame's operation count, its busy indicator and "Bkg Operations:" window, and closing
// while operations run.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QtOperationHost.h"
#include "app/SelkDoc.h"
#include "dialogs/BusyIndicator.h"
#include "dialogs/OperationsDlg.h"
#include "operations/OperationLists.h"

#include "QorFtp.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QToolTip>
#include <QtTest>

#include <thread>

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    static void AddStatus(std::uint32_t id, const char* title, std::shared_ptr<JobProgress> progress = nullptr)
    {
        OperationStatus status;
        status.operationId = id;
        status.title = title;
        status.description = std::string("long text of ") + title;
        status.progress = std::move(progress);
        OperationStatusList.Append(status);
    }
    QString Pane() const { return m_frame->m_operationsPane->text(); }
    QString Caption() const { return m_frame->m_wndOperations->windowTitle(); }

    TemporarySettings m_settings;
    CSelkDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;

private slots:
    void init()
    {
        QVERIFY(m_settings.IsValid());
        OperationStatusList.Clear();
        m_frame = std::make_unique<CMainFrame>(m_document);
    }
    void cleanup()
    {
        OperationStatusList.Clear();
        m_frame.reset();
    }

    void countFollowsStartsAndEnds()
    {
        AddStatus(1, "Downloading a.txt");
        AddStatus(2, "Uploading b.txt");
        // 7 has no status row, as a listing of the tree: counted, not listed.
        for (std::uint32_t id : {1u, 2u, 7u})
            m_frame->WM_OPERATION_COUNT(true, id);
        QCOMPARE(Pane(), QStringLiteral("Operations:3"));
        QCOMPARE(m_frame->m_wndOperations->ItemCount(), 2);
        QCOMPARE(m_frame->m_wndOperations->List()->item(0)->text(), QStringLiteral("Uploading b.txt"));

        OperationStatusList.RemoveStatusEntry(1);
        m_frame->WM_OPERATION_COUNT(false, 1);
        m_frame->WM_OPERATION_COUNT(false, 7);
        QCOMPARE(Pane(), QStringLiteral("Operations:1"));
        QCOMPARE(Caption(), QStringLiteral("Bkg Operations: 1"));
        QCOMPARE(m_frame->m_wndOperations->List()->item(0)->text(), QStringLiteral("Uploading b.txt"));
        QVERIFY(m_frame->m_wndAnimate->IsPlaying());
        QTRY_VERIFY(m_frame->m_wndAnimate->CurrentFrame() != 0);

        OperationStatusList.RemoveStatusEntry(2);
        m_frame->WM_OPERATION_COUNT(false, 2);
        QCOMPARE(Pane(), QStringLiteral("Operations:0"));
        QCOMPARE(Caption(), QStringLiteral("Bkg Operations: 0"));
        QCOMPARE(m_frame->m_wndOperations->ItemCount(), 0);
        QVERIFY(!m_frame->m_wndAnimate->IsPlaying());
        QCOMPARE(m_frame->m_wndAnimate->CurrentFrame(), 0);
    }

    void indicatorClickTogglesOperationsWindow()
    {
        m_frame->show();
        QVERIFY(!m_frame->m_wndOperations->isVisible());
        QTest::mouseClick(m_frame->m_wndAnimate, Qt::LeftButton);
        QVERIFY(m_frame->m_wndOperations->isVisible());
        QTest::mouseClick(m_frame->m_wndAnimate, Qt::LeftButton);
        QVERIFY(!m_frame->m_wndOperations->isVisible());
    }

    void rowShowsItsDescriptionAndCancelsItsConnection()
    {
        QorFtpConnection connection;
        AddStatus(4, "Downloading d.txt");
        OperationStatusList.SetStatusConnection(4, &connection);
        AddStatus(5, "Listing /pub");
        m_frame->WM_OPERATION_COUNT(true, 4);
        m_frame->WM_OPERATION_COUNT(true, 5);
        m_frame->ToggleOperationsWindow();
        QListWidget* list = m_frame->m_wndOperations->List();
        auto centreOf = [list](const char* title) {
            return list->visualItemRect(list->findItems(QString::fromLatin1(title), Qt::MatchExactly).value(0))
                .center();
        };
        const QPoint download = centreOf("Downloading d.txt");
        QHelpEvent hover(QEvent::ToolTip, download, list->viewport()->mapToGlobal(download));
        QApplication::sendEvent(list->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("long text of Downloading d.txt"));

        // A row without a connection offers nothing; one with a connection offers "Cancel".
        bool offered = false;
        auto* timer = new QTimer(list);
        connect(timer, &QTimer::timeout, timer, [&offered, timer] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                timer->deleteLater();
                offered = menu->actions().value(0)->text() == QStringLiteral("Cancel");
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        timer->start(10);
        emit list->customContextMenuRequested(centreOf("Listing /pub"));
        QVERIFY(!offered);
        emit list->customContextMenuRequested(download);
        QVERIFY(offered);
        QVERIFY(OperationStatusList.CancelFlagOf(4)->load());
        QVERIFY(!OperationStatusList.CancelFlagOf(5)->load());
        OperationStatusList.Clear();
    }

    void jobRowShowsItsProgressWhileTheWindowIsShown()
    {
        auto progress = std::make_shared<JobProgress>();
        progress->totalFiles = 4;
        progress->doneFiles = 1;
        progress->totalBytes = 4000;
        progress->doneBytes = 1000;
        progress->counting = false;
        progress->SetCurrentFile("/home/ann/site/b.txt");
        AddStatus(8, "Downloading a.txt");
        AddStatus(9, "Uploading folder /home/ann/site", progress);
        m_frame->WM_OPERATION_COUNT(true, 8);
        m_frame->WM_OPERATION_COUNT(true, 9);
        COperationsDlg* window = m_frame->m_wndOperations;
        QVERIFY(!window->IsRefreshing());
        // View > Background Operations: the keyboard's way to the window.
        m_frame->show();
        m_frame->findChild<QAction*>(QStringLiteral("BackgroundOperations"))->trigger();
        QVERIFY(window->IsRefreshing());

        // One row for the whole job, with its bar; the single file's row has none.
        QListWidget* list = window->List();
        QCOMPARE(list->count(), 2);
        QVERIFY(!list->itemWidget(list->item(1)));
        QWidget* row = list->itemWidget(list->item(0));
        QVERIFY(row);
        // The newest row is the current one, and its display says so.
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(row->palette().color(row->backgroundRole()), list->palette().color(QPalette::Highlight));
        auto* bar = row->findChild<QProgressBar*>(QStringLiteral("JobProgressBar"));
        QCOMPARE(bar->value(), 250);
        QVERIFY(!bar->accessibleName().isEmpty());
        const auto counts = [row] { return row->findChild<QLabel*>(QStringLiteral("JobCounts"))->text(); };
        QVERIFY2(counts().startsWith(QStringLiteral("1 of 4 files, ")), qPrintable(counts()));
        QCOMPARE(row->findChild<QLabel*>(QStringLiteral("JobFile"))->text(), QStringLiteral("/home/ann/site/b.txt"));

        progress->doneFiles = 3;
        progress->failedFiles = 1;
        progress->doneBytes = 4000;
        QTRY_COMPARE(bar->value(), 1000);
        QVERIFY2(counts().startsWith(QStringLiteral("3 of 4 files, ")) && counts().contains(QStringLiteral("1 failed")),
                 qPrintable(counts()));

        // The Menu key on the newest row offers Cancel, which cancels the whole job.
        QVERIFY(QTest::qWaitForWindowActive(window));
        list->setFocus();
        auto* timer = new QTimer(list);
        connect(timer, &QTimer::timeout, timer, [timer] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                timer->deleteLater();
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        timer->start(10);
        // As the desktop sends it for the Menu key: at the current row.
        const QPoint at = list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &menuKey);
        QTRY_VERIFY(OperationStatusList.CancelFlagOf(9)->load());

        // Hidden, nobody looks: no work.
        m_frame->ToggleOperationsWindow();
        QVERIFY(!window->IsRefreshing());
    }

    void workerCountReturnsOnceTheWindowShowsIt()
    {
        QtOperationHost host(m_frame.get());
        AddStatus(6, "Uploading e.txt");
        int seenByWorker = -1;
        std::thread worker([&] {
            host.OperationCount(true, 6);
            // Written by the user-interface thread before the call returned.
            seenByWorker = m_frame->m_nOperations;
        });
        QTRY_COMPARE(Pane(), QStringLiteral("Operations:1"));
        worker.join();
        QCOMPARE(seenByWorker, 1);
        QCOMPARE(m_frame->m_wndOperations->ItemCount(), 1);
    }

    void closingRefusedWhileOperationsRun()
    {
        m_frame->show();
        AddStatus(3, "Downloading c.txt");
        m_frame->WM_OPERATION_COUNT(true, 3);
        QString shown;
        WhenModalShows<QMessageBox>(m_frame.get(), [&](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        QVERIFY(!m_frame->close());
        QCOMPARE(shown,
                 QStringLiteral("There are some operations still active.\n"
                                "If you want to exit you have to cancel them."));
        QVERIFY(m_frame->isVisible());

        OperationStatusList.RemoveStatusEntry(3);
        m_frame->WM_OPERATION_COUNT(false, 3);
        QVERIFY(m_frame->close());
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
