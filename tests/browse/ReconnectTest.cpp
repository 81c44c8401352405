// Sessions that outlast the server's idle time-out: pyftpdlib closes a session idle for 2 s; the
// next refresh or folder opened logs in again and lands where the user was, a refused login
// leaves the server disconnected, and keep-alive commands hold an idle session open until the
// idleness limit.
#include "BrowseTestSupport.h"
#include "PyFtpd.h"

#include "app/BrowsePanes.h"
#include "filelist/CFileView.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "settings/Settings.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QScopeGuard>
#include <QtTest>

#include <algorithm>
#include <filesystem>

using tarvo::test::PyFtpd;
using tarvo::test::PyFtpdOptions;
using tarvo::test::WriteFileBytes;

namespace {

PyFtpdOptions ClosingIdleSessions()
{
    PyFtpdOptions options;
    options.idleTimeoutSeconds = 2;
    return options;
}

} // namespace

class ReconnectTest : public QObject {
    Q_OBJECT

private:
    QStringList ListNames() const { return ColumnTexts(m_list->Model(), CFileListModel::NameColumn); }
    QModelIndex ServerNode() const { return m_tree->ServerIndex(QStringLiteral("Idle")); }
    QModelIndex StartNode() const { return m_tree->Model()->index(0, 0, ServerNode()); }
    int Noops() const
    {
        const std::vector<std::string> trace = m_ui.Traced();
        return static_cast<int>(std::count(trace.begin(), trace.end(), std::string("> NOOP")));
    }
    bool ShownLost() const { return ServerNode().data(CPathView::LostRole).toBool(); }

    bool Connect(unsigned port)
    {
        QSignalSpy done(m_tree.get(), &CPathView::ConnectionCompleted);
        AnswerConnectDialog(this, QStringLiteral("Idle"), port, QStringLiteral("user"), QStringLiteral("secret"));
        m_tree->OnNewConnection();
        return Fired(done) && done.last().at(1).toBool();
    }
    template <typename Step> bool Filled(Step step)
    {
        QSignalSpy fill(m_list.get(), &CFileView::FillFinished);
        step();
        return Fired(fill);
    }

    TemporarySettings m_settings;
    RecordingHost m_host;
    RecordingUi m_ui;
    std::unique_ptr<CPathView> m_tree;
    std::unique_ptr<CFileView> m_list;

private slots:
    void init()
    {
        SetOperationHost(&m_host);
        QorFtpSetUi(&m_ui);
        ServerMap.clear();
        OperationStatusList.Clear();
        m_tree = std::make_unique<CPathView>();
        m_list = std::make_unique<CFileView>();
        LinkPanes(m_tree.get(), m_list.get());
    }

    void cleanup()
    {
        m_tree.reset();
        m_list.reset();
        QorFtpSetUi(nullptr);
        SetOperationHost(nullptr);
    }

    void nextUseAfterTheIdleCloseLogsInAgain_data()
    {
        QTest::addColumn<bool>("openFolder");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("logins");
        QTest::newRow("refresh") << false << false << QStringList({"sub", "top.txt"}) << 2;
        QTest::newRow("open a folder") << true << false << QStringList({"inner.txt"}) << 2;
        QTest::newRow("login refused") << false << true << QStringList({"No Connection", "Not Connected to: Idle"})
                                       << 1;
    }

    void nextUseAfterTheIdleCloseLogsInAgain()
    {
        QFETCH(bool, openFolder);
        QFETCH(bool, refused);
        QFETCH(QStringList, shown);
        QFETCH(int, logins);
        PyFtpd server(ClosingIdleSessions());
        WriteFileBytes(server.root() + "/top.txt", "t");
        std::filesystem::create_directories(server.root() + "/sub");
        WriteFileBytes(server.root() + "/sub/inner.txt", "i");
        QVERIFY(Connect(server.port()));
        QVERIFY(Filled([&] { m_tree->setCurrentIndex(StartNode()); }));
        QCOMPARE(ListNames(), QStringList({"sub", "top.txt"}));
        QCOMPARE(server.Logins(), 1);

        // The server says 421 and closes; the tree shows it before anything is asked.
        QTRY_VERIFY_WITH_TIMEOUT(ShownLost(), 6000);
        QVERIFY(ConnectionList.IsConnected("Idle"));
        if (refused)
            ServerMap["Idle"].password = "changed meanwhile";
        const int messages = static_cast<int>(m_ui.Texts().size());
        QVERIFY(Filled([&] {
            if (openFolder)
                m_tree->setCurrentIndex(m_tree->Model()->index(0, 0, StartNode()));
            else
                m_tree->OnRefresh();
        }));
        QCOMPARE(ListNames(), shown);
        QCOMPARE(server.Logins(), logins);
        QCOMPARE(ConnectionList.IsConnected("Idle"), !refused);
        QCOMPARE(ShownLost(), false);
        // Only a refused login has anything to say; a quiet new login shows no message.
        QCOMPARE(static_cast<int>(m_ui.Texts().size()) > messages, refused);
        QTRY_COMPARE(m_host.Running(), 0);
        QCOMPARE(OperationStatusList.Count(), std::size_t{0});
    }

    void aFolderRemovedMeanwhileGivesWayToItsParent()
    {
        PyFtpd server(ClosingIdleSessions());
        WriteFileBytes(server.root() + "/top.txt", "t");
        std::filesystem::create_directories(server.root() + "/gone/deeper");
        QVERIFY(Connect(server.port()));
        QVERIFY(Filled([&] { m_tree->setCurrentIndex(StartNode()); }));
        const QModelIndex gone = m_tree->Model()->index(0, 0, StartNode());
        QVERIFY(Filled([&] { m_tree->setCurrentIndex(gone); }));
        QCOMPARE(ListNames(), QStringList({"deeper"}));
        QTRY_VERIFY_WITH_TIMEOUT(ShownLost(), 6000);
        std::filesystem::remove_all(server.root() + "/gone");
        m_tree->OnRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(m_tree->currentIndex(), StartNode(), 10000);
        QTRY_COMPARE(ListNames(), QStringList({"top.txt"}));
        QCOMPARE(server.Logins(), 2);
    }

    void keepAliveHoldsTheSessionUntilTheIdlenessLimit()
    {
        AppSettings settings = ProgramSettings();
        settings.keepAlive = 1;
        settings.keepAliveSeconds = 1;
        SetProgramSettings(settings);
        const auto restore = qScopeGuard([settings]() mutable {
            settings.keepAlive = 0;
            settings.keepAliveSeconds = 60;
            SetProgramSettings(settings);
        });
        m_tree->SetKeepAliveIdleLimit(std::chrono::seconds(7));
        PyFtpd server(ClosingIdleSessions());
        m_ui.tracing = true;
        QVERIFY(Connect(server.port()));
        QVERIFY(Filled([&] { m_tree->setCurrentIndex(StartNode()); }));

        // Past three of the server's idle time-outs, the session is still there.
        QTest::qWait(6500);
        QVERIFY(!ShownLost());
        QVERIFY(!IsKnownLost(*ConnectionList.SharedConnectionOf("Idle")));
        QCOMPARE(server.Logins(), 1);
        QVERIFY(Noops() >= 3);
        // After the limit the commands stop.
        QTest::qWait(1500);
        const int sent = Noops();
        QTest::qWait(2500);
        QCOMPARE(Noops(), sent);
    }
};

QTEST_MAIN(ReconnectTest)
#include "ReconnectTest.moc"
