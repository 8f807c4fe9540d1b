#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class DeviceManager;

// Sends a firmware image to the mouse's firmware loader over the device manager's update
// interface (DeviceManager::OpenUpdateInterface must have opened it). Device worker only.

// Progress of a transfer: a percentage and the language text id of the step.
using FirmwareProgress = std::function<void(int percent, int textId)>;

// Language text id shown with the transfer's progress.
inline constexpr int kFirmwareSendingTextId = 592;

// The data reports of `image`: 48 bytes per report. After each full report the progress is
// 10 + 90 * k / (n / 48) for the k-th report of an n-byte image; the loader gets 10 ms after the
// first and after the second report. The last, partial report carries what remains and shows no
// progress. A failed exchange of a full report ends the transfer. Returns true when every report
// was accepted; false (and nothing is sent) for an empty image or one larger than
// kFirmwareMaxImageSize, whose block numbers would wrap.
bool SendFirmwareImage(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                       const FirmwareProgress& progress);

// How a whole update ended.
enum class FirmwareUpdateResult {
    Unsendable,    // empty or oversized image: nothing was sent
    StartRefused,  // the loader did not take the start report: nothing more was sent
    ImageFailed,   // a data report failed; the end report was still sent
    Done,          // the start report and every data report were accepted
};

// The whole update: the start report; only if the loader accepts it, the image and then the end
// report, which is sent whatever the image's transfer gave (its answer is not used). An empty or
// oversized image is refused before the start report, so the loader is never left waiting.
FirmwareUpdateResult TransferFirmwareUpdate(DeviceManager& manager,
                                            const std::vector<std::uint8_t>& image,
                                            const FirmwareProgress& progress);
// The same, true when it ended Done.
bool SendFirmwareUpdate(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                        const FirmwareProgress& progress);
