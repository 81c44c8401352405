// `tarvo --run-script FILE`: runs a script without a window or a display server.
#pragma once

#include "scripts/CommandLine.h"

// Runs a command line that needs no display (ProgramCommandLine::Headless); returns the
// process exit code (0 all steps succeeded, 1 a step failed, 2 the script could not be loaded or
// the command line is wrong).
int RunHeadless(const ProgramCommandLine& line);
