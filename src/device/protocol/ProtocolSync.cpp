#include "device/protocol/ProtocolSync.h"

#include <array>
#include <cstdint>
#include <string>

#include "device/protocol/CommandCodes.h"
#include "device/protocol/DpiEncoding.h"
#include "device/protocol/ReportRate.h"
#include "device/protocol/SensorInfo.h"
#include "device/transport/Trace.h"
#include "text/Format.h"

namespace {

// Information-reply bytes.
constexpr std::size_t kInfoSensor = 10;
constexpr std::size_t kInfoHighestRate = 11;
constexpr std::size_t kInfoBatteryState = 12;
constexpr std::size_t kInfoBatteryLevel = 13;
constexpr std::size_t kInfoLink = 14;

// The DPI slider's positions count from this offset whatever the sensor.
constexpr int kSliderStartOffset = 1;
// The battery value shown while the information reply is being taken.
constexpr int kBatteryPlaceholder = 100;
constexpr int kStageCount = 6;

}  // namespace

void ProtocolSync::TakeInfoReply() {
    DeviceState& state = context_.State();
    DeviceView& view = context_.View();
    const int deviceType = context_.Manager().CurrentDeviceType();

    state.SetLinkFlag(0);
    view.SetBatteryInfo(state.BatteryLevel(), kBatteryPlaceholder);
    view.SetDeviceBattery(deviceType, state.BatteryState(), kBatteryPlaceholder);

    std::array<std::uint8_t, RequestReport::kSize> info{};
    if (!context_.Manager().QueryInfo(info.data(), nullptr)) {
        return;
    }
    const SensorInfo sensor = SensorFor(info[kInfoSensor]);
    state.SetSensor(sensor.sensorId);
    view.SetDpiRange(sensor.lowest, sensor.highest, sensor.rangeText, sensor.stepText,
                     sensor.sliderPositions, kSliderStartOffset);

    const int capability = ReportRateCapability(info[kInfoHighestRate]);
    state.SetReportRateCapability(capability);
    view.SetReportRateCapability(capability);

    const int batteryState = info[kInfoBatteryState];
    const int batteryLevel = info[kInfoBatteryLevel];
    state.SetBatteryState(batteryState);
    state.SetBatteryLevel(batteryLevel);
    state.SetLinkFlag(info[kInfoLink]);
    view.SetBatteryInfo(batteryLevel, batteryState);
    view.SetDeviceBattery(deviceType, batteryState, batteryLevel);
}

bool ProtocolSync::SyncFromDevice(bool full) {
    TakeInfoReply();
    DeviceState& state = context_.State();
    if (state.LinkFlag() == 0) {
        Trace(u"无线设备未连接");
        context_.CommandFailed();
        return false;
    }
    if (!state.MarkSynchronised(context_.Manager().CurrentDeviceType())) {
        return true;
    }
    ReadSettings(full);
    return true;
}

void ProtocolSync::ReadSettings(bool full) {
    DeviceState& state = context_.State();

    RequestReport start = RequestReport::Read(kCommandReadStart);
    context_.Exchange(start, RequestReport::kShortLength);

    RequestReport rate = RequestReport::Read(kCommandReadReportRate);
    // A code no rate has (a garbled or cut-short reply) would leave the performance page with
    // no rate selected and be sent back as it is; the stored rate stays.
    if (context_.Exchange(rate, RequestReport::kShortLength) && ReportRateHertz(rate[4]) != 0) {
        context_.WriteInt(u"report_rate", rate[4]);
        context_.WriteInt(u"report_rate_wireless", rate[4]);
    }

    RequestReport stages = RequestReport::Read(kCommandReadDpiStages);
    if (context_.Exchange(stages, RequestReport::kShortLength)) {
        const int count = stages[4] & 0x0F;
        const int index = stages[4] >> 4;
        // The stage byte has room for 15 stages; a count the mouse cannot have, or a selected
        // stage beyond the count, is a garbled reply and the stored pair stays as it was.
        if (count >= 1 && count <= kStageCount && index < count) {
            state.SetReportedDpiCount(count);
            state.SetReportedDpiIndex(index);
            context_.WriteInt(u"dpi_flag", count);
            context_.WriteInt(u"dpi_count", count);
            context_.WriteInt(u"dpi_index", index);
        }
        const SensorInfo sensor = state.Sensor();
        for (int n = 0; n < kStageCount; ++n) {
            const std::size_t at = 5 + 4 * static_cast<std::size_t>(n);
            const int dpi = DecodeDpi(sensor.sensorId, stages[at] | (stages[at + 1] << 8));
            // A value the sensor cannot take (a stage the mouse left empty, or a garbled reply)
            // would only be clamped on the next send; the stored stage stays as it was.
            if (dpi >= sensor.lowest && dpi <= sensor.highest) {
                context_.WriteInt(Format(u"dpi_group%d_value", n), dpi);
            }
        }
    }

    RequestReport colors = RequestReport::Read(kCommandReadDpiColors);
    if (context_.Exchange(colors, RequestReport::kShortLength)) {
        for (int n = 0; n < kStageCount; ++n) {
            const std::size_t at = 4 + 3 * static_cast<std::size_t>(n);
            const int color = colors[at] | (colors[at + 1] << 8) | (colors[at + 2] << 16);
            context_.WriteInt(Format(u"dpi_group%d_rgb", n), color);
        }
    }

    lighting_.ReadLightingState();

    RequestReport liftoff = RequestReport::Read(kCommandReadLiftoffSensor);
    if (context_.Exchange(liftoff, RequestReport::kShortLength)) {
        context_.WriteInt(u"liftoff_height", liftoff[4]);
        context_.WriteInt(u"sensor_flag", (liftoff[6] == 1 ? 4 : 0) | (liftoff[5] == 1 ? 8 : 0));
    }

    RequestReport power = RequestReport::Read(kCommandReadPowerOptions);
    if (context_.Exchange(power, RequestReport::kShortLength)) {
        context_.WriteInt(u"sleep_light", power[4]);
        context_.WriteInt(u"button_respondtime", power[7]);
    }

    // The receiver answers for the mouse's firmware only when asked through it.
    if (full && context_.Manager().ConnectionMode() == 1) {
        RequestReport firmware = RequestReport::Read(kCommandReadMouseFirmware);
        if (context_.Exchange(firmware, RequestReport::kShortLength)) {
            const std::u16string version = Format(u"%X%02X", firmware[4], firmware[5]);
            state.SetMouseFirmwareVersion(version);
            context_.View().SetMouseFirmwareVersion(version);
        }
    }
}
