#pragma once

#include <span>
#include <string>
#include <string_view>

namespace keys {

// The kinds of macro events, as the event list and the store keep them.
inline constexpr int kEventDelay = 1;
inline constexpr int kEventKeyDown = 2;
inline constexpr int kEventKeyUp = 3;
inline constexpr int kEventButtonDown = 4;
inline constexpr int kEventButtonUp = 5;

// "%d ms"
std::u16string DelayText(int milliseconds);
// "↓  " or "↑  " (the arrow and two spaces) before a key or button name.
std::u16string PressText(std::u16string_view name);
std::u16string ReleaseText(std::u16string_view name);

// One choice of the event editor's mouse-button selector: its language text, the data it carries
// in the selector, the name the event shows and the button's value in the event.
struct MouseButtonChoice {
    int textId;
    int data;
    const char16_t* name;
    int value;
};
// In the selector's order.
std::span<const MouseButtonChoice> MouseButtonChoices();
// The choice with this selector data / event value; null when there is none.
const MouseButtonChoice* MouseButtonByData(int data);
const MouseButtonChoice* MouseButtonByValue(int value);

// The clicks the insert menu offers: the menu item, its language text, and the button.
struct ClickKind {
    int menuItem;
    int textId;
    const char16_t* name;
    int value;
};
// Left, middle, right, in the menu's order.
std::span<const ClickKind> InsertClickKinds();
// The click of this menu item; null for the key and delay items.
const ClickKind* ClickKindOfItem(int menuItem);
// The insert menu's other two items and their texts.
inline constexpr int kInsertKeyItem = 101;
inline constexpr int kInsertKeyText = 397;
inline constexpr int kInsertDelayItem = 103;
inline constexpr int kInsertDelayText = 398;

// What the event editor's kind selector shows for an event type: its single entry's language
// text and data (3 delay, 2 key, 1 mouse button).
struct EventKind {
    int textId;
    int data;
};
inline constexpr int kKindMouse = 1;
inline constexpr int kKindKey = 2;
inline constexpr int kKindDelay = 3;
// {0, 0} for a type outside 1 to 5.
EventKind EventKindOfType(int type);

}  // namespace keys
