#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "device/protocol/FirmwareTransfer.h"
#include "update/Downloader.h"

class DeviceManager;

// The firmware update: the model's firmware archive is downloaded into the update folder and
// unpacked, its image is read and sent to the selected mouse's firmware loader over the update
// interface: a start report, the data reports, an end report. Device worker thread.

// Language texts of the steps.
inline constexpr int kFirmwareDownloadingTextId = 590;
inline constexpr int kFirmwarePreparingTextId = 591;
inline constexpr int kFirmwareDoneTextId = 593;
inline constexpr int kFirmwareFailedTextId = 643;

// "firmware-<version>.zip" and "firmware-<version>.bin".
std::u16string FirmwareArchiveName(const std::u16string& version);
std::u16string FirmwareImageName(const std::u16string& version);

enum class FirmwareOutcome {
    NotDownloaded,   // the archive could not be downloaded
    NoImage,         // the archive held no image of the expected name
    BadImage,        // the image is empty, larger than the loader takes, or unreadable
    NoInterface,     // the mouse's update interface could not be opened: nothing was sent
    StartRefused,    // the loader did not take the start report: nothing more was sent
    TransferFailed,  // a data report failed; the end report was still sent
    Done,            // every report was taken
};

// True for the outcomes of a run that got as far as the mouse (the image had been read): such a
// run ends with the program's window closing, whatever the outcome.
bool ReachedMouse(FirmwareOutcome outcome);

// Reads a firmware image whole. BadImage for an empty file, one larger than
// kFirmwareMaxImageSize or one that cannot be read; NoImage when there is no such file.
FirmwareOutcome ReadFirmwareImage(const std::filesystem::path& file,
                                  std::vector<std::uint8_t>& image);

// Sends `image` to the selected device's update interface: opens the interface (the device
// manager keeps it while it sends, and closes it after), the start report, then only if the
// loader took it the data reports (with `progress`) and the end report, which goes out whatever
// the data reports gave. NoInterface, StartRefused, TransferFailed or Done; BadImage for an image
// the loader cannot take (nothing is opened then).
FirmwareOutcome FlashFirmwareImage(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                                   const FirmwareProgress& progress);

struct FirmwareUpdateRequest {
    std::filesystem::path dataFolder;
    std::u16string firmwareAddress;
    std::u16string latestVersion;
    // The steps as a percentage and a language text: 5 downloading, 7 and 10 preparing, then the
    // transfer's own progress, and at the end 100 with kFirmwareDoneTextId, or with
    // kFirmwareFailedTextId when the mouse did not take the whole image. May be empty.
    FirmwareProgress step;
    // The archive's download progress, 0 to 100 (may be empty).
    std::function<void(int percent)> downloadProgress;
    FetchLimits limits;
};

// The whole update. The image file is deleted once it has been read.
FirmwareOutcome RunFirmwareUpdate(DeviceManager& manager, const FirmwareUpdateRequest& request);
