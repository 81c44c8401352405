#include "HeadlessRunner.h"

#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationLists.h"
#include "scripts/ScriptParser.h"
#include "scripts/ScriptWriter.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "servers/ServerStoreConversion.h"

#include "QorFtp.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Usage: tarvo [SCRIPT.ftp]\n"
    "       tarvo --run-script SCRIPT.ftp\n"
    "       tarvo --add-server NAME HOST[:PORT] USER PASSWORD [--passive]\n"
    "       tarvo --help\n"
    "\n"
    "Without options Tarvo opens its window, with SCRIPT.ftp loaded when one is named.\n"
    "\n"
    "--run-script runs a script without a window and without a display server: every step\n"
    "prints one line (the step, then ok or failed), messages go to standard error. The sites\n"
    "that 'open' names come from Tarvo's server list. Exit status: 0 when every step\n"
    "succeeded, 1 when a step failed, 2 when the script could not be loaded or has syntax\n"
    "errors (then nothing runs).\n"
    "\n"
    "--add-server saves a server in that list (for example for a script run by cron). A\n"
    "PASSWORD of - is read from standard input, so it shows in no process list or history.\n";

// Questions are never asked in a headless run: messages go to standard error, every question
// is answered No or Cancel.
class TerminalOnly : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon, const CancelFlag&) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        ++messages;
    }
    bool AskYesNo(const std::string& text, const CancelFlag&) override
    {
        std::fprintf(stderr, "%s\n(answered No)\n", text.c_str());
        return false;
    }
    OverwriteAnswer AskOverwrite(const std::string&, const CancelFlag&) override { return {}; }
    std::optional<std::string> AskPermissions(const std::string&, const std::string&, const CancelFlag&) override
    {
        return std::nullopt;
    }
    DeleteConfirmResult AskDeleteConfirm(const std::string&, const CancelFlag&) override
    {
        return DeleteConfirmResult::Cancel;
    }

    int messages = 0;
};

int AddServer(const QStringList& arguments, int at)
{
    if (arguments.size() < at + 5) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    ServerRecord record;
    record.name = arguments[at + 1].toStdString();
    QString host = arguments[at + 2];
    // The port follows the last colon, unless the colon belongs to a bare IPv6 address.
    const int colon = host.lastIndexOf(':');
    if (colon > 0 && (host.count(':') == 1 || host.startsWith('['))) {
        bool ok = false;
        const int port = host.mid(colon + 1).toInt(&ok);
        if (!ok || port <= 0 || port > 65535) {
            std::fprintf(stderr, "tarvo: '%s' is not a port.\n", qPrintable(host.mid(colon + 1)));
            return 2;
        }
        record.port = port;
        host = host.left(colon);
    }
    record.address = host.toStdString();
    record.userName = arguments[at + 3].toStdString();
    record.password = arguments[at + 4].toStdString();
    if (record.password == "-") {
        std::string line;
        std::getline(std::cin, line);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        record.password = line;
    }
    record.passive = arguments.contains(QStringLiteral("--passive")) ? 1 : 0;
    ConvertServerStore();
    LoadServers();
    SaveNewServer(record);
    std::printf("Saved server '%s' (%s:%d).\n", record.name.c_str(), record.address.c_str(), record.port);
    return 0;
}

int RunScriptFile(const QString& path)
{
    TerminalOnly terminal;
    SetInteraction(&terminal);
    ConvertServerStore();
    LoadServers();
    const bool loaded = LoadScriptFile(path.toStdString());
    if (!loaded || terminal.messages > 0) {
        std::fprintf(stderr, "tarvo: %s was not run.\n", qPrintable(path));
        SetInteraction(nullptr);
        return 2;
    }
    bool allSucceeded = true;
    QorFtpConnection connection;
    for (const OperationRequest& step : ScriptStepList.Snapshot()) {
        const int result = RunScriptStep(step, connection);
        std::printf("%s: %s\n", StepText(step).c_str(), result ? "ok" : "failed");
        std::fflush(stdout);
        allSucceeded = allSucceeded && result;
    }
    connection.Close();
    SetInteraction(nullptr);
    return allSucceeded ? 0 : 1;
}

} // namespace

bool IsHeadlessCommandLine(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--run-script")) || arguments.contains(QStringLiteral("--help"))
        || arguments.contains(QStringLiteral("-h")) || arguments.contains(QStringLiteral("--add-server"));
}

int RunHeadless(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const int add = arguments.indexOf(QStringLiteral("--add-server"));
    if (add >= 0)
        return AddServer(arguments, add);
    const int run = arguments.indexOf(QStringLiteral("--run-script"));
    if (run < 0 || run + 1 >= arguments.size()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return RunScriptFile(arguments[run + 1]);
}
