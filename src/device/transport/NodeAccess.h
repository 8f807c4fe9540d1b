#pragma once

#include <filesystem>
#include <string>

// What a user who may not open a mouse's hidraw node is told to run: one shell command that
// installs the udev rule the build leaves beside the programs and makes udev apply it to the nodes
// present now. Kept to one line, so that it can be copied whole from the window or a terminal.

// The rule's file name in the programs' folder and in /etc/udev/rules.d.
inline constexpr char kUdevRuleFile[] = "70-kestrel.rules";

// The path in single quotes for a POSIX shell: a quote inside it becomes '\''.
inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// sudo cp '<exeFolder>/70-kestrel.rules' /etc/udev/rules.d/ && sudo udevadm control --reload &&
// sudo udevadm trigger
inline std::string NodeAccessCommand(const std::filesystem::path& exeFolder) {
    return "sudo cp " + ShellQuoted((exeFolder / kUdevRuleFile).string()) +
           " /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger";
}
