// A background transfer between two encrypted servers that cannot exchange the data directly
// (pyftpdlib has no SSCN): the workers' certificate questions reach the interaction, the trusted
// certificates are kept for both servers and not asked about again, and the file passes through a
// temporary file here that is gone afterwards.
#include "OperationsFixture.h"

#include "TestCertificates.h"
#include "servers/ServerStore.h"

#include <filesystem>

using namespace optest;

namespace {

// As the program's own library interface does: certificate questions go to the interaction.
class AskingUi : public RecordingUi {
public:
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        return GetInteraction().AskTrustCertificate(certificate);
    }
};

class EncryptedTransfer : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        QorFtpSetUi(&asking);
        for (const auto& [name, server] : {std::pair<std::string, PyFtpd*>{"one", &first}, {"two", &second}}) {
            ServerRecord record{name, "127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, "", int(server->port()), 1, ""};
            record.encryption = static_cast<int>(QorFtpEncryption::RequireExplicit);
            ASSERT_TRUE(SaveNewServer(record));
        }
        WriteFileBytes(first.root() + "/a.bin", content);
        previousTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QByteArray::fromStdString(temp.path()));
    }
    void TearDown() override
    {
        OperationsTest::TearDown();
        qputenv("TMPDIR", previousTemp);
    }

    TestCertificates certificates;
    PyFtpd first{PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")}};
    PyFtpd second{PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")}};
    AskingUi asking;
    TempDir temp;
    QByteArray previousTemp;
    const std::string content = RandomBytes(400'000, 11);
};

} // namespace

TEST_F(EncryptedTransfer, TrustedOnceThenCopiedThroughATemporaryFile)
{
    struct Round {
        std::deque<bool> answers;
        std::size_t askedSoFar;
        bool copied;
    };
    // Refused: nothing is copied or kept. Trusted: both servers are asked once. Then no question.
    const Round rounds[] = {{{false}, 1, false}, {{true, true}, 3, true}, {{}, 3, true}};
    int n = 0;
    for (const Round& round : rounds) {
        SCOPED_TRACE(n);
        const std::string target = "/copy" + std::to_string(n++) + ".bin";
        interaction.trustAnswers = round.answers;
        Run(Request(OperationKind::Transfer, "one", "/a.bin", "", "two", target));
        EXPECT_EQ(interaction.Of("certificate").size(), round.askedSoFar);
        EXPECT_EQ(std::filesystem::exists(second.root() + target), round.copied);
        if (round.copied) {
            EXPECT_EQ(ReadFileBytes(second.root() + target), content);
        }
        EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
    }
    const std::vector<std::string> asked = interaction.Of("certificate");
    ServerMap.clear();
    LoadServers();
    EXPECT_EQ(ServerMap.at("one").trustedFingerprint, asked.at(1));
    EXPECT_EQ(ServerMap.at("two").trustedFingerprint, asked.at(2));
}
