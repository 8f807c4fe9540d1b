#include "update/InstallerUpdate.h"

#include <system_error>

#include "app/Folders.h"
#include "update/ArchiveExtract.h"
#include "update/UpdateFiles.h"
#include "update/VersionCheck.h"

std::u16string InstallerArchiveName(const std::u16string& version) {
    return u"Mouse-Setup-" + version + u".zip";
}

std::u16string InstallerPackageName(const std::u16string& version) {
    return u"Mouse-Setup-" + version + kInstallerSuffix;
}

InstallerOutcome DownloadInstaller(const InstallerRequest& request) {
    if (request.latestVersion.empty() || request.dataFolder.empty()) {
        return InstallerOutcome::NotDownloaded;
    }
    // A fresh folder: nothing left from an earlier download is ever opened.
    const std::filesystem::path folder = UpdateTempFolder(request.dataFolder);
    DeleteFolderTree(folder);
    if (!CreateFolderTree(folder)) {
        return InstallerOutcome::NotDownloaded;
    }
    const std::filesystem::path archive =
        UpdateTempFile(request.dataFolder, InstallerArchiveName(request.latestVersion));
    const std::string address =
        InstallerArchiveAddress(request.upgradeAddress, request.latestVersion);
    std::error_code error;
    if (FetchFile(address, archive, request.progress, request.limits) != 1 ||
        !std::filesystem::is_regular_file(archive, error)) {
        return InstallerOutcome::NotDownloaded;
    }
    if (ExtractArchive(archive, folder)) {
        std::filesystem::remove(archive, error);
    }
    const std::filesystem::path package =
        UpdateTempFile(request.dataFolder, InstallerPackageName(request.latestVersion));
    if (!std::filesystem::is_regular_file(package, error)) {
        return InstallerOutcome::NoInstaller;
    }
    if (!request.open || !request.open(package)) {
        return InstallerOutcome::OpenFailed;
    }
    return InstallerOutcome::Opened;
}
