#include "update/FirmwareUpdate.h"

#include <fstream>
#include <system_error>

#include "app/Folders.h"
#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"
#include "update/ArchiveExtract.h"
#include "update/UpdateFiles.h"
#include "update/VersionCheck.h"

namespace {

constexpr int kDownloadStep = 5;
constexpr int kUnpackStep = 7;
constexpr int kImageReadStep = 10;
constexpr int kLastStep = 100;

void Step(const FirmwareProgress& step, int percent, int textId) {
    if (step) {
        step(percent, textId);
    }
}

// The update interface, closed on every way out.
class UpdateInterface {
public:
    UpdateInterface(DeviceManager& manager) : manager_(manager) {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        open_ = manager_.CurrentVidPid(vendorId, productId) &&
                manager_.OpenUpdateInterface(vendorId, productId) != nullptr;
    }
    ~UpdateInterface() { manager_.CloseUpdateInterface(); }
    UpdateInterface(const UpdateInterface&) = delete;
    UpdateInterface& operator=(const UpdateInterface&) = delete;

    bool IsOpen() const { return open_; }

private:
    DeviceManager& manager_;
    bool open_ = false;
};

}  // namespace

std::u16string FirmwareArchiveName(const std::u16string& version) {
    return u"firmware-" + version + u".zip";
}

std::u16string FirmwareImageName(const std::u16string& version) {
    return u"firmware-" + version + u".bin";
}

bool ReachedMouse(FirmwareOutcome outcome) {
    switch (outcome) {
        case FirmwareOutcome::NoInterface:
        case FirmwareOutcome::StartRefused:
        case FirmwareOutcome::TransferFailed:
        case FirmwareOutcome::Done:
            return true;
        default:
            return false;
    }
}

FirmwareOutcome ReadFirmwareImage(const std::filesystem::path& file,
                                  std::vector<std::uint8_t>& image) {
    image.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return FirmwareOutcome::NoImage;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size == 0 || size > kFirmwareMaxImageSize) {
        return FirmwareOutcome::BadImage;
    }
    std::ifstream in(file, std::ios::binary);
    image.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    // The image is what was actually read; a file that shrank meanwhile gives a shorter one.
    image.resize(static_cast<std::size_t>(in.gcount()));
    if (image.empty()) {
        return FirmwareOutcome::BadImage;
    }
    return FirmwareOutcome::Done;
}

FirmwareOutcome FlashFirmwareImage(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                                   const FirmwareProgress& progress) {
    if (image.empty() || image.size() > kFirmwareMaxImageSize) {
        return FirmwareOutcome::BadImage;
    }
    UpdateInterface updateInterface(manager);
    if (!updateInterface.IsOpen()) {
        return FirmwareOutcome::NoInterface;
    }
    switch (TransferFirmwareUpdate(manager, image, progress)) {
        case FirmwareUpdateResult::Unsendable:
            return FirmwareOutcome::BadImage;
        case FirmwareUpdateResult::StartRefused:
            return FirmwareOutcome::StartRefused;
        case FirmwareUpdateResult::ImageFailed:
            return FirmwareOutcome::TransferFailed;
        case FirmwareUpdateResult::Done:
            break;
    }
    return FirmwareOutcome::Done;
}

FirmwareOutcome RunFirmwareUpdate(DeviceManager& manager, const FirmwareUpdateRequest& request) {
    Step(request.step, kDownloadStep, kFirmwareDownloadingTextId);
    if (request.latestVersion.empty() || request.dataFolder.empty()) {
        return FirmwareOutcome::NotDownloaded;
    }
    const std::filesystem::path folder = UpdateTempFolder(request.dataFolder);
    const std::filesystem::path archive =
        UpdateTempFile(request.dataFolder, FirmwareArchiveName(request.latestVersion));
    const std::filesystem::path imageFile =
        UpdateTempFile(request.dataFolder, FirmwareImageName(request.latestVersion));
    std::error_code error;
    if (!CreateFolderTree(folder)) {
        return FirmwareOutcome::NotDownloaded;
    }
    std::filesystem::remove(archive, error);
    // An image left from an earlier archive must not stand in for this one's.
    std::filesystem::remove(imageFile, error);
    const std::string address =
        FirmwareArchiveAddress(request.firmwareAddress, request.latestVersion);
    if (FetchFile(address, archive, request.downloadProgress, request.limits) != 1 ||
        !std::filesystem::is_regular_file(archive, error)) {
        return FirmwareOutcome::NotDownloaded;
    }
    Step(request.step, kUnpackStep, kFirmwarePreparingTextId);
    if (ExtractArchive(archive, folder)) {
        std::filesystem::remove(archive, error);
    }
    std::vector<std::uint8_t> image;
    const FirmwareOutcome read = ReadFirmwareImage(imageFile, image);
    if (read != FirmwareOutcome::Done) {
        std::filesystem::remove(imageFile, error);
        return read;
    }
    Step(request.step, kImageReadStep, kFirmwarePreparingTextId);
    const FirmwareOutcome outcome = FlashFirmwareImage(manager, image, request.step);
    std::filesystem::remove(imageFile, error);
    Step(request.step, kLastStep,
         outcome == FirmwareOutcome::Done ? kFirmwareDoneTextId : kFirmwareFailedTextId);
    return outcome;
}
