#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"

class CliSession;

// The commands of kestrelctl that write and read profile and macro files, through the same code
// as the window's import and export buttons. Each has the signature of CliCommand::run. A file
// that cannot be written or read ends the command with kExitFile and "kestrelctl: FILE: reason"
// on `err`.

// export-profile FILE: the active profile, with its name as the profile button shows it.
int RunExportProfile(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                     std::ostream& err);
// import-profile FILE: into the active profile, which is then sent to the mouse (command 5).
int RunImportProfile(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                     std::ostream& err);
// export-macro ID FILE: one macro, with its name as the macro list shows it.
int RunExportMacro(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                   std::ostream& err);
// export-macros FILE: every macro.
int RunExportMacros(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                    std::ostream& err);
// import-macro FILE (a file of one macro) and import-macros FILE (a file of every macro): the
// file's macros are added as new ones; one ImportedMacroLine for each.
int RunImportMacro(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                   std::ostream& err);
int RunImportMacros(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                    std::ostream& err);
// macros: one MacroRecordLine for each stored macro.
int RunMacros(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
              std::ostream& err);
// macros under --json: one document listing them all (MacrosJson).
int RunMacrosJson(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                  std::ostream& err);
