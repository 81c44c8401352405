#include "app/QuitRequests.h"
#include "app/TarvoApp.h"
#include "app/Translations.h"
#include "operations/CommandThread.h"
#include "scripts/HeadlessRunner.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

// Long enough for a cancelled transfer to close its connection, short enough for a session
// manager that will not wait.
constexpr std::chrono::seconds kEndGrace{3};

// Cancels and joins what still runs. Work that outlives the grace (a name lookup cannot be
// cancelled) must not meet the program's objects as they are destroyed: the process ends here.
int Leave(int exitCode)
{
    if (!EndOperations(kEndGrace)) {
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    // A script run from a terminal or a cron job needs no display: decided before any window
    // system is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    ProgramCommandLine line = ParseProgramCommandLine(arguments);
    // Qt's own options (-platform, -style) are known only once QApplication has taken them out.
    const bool namesHeadlessOption = std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
        return argument.startsWith(QLatin1String("--run-script")) || argument == QLatin1String("--add-server")
            || argument.startsWith(QLatin1String("--trust-certificate")) || argument == QLatin1String("--help")
            || argument == QLatin1String("-h") || argument == QLatin1String("--version")
            || argument == QLatin1String("-v");
    });
    if (line.mode != ProgramCommandLine::Mode::Error ? line.Headless() : namesHeadlessOption) {
        QCoreApplication app(argc, argv);
        InstallTranslations(app, QLocale::system().uiLanguages());
        return Leave(RunHeadless(line));
    }

    QApplication app(argc, argv);
    InstallTranslations(app, QLocale::system().uiLanguages());
    line = ParseProgramCommandLine(app.arguments());
    if (line.Headless())
        return RunHeadless(line);
    QApplication::setDesktopFileName(QStringLiteral("tarvo"));
    CTarvoApp tarvo;
    int exitCode = 0;
    if (!tarvo.InitInstance(line, exitCode))
        return Leave(exitCode);
    QuitRequests quitRequests;
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, &app, &QCoreApplication::quit);
    exitCode = app.exec();
    return Leave(exitCode);
}
