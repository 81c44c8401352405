// "Connect To:": what it shows on opening, what choosing and typing a name fill in, what it
// refuses, and the record it hands back.
#include "BrowseTestSupport.h"

#include "dialogs/ConnectDialog.h"
#include "servers/ServerMap.h"

#include <QMessageBox>
#include <QtTest>

class ConnectDialogTest : public QObject {
    Q_OBJECT

private:
    static QString Text(CConnectDlg& dialog, const char* id)
    {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(id))->text();
    }
    static QComboBox* Name(CConnectDlg& dialog) { return dialog.findChild<QComboBox*>(QStringLiteral("1007")); }
    static QPushButton* ConnectButton(CConnectDlg& dialog)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("1"));
    }

    static void AddServer(const char* name, const char* user, const char* password)
    {
        ServerRecord record;
        record.name = name;
        record.address = "127.0.0.1";
        record.userName = user;
        record.password = password;
        record.account = "acct";
        record.port = 2121;
        record.comment = "note";
        ServerMap[name] = record;
    }

    TemporarySettings m_settings;

private slots:
    void init() { ServerMap.clear(); }

    void preselectedServerFillsEveryField()
    {
        AddServer("Demo", "ann", "pw");
        AddServer("alpha", "anonymous", "me@home");
        CConnectDlg dialog(QStringLiteral("demo"), {});
        QCOMPARE(Name(dialog)->itemText(0), QStringLiteral("alpha"));
        QCOMPARE(Name(dialog)->currentText(), QStringLiteral("Demo"));
        QCOMPARE(Text(dialog, "1064"), QStringLiteral("127.0.0.1"));
        QCOMPARE(Text(dialog, "1001"), QStringLiteral("ann"));
        QCOMPARE(Text(dialog, "1003"), QStringLiteral("pw"));
        QCOMPARE(Text(dialog, "1097"), QStringLiteral("acct"));
        QCOMPARE(Text(dialog, "1005"), QStringLiteral("2121"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("1003"))->echoMode(), QLineEdit::Password);

        // An anonymous password is shown in clear.
        Name(dialog)->setEditText(QStringLiteral("ALPHA"));
        QCOMPARE(Name(dialog)->currentText(), QStringLiteral("alpha"));
        QCOMPARE(Text(dialog, "1003"), QStringLiteral("me@home"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("1003"))->echoMode(), QLineEdit::Normal);
    }

    void typingANewNameClearsTheFields()
    {
        AddServer("Demo", "ann", "pw");
        CConnectDlg dialog(QStringLiteral("Demo"), {});
        Name(dialog)->setEditText(QStringLiteral("elsewhere"));
        for (const char* id : {"1064", "1001", "1003", "1097"})
            QCOMPARE(Text(dialog, id), QString());
        QCOMPARE(Text(dialog, "1005"), QStringLiteral("21"));
    }

    void newDialogRefusesNoAddressAndConnectsAnAddressAnonymously()
    {
        CConnectDlg dialog({}, {});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Connect To:"));
        QCOMPARE(Name(dialog)->count(), 0);
        QCOMPARE(Text(dialog, "1001"), QStringLiteral("anonymous"));
        QCOMPARE(Text(dialog, "1005"), QStringLiteral("21"));
        dialog.show();
        QString said;
        QObject scope;
        WhenModalShows<QMessageBox>(&scope, [&said](QMessageBox* box) {
            said = box->text();
            box->accept();
        });
        ConnectButton(dialog)->click();
        QCOMPARE(said, QStringLiteral("The Server Address cannot be Empty."));
        QVERIFY(dialog.isVisible());

        dialog.findChild<QLineEdit*>(QStringLiteral("1064"))->setText(QStringLiteral("127.0.0.1"));
        dialog.findChild<QLineEdit*>(QStringLiteral("1001"))->clear();
        ConnectButton(dialog)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const ServerRecord record = dialog.Record();
        QCOMPARE(record.name, std::string("127.0.0.1"));
        QCOMPARE(record.userName, std::string("anonymous"));
        QCOMPARE(record.password, std::string("Hiker@"));
        QCOMPARE(record.port, 21);
    }

    void namesTheStoreUsesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("refused");
        QTest::newRow("typed") << QStringLiteral("Version") << QStringLiteral("127.0.0.1") << QStringLiteral("Version");
        // With no name the address names the server.
        QTest::newRow("address") << QString() << QStringLiteral("Servers") << QStringLiteral("Servers");
    }

    void namesTheStoreUsesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, refused);
        CConnectDlg dialog({}, {});
        Name(dialog)->setEditText(name);
        dialog.findChild<QLineEdit*>(QStringLiteral("1064"))->setText(address);
        dialog.show();
        QString said;
        QObject scope;
        WhenModalShows<QMessageBox>(&scope, [&said](QMessageBox* box) {
            said = box->text();
            box->accept();
        });
        ConnectButton(dialog)->click();
        QCOMPARE(said,
                 QStringLiteral("\"%1\" cannot be a server name: the server list keeps a value of its own "
                                "under it. Please choose another name.")
                     .arg(refused));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void connectIsDisabledWhileTheServerIsConnected()
    {
        AddServer("Demo", "ann", "pw");
        AddServer("Other", "bob", "pw");
        CConnectDlg dialog(QStringLiteral("Demo"), [](const std::string& name) { return name == "Demo"; });
        QVERIFY(!ConnectButton(dialog)->isEnabled());
        Name(dialog)->setEditText(QStringLiteral("Other"));
        QVERIFY(ConnectButton(dialog)->isEnabled());
    }
};

QTEST_MAIN(ConnectDialogTest)
#include "ConnectDialogTest.moc"
