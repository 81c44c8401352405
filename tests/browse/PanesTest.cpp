// The tree and the list without a server: the places, where servers go, the notices a
// selection can give, the keys of server nodes, and the list's view modes. Connections here
// never log in; the tree is only told that they completed.
#include "BrowseTestSupport.h"

#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "tree/BrowsePanes.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QDir>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <QtTest>

class PanesTest : public QObject {
    Q_OBJECT

private:
    QStringList RootTexts() const
    {
        QStringList texts;
        for (int row = 0; row < m_tree->Model()->rowCount(); ++row)
            texts << m_tree->Model()->index(row, 0).data().toString();
        return texts;
    }
    QStringList ListTexts() const
    {
        QStringList texts;
        for (int row = 0; row < m_list->Model()->rowCount(); ++row)
            texts << m_list->Model()->index(row, 0).data().toString();
        return texts;
    }
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
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&opened] {
            if (auto* dialog = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget())) {
                opened = dialog->findChild<QComboBox*>(QStringLiteral("1007"))->currentText();
                dialog->reject();
            }
        });
        watch.start(10);
        QTest::keyClick(m_tree.get(), key);
        return opened;
    }

    TemporarySettings m_settings;
    RecordingUi m_ui;
    std::unique_ptr<CPathView> m_tree;
    std::unique_ptr<CFileView> m_list;

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
    }

    void cleanup()
    {
        m_tree.reset();
        m_list.reset();
        QorFtpSetUi(nullptr);
    }

    void myComputerHoldsTheRootAndHome()
    {
        const QModelIndex myComputer = m_tree->MyComputerIndex();
        QCOMPARE(myComputer.data().toString(), QStringLiteral("My Computer"));
        QCOMPARE(m_tree->Model()->index(0, 0, myComputer).data().toString(), QStringLiteral("File System (/)"));
        QCOMPARE(m_tree->Model()->index(1, 0, myComputer).data().toString(),
                 QStringLiteral("Home (%1)").arg(QDir::homePath()));
        QCOMPARE(m_tree->LocalPathOf(myComputer), QString());

        QTemporaryDir folder;
        const QModelIndex node = m_tree->SelectLocalPath(folder.path());
        QVERIFY(node.isValid());
        QCOMPARE(m_tree->LocalPathOf(node), QDir::cleanPath(folder.path()));
        QCOMPARE(m_tree->ServerNameOf(node), QStringLiteral("My Computer"));
    }

    void newServersTakeTheirSortedPlace()
    {
        QCOMPARE(RootTexts(), QStringList({"My Computer", "beta", "Delta"}));
        Completed("delta");  // equal but for case: before the one already there
        Completed("Alpha");
        QCOMPARE(RootTexts(), QStringList({"My Computer", "Alpha", "beta", "delta", "Delta"}));
        QVERIFY(ServerMap.count("delta") && ServerMap.count("Alpha"));
        QVERIFY(!ReadServerHistory("Alpha").isEmpty());
        const QModelIndex alpha = m_tree->ServerIndex(QStringLiteral("Alpha"));
        QCOMPARE(m_tree->Model()->index(0, 0, alpha).data().toString(), QStringLiteral("/"));
        QCOMPARE(m_tree->RemotePathOf(alpha), QStringLiteral("/"));
        QVERIFY(m_tree->isExpanded(alpha));
    }

    void selectionNotices()
    {
        Completed("srv");
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("beta")));
        QCOMPARE(ListTexts(), QStringList({"Not Connected to: beta"}));

        ConnectionList.SetConnectionBusy("srv", 1);
        QCOMPARE(ConnectionList.IsConnectionBusy("srv"), 1);
        m_tree->setCurrentIndex(m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("srv"))));
        QCOMPARE(ListTexts(), QStringList({"Downloading", "or", "Uploading", "Using the same", "Connection!"}));
        QCOMPARE(m_list->ToggleMark(0), false);
        QVERIFY(MarkTable.empty());
        ConnectionList.SetConnectionBusy("srv", 0);
        QCOMPARE(ConnectionList.IsConnectionBusy("srv"), 0);
        QCOMPARE(ConnectionList.IsConnectionBusy("nobody"), 1);
    }

    void enterConnectsOnlyServersNotConnected()
    {
        Completed("srv");
        ConnectionList.SetConnectionBusy("srv", 1);  // so selecting it lists nothing
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("srv")));
        QCOMPARE(DialogAfterKey(Qt::Key_Return), QStringLiteral("(none)"));
        m_tree->setCurrentIndex(m_tree->ServerIndex(QStringLiteral("Delta")));
        QCOMPARE(DialogAfterKey(Qt::Key_Return), QStringLiteral("Delta"));
    }

    void viewModes()
    {
        QSignalSpy changed(m_list.get(), &CFileView::ViewModeChanged);
        QCOMPARE(m_list->CurrentViewMode(), CFileView::ViewMode::List);
        m_list->SetViewMode(CFileView::ViewMode::Details);
        auto* details = qobject_cast<QTreeView*>(m_list->CurrentView());
        QVERIFY(details);
        QCOMPARE(details->model(), m_list->Model());
        QStringList headers;
        for (int column = 0; column < details->header()->count(); ++column)
            headers << m_list->Model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Name", "Size", "Type", "Modified"}));

        m_list->SetViewMode(CFileView::ViewMode::LargeIcons);
        auto* icons = qobject_cast<QListView*>(m_list->CurrentView());
        QVERIFY(icons);
        QCOMPARE(icons->viewMode(), QListView::IconMode);
        QCOMPARE(details->model(), nullptr);
        m_list->SetViewMode(CFileView::ViewMode::List);
        QCOMPARE(icons->viewMode(), QListView::ListMode);
        QCOMPARE(icons->flow(), QListView::TopToBottom);
        QCOMPARE(changed.count(), 3);
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
};

QTEST_MAIN(PanesTest)
#include "PanesTest.moc"
