// The button assignment encoding and the key table built from a profile's rows.

#include <gtest/gtest.h>

#include <vector>

#include "device/protocol/AssignmentEncoding.h"
#include "device/protocol/AssignmentTables.h"
#include "device/protocol/KeyTable.h"

namespace {

KeyAssignmentRecord Row(int keyCode, int type, int value, int value2 = 0) {
    KeyAssignmentRecord record;
    record.profile = 1;
    record.key_code = keyCode;
    record.macro_type = type;
    record.macro_value = value;
    record.macro_value2 = value2;
    return record;
}

MacroRecord Macro(int id, int playType, int playTimes) {
    return MacroRecord{id, u"m", playType, playTimes, 1, 0};
}

struct EntryCase {
    int type;
    int value;
    int value2;
    KeyTableEntry entry;
};

TEST(AssignmentEncoding, EveryKindAndValueGivesItsEntry) {
    const EntryCase cases[] = {
        // mouse functions
        {kAssignMouse, 1, 0, {0x10, 0x01, 0x00}},
        {kAssignMouse, 2, 0, {0x10, 0x04, 0x00}},
        {kAssignMouse, 3, 0, {0x10, 0x02, 0x00}},
        {kAssignMouse, 4, 0, {0x30, 0x32, 0x03}},
        {kAssignMouse, 5, 0, {0x10, 0x10, 0x00}},
        {kAssignMouse, 6, 0, {0x10, 0x08, 0x00}},
        {kAssignMouse, 7, 0, {0x20, 0x01, 0x00}},
        {kAssignMouse, 8, 0, {0x20, 0xFF, 0x00}},
        {kAssignMouse, 9, 0, {0x10, 0x00, 0xF5}},
        {kAssignMouse, 10, 0, {0x10, 0x00, 0xF6}},
        {kAssignMouse, 11, 0, {0x10, 0x00, 0x00}},
        // keyboard: modifier bits then usage; a modifier alone in the bit form
        {kAssignKeyboard, 0x06, 0x01, {0x70, 0x01, 0x06}},  // Ctrl+C
        {kAssignKeyboard, 0x04, 0x00, {0x70, 0x00, 0x04}},
        {kAssignKeyboard, 0x5B, 0x00, {0x70, 0x00, 0x5B}},  // keypad 3, not left Windows
        {kAssignKeyboard, 0x5C, 0x00, {0x70, 0x00, 0x5C}},  // keypad 4
        {kAssignKeyboard, 0xE1, 0x00, {0x70, 0x02, 0x00}},  // left Shift alone
        {kAssignKeyboard, 0xE7, 0x00, {0x70, 0x80, 0x00}},
        {kAssignKeyboard, 0xE1, 0x01, {0x70, 0x01, 0xE1}},  // with another modifier: as stored
        {kAssignKeyboard, 0x00, 0x0F, {0x70, 0x0F, 0x00}},
        // multimedia: consumer usage low byte first
        {kAssignMultimedia, 1, 0, {0x80, 0x83, 0x01}},
        {kAssignMultimedia, 2, 0, {0x80, 0xCD, 0x00}},
        {kAssignMultimedia, 3, 0, {0x80, 0xB7, 0x00}},
        {kAssignMultimedia, 4, 0, {0x80, 0xB6, 0x00}},
        {kAssignMultimedia, 5, 0, {0x80, 0xB5, 0x00}},
        {kAssignMultimedia, 6, 0, {0x80, 0xE9, 0x00}},
        {kAssignMultimedia, 7, 0, {0x80, 0xEA, 0x00}},
        {kAssignMultimedia, 8, 0, {0x80, 0xE2, 0x00}},
        {kAssignMultimedia, 9, 0, {0x80, 0x00, 0x00}},
        // DPI functions
        {kAssignDpi, 1, 0, {0x40, 0x02, 0x00}},
        {kAssignDpi, 2, 0, {0x40, 0x03, 0x00}},
        {kAssignDpi, 3, 0, {0x40, 0x01, 0x00}},
        {kAssignDpi, 0, 0, {0x40, 0x00, 0x00}},
        // further device functions
        {kAssignDevice, 1, 0, {0x60, 0x04, 0x00}},
        {kAssignDevice, 2, 0, {0x60, 0x01, 0x00}},
        // repeat
        {kAssignRepeat, 5, 0, {0x30, 0x05, 0x00}},
        {kAssignRepeat, 255, 255, {0x30, 0xFF, 0xFF}},
        {kAssignRepeat, 300, -1, {0x30, 0xFF, 0x00}},  // held to a byte, not wrapped
        // system functions
        {kAssignSystem, 1, 0, {0x80, 0x6F, 0x00}},
        {kAssignSystem, 2, 0, {0x80, 0x70, 0x00}},
        {kAssignSystem, 3, 0, {0x80, 0x92, 0x01}},
        {kAssignSystem, 4, 0, {0x80, 0x94, 0x01}},
        {kAssignSystem, 5, 0, {0x80, 0x23, 0x02}},
        {kAssignSystem, 6, 0, {0x80, 0x8A, 0x01}},
        {kAssignSystem, 7, 0, {0x70, 0x08, 0x07}},
        {kAssignSystem, 8, 0, {0x70, 0x08, 0x2B}},
        {kAssignSystem, 9, 0, {0x70, 0x01, 0x06}},
        {kAssignSystem, 10, 0, {0x70, 0x01, 0x19}},
        {kAssignSystem, 11, 0, {0x70, 0x01, 0x1B}},
        {kAssignSystem, 12, 0, {0x80, 0x00, 0x00}},
        // disabled
        {kAssignDisabled, 1, 0, {0x60, 0x00, 0x00}},
    };
    for (const EntryCase& c : cases) {
        KeyTableEntry entry{0xAA, 0xBB, 0xCC};
        EXPECT_TRUE(EncodeAssignment(Row(3, c.type, c.value, c.value2), nullptr, entry));
        EXPECT_EQ(entry, c.entry) << "type " << c.type << " value " << c.value;
    }
}

TEST(AssignmentEncoding, UnknownDeviceFunctionKeepsTheDataBytes) {
    KeyTableEntry entry{0x10, 0x08, 0x00};
    EXPECT_TRUE(EncodeAssignment(Row(3, kAssignDevice, 3), nullptr, entry));
    EXPECT_EQ(entry, (KeyTableEntry{0x60, 0x08, 0x00}));
}

TEST(AssignmentEncoding, MacroEntryCarriesKeyCodePlayFlagAndCount) {
    struct MacroCase {
        int keyCode;
        int playType;
        int playTimes;
        KeyTableEntry entry;
    };
    const MacroCase cases[] = {
        {3, 0, 5, {0x90, 0x23, 0x05}},                                   // play a number of times
        {3, 1, 5, {0x90, 0x13, 0x00}},                                   // while held
        {3, 3, 1, {0x90, 0x13, 0x00}},   {4, 2, 9, {0x90, 0x44, 0x00}},  // toggle
        {2, 0, 0, {0x90, 0x02, 0x00}},                                   // no count: no flag
        {2, 7, 300, {0x90, 0x22, 0xFF}},  // a count beyond a byte is held to 255
    };
    for (const MacroCase& c : cases) {
        const MacroRecord macro = Macro(12, c.playType, c.playTimes);
        KeyTableEntry entry;
        EXPECT_TRUE(EncodeAssignment(Row(c.keyCode, kAssignMacro, 12), &macro, entry));
        EXPECT_EQ(entry, c.entry) << "play_type " << c.playType;
    }
    // Without its macro, and for a kind outside 1 to 9, the entry stays as it was.
    for (const KeyAssignmentRecord& record :
         {Row(3, kAssignMacro, 12), Row(3, 0, 1), Row(3, 10, 1), Row(3, -1, 1)}) {
        KeyTableEntry entry{0x10, 0x08, 0x00};
        EXPECT_FALSE(EncodeAssignment(record, nullptr, entry));
        EXPECT_EQ(entry, (KeyTableEntry{0x10, 0x08, 0x00}));
    }
}

TEST(AssignmentTables, SelectorsOfferEachPositionOnce) {
    for (auto functions : {MouseFunctions(), MultimediaFunctions(), DpiFunctions(),
                           DeviceFunctions(), SystemFunctions()}) {
        std::vector<int> seen(functions.size() + 1, 0);
        for (const AssignmentFunction& function : functions) {
            ASSERT_LT(static_cast<std::size_t>(function.selectorPosition), seen.size());
            if (function.selectorPosition > 0) {
                EXPECT_EQ(++seen[static_cast<std::size_t>(function.selectorPosition)], 1);
            }
            EXPECT_EQ(FindFunction(functions, function.value), &function);
        }
    }
    EXPECT_EQ(FindFunction(MouseFunctions(), 9)->selectorPosition, 0);
    EXPECT_EQ(FindFunction(SystemFunctions(), 10)->textId, 32);
    EXPECT_EQ(FindFunction(DpiFunctions(), 1)->label, u"DPI +");
    EXPECT_EQ(FindFunction(MultimediaFunctions(), 0), nullptr);
}

TEST(KeyTable, StartsFromTheDefaultEntries) {
    const KeyTable table;
    const std::uint8_t head[] = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00,
                                 0x10, 0x08, 0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00};
    for (std::size_t i = 0; i < KeyTable::kSize; ++i) {
        EXPECT_EQ(table.Bytes()[i], i < std::size(head) ? head[i] : 0) << "byte " << i;
    }
    EXPECT_EQ(DefaultKeyTableEntry(6), KeyTableEntry{});
    EXPECT_EQ(DefaultKeyTableEntry(-1), KeyTableEntry{});
}

TEST(KeyTable, RowsOverwriteTheirEntriesInOrder) {
    const std::vector<MacroRecord> macros = {Macro(7, 0, 5)};
    const std::vector<KeyAssignmentRecord> rows = {
        Row(1, kAssignDpi, 1),  // DPI +
        Row(2, kAssignKeyboard, 0x06, 0x01),
        Row(2, kAssignDisabled, 1),  // a later row for the same key wins
        Row(3, kAssignMacro, 7),
        Row(4, kAssignMacro, 99),  // its macro is gone: the default stays
        Row(5, 42, 1),             // unknown kind: the default stays
        Row(8, kAssignMultimedia, 6),
        Row(20, kAssignRepeat, 50, 3),  // the last entry with a place
    };
    KeyTable table;
    table.Apply(rows, macros);
    EXPECT_EQ(table.Entry(0), (KeyTableEntry{0x10, 0x01, 0x00}));
    EXPECT_EQ(table.Entry(1), (KeyTableEntry{0x40, 0x02, 0x00}));
    EXPECT_EQ(table.Entry(2), (KeyTableEntry{0x60, 0x00, 0x00}));
    EXPECT_EQ(table.Entry(3), (KeyTableEntry{0x90, 0x23, 0x05}));
    EXPECT_EQ(table.Entry(4), (KeyTableEntry{0x10, 0x10, 0x00}));
    EXPECT_EQ(table.Entry(5), (KeyTableEntry{0x40, 0x01, 0x00}));
    EXPECT_EQ(table.Entry(8), (KeyTableEntry{0x80, 0xE9, 0x00}));
    EXPECT_EQ(table.Entry(20), (KeyTableEntry{0x30, 50, 3}));
    EXPECT_EQ(table.Bytes()[60], 0x30);
    EXPECT_EQ(table.Bytes()[63], 0);
    EXPECT_EQ(table.Bytes()[64], 0);
}

TEST(KeyTable, KeyCodesWithoutAPlaceChangeNothing) {
    const KeyTable defaults;
    KeyTable table;
    const std::vector<KeyAssignmentRecord> rows = {
        Row(21, kAssignDisabled, 1), Row(22, kAssignDisabled, 1), Row(-1, kAssignDisabled, 1),
        Row(1000000, kAssignDisabled, 1), Row(-2147483647 - 1, kAssignDisabled, 1)};
    table.Apply(rows, {});
    EXPECT_EQ(table.Bytes(), defaults.Bytes());
    EXPECT_FALSE(table.SetEntry(21, {1, 2, 3}));
    EXPECT_FALSE(table.SetEntry(-1, {1, 2, 3}));
    EXPECT_EQ(table.Entry(21), KeyTableEntry{});
    EXPECT_EQ(table.Bytes(), defaults.Bytes());
}

}  // namespace
