// FTP over TLS against real servers with certificates made for the test: vsftpd requiring TLS
// and session reuse (explicit and implicit) and pyftpdlib under TLS 1.3 and 1.2; the
// certificate question; and, with the scripted server, what must never happen in clear.
#include "PyFtpd.h"
#include "QorFtp.h"
#include "RecordingUi.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "TestCertificates.h"
#include "Vsftpd.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <thread>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

// Made once per process; the test CA is what the library's CA store holds from then on.
const TestCertificates& Certificates()
{
    static const TestCertificates certificates;
    static const bool trusted = [] {
        setenv("SSL_CERT_FILE", certificates.ca().c_str(), 1);
        setenv("SSL_CERT_DIR", "/nonexistent", 1); // only the test CA, not the system's
        return true;
    }();
    (void)trusted;
    return certificates;
}

// Answers the certificate question as told and keeps what it was shown.
struct CertificateUi : RecordingUi {
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        std::lock_guard<std::mutex> guard(mutex);
        asked.push_back(certificate);
        return trust;
    }
    std::mutex mutex;
    std::vector<QorFtpCertificate> asked;
    bool trust = false;
};

enum class Server { PyFtpd13, PyFtpd12, PyFtpdIpv6, Vsftpd, VsftpdImplicit, Vsftpd12 };

struct TlsCase {
    Server server;
    bool passive;
};

void PrintTo(const TlsCase& c, std::ostream* out)
{
    const char* names[] = {"PyFtpdTls13", "PyFtpdTls12", "PyFtpdIpv6", "VsftpdReuse", "VsftpdImplicit", "VsftpdTls12"};
    *out << names[static_cast<int>(c.server)] << (c.passive ? "Passive" : "Active");
}

// One server of each kind per process, started on first use.
struct Servers {
    PyFtpd* pyftpd(Server kind)
    {
        std::unique_ptr<PyFtpd>& slot = kind == Server::PyFtpd13 ? tls13 : kind == Server::PyFtpd12 ? tls12 : ipv6;
        if (!slot)
            slot = std::make_unique<PyFtpd>(PyFtpdOptions{.address = kind == Server::PyFtpdIpv6 ? "::1" : "127.0.0.1",
                                                          .tlsCertificate = Certificates().server("good"),
                                                          .tls12Only = kind == Server::PyFtpd12});
        return slot.get();
    }
    Vsftpd* vsftpd(Server kind)
    {
        std::string whyNot;
        if (!Vsftpd::Available(whyNot))
            return nullptr;
        std::unique_ptr<Vsftpd>& slot = kind == Server::VsftpdImplicit ? implicitServer
            : kind == Server::Vsftpd12                                 ? tls12Server
                                                                       : explicitServer;
        if (!slot)
            slot = std::make_unique<Vsftpd>(VsftpdOptions{.tlsCertificate = Certificates().server("good"),
                                                          .implicitTls = kind == Server::VsftpdImplicit,
                                                          .tls12Only = kind == Server::Vsftpd12});
        return slot.get();
    }
    std::unique_ptr<PyFtpd> tls13, tls12, ipv6;
    std::unique_ptr<Vsftpd> explicitServer, implicitServer, tls12Server;
};

Servers& Shared()
{
    static Servers servers;
    return servers;
}

class TlsSession : public ::testing::TestWithParam<TlsCase> {
protected:
    void SetUp() override
    {
        const Server kind = GetParam().server;
        const bool vs = kind == Server::Vsftpd || kind == Server::VsftpdImplicit || kind == Server::Vsftpd12;
        Vsftpd* vsftpd = vs ? Shared().vsftpd(kind) : nullptr;
        if (vs && !vsftpd)
            GTEST_SKIP() << "vsftpd cannot run here (it needs root)";
        PyFtpd* pyftpd = vs ? nullptr : Shared().pyftpd(kind);
        root = vsftpd ? vsftpd->root() : pyftpd->root();
        connection.SetUi(&ui);
        connection.SetTimeout(10);
        connection.SetPassive(GetParam().passive ? 1 : 0);
        connection.SetEncryption(kind == Server::VsftpdImplicit ? QorFtpEncryption::RequireImplicit
                                                                : QorFtpEncryption::RequireExplicit);
        ASSERT_EQ(connection.Login(
                      kind == Server::PyFtpdIpv6 ? "::1" : "127.0.0.1", vsftpd ? vsftpd->user() : PyFtpd::kUser,
                      vsftpd ? vsftpd->password() : PyFtpd::kPassword, vsftpd ? vsftpd->port() : pyftpd->port(), ""),
                  1)
            << ui.Last();
        folder = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(folder.begin(), folder.end(), '/', '_');
        ASSERT_EQ(connection.MakeDirectory(folder), 1) << ui.Last();
        ASSERT_EQ(connection.ChangeDirectory("/" + folder), 1) << ui.Last();
    }
    void TearDown() override
    {
        connection.Close();
        if (!folder.empty())
            fs::remove_all(root + "/" + folder);
    }

    CertificateUi ui;
    QorFtpConnection connection;
    TempDir local;
    std::string root, folder;
};

// Listing, ten transfers each way on one connection (every data connection resumes the control
// connection's session, or vsftpd refuses it), resume and append: all encrypted.
TEST_P(TlsSession, ListsAndTransfersOverOneConnection)
{
    const std::string description = connection.EncryptionDescription();
    const bool tls12 = GetParam().server == Server::PyFtpd12 || GetParam().server == Server::Vsftpd12;
    EXPECT_EQ(description.rfind(tls12 ? "TLSv1.2, " : "TLSv1.3, ", 0), 0u) << description;
    EXPECT_TRUE(ui.asked.empty()) << "a certificate of the trusted CA needs no question";

    const std::string content = RandomBytes(700'000, 3);
    WriteFileBytes(local.file("up.bin"), content);
    for (int i = 0; i < 10; ++i) {
        const std::string name = "file" + std::to_string(i);
        ASSERT_EQ(connection.PutFile(local.file("up.bin"), name, 0, 0), 1) << i << ": " << ui.Last();
        ASSERT_EQ(connection.GetFile(name, local.file(name), 0, 0), 1) << i << ": " << ui.Last();
        ASSERT_TRUE(ReadFileBytes(local.file(name)) == content) << i;
    }
    int listed = 0;
    _Qor_Ftp_FileData rec;
    ASSERT_EQ(connection.GetDir(""), 10) << ui.Last();
    while (connection.GetNextFile(rec, 1))
        listed += rec.Size == content.size();
    EXPECT_EQ(listed, 10);

    WriteFileBytes(local.file("part"), content.substr(0, 100'000));
    ASSERT_EQ(connection.GetFile("file0", local.file("part"), 100'000, 0), 1) << ui.Last();
    EXPECT_TRUE(ReadFileBytes(local.file("part")) == content);
    ASSERT_EQ(connection.PutFile(local.file("up.bin"), "file1", 0, 1), 1) << ui.Last();
    EXPECT_EQ(fs::file_size(root + "/" + folder + "/file1"), 2 * content.size());
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
}

INSTANTIATE_TEST_SUITE_P(Servers, TlsSession,
                         ::testing::Values(TlsCase{Server::PyFtpd13, false}, TlsCase{Server::PyFtpd13, true},
                                           TlsCase{Server::PyFtpd12, false}, TlsCase{Server::PyFtpd12, true},
                                           TlsCase{Server::PyFtpdIpv6, false}, TlsCase{Server::PyFtpdIpv6, true},
                                           TlsCase{Server::Vsftpd, false}, TlsCase{Server::Vsftpd, true},
                                           TlsCase{Server::Vsftpd12, false}, TlsCase{Server::Vsftpd12, true},
                                           TlsCase{Server::VsftpdImplicit, true}));

struct CertificateCase {
    const char* kind;
    const char* problem; // what the question says, in OpenSSL's words
};

class Certificate : public ::testing::TestWithParam<CertificateCase> {
protected:
    int Login(PyFtpd& server)
    {
        connection.SetUi(&ui);
        connection.SetTimeout(10);
        connection.SetPassive(1);
        connection.SetEncryption(QorFtpEncryption::IfAvailable);
        return connection.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, server.port(), "");
    }
    CertificateUi ui;
    QorFtpConnection connection;
};

// A certificate that fails the checks is asked about with its facts; No ends the connection
// before the user name goes out, Yes logs in and hands the program the fingerprint to keep;
// once kept, it is not asked again, and another certificate for the same server is asked about
// as a change.
TEST_P(Certificate, IsAskedAboutThenTrusted)
{
    PyFtpd server(PyFtpdOptions{.tlsCertificate = Certificates().server(GetParam().kind)});
    ASSERT_EQ(Login(server), 0);
    ASSERT_EQ(ui.asked.size(), 1u);
    const QorFtpCertificate shown = ui.asked[0];
    EXPECT_EQ(shown.problem, GetParam().problem);
    EXPECT_EQ(shown.host, "127.0.0.1");
    EXPECT_EQ(shown.port, server.port());
    EXPECT_NE(shown.subject.find(GetParam().kind), std::string::npos) << shown.subject;
    EXPECT_FALSE(shown.issuer.empty());
    EXPECT_NE(shown.validUntil.find("UTC"), std::string::npos);
    EXPECT_EQ(shown.fingerprint.size(), 32u * 3 - 1) << "SHA-256 as hex pairs";
    EXPECT_TRUE(shown.trustedBefore.empty());
    EXPECT_EQ(ui.Last(),
              "The certificate of '127.0.0.1' is not trusted, so the connection was closed.\n\n"
                  + std::string(GetParam().problem));
    EXPECT_EQ(connection.GetSocket(), nullptr);

    connection.Close();
    ui.trust = true;
    ASSERT_EQ(Login(server), 1) << ui.Last();
    EXPECT_EQ(connection.NewlyTrustedFingerprint(), shown.fingerprint);
    connection.Close();

    connection.SetTrustedFingerprint(shown.fingerprint);
    ui.asked.clear();
    ASSERT_EQ(Login(server), 1) << ui.Last();
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_TRUE(connection.NewlyTrustedFingerprint().empty());
    connection.Close();

    connection.SetTrustedFingerprint("00:11:22");
    ASSERT_EQ(Login(server), 1) << ui.Last();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].trustedBefore, "00:11:22");
    connection.Close();
}

INSTANTIATE_TEST_SUITE_P(Kinds, Certificate,
                         ::testing::Values(CertificateCase{"selfsigned", "self-signed certificate"},
                                           CertificateCase{"expired", "certificate has expired"},
                                           CertificateCase{"othername", "IP address mismatch"}),
                         [](const auto& info) { return std::string(info.param.kind); });

// What follows AUTH TLS: a refusal under Require never lets the user name out, a refusal under
// if-available logs in plain, and garbage for a handshake ends the login without going on in clear.
struct AuthCase {
    const char* name;
    const char* answer; // to AUTH TLS, and what follows it
    QorFtpEncryption mode;
    const char* message; // how the one message begins; null: a plain login
};

class TlsScripted : public ::testing::TestWithParam<AuthCase> { };

TEST_P(TlsScripted, NeverSendsTheLoginInClearUnlessAllowed)
{
    Certificates();
    const AuthCase& c = GetParam();
    ScriptedServer server;
    server.Send("220 hi\r\n").Expect("AUTH TLS").Send(c.answer);
    if (!c.message)
        server.LogIn();
    server.Start();
    CertificateUi ui;
    QorFtpConnection connection;
    connection.SetUi(&ui);
    connection.SetTimeout(5);
    connection.SetEncryption(c.mode);
    EXPECT_EQ(connection.Login("127.0.0.1", "ann", "pw", server.port(), ""), c.message ? 0 : 1);
    EXPECT_TRUE(server.WaitDone(2000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    bool userSent = false;
    for (const std::string& line : server.Received())
        userSent = userSent || line.rfind("USER", 0) == 0;
    EXPECT_EQ(userSent, !c.message);
    EXPECT_EQ(ui.Last().rfind(c.message ? c.message : "", 0), 0u) << ui.Last();
    EXPECT_TRUE(connection.EncryptionDescription().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TlsScripted,
    ::testing::Values(AuthCase{"RequireRefused", "500 what\r\n", QorFtpEncryption::RequireExplicit,
                               "'127.0.0.1' does not offer encryption, so the user name and password were not "
                               "sent.\n\n500 what"},
                      AuthCase{"IfAvailableRefused", "500 what\r\n", QorFtpEncryption::IfAvailable, nullptr},
                      AuthCase{"Garbage", "234 go\r\nthis is not TLS at all\r\n", QorFtpEncryption::IfAvailable,
                               "The encrypted connection to '127.0.0.1' failed: "}),
    [](const auto& info) { return std::string(info.param.name); });

// A server that goes silent after agreeing: the time-out or a cancel ends the handshake.
TEST(TlsHandshake, SilentEndsAtTheTimeOutOrACancel)
{
    for (bool cancel : {false, true}) {
        ScriptedServer silent;
        silent.Send("220 hi\r\n").Expect("AUTH TLS").Send("234 go\r\n").Hang();
        silent.Start();
        RecordingUi ui;
        QorFtpConnection waiting;
        waiting.SetUi(&ui);
        waiting.SetTimeout(cancel ? 30 : 1);
        waiting.SetEncryption(QorFtpEncryption::RequireExplicit);
        std::thread canceller([&] {
            if (cancel) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                waiting.CancelOperation();
            }
        });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(waiting.Login("127.0.0.1", "ann", "pw", silent.port(), ""), 0);
        canceller.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << cancel;
        EXPECT_EQ(waiting.GetSocket(), nullptr);
    }
}

// Between two servers whose data is encrypted and which cannot take the client's part of TLS
// (SSCN), nothing is copied directly: the data would go in clear or not at all.
TEST(TlsServerToServer, WithoutSscnIsNotCopiedDirectly)
{
    PyFtpd plainServer;
    RecordingUi ui;
    QorFtpConnection encrypted, plain;
    for (QorFtpConnection* connection : {&encrypted, &plain}) {
        connection->SetUi(&ui);
        connection->SetPassive(1);
    }
    encrypted.SetEncryption(QorFtpEncryption::RequireExplicit);
    PyFtpd& tls = *Shared().pyftpd(Server::PyFtpd13);
    ASSERT_EQ(encrypted.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, tls.port(), ""), 1) << ui.Last();
    ASSERT_EQ(plain.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, plainServer.port(), ""), 1);
    EXPECT_FALSE(encrypted.CanCopyDirectlyTo(plain.GetSocket()));
    EXPECT_FALSE(plain.CanCopyDirectlyTo(encrypted.GetSocket()));
    EXPECT_TRUE(plain.CanCopyDirectlyTo(plain.GetSocket()));
    EXPECT_EQ(encrypted.FromTo(plain.GetSocket(), "a", "b", 0), 0);
    EXPECT_EQ(ui.Last(), "The servers cannot exchange encrypted data directly.");
}

} // namespace
