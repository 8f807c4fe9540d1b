#include <gtest/gtest.h>

#include "ui/toolkit/qt/QtKeyMap.h"

namespace {

TEST(QtKeyMapTest, QtKeysMapToWindowsVirtualKeys) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int vk;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_0, Qt::NoModifier, '0'},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        {Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {Qt::Key_Plus, Qt::ShiftModifier, 0xBB},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0x09},
        {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_F24, Qt::NoModifier, 0x87},
        {Qt::Key_Left, Qt::NoModifier, 0x25},
        {Qt::Key_Down, Qt::NoModifier, 0x28},
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_Escape, Qt::NoModifier, 0x1B},
        {Qt::Key_Space, Qt::NoModifier, 0x20},
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, 0xDE},
        {Qt::Key_Meta, Qt::MetaModifier, 0x5B},
        {Qt::Key_Eacute, Qt::NoModifier, 0},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeyFromQt(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
    }
}

}  // namespace
