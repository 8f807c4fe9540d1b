#include "sim/MouseStateText.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/MacroAssembler.h"
#include "sim/SensorTable.h"

namespace sim {

namespace {

constexpr std::string_view kLayoutLine = "kestrel-sim-mouse 1";
constexpr std::string_view kCheckName = "check";
constexpr std::size_t kMaxLightingColours = 7;

std::uint32_t Crc32(std::string_view text) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // The text is small, but zlib takes lengths as uInt: feed it in pieces that fit.
    while (!text.empty()) {
        const std::size_t piece = std::min<std::size_t>(text.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(piece));
        text.remove_prefix(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

// Appends " <value>" for each value.
template <typename Values>
void AppendNumbers(std::string& line, const Values& values) {
    for (const auto value : values) {
        line += ' ';
        line += std::to_string(value);
    }
}

// The words of one line, separated by single spaces. Reading fails for good at the first word
// that is missing or malformed, so that a whole line can be read and checked once at its end.
class LineWords {
public:
    explicit LineWords(std::string_view line) {
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t end = std::min(line.find(' ', start), line.size());
            words_.push_back(line.substr(start, end - start));
            start = end + 1;
        }
    }

    bool Name(std::string_view expected) { return Word() == expected && ok_; }

    template <typename T>
    void Number(unsigned long highest, T& value) {
        const std::string_view word = Word();
        unsigned long number = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
        if (word.empty() || error != std::errc() || end != word.data() + word.size() ||
            number > highest) {
            ok_ = false;
            return;
        }
        value = static_cast<T>(number);
    }

    void Hex(std::vector<std::uint8_t>& bytes) {
        const std::string_view word = Word();
        bytes.clear();
        if (word.size() % 2 != 0) {
            ok_ = false;
            return;
        }
        for (std::size_t i = 0; i < word.size(); i += 2) {
            std::uint8_t byte = 0;
            const auto [end, error] =
                std::from_chars(word.data() + i, word.data() + i + 2, byte, 16);
            if (error != std::errc() || end != word.data() + i + 2) {
                ok_ = false;
                return;
            }
            bytes.push_back(byte);
        }
    }

    // Whether every word was read well and none is left over.
    bool Done() const { return ok_ && next_ == words_.size(); }

private:
    std::string_view Word() {
        if (next_ >= words_.size()) {
            ok_ = false;
            return {};
        }
        return words_[next_++];
    }

    std::vector<std::string_view> words_;
    std::size_t next_ = 0;
    bool ok_ = true;
};

std::string MouseLine(const MouseIdentity& identity) {
    return "mouse " +
           HexBytes(reinterpret_cast<const std::uint8_t*>(identity.deviceId.data()),
                    identity.deviceId.size()) +
           " " + std::to_string(identity.sensorId);
}

// The lines of `body`, each of which ended with a line feed.
std::vector<std::string_view> Lines(std::string_view body) {
    std::vector<std::string_view> lines;
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        lines.push_back(body.substr(0, end));
        body.remove_prefix(end + 1);
    }
    return lines;
}

bool ReadDpi(std::string_view line, int sensorId, DpiStages& dpi) {
    LineWords words(line);
    if (!words.Name("dpi")) {
        return false;
    }
    words.Number(0x0F, dpi.selected);
    words.Number(kDpiStageCount, dpi.count);
    for (std::uint16_t& value : dpi.encoded) {
        words.Number(0xFFFF, value);
    }
    for (std::uint16_t& value : dpi.encodedSecond) {
        words.Number(0xFFFF, value);
    }
    for (int i = 0; i < kDpiStageCount; ++i) {
        dpi.dpi[i] = SensorTable::Decode(sensorId, dpi.encoded[i]);
    }
    return words.Done() && dpi.count >= 1;
}

bool ReadLighting(std::string_view line, LightingState& lighting) {
    LineWords words(line);
    if (!words.Name("lighting")) {
        return false;
    }
    std::size_t count = 0;
    words.Number(0xFF, lighting.mode);
    words.Number(0x0F, lighting.brightness);
    words.Number(0x0F, lighting.speed);
    words.Number(kMaxLightingColours, count);
    lighting.colours.assign(count, 0);
    for (std::uint32_t& colour : lighting.colours) {
        words.Number(0xFFFFFF, colour);
    }
    return words.Done();
}

bool ReadOptions(std::string_view line, MouseSettings& settings) {
    LineWords words(line);
    if (!words.Name("options")) {
        return false;
    }
    words.Number(0xFF, settings.liftoffHeight);
    words.Number(1, settings.sensorOption1);
    words.Number(1, settings.sensorOption2);
    words.Number(0xFF, settings.sleepTime);
    words.Number(0xFF, settings.moveWakeup);
    words.Number(0xFF, settings.moveCloseLight);
    words.Number(0xFF, settings.debounce);
    return words.Done();
}

bool ReadButtons(std::string_view line, MouseSettings& settings) {
    LineWords words(line);
    std::vector<std::uint8_t> table;
    if (!words.Name("buttons")) {
        return false;
    }
    words.Hex(table);
    if (!words.Done() || table.size() != kButtonTableSize) {
        return false;
    }
    std::copy(table.begin(), table.end(), settings.buttonTable.begin());
    return true;
}

// A stored macro: its upload starts with its button, as the mouse keeps it.
bool ReadMacro(std::string_view line, MouseSettings& settings) {
    LineWords words(line);
    std::uint8_t button = 0;
    std::vector<std::uint8_t> blob;
    if (!words.Name("macro")) {
        return false;
    }
    words.Number(0xFF, button);
    words.Hex(blob);
    if (!words.Done() || blob.empty() || blob.front() != button ||
        blob.size() > MacroAssembler::kMacroBufferSize || settings.macros.count(button) != 0) {
        return false;
    }
    settings.macros[button] = std::move(blob);
    return true;
}

// The part of `text` its check line vouches for; empty when the check line is missing or wrong.
std::string_view CheckedBody(std::string_view text) {
    if (text.empty() || text.back() != '\n') {
        return {};
    }
    const std::size_t lastStart = text.rfind('\n', text.size() - 2);
    if (lastStart == std::string_view::npos) {
        return {};
    }
    const std::string_view body = text.substr(0, lastStart + 1);
    const std::string_view last = text.substr(lastStart + 1, text.size() - lastStart - 2);
    LineWords words(last);
    std::vector<std::uint8_t> crc;
    if (!words.Name(kCheckName)) {
        return {};
    }
    words.Hex(crc);
    if (!words.Done() || crc.size() != 4) {
        return {};
    }
    const std::uint32_t stored = (std::uint32_t{crc[0]} << 24) | (std::uint32_t{crc[1]} << 16) |
                                 (std::uint32_t{crc[2]} << 8) | crc[3];
    return stored == Crc32(body) ? body : std::string_view{};
}

}  // namespace

std::string EncodeMouseState(const MouseIdentity& identity, const MouseSettings& settings) {
    std::string text(kLayoutLine);
    text += '\n' + MouseLine(identity) + '\n';
    text += "rate " + std::to_string(settings.reportRate) + '\n';

    std::string line =
        "dpi " + std::to_string(settings.dpi.selected) + " " + std::to_string(settings.dpi.count);
    AppendNumbers(line, settings.dpi.encoded);
    AppendNumbers(line, settings.dpi.encodedSecond);
    text += line + '\n';

    line = "dpi_colours";
    AppendNumbers(line, settings.dpiColours);
    text += line + '\n';

    const LightingState& lighting = settings.lighting;
    line = "lighting " + std::to_string(lighting.mode) + " " + std::to_string(lighting.brightness) +
           " " + std::to_string(lighting.speed) + " " + std::to_string(lighting.colours.size());
    AppendNumbers(line, lighting.colours);
    text += line + '\n';

    line = "options";
    AppendNumbers(
        line, std::array<int, 7>{settings.liftoffHeight, settings.sensorOption1,
                                 settings.sensorOption2, settings.sleepTime, settings.moveWakeup,
                                 settings.moveCloseLight, settings.debounce});
    text += line + '\n';

    text += "buttons " + HexBytes(settings.buttonTable.data(), settings.buttonTable.size()) + '\n';
    for (const auto& [button, blob] : settings.macros) {
        text += "macro " + std::to_string(button) + " " + HexBytes(blob.data(), blob.size()) + '\n';
    }

    char check[24];
    std::snprintf(check, sizeof check, "%s %08X\n", kCheckName.data(),
                  static_cast<unsigned>(Crc32(text)));
    return text + check;
}

std::optional<MouseSettings> DecodeMouseState(std::string_view text,
                                              const MouseIdentity& identity) {
    const std::vector<std::string_view> lines = Lines(CheckedBody(text));
    // The layout line, the mouse, the six groups of settings, then the macros.
    constexpr std::size_t kFixedLines = 8;
    if (lines.size() < kFixedLines || lines[0] != kLayoutLine || lines[1] != MouseLine(identity)) {
        return std::nullopt;
    }
    MouseSettings settings;
    LineWords rate(lines[2]);
    if (!rate.Name("rate")) {
        return std::nullopt;
    }
    rate.Number(0xFF, settings.reportRate);
    LineWords colours(lines[4]);
    if (!colours.Name("dpi_colours")) {
        return std::nullopt;
    }
    for (std::uint32_t& colour : settings.dpiColours) {
        colours.Number(0xFFFFFF, colour);
    }
    if (!rate.Done() || !ReadDpi(lines[3], identity.sensorId, settings.dpi) || !colours.Done() ||
        !ReadLighting(lines[5], settings.lighting) || !ReadOptions(lines[6], settings) ||
        !ReadButtons(lines[7], settings)) {
        return std::nullopt;
    }
    for (std::size_t i = kFixedLines; i < lines.size(); ++i) {
        if (!ReadMacro(lines[i], settings)) {
            return std::nullopt;
        }
    }
    return settings;
}

}  // namespace sim
