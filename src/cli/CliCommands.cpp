#include "cli/CliCommands.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <string>

#include "cli/CliFileCommands.h"
#include "cli/CliJson.h"
#include "cli/CliOutput.h"
#include "cli/CliRecords.h"
#include "cli/CliSession.h"
#include "cli/CliUpdateCommands.h"
#include "cli/ExitStatus.h"
#include "device/protocol/AssignmentTables.h"
#include "device/worker/DeviceWorker.h"
#include "store/StoreRecords.h"
#include "text/Utf.h"

namespace {

int Usage(std::ostream& err, const std::string& message) {
    err << "kestrelctl: " << message << "\n";
    return kExitUsage;
}

// The pairs of `set`, checked before anything connects: known keys, and a whole decimal number
// for every key that holds one (a text stored there would be read back as 0).
bool CheckSetArguments(const CliCommandLine& arguments, std::ostream& err) {
    if (arguments.size() % 2 != 0) {
        Usage(err, "set needs KEY VALUE pairs");
        return false;
    }
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        int number = 0;
        if (!IsConfigKey(arguments[i])) {
            Usage(err, "unknown key " + arguments[i]);
            return false;
        }
        if (ConfigKeyHoldsNumber(arguments[i]) && !ParseCliNumber(arguments[i + 1], number)) {
            Usage(err, arguments[i] + " takes a number, not \"" + arguments[i + 1] + "\"");
            return false;
        }
    }
    return true;
}

int RunList(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    const CliListing listing = CollectListing(session);
    for (const DeviceEntry* model : listing.models) {
        out << ModelRecordLine(*model) << "\n";
    }
    for (const ListedMouse& mouse : listing.mice) {
        out << MouseRecordLine(mouse.device, mouse.listed ? &*mouse.listed : nullptr) << "\n";
    }
    return kExitOk;
}

int RunListJson(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    out << ListingJson(CollectListing(session)) << "\n";
    return kExitOk;
}

int RunInfo(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    const CliMouseInfo info = CollectMouseInfo(session);
    if (info.model != nullptr) {
        out << ModelRecordLine(*info.model) << "\n";
    }
    out << KeyValueLine("mode", std::to_string(info.mode)) << "\n";
    out << KeyValueLine("device_id", info.deviceId.empty() ? "-" : info.deviceId) << "\n";
    out << KeyValueLine("sensor", std::to_string(info.sensor)) << "\n";
    out << KeyValueLine("dpi",
                        std::to_string(info.dpiRange[0]) + " " + std::to_string(info.dpiRange[1]))
        << "\n";
    out << KeyValueLine("report_rate_capability", info.reportRateCapability < 0
                                                      ? "-"
                                                      : std::to_string(info.reportRateCapability))
        << "\n";
    out << KeyValueLine("battery", BatteryText(info.battery[0], info.battery[1])) << "\n";
    out << KeyValueLine("firmware", ReleaseText(info.releaseNumber)) << "\n";
    out << KeyValueLine("mouse_firmware", info.mouseFirmware.empty() ? "-" : info.mouseFirmware)
        << "\n";
    out << KeyValueLine("profile", std::to_string(info.profile)) << "\n";
    return kExitOk;
}

int RunInfoJson(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    out << MouseInfoJson(CollectMouseInfo(session)) << "\n";
    return kExitOk;
}

int RunProfiles(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    std::vector<ProfileRecord> profiles;
    session.Store().ListProfiles(profiles);
    for (const ProfileRecord& profile : profiles) {
        out << ProfileRecordLine(profile) << "\n";
    }
    return kExitOk;
}

int RunProfilesJson(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    std::vector<ProfileRecord> profiles;
    session.Store().ListProfiles(profiles);
    out << ProfilesJson(profiles) << "\n";
    return kExitOk;
}

int RunProfile(CliSession& session, const CliCommandLine& arguments, std::ostream&,
               std::ostream& err) {
    int profile = 0;
    ParseCliNumber(arguments[0], profile);
    std::vector<ProfileRecord> profiles;
    session.Store().ListProfiles(profiles);
    const bool exists = std::any_of(profiles.begin(), profiles.end(),
                                    [&](const ProfileRecord& p) { return p.profile == profile; });
    if (!exists) {
        return Usage(err, "no profile " + arguments[0]);
    }
    return session.SwitchProfile(profile);
}

// The keys `get` shows: all, or the one its argument names. False, after a usage message, for
// an unknown key.
bool GetKeys(CliSession& session, const CliCommandLine& arguments, std::ostream& err,
             std::vector<ConfigEntry>& entries) {
    if (!arguments.empty() && !IsConfigKey(arguments[0])) {
        Usage(err, "unknown key " + arguments[0]);
        return false;
    }
    entries = CollectConfig(session, arguments.empty() ? std::string_view{} : arguments[0]);
    return true;
}

int RunGet(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
           std::ostream& err) {
    std::vector<ConfigEntry> entries;
    if (!GetKeys(session, arguments, err, entries)) {
        return kExitUsage;
    }
    for (const ConfigEntry& entry : entries) {
        out << KeyValueLine(entry.key, entry.value) << "\n";
    }
    return kExitOk;
}

int RunGetJson(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
               std::ostream& err) {
    std::vector<ConfigEntry> entries;
    if (!GetKeys(session, arguments, err, entries)) {
        return kExitUsage;
    }
    out << ConfigJson(entries) << "\n";
    return kExitOk;
}

int RunSet(CliSession& session, const CliCommandLine& arguments, std::ostream&, std::ostream& err) {
    if (!CheckSetArguments(arguments, err)) {
        return kExitUsage;
    }
    const int profile = session.State().CurrentProfile();
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (!session.Store().SetConfigValue(profile, FromUtf8(arguments[i]),
                                            FromUtf8(arguments[i + 1]))) {
            return session.CheckStoreWrites(err);
        }
    }
    return kExitOk;
}

int RunSend(CliSession& session, const CliCommandLine& arguments, std::ostream&, std::ostream&) {
    std::vector<int> commands;
    for (const std::string& argument : arguments) {
        int command = 0;
        ParseCliNumber(argument, command);
        commands.push_back(command);
    }
    return session.RunWorkerCommands(commands);
}

int RunSync(CliSession& session, const CliCommandLine&, std::ostream&, std::ostream& err) {
    const int status = session.SyncFromMouse();
    if (status != kExitOk) {
        err << "kestrelctl: the mouse's settings could not be read\n";
    }
    return status;
}

int RunButton(CliSession& session, const CliCommandLine& arguments, std::ostream&,
              std::ostream& err) {
    int values[4] = {0, 0, 0, 0};  // key, type, value, value2
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        ParseCliNumber(arguments[i], values[i]);
    }
    const auto buttons = session.View().Buttons();
    const bool known = std::any_of(buttons.begin(), buttons.end(), [&](const auto& button) {
        return button.keyValue == values[0];
    });
    if (!known) {
        return Usage(err, "the model has no button " + arguments[0]);
    }
    if (values[1] < kAssignMouse || values[1] > kAssignDisabled) {
        return Usage(err, "unknown function type " + arguments[1]);
    }
    SettingsStore& store = session.Store();
    if (values[1] == kAssignMacro) {
        MacroRecord macro;
        if (!store.GetMacro(values[2], macro)) {
            return Usage(err, "no macro " + arguments[2]);
        }
    }
    KeyAssignmentRecord record;
    record.profile = session.State().CurrentProfile();
    record.fn_layer = 0;
    record.key_code = values[0];
    record.macro_type = values[1];
    record.macro_value = values[2];
    record.macro_value2 = values[3];
    // Both values 0 removes the row: the button goes back to its default function.
    store.SaveKeyAssignment(record);
    // Nothing goes to the mouse that the store did not keep.
    if (const int status = session.CheckStoreWrites(err); status != kExitOk) {
        return status;
    }
    if (values[1] == kAssignMacro) {
        session.State().SetPendingMacro(values[0]);
    }
    return session.RunWorkerCommands({DeviceWorker::kSendButtons});
}

int RunLight(CliSession& session, const CliCommandLine& arguments, std::ostream&,
             std::ostream& err) {
    int mode = 0;
    ParseCliNumber(arguments[0], mode);
    SettingsStore& store = session.Store();
    const int profile = session.State().CurrentProfile();
    LightModeRecord record;
    if (!store.GetLightMode(profile, mode, record)) {
        return Usage(err, "the active profile has no lighting mode " + arguments[0]);
    }
    store.SetActiveLightMode(profile, mode);
    if (const int status = session.CheckStoreWrites(err); status != kExitOk) {
        return status;
    }
    session.State().SetCurrentLightMode(mode);
    return session.RunWorkerCommands({DeviceWorker::kSendLighting});
}

constexpr CliCommand kCommands[] = {
    {"list", 0, 0, RunList, nullptr, true, RunListJson},
    {"info", 0, 0, RunInfo, nullptr, true, RunInfoJson},
    {"profiles", 0, 0, RunProfiles, nullptr, true, RunProfilesJson},
    {"profile", 1, 1, RunProfile},
    {"get", 0, 1, RunGet, nullptr, true, RunGetJson},
    {"set", 2, -1, RunSet, CheckSetArguments},
    {"send", 1, -1, RunSend},
    {"sync", 0, 0, RunSync},
    {"button", 3, 4, RunButton},
    {"light", 1, 1, RunLight},
    {"export-profile", 1, 1, RunExportProfile},
    {"import-profile", 1, 1, RunImportProfile},
    {"macros", 0, 0, RunMacros, nullptr, true, RunMacrosJson},
    {"export-macro", 2, 2, RunExportMacro},
    {"export-macros", 1, 1, RunExportMacros},
    {"import-macro", 1, 1, RunImportMacro},
    {"import-macros", 1, 1, RunImportMacros},
    {"update-check", 0, 0, RunUpdateCheck, nullptr, false},
    {"flash", 1, 2, RunFlash, CheckFlashArguments},
};

// How many of a command's first arguments are numbers (the rest are file names).
std::size_t NumericArguments(std::string_view name) {
    if (name == "profile" || name == "send" || name == "button" || name == "light") {
        return static_cast<std::size_t>(-1);
    }
    return name == "export-macro" ? 1 : 0;
}

}  // namespace

bool ParseCliNumber(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

std::span<const CliCommand> CliCommandTable() {
    return kCommands;
}

const CliCommand* FindCliCommand(std::string_view name) {
    for (const CliCommand& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool CheckCliCommands(const std::vector<CliCommandLine>& commands, std::ostream& err) {
    for (const CliCommandLine& line : commands) {
        const CliCommand* command = FindCliCommand(line.front());
        if (command == nullptr) {
            err << "kestrelctl: unknown command " << line.front() << "\n";
            return false;
        }
        const int count = static_cast<int>(line.size()) - 1;
        if (count < command->minArguments ||
            (command->maxArguments >= 0 && count > command->maxArguments)) {
            err << "kestrelctl: wrong number of arguments for " << line.front() << "\n";
            return false;
        }
        const std::size_t numeric = NumericArguments(command->name);
        for (std::size_t i = 1; i < line.size() && i <= numeric; ++i) {
            int value = 0;
            if (!ParseCliNumber(line[i], value)) {
                err << "kestrelctl: " << line.front() << ": not a number: " << line[i] << "\n";
                return false;
            }
        }
        if (command->check != nullptr &&
            !command->check(CliCommandLine(line.begin() + 1, line.end()), err)) {
            return false;
        }
    }
    return true;
}

bool CliCommandsNeedMouse(const std::vector<CliCommandLine>& commands) {
    return std::any_of(commands.begin(), commands.end(), [](const CliCommandLine& line) {
        const CliCommand* command = FindCliCommand(line.front());
        return command == nullptr || command->needsMouse;
    });
}

int RunCliCommands(CliSession& session, const std::vector<CliCommandLine>& commands,
                   std::ostream& out, std::ostream& err, bool json) {
    for (const CliCommandLine& line : commands) {
        const CliCommand* command = FindCliCommand(line.front());
        const CliCommandLine arguments(line.begin() + 1, line.end());
        const auto run = json && command->runJson != nullptr ? command->runJson : command->run;
        const int status = run(session, arguments, out, err);
        out.flush();
        // A write the store refused, here or on the worker's thread, ends the run whatever the
        // command made of it: what the user asked for is not kept.
        if (const int store = session.CheckStoreWrites(err); store != kExitOk) {
            return store;
        }
        if (status != kExitOk) {
            if (status == kExitNotAcknowledged) {
                err << "kestrelctl: " << line.front() << ": the mouse did not acknowledge\n";
            }
            return status;
        }
    }
    return kExitOk;
}
