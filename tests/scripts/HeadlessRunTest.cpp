// `tarvo --run-script` end to end: a real process runs every step kind against two pyftpdlib
// servers, the files on both sides checked byte for byte, and the exit codes.
#include "ChildProcess.h"
#include "PyFtpd.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

class HeadlessRun : public ::testing::Test {
protected:
    // Runs tarvo with its settings in a folder of the test's own, never the user's.
    int Tarvo(std::vector<std::string> arguments, std::string* output = nullptr, const std::string& input = "")
    {
        std::vector<std::string> argv = {"/usr/bin/env", "XDG_CONFIG_HOME=" + config.path(), TARVO_BINARY};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunCommand(argv, input, output);
    }

    void AddServer(const std::string& name, const PyFtpd& server)
    {
        ASSERT_EQ(Tarvo({"--add-server", name, "127.0.0.1:" + std::to_string(server.port()), PyFtpd::kUser,
                         PyFtpd::kPassword}),
                  0);
    }

    std::string Script(const std::string& text)
    {
        WriteFileBytes(local.file("job.ftp"), text);
        return local.file("job.ftp");
    }

    TempDir config;
    TempDir local;
};

TEST_F(HeadlessRun, EveryCommandAgainstTwoServers)
{
    PyFtpd one, two;
    AddServer("one", one);
    // The password can come from standard input rather than the command line.
    ASSERT_EQ(Tarvo({"--add-server", "two site", "127.0.0.1:" + std::to_string(two.port()), PyFtpd::kUser, "-"},
                    nullptr, std::string(PyFtpd::kPassword) + "\n"),
              0);
    const std::string up = RandomBytes(700'000, 1), tail = RandomBytes(1000, 2);
    WriteFileBytes(local.file("up.bin"), up);
    WriteFileBytes(local.file("tail bin"), tail);
    WriteFileBytes(local.file("down.bin"), "existing ");
    // Script mode asks nothing: existing targets are replaced.
    WriteFileBytes(local.file("got.bin"), "replaced");
    WriteFileBytes(one.root() + "/keep.bin", "replaced");
    const std::string l = local.path();
    std::string output;
    const int code = Tarvo({"--run-script",
                            Script("' nightly copy\n"
                                   "OPEN one\r\n"
                                   "put "
                                   + l
                                   + "/up.bin /up.bin\r\n"
                                     "putappend \""
                                   + l
                                   + "/tail bin\" /up.bin\r\n"
                                     "put "
                                   + l
                                   + "/up.bin /keep.bin\r\n"
                                     "chmod /keep.bin 600\r\n"
                                     "get /up.bin "
                                   + l
                                   + "/got.bin\r\n"
                                     "getappend /up.bin "
                                   + l
                                   + "/down.bin\r\n"
                                     "trans /up.bin to \"two site\" /copied.bin\r\n"
                                     "append /up.bin to \"two site\" /copied.bin\r\n"
                                     "del /up.bin\r\n"
                                     "close")},
                           &output);
    EXPECT_EQ(code, 0) << output;
    EXPECT_NE(output.find("put " + l + "/up.bin /up.bin: ok"), std::string::npos) << output;
    EXPECT_NE(output.find("close: ok"), std::string::npos) << output;

    const std::string whole = up + tail;
    EXPECT_EQ(ReadFileBytes(local.file("got.bin")), whole);
    EXPECT_EQ(ReadFileBytes(local.file("down.bin")), "existing " + whole);
    EXPECT_EQ(ReadFileBytes(two.root() + "/copied.bin"), whole + whole);
    EXPECT_EQ(ReadFileBytes(one.root() + "/keep.bin"), up);
    EXPECT_FALSE(fs::exists(one.root() + "/up.bin"));
    EXPECT_EQ(fs::status(one.root() + "/keep.bin").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(HeadlessRun, ExitCodes)
{
    PyFtpd one;
    AddServer("one", one);
    std::string output;
    // A failing step: exit 1, and the steps after it still run.
    EXPECT_EQ(Tarvo({"--run-script", Script("open one\nget /missing " + local.file("m") + "\nclose\n")}, &output), 1);
    EXPECT_NE(output.find("get /missing " + local.file("m") + ": failed"), std::string::npos) << output;
    EXPECT_NE(output.find("close: ok"), std::string::npos) << output;

    // A site that is not in the server list.
    EXPECT_EQ(Tarvo({"--run-script", Script("open nowhere\ndel /x\nclose\n")}, &output), 1);
    EXPECT_NE(output.find("Error getting the user information  for 'nowhere' ."), std::string::npos) << output;

    // Syntax errors: nothing runs.
    WriteFileBytes(one.root() + "/stays", "x");
    EXPECT_EQ(Tarvo({"--run-script", Script("open one\ndel /stays\nget /only-one\n")}, &output), 2);
    EXPECT_NE(output.find("Syntax error at line: 2\n\n'get /only-one'\n\nget <remote file> <local file>"),
              std::string::npos)
        << output;
    EXPECT_TRUE(fs::exists(one.root() + "/stays"));

    EXPECT_EQ(Tarvo({"--run-script", local.file("no-such.ftp")}, &output), 2);
    EXPECT_EQ(Tarvo({"--help"}, &output), 0);
    EXPECT_NE(output.find("--run-script"), std::string::npos);
}

TEST_F(HeadlessRun, VerbosePrintsTheConversationToStandardError)
{
    PyFtpd server;
    AddServer("one", server);
    ASSERT_EQ(Tarvo({"--add-server", "bad", "127.0.0.1:" + std::to_string(server.port()), PyFtpd::kUser, "wrong"}), 0);
    const std::string script = Script("open one\nclose\nopen bad\nclose\n");
    const std::string errors = local.file("errors.txt");
    const auto run = [&](bool verbose, std::string& output) {
        std::vector<std::string> argv = {"/usr/bin/env",
                                         "XDG_CONFIG_HOME=" + config.path(),
                                         "/bin/sh",
                                         "-c",
                                         "exec \"$@\" 2>\"" + errors + "\"",
                                         "sh",
                                         TARVO_BINARY,
                                         "--run-script",
                                         script};
        if (verbose)
            argv.push_back("--verbose");
        EXPECT_EQ(RunCommand(argv, "", &output), 1);
        return ReadFileBytes(errors);
    };
    std::string output;
    const std::string trace = run(true, output);
    for (const char* line : {" 127.0.0.1 < 220 pyftpdlib ready\n", " 127.0.0.1 > USER user\n",
                             " 127.0.0.1 < 230 Login successful.\n", " 127.0.0.1 < 530 Authentication failed.\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << " in\n" << trace;
    std::size_t masked = 0;
    for (std::size_t at = trace.find("> PASS ********\n"); at != std::string::npos;
         at = trace.find("> PASS ********\n", at + 1))
        ++masked;
    EXPECT_EQ(masked, 2u) << trace;
    EXPECT_EQ(trace.find(PyFtpd::kPassword), std::string::npos) << trace;
    EXPECT_EQ(trace.find("wrong"), std::string::npos) << trace;
    EXPECT_EQ(output.find("> USER"), std::string::npos) << output;
    EXPECT_NE(output.find("open bad: failed"), std::string::npos) << output;

    EXPECT_EQ(run(false, output).find("> USER"), std::string::npos);
}

TEST_F(HeadlessRun, AddServerKeepsTheStoreWhole)
{
    const auto add = [this](const std::string& name, std::string* output) {
        return Tarvo({"--add-server", name, "127.0.0.1:2121", "bob", "pw"}, output);
    };
    std::string output;
    ASSERT_EQ(add("one", &output), 0) << output;
    const std::string conf = config.file("Halvern/Tarvo.conf"), saved = ReadFileBytes(conf);
    // Names of the store's own values, and no name at all: refused, the file untouched.
    for (const auto& [name, said] : {std::pair<std::string, std::string>{"", "A server needs a name."},
                                     {"Version", "\"Version\" cannot be a server name"},
                                     {"Servers", "\"Servers\" cannot be a server name"}}) {
        EXPECT_EQ(add(name, &output), 2) << name;
        EXPECT_NE(output.find(said), std::string::npos) << output;
        EXPECT_EQ(ReadFileBytes(conf), saved);
    }
    // A stray quote made the rest of the file one value: the damaged file is kept beside the new
    // one, and standard error says where.
    const std::string damaged = "[Settings]\nx=\"\n" + saved;
    WriteFileBytes(conf, damaged);
    ASSERT_EQ(add("two", &output), 0) << output;
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(config.file("Halvern")))
        if (entry.path().filename().string().starts_with("Tarvo.conf.damaged-"))
            kept.push_back(entry.path().string());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(output.find(kept[0]), std::string::npos) << output;
    EXPECT_EQ(ReadFileBytes(kept[0]), damaged);
    // That message is no fault of a script's: it still runs.
    WriteFileBytes(conf, damaged);
    EXPECT_EQ(Tarvo({"--run-script", Script("open nowhere\nclose\n")}, &output), 1);
    EXPECT_NE(output.find(".damaged-"), std::string::npos) << output;
    EXPECT_NE(output.find("close: "), std::string::npos) << output;
}

} // namespace
