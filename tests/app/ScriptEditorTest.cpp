// The Script dialog driven through its controls over items marked on two real servers and the
// local disk: the script it saves compiles without a message and, run without a window, does
// what the dialog showed. A word the script language cannot hold is refused, nothing written.
#include "GuiTestSupport.h"

#include "PyFtpd.h"
#include "RecordingInteraction.h"
#include "TempDir.h"

#include "app/MainFrame.h"
#include "app/TarvoApp.h"
#include "dialogs/CommandIds.h"
#include "dialogs/ScriptEditorDialog.h"
#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "listing/FileItem.h"
#include "operations/OperationLists.h"
#include "scripts/HeadlessRunner.h"
#include "scripts/ScriptParser.h"
#include "servers/ServerStore.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace tarvo::test;

class ScriptEditorTest : public QObject {
    Q_OBJECT

private:
    static QTreeWidgetItem* Item(QTreeWidget* tree, const std::string& root, const std::string& path)
    {
        for (QTreeWidgetItem* item :
             tree->findItems(QString::fromStdString(path), Qt::MatchExactly | Qt::MatchRecursive)) {
            if (item->parent() && item->parent()->text(0).toStdString() == root)
                return item;
        }
        return nullptr;
    }
    static QCheckBox* Box(QDialog& dialog, const char* id) { return dialog.findChild<QCheckBox*>(id); }

    // Selects the source item, sets its operation unless it is set and, when given, chooses its target.
    static bool Plan(ScriptEditorDialog& dialog, const std::string& root, const std::string& path, const char* box,
                     const std::string& targetRoot = {}, const std::string& target = {})
    {
        auto* left = dialog.findChild<QTreeWidget*>("1112");
        auto* right = dialog.findChild<QTreeWidget*>("1071");
        QTreeWidgetItem* source = Item(left, root, path);
        if (!source)
            return false;
        left->setCurrentItem(source);
        if (left->currentItem() != source || !Box(dialog, box)->isEnabled())
            return false;
        if (!Box(dialog, box)->isChecked())
            Box(dialog, box)->click();
        if (target.empty())
            return true;
        QTreeWidgetItem* node = Item(right, targetRoot, target);
        if (!node || node->isDisabled() || !right->isEnabled())
            return false;
        right->setCurrentItem(node);
        return true;
    }

    TemporarySettings m_settings;
    RecordingInteraction m_interaction;

private slots:
    void init()
    {
        SetInteraction(&m_interaction);
        m_interaction.asked.clear();
    }
    void cleanup() { SetInteraction(nullptr); }

    void savedScriptRunsWhatTheDialogShowed()
    {
        PyFtpd alpha, beta;
        TempDir local;
        for (auto [server, name] : {std::pair{&alpha, "Alpha"}, std::pair{&beta, "Beta"}}) {
            ServerRecord record;
            record.name = name;
            record.address = "127.0.0.1";
            record.port = static_cast<int>(server->port());
            record.userName = PyFtpd::kUser;
            record.password = PyFtpd::kPassword;
            QVERIFY(SaveNewServer(record));
        }
        LoadServers();
        const std::string down = RandomBytes(70'000, 1), across = RandomBytes(50'000, 2), up = RandomBytes(30'000, 3);
        WriteFileBytes(alpha.root() + "/my report.bin", down);
        WriteFileBytes(alpha.root() + "/t.bin", across);
        WriteFileBytes(alpha.root() + "/gone.txt", "x");
        WriteFileBytes(alpha.root() + "/m.txt", "m");
        WriteFileBytes(alpha.root() + "/more.txt", "tail\n");
        QVERIFY(QDir().mkpath(QString::fromStdString(alpha.root() + "/in")));
        QVERIFY(QDir().mkpath(QString::fromStdString(beta.root() + "/drop")));
        QVERIFY(QDir().mkpath(QString::fromStdString(local.file("dl"))));
        WriteFileBytes(local.file("up.txt"), up);
        WriteFileBytes(local.file("base.txt"), "head\n");

        const std::string mine = "My Computer";
        ScriptEditorDialog dialog({{"Alpha", "/my report.bin", ITEM_FILE},
                                   {"Alpha", "/t.bin", ITEM_FILE},
                                   {"Alpha", "/gone.txt", ITEM_FILE},
                                   {"Alpha", "/m.txt", ITEM_FILE},
                                   {"Alpha", "/more.txt", ITEM_FILE},
                                   {"Alpha", "/in", ITEM_FOLDER},
                                   {"Beta", "/drop", ITEM_FOLDER},
                                   {mine, local.file("up.txt"), ITEM_FILE},
                                   {mine, local.file("base.txt"), ITEM_FILE},
                                   {mine, local.file("dl"), ITEM_FOLDER}},
                                  {"Alpha", "Beta"});
        auto* left = dialog.findChild<QTreeWidget*>("1112");
        QCOMPARE(left->topLevelItemCount(), 3);

        // Which operations an item offers depends on its side.
        struct Offer {
            std::string root, path;
            bool download, upload, append;
        };
        for (const Offer& offer :
             {Offer{"Alpha", "/t.bin", true, false, true}, Offer{mine, local.file("up.txt"), false, true, true}}) {
            left->setCurrentItem(Item(left, offer.root, offer.path));
            QCOMPARE(Box(dialog, "1067")->isEnabled(), offer.download);
            QCOMPARE(Box(dialog, "1068")->isEnabled(), offer.upload);
            QCOMPARE(Box(dialog, "1111")->isEnabled(), offer.append);
        }
        left->setCurrentItem(left->topLevelItem(0));
        QVERIFY(!Box(dialog, "1111")->isEnabled());

        // A download without its folder holds the selection and says why.
        QVERIFY(Plan(dialog, "Alpha", "/my report.bin", "1067"));
        QCOMPARE(dialog.findChild<QLabel*>("RightLabel")->text(), QStringLiteral("Select where to download the file:"));
        left->setCurrentItem(Item(left, "Alpha", "/t.bin"));
        QCOMPARE(left->currentItem()->text(0), QStringLiteral("/my report.bin"));
        QCOMPARE(
            m_interaction.Of("message"),
            std::vector<std::string>{"You must select where to download /my report.bin \nUse the right tree view."});
        // A local folder is no upload target, nor the source server a transfer target.
        QVERIFY(!Plan(dialog, "Alpha", "/my report.bin", "1067", "Alpha", "/in"));
        QVERIFY(Plan(dialog, "Alpha", "/my report.bin", "1067", mine, local.file("dl")));
        QVERIFY(!Plan(dialog, "Alpha", "/t.bin", "1070", "Alpha", "/in"));
        QVERIFY(Plan(dialog, "Alpha", "/t.bin", "1070", "Beta", "/drop"));
        QVERIFY(Plan(dialog, mine, local.file("up.txt"), "1068", "Alpha", "/in"));
        QVERIFY(Plan(dialog, "Alpha", "/more.txt", "1111", mine, local.file("base.txt")));
        QVERIFY(Plan(dialog, "Alpha", "/gone.txt", "1069"));
        QVERIFY(Plan(dialog, "Alpha", "/m.txt", "1115"));
        for (const char* box : {"OwnerRead", "OwnerWrite", "GroupRead"})
            dialog.findChild<QCheckBox*>(box)->click();
        // Clearing a box drops the step; setting it again brings it back.
        left->setCurrentItem(Item(left, "Alpha", "/gone.txt"));
        Box(dialog, "1069")->click();
        QCOMPARE(dialog.Steps().size(), std::size_t(5));
        QVERIFY(Plan(dialog, "Alpha", "/gone.txt", "1069"));

        const QString path = QString::fromStdString(local.file("made.ftp"));
        dialog.chooseFile = [&] { return path; };
        dialog.findChild<QPushButton*>("Save")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.SavedPath(), path);

        m_interaction.asked.clear();
        QVERIFY(LoadScriptFile(path.toStdString()));
        QVERIFY(m_interaction.asked.empty());
        QCOMPARE(ScriptStepList.Count(), std::size_t(8)); // six steps, all run on Alpha, between open and close

        ProgramCommandLine run;
        run.mode = ProgramCommandLine::Mode::RunScript;
        run.script = path;
        QCOMPARE(RunHeadless(run), 0);
        SetInteraction(&m_interaction);
        QVERIFY(ReadFileBytes(local.file("dl/my report.bin")) == down);
        QVERIFY(ReadFileBytes(beta.root() + "/drop/t.bin") == across);
        QVERIFY(ReadFileBytes(alpha.root() + "/in/up.txt") == up);
        QCOMPARE(ReadFileBytes(local.file("base.txt")), std::string("head\ntail\n"));
        QVERIFY(!QFile::exists(QString::fromStdString(alpha.root() + "/gone.txt")));
        struct stat info { };
        QCOMPARE(::stat((alpha.root() + "/m.txt").c_str(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0640u);
    }

    // Words the language cannot hold: no quoting keeps a double quote, a line break ends the line,
    // and a longer line is not read back.
    void unwritableWordIsRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("says");
        QTest::newRow("double quote") << QStringLiteral("/say \"hi\".txt") << QStringLiteral("double quote");
        QTest::newRow("carriage return") << QStringLiteral("/a\rquit.txt") << QStringLiteral("line break");
        QTest::newRow("line feed") << QStringLiteral("/a\nquit.txt") << QStringLiteral("line break");
        QTest::newRow("long line") << QLatin1Char('/') + QString(260, QLatin1Char('x')) << QStringLiteral("longer");
    }
    void unwritableWordIsRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, says);
        TempDir local;
        ScriptEditorDialog dialog({{"Alpha", path.toStdString(), ITEM_FILE}}, {"Alpha"});
        QVERIFY(Plan(dialog, "Alpha", path.toStdString(), "1069"));
        int asked = 0;
        dialog.chooseFile = [&] {
            ++asked;
            return QString::fromStdString(local.file("bad.ftp"));
        };
        dialog.findChild<QPushButton*>("Save")->click();
        QCOMPARE(asked, 0);
        QVERIFY(!QFile::exists(QString::fromStdString(local.file("bad.ftp"))));
        QVERIFY(dialog.SavedPath().isEmpty());
        const std::vector<std::string> messages = m_interaction.Of("message");
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).contains(path));
        QVERIFY(QString::fromStdString(messages[0]).contains(says));
    }

    // The command as the program wires it: Ctrl+S, offered while anything is marked, and the saved
    // script loaded at once for Run Script.
    void newScriptCommandFollowsTheMarks()
    {
        TempDir runtime; // the single-instance socket of a Tarvo the user has open is not ours
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QByteArray::fromStdString(runtime.path()));
        {
            CTarvoApp app;
            ProgramCommandLine line;
            line.showSplash = false;
            int exitCode = 0;
            QVERIFY(app.InitInstance(line, exitCode));
            QAction* newScript = app.MainFrame()->Command(Command::NewScript);
            QCOMPARE(newScript->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
            QVERIFY(!newScript->isEnabled());
            auto* list = app.MainFrame()->findChild<CFileView*>();
            MarkTable["/old.txt"] = MarkRecord{"Alpha", "/old.txt", ITEM_FILE, {}};
            emit list->CommandStateChanged();
            QVERIFY(newScript->isEnabled());

            const QString path = QString::fromStdString(runtime.file("new.ftp"));
            WhenModalShows<ScriptEditorDialog>(this, [&](ScriptEditorDialog* dialog) {
                dialog->chooseFile = [&] { return path; };
                if (Plan(*dialog, "Alpha", "/old.txt", "1069"))
                    dialog->findChild<QPushButton*>("Save")->click();
                else
                    dialog->reject();
            });
            newScript->trigger();
            MarkTable.clear();
            QCOMPARE(ScriptStepList.Count(), std::size_t(3));
            QVERIFY(app.MainFrame()->Command(Command::RunScript)->isEnabled());
            QCOMPARE(app.m_recentScripts.Paths().value(0), path);
            emit list->CommandStateChanged();
            QVERIFY(!newScript->isEnabled());
        }
        qputenv("TMPDIR", tmp);
        if (tmp.isEmpty())
            qunsetenv("TMPDIR");
    }
};

QTEST_MAIN(ScriptEditorTest)
#include "ScriptEditorTest.moc"
