// Whole folders as a user moves them in the window: copied and pasted, dropped on the tree,
// deleted, against pyftpdlib, with every question answered by the recording interaction.
#include "BrowseTestSupport.h"

#include "dialogs/CommandIds.h"

#include <QClipboard>

using tarvo::test::PyFtpd;
using tarvo::test::TempDir;
using tarvo::test::WriteFileBytes;
namespace fs = std::filesystem;

class FolderTransfersTest : public BrowseWindowTest {
    Q_OBJECT

private:
    // The messages shown so far that hold `part`.
    int MessagesWith(const std::string& part) const
    {
        int found = 0;
        for (const std::string& text : m_ask.Of("message"))
            found += text.find(part) != std::string::npos ? 1 : 0;
        return found;
    }

private slots:
    void init() { StartWindow(); }
    void cleanup() { EndWindow(); }

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
        QCOMPARE(MessagesWith("'/pub' cannot be copied onto itself"), 2);
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
};

QTEST_MAIN(FolderTransfersTest)
#include "FolderTransfersTest.moc"
