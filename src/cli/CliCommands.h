#pragma once

#include <iosfwd>
#include <span>
#include <string_view>
#include <vector>

#include "cli/CliOptions.h"

class CliSession;

// The command table of kestrelctl. A command gets its arguments (the name left out) and prints
// its records to `out`, its errors to `err`; it returns an exit status (ExitStatus.h).
struct CliCommand {
    std::string_view name;
    int minArguments = 0;
    int maxArguments = 0;  // -1: no limit
    int (*run)(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
               std::ostream& err) = nullptr;
    // Checks the arguments further before anything connects (may be null); false with the
    // reason written to `err`.
    bool (*check)(const CliCommandLine& arguments, std::ostream& err) = nullptr;
    // False for a command that has something to do with no mouse connected.
    bool needsMouse = true;
    // Under --json: prints one JSON document (CliJson.h) instead of the records of `run`. Null
    // for a command whose output --json leaves as it is.
    int (*runJson)(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                   std::ostream& err) = nullptr;
};

std::span<const CliCommand> CliCommandTable();
// A whole argument as a decimal int with an optional '+' (unlike DecimalToInt, trailing text is an
// error). False when it is not one.
bool ParseCliNumber(std::string_view text, int& value);
// The entry named `name`, or nullptr.
const CliCommand* FindCliCommand(std::string_view name);

// Checks every command's name, argument count and number arguments before anything connects,
// so that a usage error never touches the mouse. False with the reason written to `err`.
bool CheckCliCommands(const std::vector<CliCommandLine>& commands, std::ostream& err);

// Whether one of `commands` needs a connected mouse.
bool CliCommandsNeedMouse(const std::vector<CliCommandLine>& commands);

// Runs `commands` in order on the connected session; stops at the first that fails and returns
// its status. With `json`, the commands that have a JSON document print it instead, each
// document followed by a line feed.
int RunCliCommands(CliSession& session, const std::vector<CliCommandLine>& commands,
                   std::ostream& out, std::ostream& err, bool json = false);
