// The server property sheet and the options sheet: every field reaches the settings file, the
// drag delay keeps to 0.4 to 10 seconds and steps by its rule, and an applied option is the one
// the program runs with at once, in a file only its owner may read. Encryption: the connect
// dialog and the property sheet write the chosen mode and move the port between 21 and 990 for
// implicit TLS (the certificate question is in tests/operations/EncryptedTransferTest.cpp).
#include "FakeKeyring.h"
#include "GuiTestSupport.h"

#include "dialogs/ConnectDialog.h"
#include "dialogs/EncryptionChoice.h"
#include "dialogs/OptionsSheet.h"
#include "dialogs/ServerPropertySheet.h"
#include "servers/PasswordKeyring.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

template <typename T> T* Child(QWidget* parent, int id)
{
    return parent->findChild<T*>(QString::number(id));
}

void Type(QLineEdit* edit, const QString& text)
{
    // As a paste would: an edit by the user, which setText() is not.
    edit->selectAll();
    edit->insert(text);
}

void Ok(QDialog* sheet)
{
    Child<QPushButton>(sheet, 1)->click();
}

// The stored record as the next start loads it.
ServerRecord Stored(const std::string& name)
{
    ServerMap.clear();
    LoadServers();
    ServerRecord record;
    GetServerRecord(name, record);
    return record;
}

QString FieldOf(const ServerRecord& record, int id)
{
    switch (id) {
    case 1064:
        return QString::fromStdString(record.address);
    case 1001:
        return QString::fromStdString(record.userName);
    case 1003:
        return QString::fromStdString(record.password);
    case 1097:
        return QString::fromStdString(record.account);
    case 1005:
        return QString::number(record.port);
    case 1008:
        return QString::number(record.passive);
    default:
        return QString::fromStdString(record.comment);
    }
}

bool OwnerOnly(const QString& file)
{
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions permissions = QFile::permissions(file);
    return (permissions & others) == 0 && (permissions & QFileDevice::WriteOwner);
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_settings = std::make_unique<TemporarySettings>();
        QVERIFY(m_settings->IsValid());
        ServerMap.clear();
        ServerRecord alpha{"alpha", "127.0.0.1", "ann", "pw", "acc", 21, 0, "old"};
        alpha.trustedFingerprint = "AA:BB";
        const ServerRecord beta{"beta", "127.0.0.2", "bob", "pw2", "", 2121, 1, ""};
        QVERIFY(SaveNewServer(alpha));
        QVERIFY(SaveNewServer(beta));
    }
    void cleanup()
    {
        ServerMap.clear();
        m_settings.reset();
    }

    void propertySheetStoresEachField_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("value");
        QTest::newRow("address") << 1064 << QStringLiteral("127.0.0.9");
        QTest::newRow("user") << 1001 << QStringLiteral("carol");
        QTest::newRow("password") << 1003 << QStringLiteral("s\u00e9cr;et");
        QTest::newRow("account") << 1097 << QStringLiteral("dept7");
        QTest::newRow("port") << 1005 << QStringLiteral("2100");
        QTest::newRow("passive") << 1008 << QStringLiteral("1");
        QTest::newRow("comment") << 1128 << QStringLiteral("two\nlines");
    }
    void propertySheetStoresEachField()
    {
        QFETCH(int, id);
        QFETCH(QString, value);
        const bool settingsPage = id != 1128;
        WhenModalShows<CServerProperty>(this, [&](CServerProperty* sheet) {
            QCOMPARE(Child<QComboBox>(sheet->Page1(), 1007)->currentText(), QStringLiteral("alpha"));
            QCOMPARE(Child<QComboBox>(sheet->Page2(), 1007)->currentText(), QStringLiteral("alpha"));
            if (id == 1128)
                Child<QPlainTextEdit>(sheet, id)->setPlainText(value);
            else if (id == 1008)
                Child<QCheckBox>(sheet, id)->click();
            else
                Type(Child<QLineEdit>(sheet->Page2(), id), value);
            Ok(sheet);
        });
        QCOMPARE(ShowServerProperties(nullptr, QStringLiteral("ALPHA")), settingsPage);
        QVERIFY(OwnerOnly(m_settings->File()));

        const ServerRecord stored = Stored("alpha");
        QCOMPARE(FieldOf(stored, id), value);
        // The settings page leaves the comment alone.
        if (settingsPage)
            QCOMPARE(stored.comment, std::string("old"));
        QCOMPARE(Stored("beta").address, std::string("127.0.0.2"));
    }

    // Edits made for one server are dropped when another is chosen before applying.
    void switchingServerDropsEdits()
    {
        CServerProperty sheet(QStringLiteral("alpha"));
        Type(Child<QLineEdit>(sheet.Page2(), 1064), QStringLiteral("127.0.0.99"));
        Child<QComboBox>(sheet.Page2(), 1007)->setCurrentText(QStringLiteral("beta"));
        QCOMPARE(Child<QLineEdit>(sheet.Page2(), 1005)->text(), QStringLiteral("2121"));
        Ok(&sheet);
        QCOMPARE(Stored("alpha").address, std::string("127.0.0.1"));
        QVERIFY(!sheet.Page2()->Applied());
    }

    void deleteRemovesServerAndShowsNext()
    {
        CServerProperty sheet(QStringLiteral("alpha"));
        WhenModalShows<QMessageBox>(this, [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        Child<QPushButton>(sheet.Page2(), 1023)->click();
        QCOMPARE(Child<QComboBox>(sheet.Page2(), 1007)->currentText(), QStringLiteral("beta"));
        QCOMPARE(Child<QLineEdit>(sheet.Page2(), 1001)->text(), QStringLiteral("bob"));
        QCOMPARE(Stored("alpha").name, std::string());
    }

    void dragDelayRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        const QString range = QStringLiteral("Please enter a number between 0.4 and 10.");
        QTest::newRow("0.3") << QStringLiteral("0.3") << false << range;
        QTest::newRow("0.4") << QStringLiteral("0.4") << true << QString();
        QTest::newRow("10") << QStringLiteral("10") << true << QString();
        QTest::newRow("10.5") << QStringLiteral("10.5") << false << range;
        QTest::newRow("not a number") << QStringLiteral("x") << false << QStringLiteral("Please enter a number.");
    }
    void dragDelayRange()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        COptions sheet;
        sheet.show();
        QString shown;
        WhenModalShows<QMessageBox>(&sheet, [&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        Type(Child<QLineEdit>(&sheet, 1045), typed);
        Ok(&sheet);
        QCOMPARE(sheet.isVisible(), !accepted);
        QCOMPARE(ProgramSettings().dragTime, accepted ? typed.toFloat() : 2.0f);
        QCOMPARE(shown, message);
    }

    void dragDelaySteps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("even tenths") << QString() << QList<int>{1} << QStringList{"2.2"};
        QTest::newRow("odd back to even") << "1.5" << QList<int>{1, 1} << QStringList{"1.6", "1.8"};
        QTest::newRow("floor") << "0.4" << QList<int>{-1} << QStringList{"0.4"};
        QTest::newRow("ceiling") << "10" << QList<int>{1} << QStringList{"10"};
        QTest::newRow("down to floor") << "0.6" << QList<int>{-1, -1} << QStringList{"0.4", "0.4"};
    }
    void dragDelaySteps()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, steps);
        QFETCH(QStringList, shown);
        COptions sheet;
        auto* spin = Child<CDelaySpin>(&sheet, 1043);
        if (!typed.isEmpty())
            Type(spin->Edit(), typed);
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QTest::keyClick(spin, steps[i] > 0 ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(spin->Edit()->text(), shown[i]);
        }
    }

    void optionAppliesAtOnce_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        QTest::newRow("DragTime") << 1043 << QStringLiteral("2.2");
        QTest::newRow("ShowPlus") << 1056 << QStringLiteral("1");
        QTest::newRow("WheelOver") << 1072 << QStringLiteral("1");
        QTest::newRow("ShowName") << 1062 << QStringLiteral("2");
        QTest::newRow("DefaultDD") << 1099 << QStringLiteral("/srv/incoming");
        QTest::newRow("ParallelTransfers") << 0 << QStringLiteral("4"); // two steps up from 2
    }
    void optionAppliesAtOnce()
    {
        QFETCH(int, id);
        QFETCH(QString, expected);
        const auto read = [id](const AppSettings& settings) {
            switch (id) {
            case 1043:
                return FormatDragTime(settings.dragTime);
            case 1056:
                return QString::number(settings.showPlus);
            case 1072:
                return QString::number(settings.wheelOver);
            case 1062:
                return QString::number(settings.showName);
            case 0:
                return QString::number(settings.parallelTransfers);
            default:
                return settings.defaultDownloadDir;
            }
        };
        QVERIFY(read(ProgramSettings()) != expected);
        WhenModalShows<COptions>(this, [&](COptions* sheet) {
            if (id == 1043)
                QTest::keyClick(Child<CDelaySpin>(sheet, id), Qt::Key_Up);
            else if (id == 1099)
                Type(Child<QLineEdit>(sheet, id), expected);
            else if (id == 0) {
                auto* spin = sheet->findChild<QSpinBox*>(QStringLiteral("ParallelTransfers"));
                QCOMPARE(sheet->findChild<QLabel*>(QStringLiteral("ParallelTransfersLabel"))->buddy(), spin);
                QTest::keyClick(spin, Qt::Key_Up);
                QTest::keyClick(spin, Qt::Key_Up);
            } else
                Child<QAbstractButton>(sheet, id)->click();
            Ok(sheet);
        });
        QCOMPARE(ShowOptions(nullptr), id == 1062);
        // Checked before anything opens the file again: opening it mends the mode.
        QVERIFY(OwnerOnly(m_settings->File()));
        QCOMPARE(read(ProgramSettings()), expected);
        QCOMPARE(read(LoadAppSettings()), expected);
    }

    // Off by default; ticked, the saved passwords leave the file for the keyring, and come back
    // when it is cleared again.
    void keyringOptionMovesThePasswords()
    {
        const auto keyring = std::make_shared<tarvo::test::FakeKeyring>();
        SetPasswordKeyring(keyring);
        for (const bool on : {true, false}) {
            COptions sheet;
            auto* box = sheet.findChild<QCheckBox*>(QStringLiteral("UseKeyring"));
            QVERIFY(box);
            QCOMPARE(box->isChecked(), !on);
            box->click();
            Ok(&sheet);
            QCOMPARE(ProgramSettings().useKeyring, on ? 1 : 0);
            const QSettings raw(m_settings->File(), QSettings::IniFormat);
            QCOMPARE(raw.contains(QStringLiteral("Servers/alpha/UP")), !on);
            QCOMPARE(keyring->entries.size(), on ? 2u : 0u);
            QCOMPARE(Stored("beta").password, std::string("pw2"));
        }
        SetPasswordKeyring(nullptr);
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

QTEST_MAIN(SheetsTest)
#include "SheetsTest.moc"
