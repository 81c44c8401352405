// Notifications of operations that ended while the user was elsewhere: which ends are announced,
// how a worker's failure message reaches the announcement, and the D-Bus call itself, received
// by a fake notification service on a private bus.
#include "app/OperationNotifier.h"
#include "app/QtOperationHost.h"
#include "operations/OperationLists.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

struct Sent {
    QString summary;
    QString body;
};

class RecordingSender : public NotificationSender {
public:
    void Notify(const QString& summary, const QString& body) override { sent.push_back({summary, body}); }
    std::vector<Sent> sent;
};

} // namespace

// Stands in for the desktop's notification daemon.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QVariantList lastCall;
    int calls = 0;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout)
    {
        ++calls;
        lastCall = {appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout};
        return 1;
    }
};

class NotificationTest : public QObject {
    Q_OBJECT

private slots:
    void announcesOnlyEndsTheUserDidNotSee_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("windowActive");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        const QString download = QStringLiteral("Downloading /pub/a.txt");
        const QString refused = QStringLiteral("550 Permission denied.");
        QTest::newRow("finished while away")
            << download << false << QString() << false << QStringLiteral("Downloading /pub/a.txt finished")
            << QStringLiteral("The operation ended without an error.");
        QTest::newRow("failed while away")
            << download << false << refused << false << QStringLiteral("Downloading /pub/a.txt failed") << refused;
        QTest::newRow("finished in sight") << download << true << QString() << false << QString() << QString();
        QTest::newRow("failed in sight") << download << true << refused << false << QString() << QString();
        QTest::newRow("cancelled while away") << download << false << QString() << true << QString() << QString();
        QTest::newRow("untitled listing") << QString() << false << QString() << false << QString() << QString();
    }

    void announcesOnlyEndsTheUserDidNotSee()
    {
        QFETCH(QString, title);
        QFETCH(bool, windowActive);
        QFETCH(QString, failure);
        QFETCH(bool, cancelled);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        RecordingSender sender;
        OperationNotifier notifier(sender, [windowActive] { return windowActive; });
        const CancelFlag flag = std::make_shared<std::atomic<bool>>(false);
        notifier.Started(9, title, flag);
        if (!failure.isEmpty()) {
            notifier.Failed(9, failure);
            notifier.Failed(9, QStringLiteral("a second message of the same failure"));
        }
        flag->store(cancelled);
        notifier.Ended(9);
        notifier.Ended(9);
        if (summary.isEmpty()) {
            QVERIFY(sender.sent.empty());
            return;
        }
        QCOMPARE(sender.sent.size(), std::size_t(1));
        QCOMPARE(sender.sent[0].summary, summary);
        QCOMPARE(sender.sent[0].body, body);
    }

    // The worker that runs an operation shows its failure; the host ties the two together.
    void workersFailureMessageNamesItsOperation()
    {
        RecordingSender sender;
        QtOperationHost host(nullptr, nullptr, &sender);
        OperationStatus status;
        status.operationId = 41;
        status.title = "Uploading /tmp/b.txt";
        OperationStatusList.Append(status);
        ReportOperationFailure(QStringLiteral("not in an operation"));

        std::atomic<bool> done{false};
        std::thread worker([&] {
            host.OperationCount(true, 41);
            ReportOperationFailure(QStringLiteral("553 Could not create file."));
            OperationStatusList.RemoveStatusEntry(41);
            host.OperationCount(false, 41);
            ReportOperationFailure(QStringLiteral("after the end"));
            done = true;
        });
        QTRY_VERIFY(done.load());
        worker.join();
        // The tree's listing, counted on the user-interface thread, is no background operation.
        status.operationId = 42;
        status.title = "Retrieving /pub";
        OperationStatusList.Append(status);
        host.OperationCount(true, 42);
        OperationStatusList.RemoveStatusEntry(42);
        host.OperationCount(false, 42);
        QCoreApplication::processEvents();
        QCOMPARE(sender.sent.size(), std::size_t(1));
        QCOMPARE(sender.sent[0].summary, QStringLiteral("Uploading /tmp/b.txt failed"));
        QCOMPARE(sender.sent[0].body, QStringLiteral("553 Could not create file."));
    }

    void notifyCallReachesTheNotificationService()
    {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                      QStringLiteral("--print-address")});
        QVERIFY2(daemon.waitForStarted(), "dbus-daemon (Debian dbus-daemon) is needed");
        QTRY_VERIFY(daemon.canReadLine());
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        {
            QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("fake-notifications"));
            QDBusConnection program = QDBusConnection::connectToBus(address, QStringLiteral("program"));
            QVERIFY(service.isConnected() && program.isConnected());
            FakeNotifications fake;
            QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                           QDBusConnection::ExportAllSlots));
            QVERIFY(service.registerService(QStringLiteral("org.freedesktop.Notifications")));

            DBusNotificationSender(program).Notify(QStringLiteral("Downloading /pub/a.txt finished"),
                                                   QStringLiteral("The operation ended without an error."));
            QTRY_COMPARE(fake.calls, 1);
            QCOMPARE(fake.lastCall.at(0).toString(), QStringLiteral("Tarvo"));
            QCOMPARE(fake.lastCall.at(2).toString(), QStringLiteral("tarvo"));
            QCOMPARE(fake.lastCall.at(3).toString(), QStringLiteral("Downloading /pub/a.txt finished"));
            QCOMPARE(fake.lastCall.at(4).toString(), QStringLiteral("The operation ended without an error."));
            QCOMPARE(fake.lastCall.at(6).toMap().value(QStringLiteral("desktop-entry")).toString(),
                     QStringLiteral("tarvo"));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(5000));
    }
};

QTEST_MAIN(NotificationTest)
#include "NotificationTest.moc"
