// Start-up pieces: the desktop registration of scripts, the recent scripts, the About box's
// figures, the command line, and the shell's open request with its hand-over from a second start.
#include "GuiTestSupport.h"

#include "app/RecentScripts.h"
#include "app/ShellRegistration.h"
#include "app/SingleInstance.h"
#include "app/TarvoApp.h"
#include "dialogs/AboutDialog.h"
#include "scripts/CommandLine.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include <thread>

class StartupTest : public QObject {
    Q_OBJECT

private:
    TemporarySettings m_settings;

private slots:
    void scriptTypeRegisteredOnceAndNeverOverAUsersOwn()
    {
        QTemporaryDir data;
        const QString entry = data.filePath(QStringLiteral("applications/tarvo.desktop"));
        QDir().mkpath(QFileInfo(entry).absolutePath());
        QFile own(entry);
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("[Desktop Entry]\nExec=my-editor %f\n");
        own.close();

        const QStringList first = RegisterScriptFileType(QStringLiteral("/opt/my apps/tarvo"), data.path());
        QVERIFY(!first.contains(entry));
        QVERIFY(first.contains(data.filePath(QStringLiteral("mime/packages/tarvo-script.xml"))));
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("[Desktop Entry]\nExec=my-editor %f\n"));
        own.close();

        QVERIFY(RegisterScriptFileType(QStringLiteral("/opt/my apps/tarvo"), data.path()).isEmpty());

        QFile::remove(entry);
        RegisterScriptFileType(QStringLiteral("/opt/my apps/tarvo"), data.path());
        QVERIFY(own.open(QIODevice::ReadOnly));
        const QByteArray written = own.readAll();
        QVERIFY(written.contains("Exec=\"/opt/my apps/tarvo\" %f\n"));
        QVERIFY(written.contains("MimeType=text/x-tarvo-script;\n"));
    }

    void installedProgramLeavesTheDesktopFilesToItsPackage_data()
    {
        QTest::addColumn<QString>("binFolder");
        QTest::addColumn<bool>("packageEntry");
        QTest::addColumn<bool>("writes");
        QTest::newRow("installed") << QStringLiteral("bin") << true << false;
        QTest::newRow("bin without the package's entry") << QStringLiteral("bin") << false << true;
        QTest::newRow("build folder beside an entry") << QStringLiteral("app") << true << true;
    }

    void installedProgramLeavesTheDesktopFilesToItsPackage()
    {
        QFETCH(QString, binFolder);
        QFETCH(bool, packageEntry);
        QFETCH(bool, writes);
        QTemporaryDir prefix;
        QTemporaryDir data;
        QDir(prefix.path()).mkpath(binFolder);
        if (packageEntry) {
            QDir(prefix.path()).mkpath(QStringLiteral("share/applications"));
            QFile entry(prefix.filePath(QStringLiteral("share/applications/tarvo.desktop")));
            QVERIFY(entry.open(QIODevice::WriteOnly));
        }
        const QString program = prefix.filePath(binFolder + QStringLiteral("/tarvo"));
        QCOMPARE(IsInstalledProgram(program), !writes);
        QCOMPARE(RegisterScriptFileType(program, data.path()).isEmpty(), !writes);
        QCOMPARE(QFileInfo::exists(data.filePath(QStringLiteral("applications/tarvo.desktop"))), writes);
    }

    void recentScriptsKeepTheNewestFour()
    {
        RecentScripts recent;
        recent.Load();
        for (const char* name : {"/s/a.ftp", "/s/b.ftp", "/s/c.ftp", "/s/d.ftp", "/s/e.ftp", "/s/b.ftp"})
            recent.Add(QString::fromLatin1(name));
        recent.Remove(3);

        RecentScripts reloaded;
        reloaded.Load();
        QCOMPARE(reloaded.Paths(), (QStringList{"/s/b.ftp", "/s/e.ftp", "/s/d.ftp"}));
    }

    void aboutBoxFigures()
    {
        QTemporaryDir folder;
        const QString meminfo = folder.filePath(QStringLiteral("meminfo"));
        QFile file(meminfo);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("MemTotal:       16316412 kB\nMemFree:          512000 kB\nMemAvailable:    8123456 kB\n");
        file.close();
        QCOMPARE(CAboutDlg::AvailableMemoryKb(meminfo), std::optional<quint64>(8123456));
        QCOMPARE(CAboutDlg::AvailableMemoryKb(folder.filePath(QStringLiteral("missing"))), std::nullopt);
        // The real file reports a size of 0 and must still be read.
        QVERIFY(CAboutDlg::AvailableMemoryKb().value_or(0) > 0);

        QVERIFY(CAboutDlg::FreeDiskText(folder.path()).contains(QStringLiteral(" KB Free on /")));
        QCOMPARE(CAboutDlg::FreeDiskText(QStringLiteral("/no/such/folder")), QStringLiteral("Unavailable"));
    }

    void commandLine_data()
    {
        using Mode = ProgramCommandLine::Mode;
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("splash");
        QTest::newRow("window") << QStringList{"tarvo"} << int(Mode::Window) << QString() << true;
        QTest::newRow("window with a script")
            << QStringList{"tarvo", "--nosplash", "scripts/nightly.ftp"} << int(Mode::Window)
            << QDir::current().absoluteFilePath(QStringLiteral("scripts/nightly.ftp")) << false;
        QTest::newRow("run-script") << QStringList{"tarvo", "--run-script", "a.ftp"} << int(Mode::RunScript)
                                    << QStringLiteral("a.ftp") << true;
        QTest::newRow("run-script without a file")
            << QStringList{"tarvo", "--run-script"} << int(Mode::Error) << QString() << true;
        QTest::newRow("add-server") << QStringList{"tarvo", "--add-server", "N", "127.0.0.1:21", "u", "-", "--passive"}
                                    << int(Mode::AddServer) << QString() << true;
        QTest::newRow("add-server short of a value")
            << QStringList{"tarvo", "--add-server", "N", "127.0.0.1", "u"} << int(Mode::Error) << QString() << true;
        QTest::newRow("version") << QStringList{"tarvo", "--version"} << int(Mode::Version) << QString() << true;
        QTest::newRow("unknown option") << QStringList{"tarvo", "--no-such"} << int(Mode::Error) << QString() << true;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        QFETCH(QString, script);
        QFETCH(bool, splash);
        const ProgramCommandLine line = ParseProgramCommandLine(arguments);
        QCOMPARE(int(line.mode), mode);
        QCOMPARE(line.script, script);
        QCOMPARE(line.showSplash, splash);
        QCOMPARE(line.Headless(), mode != int(ProgramCommandLine::Mode::Window));
        if (line.mode == ProgramCommandLine::Mode::AddServer)
            QVERIFY(line.passive && line.server.size() == 4);
    }

    void parsesOpenRequest_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("script");
        QTest::newRow("quoted name") << "[open(\"/home/ann/nightly.ftp\")]" << true << "/home/ann/nightly.ftp";
        QTest::newRow("spaces in the name") << "[open(\"/tmp/my scripts/a.ftp\")]" << true << "/tmp/my scripts/a.ftp";
        QTest::newRow("text after the quote ignored") << "[open(\"/a.ftp\" junk)]" << true << "/a.ftp";
        QTest::newRow("no closing quote") << "[open(\"/home/ann/nightly.ftp)]" << false << "";
        QTest::newRow("no opening quote") << "[open(/home/ann/nightly.ftp)]" << false << "";
        QTest::newRow("another verb") << "[print(\"/home/ann/nightly.ftp\")]" << false << "";
        QTest::newRow("empty") << "" << false << "";
    }
    void parsesOpenRequest()
    {
        QFETCH(QString, request);
        QFETCH(bool, handled);
        QFETCH(QString, script);
        const std::optional<QString> parsed = ParseShellOpenRequest(request);
        QCOMPARE(parsed.has_value(), handled);
        if (handled)
            QCOMPARE(*parsed, script);
    }

    void secondStartHandsItsScriptOver()
    {
        const QString name = QStringLiteral("tarvo-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance running(name);
        QVERIFY(running.Listen());
        QSignalSpy received(&running, &SingleInstance::RequestReceived);

        bool handedOver = false;
        std::thread second([&] {
            handedOver = SingleInstance(name).HandOver(ShellOpenRequest(QStringLiteral("/tmp/my scripts/a.ftp")));
        });
        QVERIFY(received.wait(5000));
        second.join();
        QVERIFY(handedOver);
        QCOMPARE(ParseShellOpenRequest(received.at(0).at(0).toString()), QStringLiteral("/tmp/my scripts/a.ftp"));

        QVERIFY(!SingleInstance(name + QStringLiteral("-nobody")).HandOver(QString(), 500));
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
