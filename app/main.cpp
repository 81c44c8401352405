#include "app/QuitRequests.h"
#include "app/TarvoApp.h"
#include "operations/CommandThread.h"
#include "scripts/HeadlessRunner.h"

#include <QApplication>
#include <QCoreApplication>

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
    // A script run from a terminal or a cron job needs no display: decided before any window
    // system is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsHeadlessCommandLine(arguments)) {
        QCoreApplication app(argc, argv);
        return Leave(RunHeadless(app.arguments()));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tarvo"));
    CTarvoApp tarvo;
    int exitCode = 0;
    if (!tarvo.InitInstance(app.arguments(), exitCode))
        return Leave(exitCode);
    QuitRequests quitRequests;
    QObject::connect(&quitRequests, &QuitRequests::quitRequested, &app, &QCoreApplication::quit);
    exitCode = app.exec();
    return Leave(exitCode);
}
