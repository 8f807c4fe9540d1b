#include "device/protocol/ProtocolLighting.h"

#include <cstddef>

#include "device/protocol/CommandCodes.h"

namespace {

constexpr std::size_t kPayload = RequestReport::kPayloadStart;

// Brightness and speed share one byte, four bits each.
int BrightnessSpeed(const LightModeRecord& record) {
    return ((record.brightness & 0x0F) << 4) | (record.speed & 0x0F);
}

}  // namespace

RequestReport ProtocolLighting::LightingRequest(const LightModeRecord& record) {
    RequestReport request = RequestReport::Write(kCommandLighting, 0);
    switch (record.mode) {
        case 0:
        case 4:
        case 5:
            request.Set(4, 2);
            request.Set(kPayload, record.mode);
            break;
        case 1:
            request.Set(4, 3);
            request.Set(kPayload, 1);
            request.Set(kPayload + 2, 0);
            break;
        case 2: {
            const int colors[] = {record.color_value1, record.color_value2, record.color_value3,
                                  record.color_value4, record.color_value5, record.color_value6,
                                  record.color_value7};
            request.Set(4, 24);
            request.Set(kPayload, 2);
            request.Set(kPayload + 2, 7);
            for (std::size_t i = 0; i < 7; ++i) {
                request.SetColor(kPayload + 3 + 3 * i, colors[i]);
            }
            break;
        }
        case 3:
            request.Set(4, 5);
            request.Set(kPayload, 3);
            request.SetColor(kPayload + 2, record.color_value1);
            break;
        default:
            // A mode the mouse does not know: payload length 0.
            break;
    }
    // Byte 6 carries brightness and speed in every layout.
    request.Set(kPayload + 1, BrightnessSpeed(record));
    return request;
}

bool ProtocolLighting::SendLighting() {
    const int profile = context_.Profile();
    const int mode = context_.State().CurrentLightMode();
    SettingsStore& store = context_.Store();
    store.SetActiveLightMode(profile, mode);
    LightModeRecord record;
    if (!store.GetLightMode(profile, mode, record)) {
        return true;
    }
    RequestReport request = LightingRequest(record);
    return context_.SendWrite(request, RequestReport::kLongLength, u"0x05: 设置灯光模式失败");
}

bool ProtocolLighting::ReadLightingState() {
    RequestReport reply = RequestReport::Read(kCommandReadLighting);
    if (!context_.Exchange(reply, RequestReport::kShortLength)) {
        return false;
    }
    const int profile = context_.Profile();
    const int mode = reply[4];
    SettingsStore& store = context_.Store();
    LightModeRecord record;
    // A mode the profile has no record for (one the model does not offer, or a garbled reply)
    // would leave the profile without an active mode; the current one stays.
    if (!store.GetLightMode(profile, mode, record)) {
        return true;
    }
    context_.State().SetCurrentLightMode(mode);
    store.SetActiveLightMode(profile, mode);
    record.brightness = reply[5] >> 4;
    record.speed = reply[5] & 0x0F;
    store.UpdateLightMode(mode, record);
    return true;
}
