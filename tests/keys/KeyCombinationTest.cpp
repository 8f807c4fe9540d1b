#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "device/protocol/AssignmentEncoding.h"
#include "device/protocol/AssignmentTables.h"
#include "keys/KeyCombination.h"
#include "text/Utf.h"

namespace {

using keys::ModifierToggles;

constexpr int kVkC = 0x43;
constexpr int kVkKeypad3 = 99;
constexpr int kVkRightWindows = 92;
constexpr int kVkNoUsage = 0xFF;  // no HID usage

// The entry the mouse gets for a keyboard record.
KeyTableEntry Encode(const KeyAssignmentRecord& record) {
    KeyTableEntry entry;
    EXPECT_TRUE(EncodeAssignment(record, nullptr, entry));
    return entry;
}

}  // namespace

TEST(KeyCombinationTest, ModifierTextAndBitsFollowTheFixedOrder) {
    struct Case {
        ModifierToggles toggles;  // shift, ctrl, win, alt
        std::u16string text;
        int bits;
    };
    const Case cases[] = {
        {{}, u"", 0x00},
        {{true, false, false, false}, u"Shift", 0x02},
        {{false, false, true, false}, u"Win", 0x08},
        // Only the first word stands bare; every later one is appended as "+ Word".
        {{false, true, false, true}, u"Ctrl+ Alt", 0x05},
        {{true, false, true, false}, u"Shift+ Win", 0x0A},
        {{true, true, true, true}, u"Shift+ Ctrl+ Win+ Alt", 0x0F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keys::ModifierText(c.toggles), c.text) << ToUtf8(c.text);
        EXPECT_EQ(keys::ModifierBits(c.toggles), c.bits) << ToUtf8(c.text);
    }
}

TEST(KeyCombinationTest, DescriptionJoinsWhatIsPresent) {
    EXPECT_EQ(keys::CombinationDescription(u"Ctrl+ Alt", u"C"), u"Ctrl+ Alt + C");
    EXPECT_EQ(keys::CombinationDescription(u"Shift", u""), u"Shift");
    EXPECT_EQ(keys::CombinationDescription(u"", u"F5"), u"F5");
    EXPECT_EQ(keys::CombinationDescription(u"", u""), u"");
}

TEST(KeyCombinationTest, RecordOfKeyAndToggles) {
    struct Case {
        const char* what;
        int vk;
        std::u16string name;
        ModifierToggles toggles;
        int usage;
        int bits;
        std::u16string desc;
        KeyTableEntry entry;
    };
    const Case cases[] = {
        {"ctrl alt c",
         kVkC,
         u"C",
         {false, true, false, true},
         0x06,
         0x05,
         u"Ctrl+ Alt + C",
         {0x70, 0x05, 0x06}},
        {"toggles only",
         0,
         u"",
         {true, false, true, false},
         0,
         0x0A,
         u"Shift+ Win",
         {0x70, 0x0A, 0x00}},
        // Keypad 3 shares its usage with the left Windows key's virtual-key code: it is still a
        // key, sent in byte 2.
        {"keypad 3", kVkKeypad3, u"3", {}, 0x5B, 0, u"3", {0x70, 0x00, 0x5B}},
        // A modifier key alone goes out in the modifier form.
        {"right windows",
         kVkRightWindows,
         u"RWindows",
         {},
         0xE7,
         0,
         u"RWindows",
         {0x70, 0x80, 0x00}},
        // A key the mouse cannot send still carries its toggles; its name stays in the text.
        {"no usage with shift",
         kVkNoUsage,
         u"Oem",
         {true, false, false, false},
         0,
         0x02,
         u"Shift + Oem",
         {0x70, 0x02, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<KeyAssignmentRecord> record =
            keys::BuildCombination(c.vk, c.name, c.toggles);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->macro_type, kAssignKeyboard);
        EXPECT_EQ(record->macro_value, c.usage);
        EXPECT_EQ(record->macro_value2, c.bits);
        EXPECT_EQ(record->macro_value3, 0);
        EXPECT_EQ(record->macro_desc, c.desc);
        EXPECT_EQ(Encode(*record), c.entry);
    }
}

TEST(KeyCombinationTest, NothingToSendBuildsNothing) {
    EXPECT_FALSE(keys::BuildCombination(0, u"", {}).has_value());
    EXPECT_FALSE(keys::BuildCombination(kVkNoUsage, u"Oem", {}).has_value());
}
