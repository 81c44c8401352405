#include "scripts/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

} // namespace

ProgramCommandLine ParseProgramCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Tr("Without options Tarvo opens its window, with SCRIPT.ftp loaded when one is named.\n"
           "\n"
           "--run-script runs a script without a window and without a display server: every step\n"
           "prints one line (the step, then ok or failed), messages go to standard error. The sites\n"
           "that 'open' names come from Tarvo's server list. Exit status: 0 when every step\n"
           "succeeded, 1 when a step failed, 2 when the script could not be loaded or has syntax\n"
           "errors (then nothing runs).\n"
           "\n"
           "--add-server saves a server in that list (for example for a script run by cron). A\n"
           "PASSWORD of - is read from standard input, so it shows in no process list or history.\n"
           "\n"
           "--trust-certificate connects to a saved server, shows its certificate and remembers it for\n"
           "that server when you answer yes: for a server whose certificate cannot be verified (a\n"
           "self-signed one, for example), before a script is run on it."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption runScript(QStringLiteral("run-script"), Tr("Runs SCRIPT.ftp without a window."),
                                       QStringLiteral("SCRIPT.ftp"));
    const QCommandLineOption addServer(QStringLiteral("add-server"),
                                       Tr("Saves a server: NAME HOST[:PORT] USER PASSWORD follow."));
    const QCommandLineOption passive(QStringLiteral("passive"), Tr("With --add-server: passive data connections."));
    const QCommandLineOption encryption(
        QStringLiteral("encryption"),
        Tr("With --add-server: if-available (explicit FTP over TLS where the server offers it, the default), "
           "require (explicit FTP over TLS or no login), implicit (TLS from the first byte, port 990 unless "
           "HOST names one) or plain (no encryption; insecure)."),
        QStringLiteral("MODE"));
    const QCommandLineOption trustCertificate(QStringLiteral("trust-certificate"),
                                              Tr("Shows the certificate of the saved server NAME and remembers it "
                                                 "when you answer yes."),
                                              QStringLiteral("NAME"));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        Tr("With --run-script: prints every command sent and every reply received to standard error, "
           "passwords masked."));
    const QCommandLineOption noSplash(QStringLiteral("nosplash"), Tr("Starts without the splash window."));
    QCommandLineOption demo(QStringLiteral("demo-operations"), QString());
    demo.setFlags(QCommandLineOption::HiddenFromHelp);
    for (const QCommandLineOption& option :
         {runScript, verbose, addServer, passive, encryption, trustCertificate, noSplash, demo})
        parser.addOption(option);
    parser.addPositionalArgument(QStringLiteral("SCRIPT.ftp"), Tr("A script to load into the window."),
                                 QStringLiteral("[SCRIPT.ftp]"));

    ProgramCommandLine line;
    // Without an application object Qt cannot know the program's name.
    const QString program = arguments.isEmpty() ? QStringLiteral("tarvo") : QFileInfo(arguments.first()).fileName();
    const auto helpText = [&] { return parser.helpText().replace(QLatin1String("<executable_name>"), program); };
    const auto fail = [&](const QString& why) {
        line.mode = ProgramCommandLine::Mode::Error;
        line.text = why + QLatin1Char('\n') + helpText();
        return line;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    const QStringList positional = parser.positionalArguments();
    line.showSplash = !parser.isSet(noSplash);
    line.demoOperations = parser.isSet(demo);
    line.passive = parser.isSet(passive);
    line.verbose = parser.isSet(verbose);
    if (parser.isSet(encryption)) {
        // In the order of the encryption values.
        const QStringList modes{QStringLiteral("if-available"), QStringLiteral("require"), QStringLiteral("implicit"),
                                QStringLiteral("plain")};
        line.encryption = static_cast<int>(modes.indexOf(parser.value(encryption)));
        if (line.encryption < 0)
            return fail(Tr("--encryption takes if-available, require, implicit or plain."));
    }
    if (parser.isSet(help)) {
        line.mode = ProgramCommandLine::Mode::Help;
        line.text = helpText();
    } else if (parser.isSet(version)) {
        line.mode = ProgramCommandLine::Mode::Version;
        line.text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    } else if (parser.isSet(addServer)) {
        if (positional.size() != 4)
            return fail(Tr("--add-server needs NAME HOST[:PORT] USER PASSWORD."));
        line.mode = ProgramCommandLine::Mode::AddServer;
        line.server = positional;
    } else if (parser.isSet(trustCertificate)) {
        line.mode = ProgramCommandLine::Mode::TrustCertificate;
        line.server = QStringList{parser.value(trustCertificate)};
    } else if (parser.isSet(runScript)) {
        line.mode = ProgramCommandLine::Mode::RunScript;
        line.script = parser.value(runScript);
    } else if (!positional.isEmpty()) {
        line.script = QFileInfo(positional.first()).absoluteFilePath();
    }
    return line;
}
