#include "HeadlessRunner.h"

#include <cstdio>

bool IsHeadlessCommandLine(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--run-script")) || arguments.contains(QStringLiteral("--help"));
}

int RunHeadless(const QStringList&)
{
    std::fputs("tarvo: --run-script is not built yet.\n", stderr);
    return 2;
}
