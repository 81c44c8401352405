// The two panes against real servers: connecting through the dialog, browsing, Up One Level,
// failed and cancelled logins, disconnecting, the list's texts, marks and the folder watch.
#include "BrowseTestSupport.h"
#include "PyFtpd.h"
#include "ScriptedServer.h"

#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "tree/BrowsePanes.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QtTest>

#include <filesystem>

using tarvo::test::PyFtpd;
using tarvo::test::WriteFileBytes;

class BrowseTest : public QObject {
    Q_OBJECT

private:
    QStringList RootTexts() const
    {
        QStringList texts;
        for (int row = 0; row < m_tree->Model()->rowCount(); ++row)
            texts << m_tree->Model()->index(row, 0).data().toString();
        return texts;
    }

    QStringList ListColumn(int column) const
    {
        QStringList texts;
        const CFileListModel* model = m_list->Model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }

    int RowNamed(const QString& name) const
    {
        return static_cast<int>(ListColumn(CFileListModel::NameColumn).indexOf(name));
    }

    QModelIndex ChildNamed(const QModelIndex& parent, const QString& text) const
    {
        for (int row = 0; row < m_tree->Model()->rowCount(parent); ++row) {
            if (m_tree->Model()->index(row, 0, parent).data().toString() == text)
                return m_tree->Model()->index(row, 0, parent);
        }
        return {};
    }

    bool Connect(const QString& name, unsigned port, const QString& password = QStringLiteral("secret"))
    {
        QSignalSpy done(m_tree.get(), &CPathView::ConnectionCompleted);
        AnswerConnectDialog(this, {name, QStringLiteral("127.0.0.1"), QStringLiteral("user"), password, port});
        m_tree->OnNewConnection();
        return Fired(done) && done.last().at(1).toBool();
    }

    // Selects `node` (or runs `step`) and waits until the list is filled again.
    template <typename Step>
    bool Filled(Step step)
    {
        QSignalSpy fill(m_list.get(), &CFileView::FillFinished);
        step();
        return Fired(fill);
    }
    bool Select(const QModelIndex& node)
    {
        return Filled([&] { m_tree->setCurrentIndex(node); });
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

    void newServerGoesToTreeInOrderAndToStore()
    {
        PyFtpd server;
        for (const char* name : {"Beta", "delta"}) {
            ServerRecord record;
            record.name = name;
            record.address = "127.0.0.1";  // stored only, never connected
            ServerMap[name] = record;
        }
        m_tree->FillTree();
        QCOMPARE(RootTexts(), QStringList({"My Computer", "Beta", "delta"}));

        QVERIFY(Connect(QStringLiteral("charlie"), server.port()));
        QCOMPARE(RootTexts(), QStringList({"My Computer", "Beta", "charlie", "delta"}));
        const QModelIndex node = m_tree->ServerIndex(QStringLiteral("charlie"));
        QCOMPARE(ChildNamed(node, QStringLiteral("/")).isValid(), true);
        QVERIFY(ServerMap.count("charlie"));
        QCOMPARE(ServerMap["charlie"].userName, std::string("user"));
        QVERIFY(!ReadServerHistory("charlie").isEmpty());
        QCOMPARE(OpenSettingsStore()->value(QStringLiteral("Servers/charlie/IP")).toString(), QStringLiteral("127.0.0.1"));
        QTRY_COMPARE(m_host.Running(), 0);
    }

    void browsesIntoAFolderAndBack()
    {
        PyFtpd server;
        std::filesystem::create_directories(server.root() + "/pub/incoming");
        WriteFileBytes(server.root() + "/pub/readme.txt", "hello");
        QVERIFY(Connect(QStringLiteral("Demo"), server.port()));
        const QModelIndex start = ChildNamed(m_tree->ServerIndex(QStringLiteral("Demo")), QStringLiteral("/"));
        // Opening a node lists its subfolders into the tree only.
        QSignalSpy listed(m_tree.get(), &CPathView::ListingFinished);
        m_tree->expand(start);
        QVERIFY(Fired(listed));
        QVERIFY(ChildNamed(start, QStringLiteral("pub")).isValid());
        QVERIFY(m_list->Root() != QStringLiteral("Demo"));
        QVERIFY(Select(start));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"pub"}));

        QVERIFY(Filled([&] { m_tree->OpenChildFolder(QStringLiteral("pub")); }));
        QCOMPARE(m_tree->RemotePathOf(), QStringLiteral("/pub"));
        QCOMPARE(m_list->CurrentFolder(), QStringLiteral("/pub"));
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"incoming", "readme.txt"}));

        QVERIFY(Filled([&] { m_tree->OnUpOneLevel(); }));
        QCOMPARE(m_tree->currentIndex(), start);
        QCOMPARE(ListColumn(CFileListModel::NameColumn), QStringList({"pub"}));
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
            m_tree->OnUpOneLevel();  // to the server node, which lists nothing new
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
        QVERIFY(!m_ui.Messages().empty());
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
        AnswerConnectDialog(this, {QStringLiteral("Silent"), QStringLiteral("127.0.0.1"), {}, {}, silent.port()});
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

    void listTextsAndMarks()
    {
        PyFtpd server;
        const std::string root = server.root();
        WriteFileBytes(root + "/empty", "");
        WriteFileBytes(root + "/small.txt", std::string(1023, 'a'));
        WriteFileBytes(root + "/two.bin", std::string(2048, 'b'));
        WriteFileBytes(root + "/README", "read me");
        WriteFileBytes(root + "/archive.TAR", "tar");
        std::filesystem::create_directory(root + "/zeta");
        std::filesystem::create_symlink("small.txt", root + "/latest");
        QVERIFY(Connect(QStringLiteral("Texts"), server.port()));
        const QModelIndex start = m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("Texts")));
        QVERIFY(Select(start));

        // Folders first, then files, then links; names ignoring case.
        QCOMPARE(ListColumn(CFileListModel::NameColumn),
                 QStringList({"zeta", "archive.TAR", "empty", "README", "small.txt", "two.bin", "latest"}));
        QCOMPARE(ListColumn(CFileListModel::SizeColumn), QStringList({"", "1 KB", "1 KB", "1 KB", "1 KB", "2 KB", "1 KB"}));
        QCOMPARE(ListColumn(CFileListModel::TypeColumn),
                 QStringList({"File Folder", "tar File", " File", " File", "txt File", "bin File", "Link to small.txt"}));
        const CFileListModel* model = m_list->Model();
        QCOMPARE(model->data(model->index(RowNamed("latest"), 0), CFileListModel::OverlayRole).toInt(), 2);

        // A mark outlives a change of folder.
        const int readme = RowNamed(QStringLiteral("README"));
        QVERIFY(m_list->ToggleMark(readme));
        QCOMPARE(MarkTable.count("/README"), std::size_t{1});
        QCOMPARE(MarkTable["/README"].serverName, std::string("Texts"));
        QVERIFY(Filled([&] { m_tree->OpenChildFolder(QStringLiteral("zeta")); }));
        QVERIFY(Filled([&] { m_tree->OnUpOneLevel(); }));
        const QModelIndex again = model->index(RowNamed(QStringLiteral("README")), 0);
        QCOMPARE(model->data(again, CFileListModel::StateImageRole).toInt(), 2);
        QCOMPARE(model->data(again, CFileListModel::OverlayRole).toInt(), 4);
        m_list->SetStateIconsShown(true);
        QCOMPARE(model->data(again, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model->data(again, CFileListModel::OverlayRole).toInt(), 0);
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
};

QTEST_MAIN(BrowseTest)
#include "BrowseTest.moc"
