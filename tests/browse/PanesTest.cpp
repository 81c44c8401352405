// The tree and the list without a server: the places, the notices a selection can give, Close
// Connection and the view modes as commands, the keys of server nodes; and as tables, listing
// records to rows and the paths of tree nodes. Connections here never log in; the tree is
// only told that they completed.
#include "BrowseTestSupport.h"

#include "app/BrowsePanes.h"
#include "dialogs/CommandIds.h"
#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "listing/FileRow.h"
#include "listing/TreePaths.h"
#include "servers/ServerMap.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include "QorFtp.h"

#include <QAction>
#include <QDir>
#include <QTreeView>
#include <QtTest>

#include <map>

namespace {

_Qor_Ftp_FileData Record(int type, const char* name, std::uint64_t size = 0)
{
    _Qor_Ftp_FileData record;
    record.Type = type;
    record.Name = name;
    record.Size = size;
    record.Date = "Jan 02 12:34";
    return record;
}

} // namespace

class PanesTest : public QObject {
    Q_OBJECT

private:
    QStringList ListTexts() const { return ColumnTexts(m_list->Model()); }
    void Completed(const char* name)
    {
        ServerRecord record;
        record.name = name;
        record.address = "127.0.0.1";
        m_tree->WM_CONNECT_DONE(record, MakeBrowsingConnection());
    }
    // Presses `key` on the tree; returns the name the connect dialog opened with, if one opened.
    QString DialogAfterKey(Qt::Key key)
    {
        QString opened = QStringLiteral("(none)");
        QObject scope;
        WhenModalShows<CConnectDlg>(&scope, [&opened](CConnectDlg* dialog) {
            opened = dialog->findChild<QComboBox*>(QStringLiteral("1007"))->currentText();
            dialog->reject();
        });
        QTest::keyClick(m_tree.get(), key);
        return opened;
    }

    TemporarySettings m_settings;
    RecordingUi m_ui;
    std::unique_ptr<CPathView> m_tree;
    std::unique_ptr<CFileView> m_list;
    // The frame's commands, as the program wires them.
    std::map<int, QAction> m_actions;

private slots:
    void init()
    {
        QorFtpSetUi(&m_ui);
        ServerMap.clear();
        MarkTable.clear();
        for (const char* name : {"beta", "Delta"}) {
            ServerRecord record;
            record.name = name;
            ServerMap[name] = record;
        }
        m_tree = std::make_unique<CPathView>();
        m_list = std::make_unique<CFileView>();
        LinkPanes(m_tree.get(), m_list.get());
        ConnectPaneCommands(m_tree.get(), m_list.get(), [this](int id) { return &m_actions[id]; });
    }

    void cleanup()
    {
        m_tree.reset();
        m_list.reset();
        m_actions.clear();
        QorFtpSetUi(nullptr);
    }

    void myComputerHoldsTheRootAndHome()
    {
        const QModelIndex myComputer = m_tree->MyComputerIndex();
        QCOMPARE(myComputer.data().toString(), QStringLiteral("My Computer"));
        QCOMPARE(ColumnTexts(m_tree->Model(), 0, myComputer).mid(0, 2),
                 QStringList({"File System (/)", QStringLiteral("Home (%1)").arg(QDir::homePath())}));
        QCOMPARE(m_tree->LocalPathOf(myComputer), QString());

        QTemporaryDir folder;
        const QModelIndex node = m_tree->SelectLocalPath(folder.path());
        QVERIFY(node.isValid());
        QCOMPARE(m_tree->LocalPathOf(node), QDir::cleanPath(folder.path()));
        QCOMPARE(m_tree->ServerNameOf(node), QStringLiteral("My Computer"));
    }

    void selectionNoticesAndCloseConnection()
    {
        QAction& close = m_actions[Command::Disconnect];
        Completed("srv");
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("beta")));
        QCOMPARE(ListTexts(), QStringList({"Not Connected to: beta"}));
        QVERIFY(!close.isEnabled());

        // A transfer over the browsing connection (the same-connection retry): its folders show
        // a notice instead of a listing, and Close Connection waits until the transfer ends.
        ConnectionList.SetConnectionBusy("srv", 1);
        QCOMPARE(ConnectionList.IsConnectionBusy("srv"), 1);
        m_tree->setCurrentIndex(m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("srv"))));
        QCOMPARE(ListTexts(), QStringList({"Downloading", "or", "Uploading", "Using the same", "Connection!"}));
        QCOMPARE(m_list->ToggleMark(0), false);
        QVERIFY(MarkTable.empty());
        QVERIFY(!close.isEnabled());
        for (int busy : {0, 1, 0}) {
            ConnectionList.SetConnectionBusy("srv", busy);
            QCOMPARE(ConnectionList.IsConnectionBusy("srv"), busy);
            // A click that comes before the window has heard of the transfer is refused too.
            if (busy)
                close.trigger();
            QVERIFY(ConnectionList.IsConnected("srv"));
            QTRY_COMPARE(close.isEnabled(), busy == 0);
        }
        close.trigger();
        QVERIFY(!ConnectionList.IsConnected("srv"));
        QCOMPARE(ConnectionList.IsConnectionBusy("srv"), 1); // no connection counts as busy
    }

    void enterConnectsOnlyServersNotConnected()
    {
        Completed("srv");
        ConnectionList.SetConnectionBusy("srv", 1); // so selecting it lists nothing
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("srv")));
        QCOMPARE(DialogAfterKey(Qt::Key_Return), QStringLiteral("(none)"));
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("Delta")));
        QCOMPARE(DialogAfterKey(Qt::Key_Return), QStringLiteral("Delta"));
    }

    void viewModesFollowTheirCommands()
    {
        using Mode = CFileView::ViewMode;
        QCOMPARE(m_list->CurrentViewMode(), Mode::List);
        const std::pair<int, Mode> modes[] = {{Command::Details, Mode::Details},
                                              {Command::LargeIcons, Mode::LargeIcons},
                                              {Command::SmallIcons, Mode::SmallIcons},
                                              {Command::List, Mode::List}};
        for (const auto& [command, mode] : modes) {
            m_actions[command].trigger();
            QCOMPARE(m_list->CurrentViewMode(), mode);
            for (const auto& other : modes)
                QCOMPARE(m_actions[other.first].isChecked(), other.first == command);
        }
        m_actions[Command::Details].trigger();
        auto* details = qobject_cast<QTreeView*>(m_list->CurrentView());
        QVERIFY(details && details->model() == m_list->Model());
        QStringList headers;
        for (int column = 0; column < m_list->Model()->columnCount(); ++column)
            headers << m_list->Model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Name", "Size", "Type", "Modified"}));
    }

    void emptyListingIsOneNotice()
    {
        m_list->ShowRows(QStringLiteral("srv"), QStringLiteral("/empty"), {});
        QCOMPARE(ListTexts(), QStringList({"No Files"}));
        const QModelIndex row = m_list->Model()->index(0, 0);
        QCOMPARE(row.data(CFileListModel::ItemDataRole).toInt(), MESSAGE_ROW_DATA);
        QVERIFY(!row.data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(m_list->Model()->Item(0), nullptr);
    }

    void remoteRows_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<qulonglong>("size");
        QTest::addColumn<int>("showName");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("itemName");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("typeText");

        QTest::newRow("0 bytes") << 0 << "a" << 0ull << 0 << "a"
                                 << "a"
                                 << "1 KB"
                                 << " File";
        QTest::newRow("2047 bytes") << 0 << "b.txt" << 2047ull << 0 << "b.txt"
                                    << "b.txt"
                                    << "1 KB"
                                    << "txt File";
        QTest::newRow("5 GiB") << 0 << "disk.img" << (5ull << 30) << 0 << "disk.img"
                               << "disk.img"
                               << "5242880 KB"
                               << "img File";
        QTest::newRow("upper case") << 0 << "readme.txt" << 1ull << 1 << "README.TXT"
                                    << "readme.txt"
                                    << "1 KB"
                                    << "txt File";
        QTest::newRow("lower case") << 0 << "Notes.TXT" << 1ull << 2 << "notes.txt"
                                    << "Notes.TXT"
                                    << "1 KB"
                                    << "txt File";
        QTest::newRow("folder keeps its case") << 1 << "Docs" << 4096ull << 1 << "Docs"
                                               << "Docs"
                                               << ""
                                               << "File Folder";
        QTest::newRow("link") << 2 << "bin -> usr/bin" << 7ull << 0 << "bin"
                              << "bin"
                              << "1 KB"
                              << "Link to usr/bin";
        QTest::newRow("special file") << 3 << "fifo" << 0ull << 0 << "fifo"
                                      << "fifo"
                                      << "1 KB"
                                      << "Link to ";
    }

    void remoteRows()
    {
        QFETCH(int, type);
        QFETCH(QString, listed);
        QFETCH(qulonglong, size);
        QFETCH(int, showName);
        const std::string name = listed.toStdString();
        const std::optional<FileRow> row = MakeRemoteRow(Record(type, name.c_str(), size), showName);
        QVERIFY(row);
        QTEST(row->shownName, "shown");
        QTEST(QString::fromStdString(row->item.name), "itemName");
        QTEST(row->item.kind == ITEM_FOLDER ? QString() : SizeText(row->item.size), "sizeText");
        QTEST(row->typeText, "typeText");
        QCOMPARE(row->modified, QStringLiteral("Jan 02 12:34"));
    }

    void entriesNotShown()
    {
        for (const char* name : {".", "..", "shortcut.LNK"})
            QVERIFY(!MakeRemoteRow(Record(name[0] == '.' ? 1 : 0, name), 0));
        QVERIFY(!MakeRemoteRow(Record(2, "x -> lnk"), 0));
    }

    void nodePaths()
    {
        QCOMPARE(ServerNameOfTexts({"a/b server", "/pub"}), QStringLiteral("a/b server"));
        QCOMPARE(RemotePathOfTexts({"srv", "/pub", "incoming"}, {}), QStringLiteral("/pub/incoming"));
        QCOMPARE(RemotePathOfTexts({"srv", "/", "bin"}, {}), QStringLiteral("/bin"));
        QCOMPARE(RemotePathOfTexts({"srv"}, QStringLiteral("/home/ann")), QStringLiteral("/home/ann"));
        QCOMPARE(LocalPathOfTexts(QStringLiteral("/home/ann"), {"Documents", "x"}),
                 QStringLiteral("/home/ann/Documents/x"));
        QCOMPARE(LocalPathOfTexts(QStringLiteral("/"), {"tmp"}), QStringLiteral("/tmp"));
        QCOMPARE(LocalPathOfTexts({}, {}), QString());
    }

    void startFolderOneLevelUp_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("up"); // empty: stays
        QTest::newRow("two levels") << "/pub/incoming"
                                    << "/pub";
        QTest::newRow("one level") << "/pub"
                                   << "/";
        QTest::newRow("root") << "/"
                              << "";
        QTest::newRow("trailing slash") << "/pub/incoming/"
                                        << "/pub";
        QTest::newRow("backslashes") << "C:\\data\\x"
                                     << "C:\\data";
        QTest::newRow("no separator") << "home"
                                      << "";
    }

    void startFolderOneLevelUp()
    {
        QFETCH(QString, directory);
        QFETCH(QString, up);
        QCOMPARE(QString::fromStdString(ParentStartDirectory(directory.toStdString()).value_or(std::string())), up);
    }
};

QTEST_MAIN(PanesTest)
#include "PanesTest.moc"
