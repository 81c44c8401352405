// The command line and FTP over TLS: --add-server --encryption stores the mode (and port 990 for
// implicit TLS), a script meeting an unverified certificate fails and says how to trust it,
// --trust-certificate remembers it only on "yes", and a server-to-server copy between two
// encrypted servers that cannot exchange the data directly passes through a temporary file here,
// which is gone afterwards.
#include "ChildProcess.h"
#include "PyFtpd.h"
#include "TempDir.h"
#include "TestCertificates.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

class EncryptedRun : public ::testing::Test {
protected:
    int Tarvo(std::vector<std::string> arguments, std::string* output = nullptr, const std::string& input = "")
    {
        std::vector<std::string> argv
            = {"/usr/bin/env", "XDG_CONFIG_HOME=" + config.path(), "TMPDIR=" + temp.path(), TARVO_BINARY};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunCommand(argv, input, output);
    }

    QVariant Stored(const std::string& server, const char* value)
    {
        QSettings store(QString::fromStdString(config.path() + "/Halvern/Tarvo.conf"), QSettings::IniFormat);
        return store.value(QString::fromStdString("Servers/" + server + "/") + QLatin1String(value));
    }

    TempDir config;
    TempDir temp;
    TempDir local;
};

} // namespace

TEST_F(EncryptedRun, AddServerStoresTheEncryption)
{
    struct Case {
        std::vector<std::string> extra;
        std::string host;
        int exitCode;
        int encryption;
        int port;
    };
    const Case cases[] = {
        {{}, "127.0.0.1", 0, 0, 21},
        {{"--encryption", "if-available"}, "127.0.0.1", 0, 0, 21},
        {{"--encryption", "require"}, "127.0.0.1", 0, 1, 21},
        {{"--encryption", "implicit"}, "127.0.0.1", 0, 2, 990},
        {{"--encryption", "implicit"}, "127.0.0.1:2990", 0, 2, 2990},
        {{"--encryption", "plain"}, "127.0.0.1", 0, 3, 21},
        {{"--encryption", "tls"}, "127.0.0.1", 2, -1, -1},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "s" + std::to_string(n++);
        SCOPED_TRACE(name);
        std::vector<std::string> arguments = {"--add-server", name, c.host, "bob", "pw"};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        std::string output;
        ASSERT_EQ(Tarvo(arguments, &output), c.exitCode) << output;
        EXPECT_EQ(Stored(name, "ENC").toInt(), c.exitCode == 0 ? c.encryption : 0);
        if (c.exitCode == 0)
            EXPECT_EQ(Stored(name, "PORT").toInt(), c.port);
        else
            EXPECT_FALSE(Stored(name, "IP").isValid());
    }
}

TEST_F(EncryptedRun, UntrustedCertificateTrustedOnceThenCopiedThroughHere)
{
    TestCertificates certificates;
    PyFtpd one(PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")});
    PyFtpd two(PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")});
    for (const auto& [name, server] : {std::pair<std::string, PyFtpd*>{"one", &one}, {"two", &two}})
        ASSERT_EQ(Tarvo({"--add-server", name, "127.0.0.1:" + std::to_string(server->port()), PyFtpd::kUser,
                         PyFtpd::kPassword, "--passive", "--encryption", "require"}),
                  0);
    const std::string data = RandomBytes(300'000, 7);
    WriteFileBytes(one.root() + "/a.bin", data);
    const std::string script = local.file("copy.ftp");
    WriteFileBytes(script, "open one\ntrans /a.bin to two /b.bin\nclose\n");

    std::string output;
    EXPECT_EQ(Tarvo({"--run-script", script}, &output), 1);
    EXPECT_NE(output.find("open one: failed"), std::string::npos) << output;
    EXPECT_NE(output.find("tarvo --trust-certificate one"), std::string::npos) << output;

    struct Answer {
        std::string server;
        std::string input;
        int exitCode;
        bool remembered;
    };
    const Answer answers[]
        = {{"one", "no\n", 1, false}, {"one", "", 1, false}, {"one", "yes\n", 0, true}, {"two", "YES\r\n", 0, true}};
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.server + " " + answer.input);
        EXPECT_EQ(Tarvo({"--trust-certificate", answer.server}, &output, answer.input), answer.exitCode) << output;
        EXPECT_NE(output.find("Trust this certificate? (yes/no)"), std::string::npos) << output;
        EXPECT_NE(output.find("SHA-256 fingerprint:"), std::string::npos) << output;
        EXPECT_EQ(!Stored(answer.server, "CERT").toString().isEmpty(), answer.remembered);
    }
    // Trusted now: nothing is asked.
    EXPECT_EQ(Tarvo({"--trust-certificate", "one"}, &output, ""), 0) << output;
    EXPECT_NE(output.find("already trusted (TLSv1."), std::string::npos) << output;

    EXPECT_EQ(Tarvo({"--run-script", script}, &output), 0) << output;
    EXPECT_NE(output.find("trans /a.bin to two /b.bin: ok"), std::string::npos) << output;
    EXPECT_EQ(ReadFileBytes(two.root() + "/b.bin"), data);
    EXPECT_TRUE(fs::is_empty(temp.path()));
}
