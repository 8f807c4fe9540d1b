// Linux keys through the raw keyboard reports into decoded keys: left and right modifiers from
// the keys held, the keypad keys whatever Num Lock says, the keypad Enter, the Yen key, the key
// names and the HID usages the mouse is given for them.

#include "keys/KeyDecoder.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <array>
#include <string_view>
#include <vector>

#include "device/protocol/KeyCodes.h"
#include "platform/LinuxKeyMap.h"
#include "support/Printable.h"

namespace {

using keys::KeyDecoder;
using keys::KeyEvent;
using keys::KeyName;

KeyEvent Decode(KeyDecoder& decoder, int linuxKey, bool up, bool numLock) {
    platform::RawKeyReport report;
    EXPECT_TRUE(platform::RawKeyFromLinux(linuxKey, up, numLock, report)) << linuxKey;
    return decoder.DecodeKeyboardInput(report);
}

// One key of a sequence and what the decoder should make of it.
struct Step {
    int linuxKey;
    bool up;
    int vk;
    std::u16string_view name;
    int usage;
    int state;  // ModifierState() afterwards
};

struct Sequence {
    const char* what;
    bool numLock;
    std::vector<Step> steps;
};

TEST(KeyDecoder, DecodesKeySequences) {
    constexpr bool kUp = true;
    constexpr bool kDown = false;
    using keys::kStateLeftAlt;
    using keys::kStateLeftCtrl;
    using keys::kStateLeftShift;
    using keys::kStateRightAlt;
    using keys::kStateRightCtrl;
    using keys::kStateRightShift;
    using keys::kStateWindows;
    const Sequence sequences[] = {
        {"left Shift", true, {{KEY_LEFTSHIFT, kDown, 160, u"Shift", 0xE1, kStateLeftShift}}},
        {"right Windows", true, {{KEY_RIGHTMETA, kDown, 92, u"RWindows", 0xE7, kStateWindows}}},
        {"left Windows",
         true,
         {{KEY_LEFTMETA, kDown, 91, u"Windows", 0xE3, kStateWindows},
          {KEY_LEFTMETA, kUp, 91, u"Windows", 0xE3, 0}}},
        // The two Windows keys share one state bit: once the right key's release cleared it,
        // the left key's release is taken for the right key.
        {"both Windows keys",
         true,
         {{KEY_LEFTMETA, kDown, 91, u"Windows", 0xE3, kStateWindows},
          {KEY_RIGHTMETA, kDown, 92, u"RWindows", 0xE7, kStateWindows},
          {KEY_RIGHTMETA, kUp, 92, u"RWindows", 0xE7, 0},
          {KEY_LEFTMETA, kUp, 92, u"RWindows", 0xE7, 0}}},
        {"keypad 8 without Num Lock keeps the name Up",
         false,
         {{KEY_KP8, kDown, 104, u"Up", 0x60, 0}}},
        {"keypad 8 with Num Lock", true, {{KEY_KP8, kDown, 104, u"Num 8", 0x60, 0}}},
        {"navigation Up", false, {{KEY_UP, kDown, 38, u"Up", 0x52, 0}}},
        {"keypad 5 without Num Lock", false, {{KEY_KP5, kDown, 101, u"Num 5", 0x5D, 0}}},
        {"keypad . without Num Lock", false, {{KEY_KPDOT, kDown, 110, u"Delete", 0x63, 0}}},
        {"navigation Delete", true, {{KEY_DELETE, kDown, 46, u"Delete", 0x4C, 0}}},
        {"keypad Enter",
         true,
         {{KEY_KPENTER, kDown, 108, u"Num Enter", 0x58, 0},
          {KEY_KPENTER, kUp, 108, u"Num Enter", 0x58, 0}}},
        {"main Enter", true, {{KEY_ENTER, kDown, 13, u"Enter", 0x28, 0}}},
        {"C", true, {{KEY_C, kDown, 67, u"C", 0x06, 0}}},
        {"Yen", true, {{KEY_YEN, kDown, 137, u"\uFFE5", 0x89, 0}}},
        {"right Ctrl press and release",
         true,
         {{KEY_RIGHTCTRL, kDown, 163, u"RCtrl", 0xE4, kStateRightCtrl},
          {KEY_RIGHTCTRL, kUp, 163, u"RCtrl", 0xE4, 0}}},
        {"left Ctrl press and release",
         true,
         {{KEY_LEFTCTRL, kDown, 162, u"Ctrl", 0xE0, kStateLeftCtrl},
          {KEY_LEFTCTRL, kUp, 162, u"Ctrl", 0xE0, 0}}},
        {"left and right Alt",
         true,
         {{KEY_LEFTALT, kDown, 164, u"Alt", 0xE2, kStateLeftAlt},
          {KEY_LEFTALT, kUp, 164, u"Alt", 0xE2, 0},
          {KEY_RIGHTALT, kDown, 165, u"RAlt", 0xE6, kStateRightAlt},
          {KEY_RIGHTALT, kUp, 165, u"RAlt", 0xE6, 0}}},
        {"Shift+A with the left Shift",
         true,
         {{KEY_LEFTSHIFT, kDown, 160, u"Shift", 0xE1, kStateLeftShift},
          {KEY_A, kDown, 65, u"A", 0x04, kStateLeftShift},
          {KEY_A, kUp, 65, u"A", 0x04, kStateLeftShift},
          {KEY_LEFTSHIFT, kUp, 160, u"Shift", 0xE1, 0}}},
        {"Shift+A with the right Shift",
         true,
         {{KEY_RIGHTSHIFT, kDown, 161, u"RShift", 0xE5, kStateRightShift},
          {KEY_A, kDown, 65, u"A", 0x04, kStateRightShift},
          {KEY_A, kUp, 65, u"A", 0x04, kStateRightShift},
          {KEY_RIGHTSHIFT, kUp, 161, u"RShift", 0xE5, 0}}},
        // With both held a press is taken as the left key, yet the releases still tell which
        // key went up.
        {"both Shifts",
         true,
         {{KEY_LEFTSHIFT, kDown, 160, u"Shift", 0xE1, kStateLeftShift},
          {KEY_RIGHTSHIFT, kDown, 160, u"Shift", 0xE1, kStateLeftShift},
          {KEY_RIGHTSHIFT, kUp, 161, u"RShift", 0xE5, kStateLeftShift},
          {KEY_LEFTSHIFT, kUp, 160, u"Shift", 0xE1, 0}}},
        {"Ctrl held across a right Ctrl",
         true,
         {{KEY_LEFTCTRL, kDown, 162, u"Ctrl", 0xE0, kStateLeftCtrl},
          {KEY_RIGHTCTRL, kDown, 162, u"Ctrl", 0xE0, kStateLeftCtrl},
          {KEY_LEFTCTRL, kUp, 162, u"Ctrl", 0xE0, 0},
          {KEY_RIGHTCTRL, kUp, 163, u"RCtrl", 0xE4, 0}}},
        // Pause starts with the left Ctrl's make code (E1 1D) but is no Ctrl.
        {"Pause is not a Ctrl",
         true,
         {{KEY_PAUSE, kDown, 19, u"Pause", 0x48, 0},
          {KEY_RIGHTCTRL, kDown, 163, u"RCtrl", 0xE4, kStateRightCtrl},
          {KEY_PAUSE, kUp, 19, u"Pause", 0x48, kStateRightCtrl}}},
    };
    for (const Sequence& sequence : sequences) {
        KeyDecoder decoder;
        for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
            const Step& step = sequence.steps[i];
            SCOPED_TRACE(testing::Message() << sequence.what << ", step " << i + 1);
            const KeyEvent event = Decode(decoder, step.linuxKey, step.up, sequence.numLock);
            EXPECT_EQ(event.kind, keys::kKeyboardEvent);
            EXPECT_EQ(event.isUp, step.up ? 1 : 0);
            EXPECT_EQ(event.vk, step.vk);
            EXPECT_EQ(Printable(event.name), Printable(step.name));
            EXPECT_EQ(VirtualKeyToUsage(event.vk), step.usage);
            EXPECT_EQ(decoder.ModifierState(), step.state);
        }
    }
}

// A key of the 105-key layout and its decoded form with Num Lock on.
struct LayoutKey {
    int linuxKey;
    int vk;
    bool e0;
    std::u16string_view name;
};

constexpr std::array<LayoutKey, 105> kLayout{{
    {KEY_ESC, 0x1B, false, u"Esc"},
    {KEY_F1, 0x70, false, u"F1"},
    {KEY_F2, 0x71, false, u"F2"},
    {KEY_F3, 0x72, false, u"F3"},
    {KEY_F4, 0x73, false, u"F4"},
    {KEY_F5, 0x74, false, u"F5"},
    {KEY_F6, 0x75, false, u"F6"},
    {KEY_F7, 0x76, false, u"F7"},
    {KEY_F8, 0x77, false, u"F8"},
    {KEY_F9, 0x78, false, u"F9"},
    {KEY_F10, 0x79, false, u"F10"},
    {KEY_F11, 0x7A, false, u"F11"},
    {KEY_F12, 0x7B, false, u"F12"},
    {KEY_GRAVE, 0xC0, false, u"`"},
    {KEY_1, '1', false, u"1"},
    {KEY_2, '2', false, u"2"},
    {KEY_3, '3', false, u"3"},
    {KEY_4, '4', false, u"4"},
    {KEY_5, '5', false, u"5"},
    {KEY_6, '6', false, u"6"},
    {KEY_7, '7', false, u"7"},
    {KEY_8, '8', false, u"8"},
    {KEY_9, '9', false, u"9"},
    {KEY_0, '0', false, u"0"},
    {KEY_MINUS, 0xBD, false, u"-"},
    {KEY_EQUAL, 0xBB, false, u"="},
    {KEY_BACKSPACE, 0x08, false, u"Backspace"},
    {KEY_TAB, 0x09, false, u"Tab"},
    {KEY_Q, 'Q', false, u"Q"},
    {KEY_W, 'W', false, u"W"},
    {KEY_E, 'E', false, u"E"},
    {KEY_R, 'R', false, u"R"},
    {KEY_T, 'T', false, u"T"},
    {KEY_Y, 'Y', false, u"Y"},
    {KEY_U, 'U', false, u"U"},
    {KEY_I, 'I', false, u"I"},
    {KEY_O, 'O', false, u"O"},
    {KEY_P, 'P', false, u"P"},
    {KEY_LEFTBRACE, 0xDB, false, u"["},
    {KEY_RIGHTBRACE, 0xDD, false, u"]"},
    {KEY_CAPSLOCK, 0x14, false, u"Caps Lock"},
    {KEY_A, 'A', false, u"A"},
    {KEY_S, 'S', false, u"S"},
    {KEY_D, 'D', false, u"D"},
    {KEY_F, 'F', false, u"F"},
    {KEY_G, 'G', false, u"G"},
    {KEY_H, 'H', false, u"H"},
    {KEY_J, 'J', false, u"J"},
    {KEY_K, 'K', false, u"K"},
    {KEY_L, 'L', false, u"L"},
    {KEY_SEMICOLON, 0xBA, false, u";"},
    {KEY_APOSTROPHE, 0xDE, false, u"'"},
    {KEY_BACKSLASH, 0xDC, false, u"\\"},
    {KEY_ENTER, 0x0D, false, u"Enter"},
    {KEY_LEFTSHIFT, 0xA0, false, u"Shift"},
    {KEY_102ND, 0xE2, false, u"\\"},
    {KEY_Z, 'Z', false, u"Z"},
    {KEY_X, 'X', false, u"X"},
    {KEY_C, 'C', false, u"C"},
    {KEY_V, 'V', false, u"V"},
    {KEY_B, 'B', false, u"B"},
    {KEY_N, 'N', false, u"N"},
    {KEY_M, 'M', false, u"M"},
    {KEY_COMMA, 0xBC, false, u","},
    {KEY_DOT, 0xBE, false, u"."},
    {KEY_SLASH, 0xBF, false, u"/"},
    {KEY_RIGHTSHIFT, 0xA1, false, u"RShift"},
    {KEY_LEFTCTRL, 0xA2, false, u"Ctrl"},
    {KEY_LEFTMETA, 0x5B, true, u"Windows"},
    {KEY_LEFTALT, 0xA4, false, u"Alt"},
    {KEY_SPACE, 0x20, false, u"Space"},
    {KEY_RIGHTALT, 0xA5, true, u"RAlt"},
    {KEY_RIGHTMETA, 0x5C, true, u"RWindows"},
    {KEY_COMPOSE, 0x5D, true, u"Application"},
    {KEY_RIGHTCTRL, 0xA3, true, u"RCtrl"},
    {KEY_SYSRQ, 0x2C, true, u"Print Screen"},
    {KEY_SCROLLLOCK, 0x91, false, u"Scroll Lock"},
    {KEY_PAUSE, 0x13, false, u"Pause"},
    {KEY_INSERT, 0x2D, true, u"Insert"},
    {KEY_HOME, 0x24, true, u"Home"},
    {KEY_PAGEUP, 0x21, true, u"Page Up"},
    {KEY_DELETE, 0x2E, true, u"Delete"},
    {KEY_END, 0x23, true, u"End"},
    {KEY_PAGEDOWN, 0x22, true, u"Page Down"},
    {KEY_UP, 0x26, true, u"Up"},
    {KEY_LEFT, 0x25, true, u"Left"},
    {KEY_DOWN, 0x28, true, u"Down"},
    {KEY_RIGHT, 0x27, true, u"Right"},
    {KEY_NUMLOCK, 0x90, false, u"Num Lock"},
    {KEY_KPSLASH, 0x6F, true, u"/"},
    {KEY_KPASTERISK, 0x6A, false, u"Num *"},
    {KEY_KPMINUS, 0x6D, false, u"Num -"},
    {KEY_KP7, 0x67, false, u"Num 7"},
    {KEY_KP8, 0x68, false, u"Num 8"},
    {KEY_KP9, 0x69, false, u"Num 9"},
    {KEY_KPPLUS, 0x6B, false, u"Num +"},
    {KEY_KP4, 0x64, false, u"Num 4"},
    {KEY_KP5, 0x65, false, u"Num 5"},
    {KEY_KP6, 0x66, false, u"Num 6"},
    {KEY_KP1, 0x61, false, u"Num 1"},
    {KEY_KP2, 0x62, false, u"Num 2"},
    {KEY_KP3, 0x63, false, u"Num 3"},
    {KEY_KPENTER, 0x6C, true, u"Num Enter"},
    {KEY_KP0, 0x60, false, u"Num 0"},
    {KEY_KPDOT, 0x6E, false, u"Num Del"},
}};

// Every key decodes to a code the mouse can send and back to its Linux key, pressed and released,
// with Num Lock on and off (the keypad keys keep their digit codes either way).
TEST(KeyDecoder, DecodesEveryKeyOfTheLayout) {
    for (const bool numLock : {true, false}) {
        KeyDecoder decoder;
        for (const LayoutKey& key : kLayout) {
            SCOPED_TRACE(testing::Message() << "Linux key " << key.linuxKey
                                            << (numLock ? ", Num Lock on" : ", Num Lock off"));
            platform::RawKeyReport report;
            ASSERT_TRUE(platform::RawKeyFromLinux(key.linuxKey, false, numLock, report));
            EXPECT_EQ((report.flags & platform::kRawKeyE0) != 0, key.e0);

            const KeyEvent press = decoder.DecodeKeyboardInput(report);
            EXPECT_EQ(press.vk, key.vk);
            EXPECT_EQ(press.isUp, 0);
            if (numLock) {
                EXPECT_EQ(Printable(press.name), Printable(key.name));
            } else {
                EXPECT_FALSE(press.name.empty());
            }
            EXPECT_NE(VirtualKeyToUsage(press.vk), 0);
            EXPECT_EQ(platform::LinuxKeyFromVirtualKey(press.vk), key.linuxKey);

            const KeyEvent release = Decode(decoder, key.linuxKey, true, numLock);
            EXPECT_EQ(release.vk, key.vk);
            EXPECT_EQ(release.isUp, 1);
            EXPECT_EQ(release.name, press.name);
        }
        EXPECT_EQ(decoder.ModifierState(), 0);
    }
}

TEST(KeyDecoder, NamesVirtualKeys) {
    struct Case {
        int vk;
        std::u16string_view name;
    };
    const Case cases[] = {
        // The fixed names.
        {19, u"Pause"},
        {44, u"Print Screen"},
        {91, u"Windows"},
        {92, u"RWindows"},
        {93, u"Application"},
        {144, u"Num Lock"},
        {160, u"Shift"},
        {161, u"RShift"},
        {162, u"Ctrl"},
        {163, u"RCtrl"},
        {164, u"Alt"},
        {165, u"RAlt"},
        // The generic modifiers name the left keys.
        {16, u"Shift"},
        {17, u"Ctrl"},
        {18, u"Alt"},
        // Clear is the keypad 5 key; the keypad / has no name of its own.
        {12, u"Num 5"},
        {111, u"/"},
        {0xE2, u"\\"},
        {0x87, u"F24"},
        // No name: the decoder names the keypad Enter and the Yen key itself.
        {0, u""},
        {108, u""},
        {137, u""},
        {255, u""},
        {-1, u""},
        {0x141, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Printable(KeyName(c.vk)), Printable(c.name)) << "virtual key " << c.vk;
    }
}

}  // namespace
