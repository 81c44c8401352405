// The pieces together, as the program wires them: the main frame with its panes and commands,
// the Qt sides of the library's and the operations' interfaces, and real servers. A worker that
// the window counts while it asks, and the same-connection retry it hands its download to, which
// never shares the browsing connection with the tree and holds Close Connection while it runs.
#include "GuiTestSupport.h"

#include "PyFtpd.h"
#include "ScriptedServer.h"
#include "TempDir.h"

#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/QtFtpUi.h"
#include "app/QtInteraction.h"
#include "app/QtOperationHost.h"
#include "app/SelkDoc.h"
#include "dialogs/CommandIds.h"
#include "dialogs/OverwriteDialog.h"
#include "filelist/CFileView.h"
#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationHost.h"
#include "operations/OperationLists.h"
#include "operations/OperationTexts.h"
#include "operations/SameConnectionRetry.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace tarvo::test;

class WholeWindowTest : public QObject {
    Q_OBJECT

private:
    QString Pane() const { return m_frame->findChild<QLabel*>(QStringLiteral("59142"))->text(); }
    QAction* CloseConnection() const { return m_frame->Command(Command::Disconnect); }

    // Connects the tree as the connect dialog would and selects the start folder.
    bool ConnectAndSelect(const char* name, unsigned port)
    {
        ServerRecord record;
        record.name = name;
        record.address = "127.0.0.1";
        record.port = static_cast<int>(port);
        record.userName = PyFtpd::kUser;
        record.password = PyFtpd::kPassword;
        QSignalSpy completed(m_tree, &CPathView::ConnectionCompleted);
        m_tree->StartConnect(record);
        if (!completed.wait(15000) || !completed.at(0).at(1).toBool())
            return false;
        m_tree->setCurrentIndex(m_tree->model()->index(0, 0, m_tree->ServerIndex(QString::fromLatin1(name))));
        return true;
    }

    static OperationRequest DownloadOf(const char* server, const char* file, const std::string& localPath)
    {
        OperationRequest request;
        request.kind = Download;
        request.sourceServer = server;
        request.file = file;
        request.localPath = localPath;
        return request;
    }

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
        PendingRequestList.Clear();
        m_frame = std::make_unique<CMainFrame>(m_document);
        m_host = std::make_unique<QtOperationHost>(m_frame.get());
        SetOperationHost(m_host.get());
        SetInteraction(&m_interaction);
        QorFtpSetUi(&m_ftpUi);
        m_tree = new CPathView;
        m_list = new CFileView;
        LinkPanes(m_tree, m_list);
        m_frame->SetPanes(m_tree, m_list);
        ConnectPaneCommands(m_tree, m_list, [this](int id) { return m_frame->Command(id); });
        connect(m_frame.get(), &CMainFrame::RunOnSameConnection, this,
                [](std::uint32_t operationId) { RunOnSameConnection(operationId); });
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

    void refusedDownloadRunsOverTheBrowsingConnection()
    {
        PyFtpdOptions oneClient;
        oneClient.maxConnectionsPerIp = 1;
        m_server = std::make_unique<PyFtpd>(oneClient);
        TempDir local;
        const std::string content = RandomBytes(1'000'000, 22);
        WriteFileBytes(m_server->root() + "/report.bin", content);
        QVERIFY(ConnectAndSelect("Full", m_server->port()));
        QTRY_COMPARE_WITH_TIMEOUT(Pane(), QStringLiteral("Operations:0"), 5000);
        QVERIFY(CloseConnection()->isEnabled());
        // The first connection to a new name puts the server into the store.
        ServerRecord stored;
        QVERIFY(GetServerRecord("Full", stored));

        // The user answers: OK to the library's report of the worker's login refused with 421,
        // Yes to the worker's question, asked while the window counts the worker. By then the
        // local file exists, so the retry asks about it while it holds the browsing connection.
        QString asked;
        QString paneWhileAsked;
        bool closeWhileAsked = true;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto* dialog = qobject_cast<OverwriteDialog*>(modal)) {
                closeWhileAsked = CloseConnection()->isEnabled();
                CloseConnection()->trigger();
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("overwrite")), Qt::LeftButton);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(QMessageBox::Yes)) {
                asked = box->text();
                paneWhileAsked = Pane();
                WriteFileBytes(local.file("report.bin"), "old");
                box->button(QMessageBox::Yes)->click();
            } else if (box) {
                box->accept();
            }
        });
        user.start(10);
        StartOperation(DownloadOf("Full", "/report.bin", local.file("report.bin")));
        QTRY_VERIFY_WITH_TIMEOUT(NoWorkerLeft() && asked.contains(QStringLiteral("same connection")), 15000);
        QCOMPARE(paneWhileAsked, QStringLiteral("Operations:1"));
        QVERIFY(!closeWhileAsked);
        QCOMPARE(ReadFileBytes(local.file("report.bin")), content);
        QVERIFY(ConnectionList.IsConnected("Full"));
        QTRY_VERIFY(CloseConnection()->isEnabled());
        QCOMPARE(Pane(), QStringLiteral("Operations:0"));
    }

    void retryWhileTheTreeListsIsRefused()
    {
        // Logs in, then leaves the tree's listing of the start folder unanswered.
        ScriptedServer server;
        // A server without TLS: a new server's connection asks for it first, then logs in plain.
        server.Send("220 ready\r\n").Expect("AUTH TLS").Send("500 AUTH not understood\r\n");
        server.Expect("USER").Send("331 password\r\n").Expect("PASS").Send("230 in\r\n").RefuseFeat();
        server.Expect("PWD").Send("257 \"/\"\r\n").Expect("CWD").Hang();
        server.Start();
        QVERIFY(ConnectAndSelect("Held", server.port()));
        QTRY_COMPARE(server.Received().size(), std::size_t{6});

        QStringList said;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&said] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
                said << box->text();
                box->accept();
            }
        });
        user.start(10);
        // What workers do once the server refused their logins: with 421 (the user agreed to
        // run the download over the browsing connection), and with another code.
        TempDir local;
        OperationRequest request = DownloadOf("Held", "/f.bin", local.file("f.bin"));
        for (std::uint32_t id : {77u, 78u}) {
            request.operationId = id;
            PendingRequestList.Append(request);
        }
        m_host->RetrySameConnection(530, 78);
        m_host->RetrySameConnection(421, 77);
        QCOMPARE(PendingRequestList.Count(), std::size_t{2}); // posted, not run at once
        QTRY_COMPARE(PendingRequestList.Count(), std::size_t{0});
        QCOMPARE(said, QStringList{QString::fromLatin1(OperationText::kConnectionBusy)});
        QVERIFY(!std::filesystem::exists(local.file("f.bin")));

        // A listing does not hold Close Connection, which ends it; the library reports the
        // cancelled read.
        QVERIFY(CloseConnection()->isEnabled());
        CloseConnection()->trigger();
        QVERIFY(!ConnectionList.IsConnected("Held"));
        QTRY_VERIFY(NoWorkerLeft());
    }
};

QTEST_MAIN(WholeWindowTest)
#include "WholeWindowTest.moc"
