// A connected server's node tells whether its connection is encrypted (a lock, and the TLS version
// and cipher in its tooltip), and a new server whose certificate the user trusted while connecting
// is stored with that certificate.
#include "BrowseTestSupport.h"
#include "PyFtpd.h"
#include "TestCertificates.h"

#include "app/BrowsePanes.h"
#include "filelist/CFileView.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "tree/CPathView.h"
#include "tree/FolderTreeModel.h"

#include <QtTest>

using namespace tarvo::test;

namespace {

// Trusts every certificate it is asked about, and counts the questions.
class TrustingUi : public RecordingUi {
public:
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        fingerprints.push_back(certificate.fingerprint);
        return true;
    }
    std::vector<std::string> fingerprints;
};

} // namespace

class EncryptedTreeTest : public QObject {
    Q_OBJECT

private:
    TemporarySettings m_settings;
    RecordingHost m_host;
    TrustingUi m_ui;

private slots:
    void init()
    {
        SetOperationHost(&m_host);
        QorFtpSetUi(&m_ui);
        ServerMap.clear();
        OperationStatusList.Clear();
    }
    void cleanup()
    {
        QorFtpSetUi(nullptr);
        SetOperationHost(nullptr);
    }

    void serverNodeShowsTheEncryption_data()
    {
        QTest::addColumn<bool>("tls");
        QTest::newRow("plain server") << false;
        QTest::newRow("TLS server") << true;
    }
    void serverNodeShowsTheEncryption()
    {
        QFETCH(bool, tls);
        TestCertificates certificates;
        PyFtpdOptions options;
        if (tls)
            options.tlsCertificate = certificates.server("selfsigned");
        PyFtpd server(options);
        m_ui.fingerprints.clear();
        {
            CPathView tree;
            CFileView list;
            LinkPanes(&tree, &list);
            QSignalSpy done(&tree, &CPathView::ConnectionCompleted);
            AnswerConnectDialog(this, QStringLiteral("Site"), server.port(), QStringLiteral("user"),
                                QStringLiteral("secret"));
            tree.OnNewConnection();
            QVERIFY(Fired(done));
            QVERIFY(done.last().at(1).toBool());

            QModelIndex node;
            for (int row = 0; row < tree.Model()->rowCount(); ++row) {
                if (tree.Model()->index(row, 0).data().toString() == QStringLiteral("Site"))
                    node = tree.Model()->index(row, 0);
            }
            QVERIFY(node.isValid());
            QCOMPARE(node.data(CPathView::EncryptedRole).toBool(), tls);
            const QString tip = node.data(Qt::ToolTipRole).toString();
            QVERIFY2(tip.contains(QStringLiteral("TLSv1.")) == tls, qPrintable(tip));
            QVERIFY2(tip.contains(QStringLiteral("not encrypted")) == !tls, qPrintable(tip));
        }
        QCOMPARE(m_ui.fingerprints.size(), std::size_t(tls ? 1 : 0));
        ServerMap.clear();
        LoadServers();
        QCOMPARE(ServerMap.at("Site").trustedFingerprint, tls ? m_ui.fingerprints.at(0) : std::string());
    }
};

QTEST_MAIN(EncryptedTreeTest)
#include "EncryptedTreeTest.moc"
