#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"

class CliSession;

// The commands of kestrelctl that reach the update server and the mouse's firmware loader, through
// the same checks and transfer as the window's update dialogs. Each run function has the signature
// of CliCommand::run.

// update-check: a VersionCheckLine for the software (config.xml's version against the server's)
// and one for the firmware (the connected mouse's against the model's firmware address). Needs no
// mouse: without one the firmware's current version is unknown, and its latest is still asked for
// when a model is loaded or remembered. kExitNoAnswer when a server that was asked did not answer.
int RunUpdateCheck(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                   std::ostream& err);

// flash FILE --yes (or --yes FILE): reads the image, sends it to the mouse's firmware loader with
// "flash: <n>%" lines on `err` every ten percent and prints "flashed <bytes> bytes". A file that
// is missing, empty or too large ends it with kExitFile before anything is sent.
int RunFlash(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
             std::ostream& err);
// Checks flash's arguments before anything connects: exactly one FILE and "--yes". False with the
// reason written to `err`.
bool CheckFlashArguments(const CliCommandLine& arguments, std::ostream& err);
