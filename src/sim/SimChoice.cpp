#include "sim/SimChoice.h"

#include <algorithm>
#include <vector>

#include "text/Numbers.h"
#include "text/Utf.h"

namespace sim {

namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsModelName(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '_';
    });
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t colon = text.find(':');
        fields.push_back(text.substr(0, colon));
        if (colon == std::string_view::npos) {
            return fields;
        }
        text.remove_prefix(colon + 1);
    }
}

bool ParseMode(std::string_view text, int& mode) {
    if (text.empty() || text == "0" || text == "cable") {
        mode = 0;
    } else if (text == "1" || text == "receiver") {
        mode = 1;
    } else if (text == "all") {
        mode = SimChoice::kAllModes;
    } else {
        return false;
    }
    return true;
}

bool ParseSensor(std::string_view text, int& sensorId) {
    if (text.empty()) {
        sensorId = kDefaultSensorId;
        return true;
    }
    if (!IsDigits(text) || text.size() > 3) {
        return false;
    }
    sensorId = DecimalToInt(FromUtf8(text));
    return sensorId <= 255;
}

}  // namespace

bool ParseSimChoice(std::string_view text, SimChoice& choice) {
    constexpr std::string_view kSwitch = "--sim";
    if (text.substr(0, kSwitch.size()) == kSwitch) {
        text.remove_prefix(kSwitch.size());
        if (!text.empty()) {
            if (text.front() != '=') {
                return false;
            }
            text.remove_prefix(1);
        }
    }
    const std::vector<std::string_view> fields = SplitFields(text);
    if (fields.size() > 3 || !IsModelName(fields[0])) {
        return false;
    }
    SimChoice parsed;
    parsed.model = FromUtf8(fields[0]);
    if (fields.size() > 1 && !ParseMode(fields[1], parsed.mode)) {
        return false;
    }
    if (fields.size() > 2 && !ParseSensor(fields[2], parsed.sensorId)) {
        return false;
    }
    choice = parsed;
    return true;
}

}  // namespace sim
