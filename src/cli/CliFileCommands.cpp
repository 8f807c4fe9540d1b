#include "cli/CliFileCommands.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliJson.h"
#include "cli/CliOutput.h"
#include "cli/CliRecords.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "device/worker/DeviceWorker.h"
#include "i18n/DefaultNames.h"
#include "keys/MacroFiles.h"
#include "profiles/ProfileFiles.h"
#include "store/StoreRecords.h"

namespace {

int FileError(std::ostream& err, const std::string& file, const std::string& reason) {
    err << "kestrelctl: " << file << ": " << reason << "\n";
    return kExitFile;
}

// Both import layouts print the same lines.
using MacroImport = bool (*)(SettingsStore& store, const std::filesystem::path& file,
                             std::vector<ImportedMacro>& added, std::string& error);

int RunMacroImport(MacroImport import, CliSession& session, const CliCommandLine& arguments,
                   std::ostream& out, std::ostream& err) {
    std::vector<ImportedMacro> added;
    std::string error;
    const bool imported = import(session.Store(), arguments[0], added, error);
    // A macro the store refused leaves the ones before it stored: they are listed all the same.
    for (const ImportedMacro& macro : added) {
        out << ImportedMacroLine(macro.id, macro.name) << "\n";
    }
    // A macro the store refused is the store's failure, not the file's.
    if (const int status = session.CheckStoreWrites(err); status != kExitOk) {
        return status;
    }
    return imported ? kExitOk : FileError(err, arguments[0], error);
}

}  // namespace

int RunExportProfile(CliSession& session, const CliCommandLine& arguments, std::ostream&,
                     std::ostream& err) {
    SettingsStore& store = session.Store();
    const int profile = session.State().CurrentProfile();
    std::u16string storedName;
    store.GetProfileName(profile, storedName);
    const ProfileExport what{.keyProfile = profile,
                             .currentProfile = profile,
                             .hasLighting = session.LightEnabled(),
                             .shownName = ProfileCaption(storedName)};
    std::string error;
    if (!ExportProfile(store, what, arguments[0], error)) {
        return FileError(err, arguments[0], error);
    }
    return kExitOk;
}

int RunImportProfile(CliSession& session, const CliCommandLine& arguments, std::ostream&,
                     std::ostream& err) {
    std::u16string newName;
    std::string error;
    if (!ImportProfile(session.Store(), session.State().CurrentProfile(), session.LightEnabled(),
                       arguments[0], newName, error)) {
        if (const int status = session.CheckStoreWrites(err); status != kExitOk) {
            return status;
        }
        return FileError(err, arguments[0], error);
    }
    // The mouse gets the profile only as the store kept it.
    if (const int status = session.CheckStoreWrites(err); status != kExitOk) {
        return status;
    }
    return session.RunWorkerCommands({DeviceWorker::kSendAll});
}

int RunExportMacro(CliSession& session, const CliCommandLine& arguments, std::ostream&,
                   std::ostream& err) {
    int macroId = 0;
    ParseCliNumber(arguments[0], macroId);
    SettingsStore& store = session.Store();
    MacroRecord macro;
    if (!store.GetMacro(macroId, macro)) {
        err << "kestrelctl: no macro " << arguments[0] << "\n";
        return kExitUsage;
    }
    std::string error;
    if (!ExportMacro(store, macroId, MacroListName(macro.name), arguments[1], error)) {
        return FileError(err, arguments[1], error);
    }
    return kExitOk;
}

int RunExportMacros(CliSession& session, const CliCommandLine& arguments, std::ostream&,
                    std::ostream& err) {
    std::string error;
    if (!ExportAllMacros(session.Store(), arguments[0], error)) {
        return FileError(err, arguments[0], error);
    }
    return kExitOk;
}

int RunImportMacro(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                   std::ostream& err) {
    return RunMacroImport(ImportMacro, session, arguments, out, err);
}

int RunImportMacros(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
                    std::ostream& err) {
    return RunMacroImport(ImportMacros, session, arguments, out, err);
}

int RunMacros(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    for (const ListedMacro& listed : CollectMacros(session.Store())) {
        out << MacroRecordLine(listed.macro, listed.eventCount) << "\n";
    }
    return kExitOk;
}

int RunMacrosJson(CliSession& session, const CliCommandLine&, std::ostream& out, std::ostream&) {
    out << MacrosJson(CollectMacros(session.Store())) << "\n";
    return kExitOk;
}
