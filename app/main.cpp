#include "app/TarvoApp.h"
#include "scripts/HeadlessRunner.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char** argv)
{
    // A script run from a terminal or a cron job needs no display: decided before any window
    // system is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsHeadlessCommandLine(arguments)) {
        QCoreApplication app(argc, argv);
        return RunHeadless(app.arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tarvo"));
    CTarvoApp tarvo;
    int exitCode = 0;
    if (!tarvo.InitInstance(app.arguments(), exitCode))
        return exitCode;
    return app.exec();
}
