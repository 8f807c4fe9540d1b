#include "sim/ReadCommands.h"

namespace sim {

namespace {

void PutColour(InputReport& reply, std::size_t at, std::uint32_t colour) {
    reply[at] = colour & 0xFF;
    reply[at + 1] = (colour >> 8) & 0xFF;
    reply[at + 2] = (colour >> 16) & 0xFF;
}

void PutWord(InputReport& reply, std::size_t at, std::uint16_t value) {
    reply[at] = value & 0xFF;
    reply[at + 1] = value >> 8;
}

void FillLighting(InputReport& reply, const LightingState& lighting) {
    reply[4] = lighting.mode;
    reply[5] = static_cast<std::uint8_t>((lighting.brightness << 4) | (lighting.speed & 0x0F));
    if (lighting.mode == 2) {
        reply[6] = static_cast<std::uint8_t>(lighting.colours.size());
        for (std::size_t i = 0; i < lighting.colours.size(); ++i) {
            PutColour(reply, 7 + 3 * i, lighting.colours[i]);
        }
    } else if (lighting.mode == 3 && !lighting.colours.empty()) {
        PutColour(reply, 6, lighting.colours.front());
    }
}

}  // namespace

bool IsReadCommand(std::uint8_t code) {
    return (code >= command::kReadStatus && code <= command::kReadPowerOptions) ||
           code == command::kReadFirmware;
}

InputReport FillReadReply(const Request& request, const MouseIdentity& identity,
                          const MouseSettings& s) {
    if (request[2] != 0 || request[3] != 0 || request[4] != 0) {
        return MakeReply(request, ReplyStatus::BadPayload);
    }
    InputReport reply = MakeReply(request, ReplyStatus::Accepted);
    switch (request[1]) {
        case command::kReadReportRate:
            reply[4] = s.reportRate;
            break;
        case command::kReadDpiStages:
            reply[4] = static_cast<std::uint8_t>((s.dpi.selected << 4) | (s.dpi.count & 0x0F));
            for (int i = 0; i < kDpiStageCount; ++i) {
                PutWord(reply, 5 + 4 * i, s.dpi.encoded[i]);
                PutWord(reply, 7 + 4 * i, s.dpi.encodedSecond[i]);
            }
            break;
        case command::kReadDpiColours:
            for (int i = 0; i < kDpiStageCount; ++i) {
                PutColour(reply, 4 + 3 * i, s.dpiColours[i]);
            }
            break;
        case command::kReadLighting:
            FillLighting(reply, s.lighting);
            break;
        case command::kReadLiftoffSensor:
            reply[4] = s.liftoffHeight;
            reply[5] = s.sensorOption1;
            reply[6] = s.sensorOption2;
            break;
        case command::kReadPowerOptions:
            reply[4] = s.sleepTime;
            reply[5] = s.moveWakeup;
            reply[6] = s.moveCloseLight;
            reply[7] = s.debounce;
            break;
        case command::kReadFirmware:
            reply[4] = identity.firmwareVersion >> 8;
            reply[5] = identity.firmwareVersion & 0xFF;
            break;
        default:  // 0x11: the status alone
            break;
    }
    return reply;
}

InputReport MakeInfoReply(const Request& request, const MouseIdentity& identity,
                          BatteryState battery, std::uint8_t linkByte) {
    InputReport reply = MakeReply(request, ReplyStatus::Accepted);
    for (std::size_t i = 0; i < 4 && i < identity.deviceId.size(); ++i) {
        reply[4 + i] = static_cast<std::uint8_t>(identity.deviceId[i]);
    }
    reply[10] = identity.sensorId;
    reply[11] = identity.highestRate;
    reply[12] = battery.state;
    reply[13] = battery.level;
    reply[14] = linkByte;
    return reply;
}

}  // namespace sim
