#include "HeadlessRunner.h"

#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationLists.h"
#include "scripts/ScriptParser.h"
#include "scripts/ScriptWriter.h"
#include "servers/ServerMap.h"
#include "servers/ServerNameProblem.h"
#include "servers/ServerStore.h"
#include "servers/ServerStoreConversion.h"

#include "QorFtp.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

int AddServer(const ProgramCommandLine& line)
{
    ServerRecord record;
    record.name = line.server[0].toStdString();
    if (const std::optional<std::string> problem = ServerNameProblem(record.name)) {
        std::fprintf(stderr, "tarvo: %s\n", problem->c_str());
        return 2;
    }
    QString host = line.server[1];
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
    record.userName = line.server[2].toStdString();
    record.password = line.server[3].toStdString();
    if (record.password == "-") {
        std::string line;
        std::getline(std::cin, line);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        record.password = line;
    }
    record.passive = line.passive ? 1 : 0;
    ConvertServerStore();
    LoadServers();
    if (!SaveNewServer(record))
        return 2;
    std::printf("Saved server '%s' (%s:%d).\n", record.name.c_str(), record.address.c_str(), record.port);
    return 0;
}

int RunScriptFile(const QString& path)
{
    // Questions are never asked here: every one is answered No or Cancel.
    TerminalInteraction terminal;
    SetInteraction(&terminal);
    ConvertServerStore();
    LoadServers();
    // A message about the settings file is no fault of the script's.
    const int messagesBefore = terminal.Messages();
    const bool loaded = LoadScriptFile(path.toStdString());
    if (!loaded || terminal.Messages() > messagesBefore) {
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

int RunHeadless(const ProgramCommandLine& line)
{
    switch (line.mode) {
    case ProgramCommandLine::Mode::Help:
    case ProgramCommandLine::Mode::Version:
        std::fprintf(stdout, "%s\n", qPrintable(line.text));
        return 0;
    case ProgramCommandLine::Mode::AddServer:
        return AddServer(line);
    case ProgramCommandLine::Mode::RunScript:
        return RunScriptFile(line.script);
    case ProgramCommandLine::Mode::Error:
    case ProgramCommandLine::Mode::Window:
        break;
    }
    std::fprintf(stderr, "tarvo: %s\n", qPrintable(line.text));
    return 2;
}
