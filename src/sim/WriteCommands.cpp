#include "sim/WriteCommands.h"

#include "sim/SensorTable.h"

namespace sim {

namespace {

constexpr std::size_t kStageByte = 5;

std::uint32_t ColourAt(const Request& request, std::size_t at) {
    return request[at] | (request[at + 1] << 8) |
           (static_cast<std::uint32_t>(request[at + 2]) << 16);
}

std::uint16_t WordAt(const Request& request, std::size_t at) {
    return static_cast<std::uint16_t>(request[at] | (request[at + 1] << 8));
}

bool IsButtonEntryKind(std::uint8_t kind) {
    switch (kind) {
        case 0x00:  // unassigned
        case 0x10:  // mouse buttons
        case 0x20:  // wheel
        case 0x30:  // repeat
        case 0x40:  // DPI function
        case 0x60:  // device function, disabled
        case 0x70:  // keyboard
        case 0x80:  // consumer control
        case 0x90:  // macro
            return true;
        default:
            return false;
    }
}

ReplyStatus SetReportRate(const Request& r, const MouseIdentity& identity, MouseSettings& s) {
    const int hz = ReportRateHz(r[5]);
    if (r[4] != 1 || hz == 0 || hz > identity.HighestRateHz()) {
        return ReplyStatus::BadPayload;
    }
    s.reportRate = r[5];
    return ReplyStatus::Accepted;
}

ReplyStatus SetDpiStages(const Request& r, const MouseIdentity& identity, MouseSettings& s) {
    const int count = r[kStageByte] & 0x0F;
    if (r[4] != 0x25 || count < 1 || count > kDpiStageCount) {
        return ReplyStatus::BadPayload;
    }
    DpiStages stages;
    stages.selected = r[kStageByte] >> 4;
    stages.count = static_cast<std::uint8_t>(count);
    for (int i = 0; i < kDpiStageCount; ++i) {
        const std::size_t at = 6 + 4 * i;
        stages.encoded[i] = WordAt(r, at);
        stages.encodedSecond[i] = WordAt(r, at + 2);
        stages.dpi[i] = SensorTable::Decode(identity.sensorId, stages.encoded[i]);
        const int second = SensorTable::Decode(identity.sensorId, stages.encodedSecond[i]);
        if (!SensorTable::InRange(identity.sensorId, stages.dpi[i]) ||
            !SensorTable::InRange(identity.sensorId, second)) {
            return ReplyStatus::BadPayload;
        }
    }
    s.dpi = stages;
    return ReplyStatus::Accepted;
}

ReplyStatus SetDpiColours(const Request& r, MouseSettings& s) {
    if (r[4] != 18) {
        return ReplyStatus::BadPayload;
    }
    for (int i = 0; i < kDpiStageCount; ++i) {
        s.dpiColours[i] = ColourAt(r, 5 + 3 * i);
    }
    return ReplyStatus::Accepted;
}

// Byte 5 mode, byte 6 (brightness << 4) | speed, then by mode: nothing (0, 4, 5), a zero byte (1),
// a colour count and that many colours (2), one colour (3).
ReplyStatus SetLighting(const Request& r, MouseSettings& s) {
    const std::uint8_t mode = r[5];
    LightingState lighting;
    lighting.mode = mode;
    lighting.brightness = r[6] >> 4;
    lighting.speed = r[6] & 0x0F;
    switch (mode) {
        case 0:
        case 4:
        case 5:
            if (r[4] != 2) {
                return ReplyStatus::BadPayload;
            }
            break;
        case 1:
            if (r[4] != 3) {
                return ReplyStatus::BadPayload;
            }
            break;
        case 2: {
            const int colours = r[7];
            if (colours < 1 || colours > 7 || r[4] != 3 + 3 * colours) {
                return ReplyStatus::BadPayload;
            }
            for (int i = 0; i < colours; ++i) {
                lighting.colours.push_back(ColourAt(r, 8 + 3 * i));
            }
            break;
        }
        case 3:
            if (r[4] != 5) {
                return ReplyStatus::BadPayload;
            }
            lighting.colours.push_back(ColourAt(r, 7));
            break;
        default:
            return ReplyStatus::BadPayload;
    }
    s.lighting = std::move(lighting);
    return ReplyStatus::Accepted;
}

ReplyStatus SetLiftoffSensor(const Request& r, MouseSettings& s) {
    if (r[4] != 5 || r[6] > 1 || r[7] > 1) {
        return ReplyStatus::BadPayload;
    }
    s.liftoffHeight = r[5];
    s.sensorOption1 = r[6];
    s.sensorOption2 = r[7];
    return ReplyStatus::Accepted;
}

ReplyStatus SetPowerOptions(const Request& r, MouseSettings& s) {
    if (r[4] != 4) {
        return ReplyStatus::BadPayload;
    }
    s.sleepTime = r[5];
    s.moveWakeup = r[6];
    s.moveCloseLight = r[7];
    s.debounce = r[8];
    return ReplyStatus::Accepted;
}

// Length byte 0x0F, then 27 table bytes (the request ends with the checksum at byte 32).
ReplyStatus SetButtonTable(const Request& r, MouseSettings& s) {
    if (r[4] != 0x0F) {
        return ReplyStatus::BadPayload;
    }
    for (std::size_t entry = 0; entry < kButtonTableSize; entry += 3) {
        if (!IsButtonEntryKind(r[5 + entry])) {
            return ReplyStatus::BadPayload;
        }
    }
    for (std::size_t i = 0; i < kButtonTableSize; ++i) {
        s.buttonTable[i] = r[5 + i];
    }
    return ReplyStatus::Accepted;
}

}  // namespace

bool IsSingleWriteCommand(std::uint8_t code) {
    switch (code) {
        case command::kReportRate:
        case command::kDpiStages:
        case command::kDpiColours:
        case command::kLighting:
        case command::kLiftoffSensor:
        case command::kPowerOptions:
        case command::kButtonTable:
        case command::kResetLighting:
        case command::kFactoryReset:
            return true;
        default:
            return false;
    }
}

ReplyStatus ApplyWrite(const Request& r, const MouseIdentity& identity, MouseSettings& s) {
    if (r[2] != 0x00 || r[3] != 0x01) {
        return ReplyStatus::BadPayload;
    }
    switch (r[1]) {
        case command::kReportRate:
            return SetReportRate(r, identity, s);
        case command::kDpiStages:
            return SetDpiStages(r, identity, s);
        case command::kDpiColours:
            return SetDpiColours(r, s);
        case command::kLighting:
            return SetLighting(r, s);
        case command::kLiftoffSensor:
            return SetLiftoffSensor(r, s);
        case command::kPowerOptions:
            return SetPowerOptions(r, s);
        case command::kButtonTable:
            return SetButtonTable(r, s);
        case command::kResetLighting:
            if (r[4] != 1) {
                return ReplyStatus::BadPayload;
            }
            s.lighting = MouseSettings::FactoryLighting();
            return ReplyStatus::Accepted;
        case command::kFactoryReset:
            if (r[4] != 1) {
                return ReplyStatus::BadPayload;
            }
            s = MouseSettings::Factory(identity.sensorId);
            return ReplyStatus::Accepted;
        default:
            return ReplyStatus::UnknownCommand;
    }
}

}  // namespace sim
