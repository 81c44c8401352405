// Encryption in the windows: the connect dialog and the property sheet write the chosen mode and
// move the port between 21 and 990 for implicit TLS. The certificate question, from a worker's
// real TLS login to the interaction, is in tests/operations/EncryptedTransferTest.cpp.
#include "GuiTestSupport.h"

#include "dialogs/ConnectDialog.h"
#include "dialogs/EncryptionChoice.h"
#include "dialogs/ServerPropertySheet.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"

#include "QorFtp.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

ServerRecord Stored(const std::string& name)
{
    ServerMap.clear();
    LoadServers();
    ServerRecord record;
    GetServerRecord(name, record);
    return record;
}

} // namespace

class EncryptionUiTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_settings = std::make_unique<TemporarySettings>();
        QVERIFY(m_settings->IsValid());
        ServerMap.clear();
        ServerRecord alpha{"alpha", "127.0.0.1", "ann", "pw", "", 21, 0, ""};
        alpha.trustedFingerprint = "AA:BB";
        QVERIFY(SaveNewServer(alpha));
    }
    void cleanup()
    {
        ServerMap.clear();
        m_settings.reset();
    }

    void choicesSetTheModeAndThePort_data()
    {
        QTest::addColumn<QString>("startPort");
        QTest::addColumn<QList<int>>("chosen"); // indexes chosen one after the other
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("encryption");
        QTest::newRow("default") << "21" << QList<int>{} << "21" << 0;
        QTest::newRow("require") << "21" << QList<int>{1} << "21" << 1;
        QTest::newRow("implicit moves 21 to 990") << "21" << QList<int>{2} << "990" << 2;
        QTest::newRow("implicit keeps another port") << "2121" << QList<int>{2} << "2121" << 2;
        QTest::newRow("leaving implicit moves 990 back") << "21" << QList<int>{2, 3} << "21" << 3;
        QTest::newRow("990 typed for explicit stays") << "990" << QList<int>{1, 0} << "990" << 0;
    }
    void choicesSetTheModeAndThePort()
    {
        QFETCH(QString, startPort);
        QFETCH(QList<int>, chosen);
        QFETCH(QString, port);
        QFETCH(int, encryption);

        CConnectDlg dialog(QStringLiteral("new"), {});
        auto* choice = dialog.findChild<EncryptionChoice*>(QStringLiteral("Encryption"));
        QVERIFY(choice);
        QCOMPARE(choice->count(), 4);
        QCOMPARE(choice->itemText(0), QStringLiteral("Use explicit FTP over TLS if available"));
        QCOMPARE(choice->itemText(3), QStringLiteral("Only use plain FTP (insecure)"));
        dialog.findChild<QLineEdit*>(QStringLiteral("1064"))->setText(QStringLiteral("127.0.0.1"));
        dialog.findChild<QLineEdit*>(QStringLiteral("1005"))->setText(startPort);
        for (const int index : chosen)
            choice->setCurrentIndex(index);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QString::number(dialog.Record().port), port);
        QCOMPARE(dialog.Record().encryption, encryption);
    }

    // A known server's mode is shown, and its trusted certificate goes along with the login data.
    void connectDialogHandsOnTheStoredServer()
    {
        ServerRecord alpha = Stored("alpha");
        alpha.encryption = 1;
        QVERIFY(SaveServerSettings(alpha));
        CConnectDlg dialog(QStringLiteral("alpha"), {});
        QCOMPARE(dialog.findChild<EncryptionChoice*>()->Value(), 1);
        dialog.accept();
        QCOMPARE(dialog.Record().encryption, 1);
        QCOMPARE(dialog.Record().trustedFingerprint, std::string("AA:BB"));
    }

    void propertySheetStoresTheMode()
    {
        WhenModalShows<CServerProperty>(this, [](CServerProperty* sheet) {
            auto* choice = sheet->Page2()->findChild<EncryptionChoice*>(QStringLiteral("Encryption"));
            QVERIFY(choice);
            QCOMPARE(choice->Value(), 0);
            choice->setCurrentIndex(choice->findData(2));
            emit choice->activated(choice->currentIndex());
            QCOMPARE(sheet->Page2()->findChild<QLineEdit*>(QStringLiteral("1005"))->text(), QStringLiteral("990"));
            sheet->findChild<QPushButton*>(QStringLiteral("1"))->click();
        });
        QVERIFY(ShowServerProperties(nullptr, QStringLiteral("alpha")));
        const ServerRecord stored = Stored("alpha");
        QCOMPARE(stored.encryption, 2);
        QCOMPARE(stored.port, 990);
        // Not shown on the sheet, so not lost by it.
        QCOMPARE(stored.trustedFingerprint, std::string("AA:BB"));
    }

private:
    std::unique_ptr<TemporarySettings> m_settings;
};

QTEST_MAIN(EncryptionUiTest)
#include "EncryptionUiTest.moc"
