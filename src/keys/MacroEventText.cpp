#include "keys/MacroEventText.h"

#include <algorithm>
#include <array>

#include "text/Format.h"

namespace keys {

namespace {

constexpr char16_t kPressPrefix[] = u"↓  ";
constexpr char16_t kReleasePrefix[] = u"↑  ";

constexpr std::array<MouseButtonChoice, 5> kMouseButtons = {{
    {106, 1, u"LB", 1},
    {107, 3, u"RB", 2},
    {108, 2, u"MB", 4},
    {109, 5, u"Forward", 16},
    {110, 6, u"Backward", 8},
}};

constexpr std::array<ClickKind, 3> kClicks = {{
    {105, 415, u"LB", 1},
    {106, 416, u"MB", 4},
    {107, 417, u"RB", 2},
}};

}  // namespace

std::u16string DelayText(int milliseconds) {
    return Format(u"%d ms", milliseconds);
}

std::u16string PressText(std::u16string_view name) {
    return std::u16string(kPressPrefix) + std::u16string(name);
}

std::u16string ReleaseText(std::u16string_view name) {
    return std::u16string(kReleasePrefix) + std::u16string(name);
}

std::span<const MouseButtonChoice> MouseButtonChoices() {
    return kMouseButtons;
}

const MouseButtonChoice* MouseButtonByData(int data) {
    const auto* it = std::find_if(kMouseButtons.begin(), kMouseButtons.end(),
                                  [data](const MouseButtonChoice& c) { return c.data == data; });
    return it != kMouseButtons.end() ? &*it : nullptr;
}

const MouseButtonChoice* MouseButtonByValue(int value) {
    const auto* it = std::find_if(kMouseButtons.begin(), kMouseButtons.end(),
                                  [value](const MouseButtonChoice& c) { return c.value == value; });
    return it != kMouseButtons.end() ? &*it : nullptr;
}

std::span<const ClickKind> InsertClickKinds() {
    return kClicks;
}

const ClickKind* ClickKindOfItem(int menuItem) {
    const auto* it = std::find_if(kClicks.begin(), kClicks.end(), [menuItem](const ClickKind& c) {
        return c.menuItem == menuItem;
    });
    return it != kClicks.end() ? &*it : nullptr;
}

EventKind EventKindOfType(int type) {
    switch (type) {
        case kEventDelay:
            return {395, kKindDelay};
        case kEventKeyDown:
        case kEventKeyUp:
            return {394, kKindKey};
        case kEventButtonDown:
        case kEventButtonUp:
            return {393, kKindMouse};
        default:
            return {0, 0};
    }
}

}  // namespace keys
