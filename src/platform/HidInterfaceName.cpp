#include "platform/HidInterfaceName.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/Format.h"

namespace platform {

namespace {

constexpr std::uint32_t kBusUsb = 0x0003;

// A whole field of hexadecimal digits, or nothing (empty, other characters, beyond 32 bits).
std::optional<std::uint32_t> ParseHex(std::string_view text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || error != std::errc() || next != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) {
        text.remove_suffix(1);
    }
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc() || next != end) {
        return std::nullopt;
    }
    return value;
}

struct HidId {
    std::uint32_t bus = 0;
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
};

// "BBBB:VVVVVVVV:PPPPPPPP", upper or lower case.
std::optional<HidId> ParseHidId(std::string_view text) {
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t second = text.find(':', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto bus = ParseHex(text.substr(0, first));
    const auto vendor = ParseHex(text.substr(first + 1, second - first - 1));
    const auto product = ParseHex(text.substr(second + 1));
    if (!bus || !vendor || !product) {
        return std::nullopt;
    }
    return HidId{*bus, *vendor, *product};
}

// The interface number: the USB interface's own attribute (hexadecimal), else the decimal number
// after the last "/input" of HID_PHYS.
std::optional<std::uint32_t> InterfaceNumber(const HidUdevProperties& properties) {
    if (auto number = ParseHex(properties.interfaceNumber)) {
        return number;
    }
    const std::string_view phys = properties.hidPhys;
    constexpr std::string_view kInput = "/input";
    const std::size_t at = phys.rfind(kInput);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return ParseDecimal(phys.substr(at + kInput.size()));
}

// FNV-1a, 32 bits: a short, stable stand-in for the instance hash of a Windows device id.
std::uint32_t Hash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

std::u16string HidInterfaceName(const HidUdevProperties& properties) {
    const auto id = ParseHidId(properties.hidId);
    if (!id || id->bus != kBusUsb || id->vendor > 0xFFFF || id->product > 0xFFFF) {
        return {};
    }
    std::u16string name = Format(u"\\\\?\\HID#VID_%04X&PID_%04X", id->vendor, id->product);
    const auto number = InterfaceNumber(properties);
    const auto count = ParseDecimal(properties.interfaceCount);
    if (number && *number <= 0xFF && !(count && *count == 1)) {
        name += Format(u"&MI_%02X", *number);
    }
    const std::string_view instanceSource =
        properties.hidPhys.empty() ? properties.hidId : properties.hidPhys;
    name += Format(u"#7&%x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", Hash(instanceSource));
    return name;
}

}  // namespace platform
