// The file list's commands as a user triggers them in the window (the frame's actions, keys,
// the context menus and drops), for files and whole folders, against pyftpdlib, with every dialog
// answered by the recording interaction.
#include "BrowseTestSupport.h"

#include "dialogs/CommandIds.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"

#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <sys/stat.h>

using tarvo::test::PyFtpd;
using tarvo::test::ReadFileBytes;
using tarvo::test::RecordingInteraction;
using tarvo::test::TempDir;
using tarvo::test::WriteFileBytes;
namespace fs = std::filesystem;

class FileCommandsTest : public BrowseWindowTest {
    Q_OBJECT

private:
    QPoint RowPoint(const QString& name) const
    {
        const int row = static_cast<int>(Names().indexOf(name));
        return m_list->CurrentView()->visualRect(m_list->Model()->index(row, 0)).center();
    }
    QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }
    // Types `text` over the label editor once it is open, then Return (or Esc for an empty text).
    bool EditLabel(const QString& text)
    {
        if (!QTest::qWaitFor([&] { return Editor() != nullptr; }))
            return false;
        Editor()->setText(text);
        QTest::keyClick(Editor(), text.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        return true;
    }

private slots:
    void init() { StartWindow(); }
    void cleanup() { EndWindow(); }

    void deleteAsksPerRowUntilYesToAllOrCancel_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QStringList>("left");
        using R = DeleteConfirmResult;
        QTest::newRow("yes to all asks once")
            << QList<int>{int(R::YesToAll)} << 1 << QStringList{QStringLiteral("No Files")};
        QTest::newRow("yes then cancel deletes one")
            << QList<int>{int(R::Yes), int(R::Cancel)} << 2 << QStringList{"a.txt", "b.txt"};
        QTest::newRow("no keeps the row")
            << QList<int>{int(R::No), int(R::Yes), int(R::Yes)} << 3 << QStringList{"sub"};
    }
    void deleteAsksPerRowUntilYesToAllOrCancel()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, asked);
        QFETCH(QStringList, left);
        PyFtpd server;
        WriteFileBytes(server.root() + "/a.txt", "a");
        WriteFileBytes(server.root() + "/b.txt", "b");
        fs::create_directory(server.root() + "/sub");
        QVERIFY(Open(server));
        // Folders come first in the list: sub, a.txt, b.txt; the rows go in list order.
        SelectNamed({"a.txt", "b.txt", "sub"});
        for (int answer : answers)
            m_ask.deleteAnswers.push_back(static_cast<DeleteConfirmResult>(answer));
        QVERIFY(Trigger(Command::Delete));
        QCOMPARE(static_cast<int>(m_ask.Of("delete").size()), asked);
        QCOMPARE(m_ask.Of("delete").front(), std::string("Are you sure you want to delete 'sub'"));
        QCOMPARE(Names(), left);
        for (const char* name : {"a.txt", "b.txt", "sub"})
            QCOMPARE(fs::exists(server.root() + "/" + name), left.contains(QLatin1String(name)));
        // A removed folder leaves the tree too.
        const QModelIndex start = m_tree->Model()->index(0, 0, m_tree->ServerIndex(QStringLiteral("Local")));
        QCOMPARE(ColumnTexts(m_tree->Model(), 0, start).contains(QStringLiteral("sub")), left.contains("sub"));
    }

    void downloadPromptSavesTheRestWithoutAskingOnce()
    {
        PyFtpd server;
        for (const char* name : {"one.txt", "two.txt", "three.txt"})
            WriteFileBytes(server.root() + "/" + name, name);
        fs::create_directories(server.root() + "/sub/deeper");
        WriteFileBytes(server.root() + "/sub/deeper/in.txt", "in");
        TempDir local;
        QVERIFY(Open(server));
        // A folder is asked for as one entry (a '/' at its end) and comes whole; the files go beside it.
        SelectNamed({"sub", "one.txt", "three.txt", "two.txt"});
        DownloadAsAnswer first;
        first.accepted = true;
        first.path = local.path() + "/got";
        first.dontPrompt = true;
        m_ask.downloadAs = {first};
        QVERIFY(Trigger(Command::Download));
        QVERIFY(Arrived(local.path() + "/got/deeper/in.txt", "in"));
        QVERIFY(Arrived(local.path() + "/one.txt", "one.txt"));
        QVERIFY(Arrived(local.path() + "/three.txt", "three.txt"));
        QVERIFY(Arrived(local.path() + "/two.txt", "two.txt"));
        QCOMPARE(m_ask.Of("downloadas"), std::vector<std::string>{"sub/"});

        // The next run asks again; a cancelled prompt goes on with the next file.
        SelectNamed({"one.txt", "three.txt", "two.txt"});
        QVERIFY(Trigger(Command::Download));
        QCOMPARE(m_ask.Of("downloadas"), (std::vector<std::string>{"sub/", "one.txt", "three.txt", "two.txt"}));
    }

    void newFolderAndRenameByLabelEditing()
    {
        PyFtpd server;
        WriteFileBytes(server.root() + "/old.txt", "x");
        QVERIFY(Open(server));
        // Esc leaves no row behind.
        QVERIFY(Trigger(Command::NewFolder));
        QVERIFY(EditLabel({}));
        QTRY_COMPARE(Names(), QStringList{"old.txt"});

        QVERIFY(Trigger(Command::NewFolder));
        QVERIFY(EditLabel(QStringLiteral("made")));
        QTRY_VERIFY(fs::is_directory(server.root() + "/made"));
        QTRY_COMPARE(Names(), (QStringList{"old.txt", "made"}));

        // A name the server refuses removes the new row.
        QVERIFY(Trigger(Command::NewFolder));
        QVERIFY(EditLabel(QStringLiteral("made")));
        QTRY_COMPARE(Names(), (QStringList{"old.txt", "made"}));

        // Rename (F2): the label changes only with the refill.
        SelectNamed({"old.txt"});
        QTest::keyClick(m_list->CurrentView(), Qt::Key_F2);
        QVERIFY(Refilled([&] { QVERIFY(EditLabel(QStringLiteral("new.txt"))); }));
        QVERIFY(fs::exists(server.root() + "/new.txt") && !fs::exists(server.root() + "/old.txt"));
        QCOMPARE(Names(), (QStringList{"made", "new.txt"}));
    }

    void pasteOfDesktopFilesUploadsAndDamagedBlocksStartNothing()
    {
        PyFtpd server;
        TempDir local;
        const std::string bytes = tarvo::test::RandomBytes(300000, 7);
        WriteFileBytes(local.path() + "/up.bin", bytes);
        WriteFileBytes(local.path() + "/b.txt", "b");
        QVERIFY(Open(server));

        auto* urls = new QMimeData;
        urls->setUrls({QUrl::fromLocalFile(QString::fromStdString(local.path() + "/up.bin")),
                       QUrl::fromLocalFile(QString::fromStdString(local.path() + "/b.txt"))});
        QApplication::clipboard()->setMimeData(urls);
        QVERIFY(Trigger(Command::Paste));
        QVERIFY(Arrived(server.root() + "/up.bin", bytes));
        QVERIFY(Arrived(server.root() + "/b.txt", "b"));

        auto* damaged = new QMimeData;
        damaged->setData(QLatin1String(kTransferListMimeType), QByteArray("\x05\x00\x00\x00Local\0/x", 12));
        QApplication::clipboard()->setMimeData(damaged);
        const int before = m_host.Started();
        QVERIFY(Trigger(Command::Paste));
        QCOMPARE(m_host.Started(), before);
        QCOMPARE(m_ask.Of("message").size(), std::size_t(1));

        // Copy puts the remote files on the clipboard; Append adds to them.
        QVERIFY(Refilled([&] { m_tree->OnRefresh(); }));
        SelectNamed({"b.txt"});
        QVERIFY(Trigger(Command::Copy));
        SelectNamed({"up.bin"});
        QVERIFY(Trigger(Command::Append));
        const std::optional<TransferListBlock> block
            = ReadTransferList(QApplication::clipboard()->mimeData()->data(QLatin1String(kTransferListMimeType)));
        QVERIFY(block);
        QCOMPARE(block->server, std::string("Local"));
        QCOMPARE(block->paths, (std::vector<std::string>{"/b.txt", "/up.bin"}));
    }

    void permissionsViewAndContextMenusFollowTheSelection()
    {
        PyFtpd server;
        WriteFileBytes(server.root() + "/f.txt", "x");
        fs::create_directory(server.root() + "/dir");
        WriteFileBytes(server.root() + "/dir/in.txt", "in");
        QVERIFY(Open(server));
        const auto menuId = [this] { return m_list->MakeContextMenu()->property("menuId").toInt(); };
        QCOMPARE(menuId(), 138);
        SelectNamed({"dir"});
        QCOMPARE(menuId(), 137);
        SelectNamed({"f.txt"});
        QCOMPARE(menuId(), 102);

        m_ask.mode = "640";
        QVERIFY(Trigger(Command::FilePermissions));
        const auto mode = [&] {
            struct stat info { };
            return ::stat((server.root() + "/f.txt").c_str(), &info) == 0 ? info.st_mode & 0777 : 0u;
        };
        QTRY_COMPARE_WITH_TIMEOUT(mode(), 0640u, 20000);

        // Download File: a path typed by hand.
        TempDir local;
        m_ask.twoFields = std::make_pair(std::string("/f.txt"), local.path() + "/typed.txt");
        QVERIFY(Trigger(Command::DownloadFile));
        QCOMPARE(m_ask.Of("twofields").front(),
                 std::string("Enter file to Download from Local:|Enter local Pathname:"));
        QVERIFY(Arrived(local.path() + "/typed.txt", "x"));
        // A typed folder comes whole.
        m_ask.twoFields = std::make_pair(std::string("/dir"), local.path() + "/typed");
        QVERIFY(Trigger(Command::DownloadFile));
        QVERIFY(Arrived(local.path() + "/typed/in.txt", "in"));

        QVERIFY(Trigger(Command::Properties));
        QCOMPARE(m_ask.properties.name, std::string("f.txt"));
        QCOMPARE(m_ask.properties.size, std::string("1 bytes (1 bytes)"));

        // Enter on a folder opens it; Backspace goes back.
        SelectNamed({"dir"});
        QVERIFY(Refilled([&] { QTest::keyClick(m_list->CurrentView(), Qt::Key_Return); }));
        QCOMPARE(m_list->CurrentFolder(), QStringLiteral("/dir"));
    }

    void localRowsAreMadeRenamedAndTrashedInPlace()
    {
        TempDir local;
        WriteFileBytes(local.path() + "/keep.txt", "k");
        WriteFileBytes(local.path() + "/old.txt", "o");
        const QString folder = QString::fromStdString(local.path());
        QSignalSpy fill(m_list, &CFileView::FillFinished);
        QVERIFY(m_tree->SelectLocalPath(folder).isValid());
        QTRY_COMPARE(m_list->CurrentFolder(), folder + QLatin1Char('/'));
        m_list->CurrentView()->setFocus();
        QTRY_VERIFY(Action(Command::NewFolder)->isEnabled());

        QVERIFY(Trigger(Command::NewFolder));
        QVERIFY(EditLabel(QStringLiteral("made")));
        QTRY_VERIFY(fs::is_directory(local.path() + "/made"));

        // A rename onto a taken name gets a free one instead of replacing the other file.
        QTRY_VERIFY(Names().contains("old.txt"));
        SelectNamed({"old.txt"});
        QVERIFY(Trigger(Command::Rename));
        QVERIFY(EditLabel(QStringLiteral("keep.txt")));
        QTRY_VERIFY(fs::exists(local.path() + "/keep (2).txt"));
        QCOMPARE(ReadFileBytes(local.path() + "/keep.txt"), std::string("k"));

        // Delete asks, then moves to the trash: gone from the folder, kept in the trash.
        QTRY_VERIFY(Names().contains("keep (2).txt"));
        SelectNamed({"keep (2).txt"});
        m_ask.yesNo = {true};
        QVERIFY(Trigger(Command::Delete));
        QCOMPARE(m_ask.Of("yesno"), std::vector<std::string>{"Move 'keep (2).txt' to the trash?"});
        QVERIFY(!fs::exists(local.path() + "/keep (2).txt"));
        const std::string trash = qEnvironmentVariable("XDG_DATA_HOME").toStdString() + "/Trash/files/keep (2).txt";
        QCOMPARE(ReadFileBytes(trash), std::string("o"));
        QTRY_VERIFY(!Names().contains("keep (2).txt"));
        QCOMPARE(m_list->MakeContextMenu()->property("menuId").toInt(), 138);
    }

    void dropsOnTheListFollowTheKeysAndCopyBetweenServers()
    {
        PyFtpd source;
        PyFtpd target;
        WriteFileBytes(source.root() + "/a.txt", "from a");
        fs::create_directory(target.root() + "/sub");
        WriteFileBytes(target.root() + "/t.txt", "t");
        QVERIFY(Open(source, QStringLiteral("Source")));
        QVERIFY(Open(target, QStringLiteral("Target")));
        const std::unique_ptr<QMimeData> rows = Remote("Source", {"/a.txt"});
        const QPoint empty = EmptyListPoint();
        const struct {
            const char* keys;
            Qt::KeyboardModifiers modifiers;
            bool accepted;
            Qt::DropAction action;
        } table[] = {
            {"none", Qt::NoModifier, true, Qt::CopyAction},
            {"ctrl", Qt::ControlModifier, true, Qt::CopyAction},
            {"alt", Qt::AltModifier, true, Qt::MoveAction},
            {"ctrl+shift", Qt::ControlModifier | Qt::ShiftModifier, false, Qt::IgnoreAction},
        };
        for (const auto& row : table) {
            const DragAnswer answer = DragOver(ListArea(), empty, *rows, row.modifiers);
            QVERIFY2(answer.accepted == row.accepted, row.keys);
            if (row.accepted)
                QVERIFY2(answer.action == row.action, row.keys);
        }
        // Data of neither kind is refused.
        QMimeData text;
        text.setText(QStringLiteral("a.txt"));
        QVERIFY(!DragOver(ListArea(), empty, text).accepted);

        // Resting on a folder row highlights it and opens it after a while; a file row cancels.
        DragOver(ListArea(), RowPoint("sub"), *rows);
        QCOMPARE(m_list->DropHighlightRow(), static_cast<int>(Names().indexOf("sub")));
        DragOver(ListArea(), RowPoint("t.txt"), *rows);
        QCOMPARE(m_list->DropHighlightRow(), -1);
        DragOver(ListArea(), RowPoint("sub"), *rows);
        QTRY_COMPARE_WITH_TIMEOUT(m_list->CurrentFolder(), QStringLiteral("/sub"), CFileView::kHoverOpenMs + 3000);

        // Files of a server that has gone from the list: one message, nothing started.
        const int started = m_host.Started();
        QVERIFY(DragOver(ListArea(), empty, *Remote("Gone", {"/a", "/b"}), Qt::NoModifier, true).accepted);
        QCOMPARE(m_ask.Of("message").size(), std::size_t(1));
        QCOMPARE(m_host.Started(), started);

        // The drop copies straight from one server to the other, into the folder shown.
        QTRY_VERIFY(m_list->Root() == QLatin1String("Target") && Names() == QStringList{"No Files"});
        QVERIFY(DragOver(ListArea(), empty, *rows, Qt::NoModifier, true).accepted);
        QVERIFY(Arrived(target.root() + "/sub/a.txt", "from a"));
    }

    void dropsFromTheDesktopUploadAndTheTreeTakesThemToAFolder()
    {
        PyFtpd server;
        WriteFileBytes(server.root() + "/down.txt", "down");
        TempDir local;
        const std::string bytes = tarvo::test::RandomBytes(200000, 3);
        WriteFileBytes(local.path() + "/one.bin", bytes);
        WriteFileBytes(local.path() + "/two.txt", "two");
        fs::create_directories(local.path() + "/folder/inner");
        WriteFileBytes(local.path() + "/folder/inner/deep.txt", "deep");
        QVERIFY(Open(server));

        // Two files and a folder from a file manager: each file goes up, the folder whole in one job.
        QMimeData desktop;
        desktop.setUrls({QUrl::fromLocalFile(QString::fromStdString(local.path() + "/one.bin")),
                         QUrl::fromLocalFile(QString::fromStdString(local.path() + "/two.txt")),
                         QUrl::fromLocalFile(QString::fromStdString(local.path() + "/folder"))});
        const int jobs = m_host.JobsStarted();
        QVERIFY(DragOver(ListArea(), EmptyListPoint(), desktop, Qt::NoModifier, true).accepted);
        QVERIFY(Arrived(server.root() + "/one.bin", bytes));
        QVERIFY(Arrived(server.root() + "/two.txt", "two"));
        QVERIFY(Arrived(server.root() + "/folder/inner/deep.txt", "deep"));
        QVERIFY(m_ask.Of("message").empty());
        QCOMPARE(m_host.JobsStarted(), jobs + 1);

        // Remote rows dropped on a local folder of the tree are downloaded into it.
        const QModelIndex folder = m_tree->SelectLocalPath(QString::fromStdString(local.path()));
        QVERIFY(folder.isValid());
        const QPoint onFolder = m_tree->visualRect(folder).center();
        const std::unique_ptr<QMimeData> rows = Remote("Local", {"/down.txt"});
        QVERIFY(!DragOver(m_tree->viewport(), onFolder, *rows, Qt::ControlModifier | Qt::ShiftModifier).accepted);
        QCOMPARE(m_tree->DropHighlight(), folder);
        QVERIFY(DragOver(m_tree->viewport(), onFolder, *rows, Qt::NoModifier, true).accepted);
        QVERIFY(Arrived(local.path() + "/down.txt", "down"));
        // Nothing goes onto a server that is not connected, nor onto "My Computer" itself.
        QVERIFY(!m_tree->CanDropOn(m_tree->MyComputerIndex()));
        m_tree->OnDisconnect();
        QVERIFY(!m_tree->CanDropOn(m_tree->ServerIndex(QStringLiteral("Local"))));
    }

    void copiedRemoteFolderIsPastedWholeButNeverIntoItself()
    {
        PyFtpd server;
        fs::create_directories(server.root() + "/pub/deep/deeper");
        WriteFileBytes(server.root() + "/pub/a.txt", "a");
        const std::string bytes = tarvo::test::RandomBytes(150000, 5);
        WriteFileBytes(server.root() + "/pub/deep/deeper/b.bin", bytes);
        TempDir local;
        QVERIFY(Open(server));
        SelectNamed({"pub"});
        QVERIFY(Trigger(Command::Copy));

        const int jobs = m_host.JobsStarted();
        QVERIFY(ShowLocalFolder(local.path()));
        QVERIFY(Trigger(Command::Paste));
        QVERIFY(Arrived(local.path() + "/pub/a.txt", "a"));
        QVERIFY(Arrived(local.path() + "/pub/deep/deeper/b.bin", bytes));

        // Back onto its own server: into itself (a drop on its node in the tree) or onto itself
        // (a paste beside it) is refused with a message, and nothing starts.
        QCOMPARE(m_host.JobsStarted(), jobs + 1);
        const QModelIndex start = StartNode(QStringLiteral("Local"));
        m_tree->expand(start);
        QTRY_VERIFY(m_tree->Model()->rowCount(start) > 0);
        const QModelIndex pub = m_tree->Model()->index(0, 0, start);
        QCOMPARE(pub.data().toString(), QStringLiteral("pub"));
        m_tree->scrollTo(pub);
        QVERIFY(DragOver(m_tree->viewport(), m_tree->visualRect(pub).center(), *Remote("Local", {"/pub/"}),
                         Qt::NoModifier, true)
                    .accepted);
        QVERIFY(ShowFolder(start));
        QVERIFY(Trigger(Command::Paste));
        const std::vector<std::string> said = m_ask.Of("message");
        QCOMPARE(std::count_if(said.begin(), said.end(),
                               [](const std::string& text) {
                                   return text.find("'/pub' cannot be copied onto itself") != std::string::npos;
                               }),
                 2);
        QCOMPARE(m_host.JobsStarted(), jobs + 1);
        QVERIFY(!fs::exists(server.root() + "/pub/pub"));
    }

    void nonEmptyFolderIsDeletedByOneJobThatAsksOnce()
    {
        PyFtpd server;
        fs::create_directories(server.root() + "/full/inner");
        WriteFileBytes(server.root() + "/full/inner/x.txt", "x");
        WriteFileBytes(server.root() + "/full/y.txt", "y");
        fs::create_directory(server.root() + "/empty");
        QVERIFY(Open(server));
        SelectNamed({"empty", "full"});
        // The empty folder is asked for as a row; the full one by its job, with what it holds.
        m_ask.deleteAnswers = {DeleteConfirmResult::Yes};
        m_ask.yesNo = {true};
        QVERIFY(Trigger(Command::Delete));
        QTRY_VERIFY_WITH_TIMEOUT(!fs::exists(server.root() + "/full"), 20000);
        QVERIFY(!fs::exists(server.root() + "/empty"));
        QCOMPARE(m_ask.Of("delete"), std::vector<std::string>{"Are you sure you want to delete 'empty'"});
        QCOMPARE(m_ask.Of("yesno").size(), std::size_t(1));
        QVERIFY(m_ask.Of("yesno").front().find("full") != std::string::npos);
        // The list shows the folder as it is once the job has ended.
        QTRY_COMPARE_WITH_TIMEOUT(Names(), QStringList{QStringLiteral("No Files")}, 5000);
    }

    void serversAreDeletedRenamedAndGivenFoldersFromTheTree()
    {
        PyFtpd server;
        fs::create_directories(server.root() + "/pub/deep");
        for (const char* name : {"Old", "Spare"}) {
            ServerRecord record;
            record.name = name;
            record.address = "127.0.0.1";
            QVERIFY(SaveNewServer(record));
        }
        m_tree->FillTree();
        QVERIFY(Open(server, QStringLiteral("Zed")));
        const auto menuId = [this](const QModelIndex& item) {
            const std::unique_ptr<QMenu> menu = m_tree->MakeContextMenu(item);
            return menu ? menu->property("menuId").toInt() : 0;
        };
        const auto select = [this](const QString& name) {
            m_tree->setFocus();
            m_tree->setCurrentIndex(m_tree->ServerIndex(name));
            return QTest::qWaitFor([&] { return m_tree->hasFocus(); });
        };
        QCOMPARE(menuId(m_tree->ServerIndex(QStringLiteral("Old"))), 105);
        QCOMPARE(menuId(StartNode(QStringLiteral("Zed"))), 161);
        QCOMPARE(menuId(m_tree->MyComputerIndex()), 0);

        // A connected server is neither deleted nor connected again; Enter on it starts nothing.
        QVERIFY(select(QStringLiteral("Zed")));
        QVERIFY(!Action(Command::Delete)->isEnabled());
        QTest::keyClick(m_tree, Qt::Key_Return);
        QVERIFY(Editor() == nullptr);

        // Delete asks; No keeps the server, Yes removes it from the tree and the store.
        QVERIFY(select(QStringLiteral("Old")));
        m_ask.yesNo = {false, true};
        QVERIFY(Trigger(Command::Delete));
        QVERIFY(m_tree->ServerIndex(QStringLiteral("Old")).isValid());
        QVERIFY(Trigger(Command::Delete));
        QCOMPARE(m_ask.Of("yesno").back(), std::string("Are you sure you want to delete 'Old'."));
        QVERIFY(!m_tree->ServerIndex(QStringLiteral("Old")).isValid() && !ServerMap.count("Old"));
        QVERIFY(!OpenSettingsStore()->contains(QStringLiteral("Servers/Old/IP")));

        // Rename by F2: a taken name is refused, one that differs only in case is taken.
        const auto rename = [this](const QString& to) {
            QTest::keyClick(m_tree, Qt::Key_F2);
            return EditLabel(to);
        };
        QVERIFY(select(QStringLiteral("Spare")));
        QVERIFY(rename(QStringLiteral("My Computer")));
        QTRY_COMPARE(m_ask.Of("message").size(), std::size_t(1));
        QCOMPARE(m_ask.Of("message").back(), std::string("The server 'My Computer' already exists."));
        QVERIFY(select(QStringLiteral("Spare")));
        QVERIFY(rename(QStringLiteral("zed")));
        QTRY_VERIFY(m_tree->ServerIndex(QStringLiteral("zed")).isValid());
        QVERIFY(ServerMap.count("zed") && !ServerMap.count("Spare"));

        // Change Directory: backslashes become slashes, and the new node is listed.
        m_tree->setCurrentIndex(StartNode(QStringLiteral("Zed")));
        m_ask.text = "\\pub\\deep";
        QVERIFY(Trigger(Command::ChangeDirectory));
        QTRY_COMPARE(m_tree->currentIndex().data().toString(), QStringLiteral("/pub/deep"));
        QTRY_COMPARE(m_list->CurrentFolder(), QStringLiteral("/pub/deep"));
    }

    void wheelOverTheTreeScrollsTheFocusedListOnlyWithWheelOver()
    {
        TempDir local;
        for (int i = 0; i < 300; ++i)
            WriteFileBytes(local.path() + "/f" + std::to_string(i), "x");
        QVERIFY(m_tree->SelectLocalPath(QString::fromStdString(local.path())).isValid());
        QTRY_COMPARE(static_cast<int>(Names().size()), 300);
        m_list->SetViewMode(CFileView::ViewMode::Details);
        QScrollBar* bar = m_list->CurrentView()->verticalScrollBar();
        for (const bool wheelOver : {false, true}) {
            AppSettings settings = ProgramSettings();
            settings.wheelOver = wheelOver ? 1 : 0;
            SetProgramSettings(settings);
            bar->setValue(0);
            m_list->CurrentView()->setFocus();
            QTRY_VERIFY(m_list->CurrentView()->hasFocus());
            const QPoint over = m_tree->viewport()->rect().center();
            QWheelEvent wheel(over, m_tree->viewport()->mapToGlobal(over), {}, QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(m_tree->viewport(), &wheel);
            QCOMPARE(bar->value() > 0, wheelOver);
        }
    }

    void commandsFollowTheActivePaneAndTheirRules()
    {
        PyFtpd server;
        WriteFileBytes(server.root() + "/f.txt", "x");
        QVERIFY(Open(server));
        QVERIFY(Action(Command::Delete)->isEnabled());
        QVERIFY(!Action(Command::MarkUnmark)->isEnabled());
        SelectNamed({"f.txt"});
        QVERIFY(Action(Command::MarkUnmark)->isEnabled());
        QVERIFY(Action(Command::UploadFile)->isEnabled());
        QVERIFY(!Action(Command::Cut)->isEnabled());
        // The tree active: the list's commands are not its.
        m_tree->setFocus();
        QTRY_VERIFY(!Action(Command::Delete)->isEnabled());
        QVERIFY(!Trigger(Command::Delete));
        QVERIFY(m_ask.Of("delete").empty());
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
