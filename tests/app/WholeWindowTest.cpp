// The pieces together, as the program wires them: the main frame with its panes, the Qt sides of
// the library's and the operations' interfaces, a real server, and a background download that a
// worker runs while the window counts it.
#include "GuiTestSupport.h"

#include "PyFtpd.h"
#include "TempDir.h"

#include "app/MainFrame.h"
#include "dialogs/OverwriteDialog.h"
#include "app/QtFtpUi.h"
#include "app/QtInteraction.h"
#include "app/QtOperationHost.h"
#include "app/SelkDoc.h"
#include "filelist/CFileView.h"
#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationHost.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "tree/BrowsePanes.h"
#include "tree/CPathView.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace tarvo::test;

class WholeWindowTest : public QObject {
    Q_OBJECT

private:
    QString Pane() const { return m_frame->findChild<QLabel*>(QStringLiteral("59142"))->text(); }

    TemporarySettings m_settings;
    CSelkDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<QtOperationHost> m_host;
    QtFtpUi m_ftpUi;
    QtInteraction m_interaction;
    CPathView* m_tree = nullptr;
    CFileView* m_list = nullptr;
    // Outlives the window, whose tree says goodbye to it when it closes.
    std::unique_ptr<PyFtpd> m_server;

private slots:
    void init()
    {
        LoadServers();
        m_frame = std::make_unique<CMainFrame>(m_document);
        m_host = std::make_unique<QtOperationHost>(m_frame.get());
        SetOperationHost(m_host.get());
        SetInteraction(&m_interaction);
        QorFtpSetUi(&m_ftpUi);
        m_tree = new CPathView;
        m_list = new CFileView;
        LinkPanes(m_tree, m_list);
        m_frame->SetPanes(m_tree, m_list);
        m_frame->show();
    }

    // The workers report to the window, so the window's thread keeps handling events meanwhile.
    static bool NoWorkerLeft() { return WaitForOperations(std::chrono::milliseconds(0)); }

    void cleanup()
    {
        QTRY_VERIFY_WITH_TIMEOUT(NoWorkerLeft(), 30000);
        QorFtpSetUi(nullptr);
        SetInteraction(nullptr);
        SetOperationHost(nullptr);
        m_frame.reset();
        m_host.reset();
        m_server.reset();
    }

    void connectThenDownloadInTheBackground()
    {
        m_server = std::make_unique<PyFtpd>();
        const PyFtpd& server = *m_server;
        TempDir local;
        const std::string content = RandomBytes(3'000'000, 21);
        WriteFileBytes(server.root() + "/report.bin", content);

        ServerRecord record;
        record.name = "Integration";
        record.address = "127.0.0.1";
        record.port = static_cast<int>(server.port());
        record.userName = PyFtpd::kUser;
        record.password = PyFtpd::kPassword;
        QSignalSpy completed(m_tree, &CPathView::ConnectionCompleted);
        m_tree->StartConnect(record);
        QVERIFY(completed.wait(15000));
        QCOMPARE(completed.at(0).at(1).toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(Pane(), QStringLiteral("Operations:0"), 5000);
        // The first connection to a new name puts the server into the store.
        ServerRecord stored;
        QVERIFY(GetServerRecord("Integration", stored));

        // A worker downloads while the window counts it. The local file exists, so the worker
        // asks, through the real dialog on the user-interface thread, while the count shows it.
        WriteFileBytes(local.file("report.bin"), "old");
        OperationRequest request;
        request.kind = Download;
        request.sourceServer = "Integration";
        request.file = "/report.bin";
        request.localPath = local.file("report.bin");
        QString paneWhileAsked;
        WhenModalShows<OverwriteDialog>(this, [&](OverwriteDialog* dialog) {
            paneWhileAsked = Pane();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("overwrite")), Qt::LeftButton);
        });
        QCOMPARE(StartOperation(request), 1);
        QTRY_VERIFY_WITH_TIMEOUT(NoWorkerLeft(), 15000);
        QCOMPARE(paneWhileAsked, QStringLiteral("Operations:1"));
        QCOMPARE(Pane(), QStringLiteral("Operations:0"));
        QCOMPARE(ReadFileBytes(local.file("report.bin")), content);
    }
};

QTEST_MAIN(WholeWindowTest)
#include "WholeWindowTest.moc"
