// The two panes against real servers: connecting through the dialog and where new servers go,
// browsing, Up One Level, failed and cancelled logins, disconnecting, the list's texts, marks and
// the folder watch; a server node's encryption; and sessions that outlast the server's idle
// time-out (a closed session is logged in again on the next use, keep-alive holds one open).
#include "BrowseTestSupport.h"
#include "PyFtpd.h"
#include "ScriptedServer.h"
#include "TestCertificates.h"

#include "app/BrowsePanes.h"
#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "operations/CommandThread.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
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
using tarvo::test::ReadFileBytes;
using tarvo::test::TempDir;
using tarvo::test::TestCertificates;
using tarvo::test::WriteFileBytes;

namespace {

// Trusts every certificate it is asked about, and keeps their fingerprints.
class TrustingUi : public RecordingUi {
public:
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        fingerprints.push_back(certificate.fingerprint);
        return true;
    }
    std::vector<std::string> fingerprints;
};

PyFtpdOptions ClosingIdleSessions()
{
    PyFtpdOptions options;
    options.idleTimeoutSeconds = 2;
    return options;
}

} // namespace

class BrowseTest : public QObject {
    Q_OBJECT

private:
    QStringList RootTexts() const { return ColumnTexts(m_tree->Model()); }
    QStringList ListColumn(int column) const { return ColumnTexts(m_list->Model(), column); }
    int RowNamed(const QString& name) const
    {
        return static_cast<int>(ListColumn(CFileListModel::NameColumn).indexOf(name));
    }

    bool Connect(const QString& name, unsigned port, const QString& password = QStringLiteral("secret"))
    {
        QSignalSpy done(m_tree.get(), &CPathView::ConnectionCompleted);
        AnswerConnectDialog(this, name, port, QStringLiteral("user"), password);
        m_tree->OnNewConnection();
        return Fired(done) && done.last().at(1).toBool();
    }

    // Selects `node` (or runs `step`) and waits until the list is filled again.
    template <typename Step> bool Filled(Step step)
    {
        QSignalSpy fill(m_list.get(), &CFileView::FillFinished);
        step();
        return Fired(fill);
    }
    bool Select(const QModelIndex& node)
    {
        return Filled([&] { m_tree->setCurrentIndex(node); });
    }
    QModelIndex ServerNode(const QString& name = QStringLiteral("Idle")) const { return m_tree->ServerIndex(name); }
    QModelIndex StartNode() const { return m_tree->Model()->index(0, 0, ServerNode()); }
    bool ShownLost() const { return ServerNode().data(CPathView::LostRole).toBool(); }
    int Noops() const
    {
        const std::vector<std::string> trace = m_ui.Traced();
        return static_cast<int>(std::count(trace.begin(), trace.end(), std::string("> NOOP")));
    }

    TemporarySettings m_settings;
    RecordingHost m_host;
    TrustingUi m_ui;
    std::unique_ptr<CPathView> m_tree;
    std::unique_ptr<CFileView> m_list;

private slots:
    void init()
    {
        SetOperationHost(&m_host);
        QorFtpSetUi(&m_ui);
        ServerMap.clear();
        MarkTable.clear();
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

    void newServersTakeTheirSortedPlaceAndGoToTheStore()
    {
        PyFtpd server;
        for (const char* name : {"Beta", "delta"}) {
            ServerRecord record;
            record.name = name;
            record.address = "127.0.0.1"; // stored only, never connected
            ServerMap[name] = record;
        }
        m_tree->FillTree();
        QCOMPARE(RootTexts(), QStringList({"My Computer", "Beta", "delta"}));

        QVERIFY(Connect(QStringLiteral("charlie"), server.port()));
        // Told without a login: a name equal but for case goes before the one already there.
        for (const char* name : {"Delta", "Alpha"}) {
            ServerRecord record;
            record.name = name;
            record.address = "127.0.0.1";
            m_tree->WM_CONNECT_DONE(record, MakeBrowsingConnection());
        }
        QCOMPARE(RootTexts(), QStringList({"My Computer", "Alpha", "Beta", "charlie", "Delta", "delta"}));
        const QModelIndex node = m_tree->ServerIndex(QStringLiteral("charlie"));
        QCOMPARE(ColumnTexts(m_tree->Model(), 0, node), QStringList({"/"}));
        QCOMPARE(m_tree->RemotePathOf(node), QStringLiteral("/"));
        QVERIFY(m_tree->isExpanded(node));
        QVERIFY(ServerMap.count("Delta") && ServerMap.count("Alpha"));
        QCOMPARE(ServerMap["charlie"].userName, std::string("user"));
        QVERIFY(!ReadServerHistory("charlie").isEmpty());
        QCOMPARE(OpenSettingsStore()->value(QStringLiteral("Servers/charlie/IP")).toString(),
                 QStringLiteral("127.0.0.1"));
        QTRY_COMPARE(m_host.Running(), 0);
    }

    void upOneLevelReRootsTheStartFolder()
    {
        tarvo::test::PyFtpdOptions options;
        options.startFolder = "/pub/incoming";
        tarvo::test::PyFtpd server(options);
        WriteFileBytes(server.root() + "/top.txt", "x");
        QVERIFY(Connect(QStringLiteral("Deep"), server.port()));
        const QModelIndex node = m_tree->ServerIndex(QStringLiteral("Deep"));
        const QModelIndex start = m_tree->Model()->index(0, 0, node);
        QCOMPARE(start.data().toString(), QStringLiteral("/pub/incoming"));
        QVERIFY(Select(start));
        QCOMPARE(m_list->Model()->data(m_list->Model()->index(0, 0)).toString(), QStringLiteral("No Files"));

        const struct {
            const char* folder;
            const char* shows;
        } steps[] = {{"/pub", "incoming"}, {"/", "pub"}};
        for (const auto& step : steps) {
            m_tree->OnUpOneLevel(); // to the server node, which lists nothing new
            QCOMPARE(m_tree->currentIndex(), node);
            QVERIFY(Filled([&] { m_tree->OnUpOneLevel(); }));
            QCOMPARE(m_tree->currentIndex(), start);
            QCOMPARE(start.data().toString(), QString::fromLatin1(step.folder));
            QVERIFY(ListColumn(CFileListModel::NameColumn).contains(QString::fromLatin1(step.shows)));
        }
        m_tree->OnUpOneLevel();
        m_tree->OnUpOneLevel();
        QCOMPARE(m_tree->currentIndex(), node);
        QCOMPARE(start.data().toString(), QStringLiteral("/"));
        QCOMPARE(ConnectionList.EntryOf("Deep")->startDirectory, std::string("/"));
    }

    void refusedLoginReportsAndEndsTheOperation()
    {
        PyFtpd server;
        const int started = m_host.Started();
        QVERIFY(!Connect(QStringLiteral("Wrong"), server.port(), QStringLiteral("not the password")));
        QVERIFY(!m_ui.Texts().empty());
        QTRY_COMPARE(m_host.Running(), 0);
        QCOMPARE(m_host.Started() - started, 1);
        QCOMPARE(OperationStatusList.Count(), std::size_t{0});
        QCOMPARE(ConnectionList.Count(), std::size_t{0});
        QVERIFY(!ServerMap.count("Wrong"));
        QVERIFY(!m_tree->ServerIndex(QStringLiteral("Wrong")).isValid());
    }

    void cancelReachesTheLogin()
    {
        // A server that accepts but never greets: only Cancel ends the login before the time-out.
        tarvo::test::ScriptedServer silent;
        silent.Hang();
        silent.Start();
        QSignalSpy done(m_tree.get(), &CPathView::ConnectionCompleted);
        AnswerConnectDialog(this, QStringLiteral("Silent"), silent.port());
        m_tree->OnNewConnection();
        QTRY_VERIFY(OperationStatusList.Count() == 1 && OperationStatusList.Snapshot().front().connection);
        const OperationStatus status = OperationStatusList.Snapshot().front();
        QCOMPARE(status.title, std::string("Connecting to Silent"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(OperationStatusList.Cancel(status.operationId));
        QVERIFY(Fired(done, 5000));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(done.last().at(1).toBool(), false);
        QTRY_COMPARE(m_host.Running(), 0);
    }

    void disconnectingOneOfTwoLeavesTheOther()
    {
        PyFtpd server;
        QVERIFY(Connect(QStringLiteral("One"), server.port()));
        QVERIFY(Connect(QStringLiteral("Two"), server.port()));
        const QModelIndex one = m_tree->ServerIndex(QStringLiteral("One"));
        QVERIFY(Select(m_tree->Model()->index(0, 0, one)));
        QorFtpConnection* oneConnection = ConnectionList.FindBrowsingConnection("One");
        QCOMPARE(m_tree->CurrentConnection(), oneConnection);

        m_tree->Disconnect(QStringLiteral("Two"));
        QCOMPARE(ConnectionList.Count(), std::size_t{1});
        QCOMPARE(m_tree->CurrentConnection(), oneConnection);
        QCOMPARE(m_tree->Model()->rowCount(one), 1);
        QCOMPARE(m_tree->Model()->rowCount(m_tree->ServerIndex(QStringLiteral("Two"))), 0);
        QCOMPARE(ListColumn(0), QStringList({"Not Connected to: Two"}));

        m_tree->setCurrentIndex(one);
        m_tree->OnDisconnect();
        QCOMPARE(m_tree->CurrentConnection(), nullptr);
        QCOMPARE(ListColumn(0), QStringList({"No Connection", "Not Connected to: One"}));
        QCOMPARE(m_list->Model()->data(m_list->Model()->index(0, 0), CFileListModel::ItemDataRole).toInt(),
                 MESSAGE_ROW_DATA);
    }

    void browsesAFolderWithItsTextsAndMarks()
    {
        PyFtpd server;
        const std::string root = server.root();
        WriteFileBytes(root + "/small.txt", std::string(1023, 'a'));
        WriteFileBytes(root + "/two.bin", std::string(2048, 'b'));
        WriteFileBytes(root + "/README", "read me");
        WriteFileBytes(root + "/archive.TAR", "tar");
        std::filesystem::create_directories(root + "/zeta/inner");
        WriteFileBytes(root + "/zeta/z.txt", "z");
        std::filesystem::create_symlink("small.txt", root + "/latest");
        // A link with its target needs LIST: pyftpdlib's MLSD lists a link as what it leads to.
        AppSettings settings = ProgramSettings();
        settings.useMlsd = 0;
        SetProgramSettings(settings);
        const auto restore = qScopeGuard([settings]() mutable {
            settings.useMlsd = 1;
            SetProgramSettings(settings);
        });
        QVERIFY(Connect(QStringLiteral("Texts"), server.port()));
        const QModelIndex start = m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("Texts")));
        // Opening a node lists its subfolders into the tree only.
        QSignalSpy listed(m_tree.get(), &CPathView::ListingFinished);
        m_tree->expand(start);
        QVERIFY(Fired(listed));
        QCOMPARE(ColumnTexts(m_tree->Model(), 0, start), QStringList({"zeta"}));
        QVERIFY(m_list->Root() != QStringLiteral("Texts"));
        QVERIFY(Select(start));

        // Folders first, then files, then links; names ignoring case.
        QCOMPARE(ListColumn(CFileListModel::NameColumn),
                 QStringList({"zeta", "archive.TAR", "README", "small.txt", "two.bin", "latest"}));
        QCOMPARE(ListColumn(CFileListModel::SizeColumn), QStringList({"", "1 KB", "1 KB", "1 KB", "2 KB", "1 KB"}));
        QCOMPARE(ListColumn(CFileListModel::TypeColumn),
                 QStringList({"File Folder", "tar File", " File", "txt File", "bin File", "Link to small.txt"}));
        const CFileListModel* model = m_list->Model();
        QCOMPARE(model->data(model->index(RowNamed("latest"), 0), CFileListModel::OverlayRole).toInt(), 2);

        // A mark outlives a change of folder.
        QVERIFY(m_list->ToggleMark(RowNamed(QStringLiteral("README"))));
        QCOMPARE(MarkTable.count("/README"), std::size_t{1});
        QCOMPARE(MarkTable["/README"].serverName, std::string("Texts"));
        QVERIFY(Filled([&] { m_tree->OpenChildFolder("zeta"); }));
        QCOMPARE(m_tree->RemotePathOf(), QStringLiteral("/zeta"));
        QCOMPARE(m_list->CurrentFolder(), QStringLiteral("/zeta"));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"inner", "z.txt"}));
        QVERIFY(Filled([&] { m_tree->OnUpOneLevel(); }));
        QCOMPARE(m_tree->currentIndex(), start);
        const QModelIndex again = model->index(RowNamed(QStringLiteral("README")), 0);
        QCOMPARE(model->data(again, CFileListModel::StateImageRole).toInt(), 2);
        QCOMPARE(model->data(again, CFileListModel::OverlayRole).toInt(), 4);
        m_list->SetStateIconsShown(true);
        QCOMPARE(model->data(again, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model->data(again, CFileListModel::OverlayRole).toInt(), 0);
    }

    // Names go back to the server in the bytes it sent; they are shown as UTF-8 when they are,
    // else as Latin-1 with a note.
    void namesThatAreNotUtf8()
    {
        PyFtpd server;
        const std::string folder = server.root() + "/caf\xe9";
        std::filesystem::create_directories(folder + "/inner");
        const struct {
            std::string bytes;
            const char* shown; // UTF-8
        } files[] = {{"cr\xe8me.txt", "cr\xc3\xa8me.txt"}, {"na\xc3\xafve.txt", "na\xc3\xafve.txt"}};
        for (const auto& file : files)
            WriteFileBytes(folder + "/" + file.bytes, file.bytes);
        QVERIFY(Connect(QStringLiteral("Bytes"), server.port()));
        const QModelIndex start = m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("Bytes")));
        QVERIFY(Select(start));
        const QString cafe = QString::fromUtf8("caf\xc3\xa9");
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({cafe}));
        const QModelIndex node = m_tree->Model()->index(0, 0, start);
        QCOMPARE(node.data().toString(), cafe);
        QCOMPARE(node.data(Qt::ToolTipRole).toString(), Latin1NameNote());

        // Its subfolders read into the tree, then opened from the list.
        QSignalSpy listed(m_tree.get(), &CPathView::ListingFinished);
        m_tree->expand(node);
        QVERIFY(Fired(listed));
        QCOMPARE(ColumnTexts(m_tree->Model(), 0, node), QStringList({"inner"}));
        CFileListModel* model = m_list->Model();
        QVERIFY(Filled([&] { emit m_list->CurrentView()->doubleClicked(model->index(0, 0)); }));
        QCOMPARE(m_tree->currentIndex(), node);
        QCOMPARE(m_list->CurrentFolder(), QStringLiteral("/") + cafe);

        TempDir local;
        for (const auto& file : files) {
            const int row = RowNamed(QString::fromUtf8(file.shown));
            QVERIFY(row >= 0);
            const QModelIndex cell = model->index(row, CFileListModel::NameColumn);
            QCOMPARE(cell.data(CFileListModel::ItemNameRole).toByteArray().toStdString(), file.bytes);
            QCOMPARE(cell.data(Qt::ToolTipRole).toString(), file.bytes != file.shown ? Latin1NameNote() : QString());
            OperationRequest request;
            request.kind = Download;
            request.sourceServer = "Bytes";
            request.file = model->PathOf(row);
            request.localPath = local.file(file.shown);
            QCOMPARE(StartOperation(request), 1);
            QVERIFY(WaitForOperations(std::chrono::seconds(30)));
            QVERIFY(std::filesystem::exists(request.localPath));
            QCOMPARE(ReadFileBytes(request.localPath), file.bytes);
        }
    }

    void watchedLocalFolderRefreshesOnce()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath(QStringLiteral("a.txt")).toStdString(), "a");
        QVERIFY(Filled([&] { QVERIFY(m_tree->SelectLocalPath(folder.path()).isValid()); }));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"a.txt"}));
        QVERIFY(m_list->IsWatching());

        QSignalSpy changed(m_list.get(), &CFileView::FolderChanged);
        QVERIFY(Filled([&] { WriteFileBytes(folder.filePath(QStringLiteral("b.txt")).toStdString(), "b"); }));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"a.txt", "b.txt"}));
        QTest::qWait(500);
        QCOMPARE(changed.count(), 1);
        QVERIFY(m_list->IsWatching());
    }

    void serverNodeShowsTheEncryption_data()
    {
        QTest::addColumn<bool>("tls");
        QTest::newRow("plain server") << false;
        QTest::newRow("TLS server") << true;
    }
    void serverNodeShowsTheEncryption()
    {
        QFETCH(bool, tls);
        TestCertificates certificates;
        PyFtpdOptions options;
        if (tls)
            options.tlsCertificate = certificates.server("selfsigned");
        PyFtpd server(options);
        m_ui.fingerprints.clear();
        QVERIFY(Connect(QStringLiteral("Site"), server.port()));
        const QModelIndex node = ServerNode(QStringLiteral("Site"));
        QVERIFY(node.isValid());
        QCOMPARE(node.data(CPathView::EncryptedRole).toBool(), tls);
        const QString tip = node.data(Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(QStringLiteral("TLSv1.")) == tls, qPrintable(tip));
        QVERIFY2(tip.contains(QStringLiteral("not encrypted")) == !tls, qPrintable(tip));
        QCOMPARE(m_ui.fingerprints.size(), std::size_t(tls ? 1 : 0));
        ServerMap.clear();
        LoadServers();
        QCOMPARE(ServerMap.at("Site").trustedFingerprint, tls ? m_ui.fingerprints.at(0) : std::string());
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
        QVERIFY(Connect(QStringLiteral("Idle"), server.port()));
        QVERIFY(Select(StartNode()));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"sub", "top.txt"}));
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
        QCOMPARE(ListColumn(CFileListModel::NameColumn), shown);
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
        QVERIFY(Connect(QStringLiteral("Idle"), server.port()));
        QVERIFY(Select(StartNode()));
        const QModelIndex gone = m_tree->Model()->index(0, 0, StartNode());
        QVERIFY(Select(gone));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"deeper"}));
        QTRY_VERIFY_WITH_TIMEOUT(ShownLost(), 6000);
        std::filesystem::remove_all(server.root() + "/gone");
        m_tree->OnRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(m_tree->currentIndex(), StartNode(), 10000);
        QTRY_COMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"top.txt"}));
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
        QVERIFY(Connect(QStringLiteral("Idle"), server.port()));
        QVERIFY(Select(StartNode()));

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

QTEST_MAIN(BrowseTest)
#include "BrowseTest.moc"
