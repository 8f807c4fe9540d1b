#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "update/Downloader.h"

// The software update: the installer archive is downloaded into the update folder, unpacked
// there, and the installer package it holds is handed to the desktop (its software installer
// opens it). A downloaded file is never executed by this program.

// The package suffix of this platform's installer ("Mouse-Setup-1.0.4.deb").
inline constexpr char16_t kInstallerSuffix[] = u".deb";

// "Mouse-Setup-<version>.zip" and "Mouse-Setup-<version>.deb".
std::u16string InstallerArchiveName(const std::u16string& version);
std::u16string InstallerPackageName(const std::u16string& version);

struct InstallerRequest {
    std::filesystem::path dataFolder;
    std::u16string upgradeAddress;
    std::u16string latestVersion;
    // Download progress, 0 to 100 (may be empty).
    std::function<void(int percent)> progress;
    // Hands the unpacked package to the desktop; false when that could not be started.
    std::function<bool(const std::filesystem::path& package)> open;
    FetchLimits limits;
};

enum class InstallerOutcome {
    NotDownloaded,  // no version known, or the download failed: nothing unpacked or opened
    NoInstaller,    // the archive was unpacked (and deleted) but held no package of that name
    OpenFailed,     // the package is there but the desktop could not be asked to open it
    Opened,         // the desktop opens the package; the program should end now
};

// Empties the update folder, downloads the installer archive of `latestVersion` into it, unpacks
// it (deleting the archive once unpacked) and opens the package. Device worker thread.
InstallerOutcome DownloadInstaller(const InstallerRequest& request);
