#pragma once

#include <filesystem>

#include "support/ProgramRunner.h"

// Gives the programs `runner` starts settings and runtime folders of their own under `folder`:
// XDG_CONFIG_HOME is <folder>/config and XDG_RUNTIME_DIR <folder>/run (made private), so that a
// kestrel running on this desktop is never found and handed their command lines; KESTREL_DATA_DIR
// is unset, for the test to choose the data folder.
inline void UsePrivateFolders(ProgramRunner& runner, const std::filesystem::path& folder) {
    runner.Set("XDG_CONFIG_HOME", (folder / "config").string());
    std::filesystem::create_directories(folder / "run");
    std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
    runner.Set("XDG_RUNTIME_DIR", (folder / "run").string());
    runner.Unset("KESTREL_DATA_DIR");
}
