#include "device/protocol/ProtocolSettings.h"

#include <cstddef>

#include "device/protocol/CommandCodes.h"
#include "device/protocol/DpiEncoding.h"
#include "text/Format.h"

namespace {

constexpr std::size_t kPayload = RequestReport::kPayloadStart;

}  // namespace

bool ProtocolSettings::SendReportRate() {
    RequestReport request = RequestReport::Write(kCommandReportRate, 1);
    request.Set(kPayload, context_.ReadInt(u"report_rate"));
    return context_.SendWrite(request, RequestReport::kLongLength, u"0x02: 设置回报率失败");
}

bool ProtocolSettings::SendDpiStages() {
    // The payload length byte is 0x25 although 25 bytes follow: the mouse expects this value.
    RequestReport request = RequestReport::Write(kCommandDpiStages, 0x25);
    const int index = context_.ReadInt(u"dpi_index");
    const int count = context_.ReadInt(u"dpi_count");
    request.Set(kPayload, (index << 4) | count);
    const int sensor = context_.State().SensorId();
    for (int stage = 0; stage < kStageCount; ++stage) {
        const int dpi = context_.ReadInt(Format(u"dpi_group%d_value", stage));
        const int encoded = EncodeDpi(sensor, ClampDpi(sensor, dpi));
        const std::size_t at = kPayload + 1 + 4 * static_cast<std::size_t>(stage);
        request.SetWord(at, encoded);
        request.SetWord(at + 2, encoded);
    }
    return context_.SendWrite(request, RequestReport::kShortLength, {});
}

bool ProtocolSettings::SendDpiColors() {
    RequestReport request = RequestReport::Write(kCommandDpiColors, 3 * kStageCount);
    for (int stage = 0; stage < kStageCount; ++stage) {
        request.SetColor(kPayload + 3 * static_cast<std::size_t>(stage),
                         context_.ReadInt(Format(u"dpi_group%d_rgb", stage)));
    }
    return context_.SendWrite(request, RequestReport::kLongLength,
                              u"0x04: 设置鼠标DPI颜色数据失败");
}

bool ProtocolSettings::SendLiftoffSensor() {
    // Five payload bytes; the last two stay 0.
    RequestReport request = RequestReport::Write(kCommandLiftoffSensor, 5);
    const int sensorFlag = context_.ReadInt(u"sensor_flag");
    request.Set(kPayload, context_.ReadInt(u"liftoff_height"));
    request.Set(kPayload + 1, (sensorFlag & 0x08) != 0 ? 1 : 0);
    request.Set(kPayload + 2, (sensorFlag & 0x04) != 0 ? 1 : 0);
    return context_.SendWrite(request, RequestReport::kLongLength, {});
}

bool ProtocolSettings::SendPowerOptions() {
    RequestReport request = RequestReport::Write(kCommandPowerOptions, 4);
    request.Set(kPayload, context_.ReadInt(u"sleep_light"));
    request.Set(kPayload + 1, context_.ReadInt(u"move_wakeup"));
    request.Set(kPayload + 2, context_.ReadInt(u"move_closelight"));
    request.Set(kPayload + 3, context_.ReadInt(u"button_respondtime"));
    return context_.SendWrite(request, RequestReport::kLongLength,
                              u"0x07: 设置睡眠时间、移动关闭灯效使能");
}
