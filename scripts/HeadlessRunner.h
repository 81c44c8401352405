// `tarvo --run-script FILE`: runs a script without a window or a display server.
#pragma once

#include <QStringList>

// True when the command line asks for a headless run (--run-script) or for --help.
bool IsHeadlessCommandLine(const QStringList& arguments);
// Runs it; returns the process exit code (0 all steps succeeded, 1 a step failed, 2 the script
// could not be loaded).
int RunHeadless(const QStringList& arguments);
