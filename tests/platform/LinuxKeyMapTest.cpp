// The raw keyboard reports made from Linux key codes: the generic modifier codes with their make
// codes and prefixes, the two forms of the keypad keys, Pause and Print Screen, and the way back
// from a decoded virtual key to the Linux key.

#include "platform/LinuxKeyMap.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <utility>

namespace {

using platform::kRawKeyBreak;
using platform::kRawKeyE0;
using platform::kRawKeyE1;
using platform::LinuxKeyFromVirtualKey;
using platform::RawKeyFromLinux;
using platform::RawKeyReport;

// Every code a Linux keyboard may send, for the tests that look at the whole table.
constexpr int kLastLinuxKey = KEY_MAX;

TEST(LinuxKeyMap, ReportsWhatAUsKeyboardGivesForEachKindOfKey) {
    struct Case {
        const char* what;
        int linuxKey;
        bool numLock;
        int virtualKey;
        int makeCode;
        int prefix;
    };
    const Case cases[] = {
        {"Esc", KEY_ESC, true, 0x1B, 0x01, 0},
        {"letter", KEY_A, true, 'A', 0x1E, 0},
        {"digit", KEY_0, true, '0', 0x0B, 0},
        {"left Shift", KEY_LEFTSHIFT, true, 16, 0x2A, 0},
        {"right Shift has its own make code", KEY_RIGHTSHIFT, true, 16, 0x36, 0},
        {"left Ctrl", KEY_LEFTCTRL, true, 17, 0x1D, 0},
        {"right Ctrl", KEY_RIGHTCTRL, true, 17, 0x1D, kRawKeyE0},
        {"left Alt", KEY_LEFTALT, true, 18, 0x38, 0},
        {"right Alt", KEY_RIGHTALT, true, 18, 0x38, kRawKeyE0},
        {"left Windows", KEY_LEFTMETA, true, 91, 0x5B, kRawKeyE0},
        {"right Windows", KEY_RIGHTMETA, true, 92, 0x5C, kRawKeyE0},
        {"Application", KEY_COMPOSE, true, 93, 0x5D, kRawKeyE0},
        {"Enter", KEY_ENTER, true, 13, 0x1C, 0},
        {"keypad Enter", KEY_KPENTER, true, 13, 0x1C, kRawKeyE0},
        {"keypad /", KEY_KPSLASH, true, 111, 0x35, kRawKeyE0},
        {"keypad *", KEY_KPASTERISK, true, 106, 0x37, 0},
        {"keypad -", KEY_KPMINUS, true, 109, 0x4A, 0},
        {"keypad +", KEY_KPPLUS, true, 107, 0x4E, 0},
        {"Insert", KEY_INSERT, true, 45, 0x52, kRawKeyE0},
        {"Delete", KEY_DELETE, true, 46, 0x53, kRawKeyE0},
        {"Home", KEY_HOME, true, 36, 0x47, kRawKeyE0},
        {"End", KEY_END, true, 35, 0x4F, kRawKeyE0},
        {"Page Up", KEY_PAGEUP, true, 33, 0x49, kRawKeyE0},
        {"Page Down", KEY_PAGEDOWN, true, 34, 0x51, kRawKeyE0},
        {"Left", KEY_LEFT, true, 37, 0x4B, kRawKeyE0},
        {"Up", KEY_UP, true, 38, 0x48, kRawKeyE0},
        {"Right", KEY_RIGHT, true, 39, 0x4D, kRawKeyE0},
        {"Down", KEY_DOWN, true, 40, 0x50, kRawKeyE0},
        {"Up is Up without Num Lock too", KEY_UP, false, 38, 0x48, kRawKeyE0},
        {"keypad 8 with Num Lock", KEY_KP8, true, 104, 0x48, 0},
        {"keypad 8 without Num Lock", KEY_KP8, false, 38, 0x48, 0},
        {"keypad 5 without Num Lock is Clear", KEY_KP5, false, 12, 0x4C, 0},
        {"keypad 0 without Num Lock", KEY_KP0, false, 45, 0x52, 0},
        {"keypad . with Num Lock", KEY_KPDOT, true, 110, 0x53, 0},
        {"keypad . without Num Lock", KEY_KPDOT, false, 46, 0x53, 0},
        {"keypad * ignores Num Lock", KEY_KPASTERISK, false, 106, 0x37, 0},
        {"Num Lock", KEY_NUMLOCK, true, 144, 0x45, 0},
        {"Scroll Lock", KEY_SCROLLLOCK, true, 145, 0x46, 0},
        {"Pause", KEY_PAUSE, true, 19, 0x1D, kRawKeyE1},
        {"Print Screen", KEY_SYSRQ, true, 44, 0x37, kRawKeyE0},
        {";", KEY_SEMICOLON, true, 0xBA, 0x27, 0},
        {"=", KEY_EQUAL, true, 0xBB, 0x0D, 0},
        {",", KEY_COMMA, true, 0xBC, 0x33, 0},
        {"-", KEY_MINUS, true, 0xBD, 0x0C, 0},
        {".", KEY_DOT, true, 0xBE, 0x34, 0},
        {"/", KEY_SLASH, true, 0xBF, 0x35, 0},
        {"`", KEY_GRAVE, true, 0xC0, 0x29, 0},
        {"[", KEY_LEFTBRACE, true, 0xDB, 0x1A, 0},
        {"\\", KEY_BACKSLASH, true, 0xDC, 0x2B, 0},
        {"]", KEY_RIGHTBRACE, true, 0xDD, 0x1B, 0},
        {"'", KEY_APOSTROPHE, true, 0xDE, 0x28, 0},
        {"ISO key left of Z", KEY_102ND, true, 0xE2, 0x56, 0},
        {"F12", KEY_F12, true, 0x7B, 0x58, 0},
        {"Yen", KEY_YEN, true, 255, 0x7D, 0},
        {"Ro", KEY_RO, true, 0xC1, 0x73, 0},
        {"F13", KEY_F13, true, 0x7C, 0x64, 0},
        {"F24", KEY_F24, true, 0x87, 0x76, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RawKeyReport press;
        ASSERT_TRUE(RawKeyFromLinux(c.linuxKey, false, c.numLock, press));
        EXPECT_EQ(press, (RawKeyReport{c.virtualKey, c.makeCode, c.prefix, false}));

        RawKeyReport release;
        ASSERT_TRUE(RawKeyFromLinux(c.linuxKey, true, c.numLock, release));
        EXPECT_EQ(release, (RawKeyReport{c.virtualKey, c.makeCode, c.prefix | kRawKeyBreak, true}));
    }
}

TEST(LinuxKeyMap, TheWholeTableKeepsTheScanCodeRules) {
    std::set<std::pair<int, int>> scanCodes;
    std::set<int> numLockKeys;
    int keys = 0;
    for (int code = 0; code <= kLastLinuxKey; ++code) {
        RawKeyReport on;
        if (!RawKeyFromLinux(code, false, true, on)) {
            continue;
        }
        ++keys;
        SCOPED_TRACE(code);
        EXPECT_NE(on.virtualKey, 0);
        // Evdev codes 1 to 88 are the set-1 make codes.
        if (code <= KEY_F12) {
            EXPECT_EQ(on.makeCode, code);
            EXPECT_EQ(on.flags, 0);
        }
        // Two physical keys never share a scan code and its prefix.
        EXPECT_TRUE(scanCodes.insert({on.makeCode, on.flags}).second);

        RawKeyReport off;
        ASSERT_TRUE(RawKeyFromLinux(code, false, false, off));
        EXPECT_EQ(off.makeCode, on.makeCode);
        EXPECT_EQ(off.flags, on.flags);
        if (off.virtualKey != on.virtualKey) {
            numLockKeys.insert(code);
        }
    }
    // 105 keys, Ro, Yen and F13 to F24.
    EXPECT_EQ(keys, 105 + 2 + 12);
    const std::set<int> keypad = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,  KEY_KP5,
                                  KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9, KEY_KPDOT};
    EXPECT_EQ(numLockKeys, keypad);
}

TEST(LinuxKeyMap, UnknownKeysLeaveTheReportAlone) {
    const RawKeyReport untouched{7, 8, 9, true};
    for (int code : {-1, 0, 84, KEY_MUTE, BTN_LEFT, kLastLinuxKey, kLastLinuxKey + 1}) {
        SCOPED_TRACE(code);
        RawKeyReport report = untouched;
        EXPECT_FALSE(RawKeyFromLinux(code, false, true, report));
        EXPECT_EQ(report, untouched);
    }
}

TEST(LinuxKeyMap, FindsTheLinuxKeyOfADecodedVirtualKey) {
    struct Case {
        int virtualKey;
        int linuxKey;
    };
    const Case cases[] = {
        // The generic modifiers mean the left-hand key.
        {16, KEY_LEFTSHIFT},
        {17, KEY_LEFTCTRL},
        {18, KEY_LEFTALT},
        {160, KEY_LEFTSHIFT},
        {161, KEY_RIGHTSHIFT},
        {162, KEY_LEFTCTRL},
        {163, KEY_RIGHTCTRL},
        {164, KEY_LEFTALT},
        {165, KEY_RIGHTALT},
        {91, KEY_LEFTMETA},
        {92, KEY_RIGHTMETA},
        // The keypad by its digit codes, the navigation block by the navigation codes.
        {96, KEY_KP0},
        {101, KEY_KP5},
        {104, KEY_KP8},
        {110, KEY_KPDOT},
        {38, KEY_UP},
        {45, KEY_INSERT},
        {46, KEY_DELETE},
        {13, KEY_ENTER},
        {108, KEY_KPENTER},
        {111, KEY_KPSLASH},
        {137, KEY_YEN},
        {0xE2, KEY_102ND},
        {0xDC, KEY_BACKSLASH},
        {0x87, KEY_F24},
        {'Z', KEY_Z},
        // Codes the decoder never gives: Clear becomes keypad 5, 255 becomes the Yen key's 137.
        {12, 0},
        {255, 0},
        {0, 0},
        {-1, 0},
        {0x6C00, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinuxKeyFromVirtualKey(c.virtualKey), c.linuxKey)
            << "virtual key " << c.virtualKey;
    }
}

}  // namespace
