#include "scripts/HeadlessRunner.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (IsHeadlessCommandLine(app.arguments()))
        return RunHeadless(app.arguments());
    std::puts("Tarvo: the main window is not built yet; the FTP library and its tests are.");
    return 0;
}
