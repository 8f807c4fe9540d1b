#include "device/protocol/FirmwareTransfer.h"

#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"

namespace {

constexpr int kLoaderPauseMs = 10;
constexpr int kPausedReports = 2;  // the loader needs a moment after the first two reports only
constexpr int kProgressStart = 10;
constexpr int kProgressSpan = 90;

bool IsSendable(const std::vector<std::uint8_t>& image) {
    return !image.empty() && image.size() <= kFirmwareMaxImageSize;
}

}  // namespace

bool SendFirmwareImage(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                       const FirmwareProgress& progress) {
    if (!IsSendable(image)) {
        return false;
    }
    const std::size_t size = image.size();
    const std::size_t fullReports = size / kFirmwareBytesPerReport;
    std::size_t offset = 0;
    std::size_t block = 0;
    std::size_t sent = 0;
    while (size - offset >= kFirmwareBytesPerReport) {
        FirmwareReport report = MakeFirmwareDataReport(
            image.data() + offset, kFirmwareBytesPerReport, static_cast<std::uint16_t>(block));
        if (!manager.UpdateExchange(report.data())) {
            return false;
        }
        if (sent < kPausedReports) {
            manager.Pause(kLoaderPauseMs);
        }
        ++sent;
        block += kFirmwareBlocksPerReport;
        offset += kFirmwareBytesPerReport;
        if (progress && fullReports > 0) {
            progress(static_cast<int>(kProgressStart + (kProgressSpan * sent) / fullReports),
                     kFirmwareSendingTextId);
        }
    }
    if (offset == size) {
        return true;
    }
    FirmwareReport last = MakeFirmwareDataReport(image.data() + offset, size - offset,
                                                 static_cast<std::uint16_t>(block));
    return manager.UpdateExchange(last.data());
}

FirmwareUpdateResult TransferFirmwareUpdate(DeviceManager& manager,
                                            const std::vector<std::uint8_t>& image,
                                            const FirmwareProgress& progress) {
    if (!IsSendable(image)) {
        return FirmwareUpdateResult::Unsendable;
    }
    FirmwareReport start = MakeFirmwareStartReport();
    if (!manager.UpdateExchange(start.data())) {
        return FirmwareUpdateResult::StartRefused;
    }
    const bool sent = SendFirmwareImage(manager, image, progress);
    // The loader is told the transfer ended even when a report failed, so it does not wait on.
    FirmwareReport end = MakeFirmwareEndReport();
    manager.UpdateExchange(end.data());
    return sent ? FirmwareUpdateResult::Done : FirmwareUpdateResult::ImageFailed;
}

bool SendFirmwareUpdate(DeviceManager& manager, const std::vector<std::uint8_t>& image,
                        const FirmwareProgress& progress) {
    return TransferFirmwareUpdate(manager, image, progress) == FirmwareUpdateResult::Done;
}
