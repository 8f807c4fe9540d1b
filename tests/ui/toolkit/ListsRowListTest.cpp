#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "text/Format.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/DListBox.h"
#include "ui/toolkit/controls/MacroList.h"

namespace {

using ListsRowListTest = HeadlessTest;

constexpr int kListId = 31;
// 152 pixels of rows inside a 4-pixel margin: five rows of 30 are fully shown.
constexpr Rect kListRect{10, 10, 310, 170};

// The middle of row `row` counted from the first row shown.
Point RowPoint(int row) {
    return {kListRect.left + 60, kListRect.top + 4 + 30 * row + 15};
}

void Press(MDialog& dialog, Point point, MouseAction action,
           MouseButton button = MouseButton::kLeft) {
    dialog.HandleMouse({action, button, point, 0});
}

// The mouse events of a double-click as a window system gives them.
void DoubleClick(MDialog& dialog, Point point) {
    HeadlessBackend::ClickAt(dialog, point);
    Press(dialog, point, MouseAction::kDoubleClick);
    Press(dialog, point, MouseAction::kUp);
}

template <typename T>
T* OpenWithList(TestDialog& dialog, int items) {
    T* list = nullptr;
    EXPECT_TRUE(dialog.Open([&](TestDialog& d) {
        list = static_cast<T*>(d.AdoptControl(std::make_unique<T>(), u"List", kListId, kListRect));
    }));
    for (int i = 0; i < items; ++i) {
        if constexpr (std::is_same_v<T, MacroList>) {
            list->AddString(Format(u"Macro %d", i + 1), 100 + i, -1);
        } else {
            list->AddItem(Format(u"Profile %d", i + 1), i + 1);
        }
    }
    return list;
}

TEST_F(ListsRowListTest, ListBoxSelectsByDataAndAClickChoosesTheRowUnderThePointer) {
    TestDialog dialog;
    DListBox* list = OpenWithList<DListBox>(dialog, 4);
    struct Case {
        int data;
        bool found;
        int sel;
    };
    for (const Case c : {Case{3, true, 2}, Case{9, false, 2}, Case{1, true, 0}}) {
        EXPECT_EQ(list->SelectData(c.data), c.found);
        EXPECT_EQ(list->GetCurSel(), c.sel);
    }
    EXPECT_EQ(list->GetCurData(), 1);
    EXPECT_TRUE(dialog.received.empty());

    HeadlessBackend::ClickAt(dialog, RowPoint(3));
    EXPECT_EQ(list->GetCurData(), 4);
    // Clicking the selected row chooses it again; below the last row nothing happens.
    HeadlessBackend::ClickAt(dialog, RowPoint(3));
    HeadlessBackend::ClickAt(dialog, RowPoint(4));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 0, 0},
                                                      {kListId, kNotifyClick, 0, 0}}));
    // Pressed on one row and released on another: no choice.
    Press(dialog, RowPoint(0), MouseAction::kDown);
    Press(dialog, RowPoint(1), MouseAction::kUp);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(dialog.received.size(), 2u);
    list->ClearList();
    EXPECT_EQ(list->GetCurData(), -1);
}

// Both editable lists rename a row after a double-click and report the row with code 29.
template <typename T>
void CheckRenameInPlace(TestDialog& dialog, T* list) {
    DoubleClick(dialog, RowPoint(1));
    // The first click chose the row; the double-click only starts editing.
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 0, 0}}));
    EXPECT_EQ(list->GetCurSel(), 1);
    ASSERT_TRUE(list->IsTextEntry());
    const Rect row{kListRect.left + 4, kListRect.top + 34, kListRect.right - 4, kListRect.top + 64};
    EXPECT_EQ(list->GetTextEntryRect(), row);
    const std::u16string old = list->GetItemText(1);
    EXPECT_EQ(list->GetEntryText(), old);
    dialog.received.clear();

    dialog.EnterText(list, u"Renamed", false);
    EXPECT_EQ(list->GetItemText(1), old);  // stored only when editing ends
    EXPECT_TRUE(dialog.received.empty());
    dialog.EnterText(list, u"Renamed", true);
    EXPECT_FALSE(list->IsTextEntry());
    EXPECT_EQ(list->GetItemText(1), u"Renamed");
    EXPECT_EQ(list->GetEditedText(), u"Renamed");
    EXPECT_EQ(list->GetEditedItem(), 1);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 1, 0}}));
    dialog.received.clear();

    // An empty name keeps the old one; the owner still hears of the end of editing.
    ASSERT_TRUE(list->EditItem(2));
    const std::u16string third = list->GetItemText(2);
    dialog.EnterText(list, u"", true);
    EXPECT_EQ(list->GetItemText(2), third);
    EXPECT_EQ(list->GetEditedText(), u"");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 2, 0}}));
    dialog.received.clear();

    // A press on the list while editing ends the edit with the text typed so far first.
    ASSERT_TRUE(list->EditItem(0));
    dialog.EnterText(list, u"Typed", false);
    HeadlessBackend::ClickAt(dialog, RowPoint(3));
    EXPECT_EQ(list->GetItemText(0), u"Typed");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 0, 0},
                                                      {kListId, kNotifyClick, 0, 0}}));
    dialog.received.clear();

    // Deleting the row being edited ends the edit without a result.
    ASSERT_TRUE(list->EditItem(2));
    EXPECT_TRUE(list->DeleteItem(2));
    EXPECT_FALSE(list->IsTextEntry());
    dialog.EnterText(list, u"Lost", true);
    EXPECT_TRUE(dialog.received.empty());
    EXPECT_FALSE(list->EditItem(list->GetCount()));
}

TEST_F(ListsRowListTest, ListBoxRenamesInPlace) {
    TestDialog dialog;
    DListBox* list = OpenWithList<DListBox>(dialog, 4);
    CheckRenameInPlace(dialog, list);
}

TEST_F(ListsRowListTest, MacroListRenamesInPlace) {
    TestDialog dialog;
    MacroList* list = OpenWithList<MacroList>(dialog, 4);
    CheckRenameInPlace(dialog, list);
}

TEST_F(ListsRowListTest, ListBoxPencilStartsEditingWithoutChoosing) {
    TestDialog dialog;
    DListBox* list = OpenWithList<DListBox>(dialog, 3);
    const Point pencil{kListRect.right - 4 - 18, RowPoint(2).y};
    HeadlessBackend::ClickAt(dialog, pencil);
    EXPECT_TRUE(dialog.received.empty());
    ASSERT_TRUE(list->IsTextEntry());
    EXPECT_EQ(list->GetEntryText(), u"Profile 3");
    dialog.EnterText(list, u"Work", true);
    EXPECT_EQ(list->GetItemText(2), u"Work");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 2, 0}}));
}

TEST_F(ListsRowListTest, MacroListInsertsAtAnIndexOrAppendsAndTheSelectionFollowsItsItem) {
    TestDialog dialog;
    MacroList* list = OpenWithList<MacroList>(dialog, 3);  // ids 100, 101, 102
    list->SetCurSel(1);
    struct Case {
        int index;
        int placed;
    };
    // -1 and indexes past the end append.
    const Case cases[] = {{-1, 3}, {0, 0}, {2, 2}, {9, 6}, {-5, 7}};
    int id = 200;
    for (const Case& c : cases) {
        EXPECT_EQ(list->AddString(u"new", id, c.index), c.placed);
        EXPECT_EQ(list->GetItemData(c.placed), id);
        ++id;
    }
    EXPECT_EQ(list->GetCount(), 8);
    EXPECT_EQ(list->GetCurData(), 101);
    EXPECT_EQ(list->GetCurSel(), 3);

    EXPECT_TRUE(list->ModifyItemString(3, u"Fast fire"));
    EXPECT_EQ(list->GetItemText(3), u"Fast fire");
    EXPECT_FALSE(list->ModifyItemString(8, u"x"));
    EXPECT_TRUE(list->DeleteItem(0));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_TRUE(list->DeleteItem(2));
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetCurData(), -1);
    EXPECT_EQ(list->GetItemData(-1), -1);
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ListsRowListTest, MacroListSecondaryClickAsksForItsMenu) {
    TestDialog dialog;
    MacroList* list = OpenWithList<MacroList>(dialog, 2);
    list->SetCurSel(0);
    HeadlessBackend::ClickAt(dialog, RowPoint(1), MouseButton::kRight);
    EXPECT_EQ(list->GetCurSel(), 1);
    // Below the rows: the menu all the same, the selection unchanged.
    HeadlessBackend::ClickAt(dialog, RowPoint(4), MouseButton::kRight);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(dialog.received,
              (std::vector<Received>{{kListId, kNotifyMenu, 0, 0}, {kListId, kNotifyMenu, 0, 0}}));
    // An empty list offers its menu too (importing needs no macro).
    list->ClearList();
    HeadlessBackend::ClickAt(dialog, RowPoint(0), MouseButton::kRight);
    EXPECT_EQ(dialog.received.size(), 3u);
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListsRowListTest, WheelScrollsOverflowingRowsWithinBounds) {
    TestDialog dialog;
    MacroList* list = OpenWithList<MacroList>(dialog, 20);
    const Point middle = RowPoint(2);
    struct Case {
        int wheel;
        int top;
    };
    // Three rows a notch; 20 rows with 5 shown stop at row 15.
    const Case cases[] = {{-1, 3}, {-2, 9}, {-10, 15}, {1, 12}, {10, 0}};
    for (const Case& c : cases) {
        dialog.HandleMouse({MouseAction::kWheel, MouseButton::kNone, middle, c.wheel});
        EXPECT_EQ(list->GetTopIndex(), c.top) << c.wheel;
    }
    dialog.HandleMouse({MouseAction::kWheel, MouseButton::kNone, middle, -2});
    HeadlessBackend::ClickAt(dialog, RowPoint(1));
    EXPECT_EQ(list->GetCurSel(), 7);
    EXPECT_EQ(list->GetItemText(7), u"Macro 8");
    // Selecting by call brings the row into view.
    list->SetCurSel(19);
    EXPECT_EQ(list->GetTopIndex(), 15);
    list->SetCurSel(2);
    EXPECT_EQ(list->GetTopIndex(), 2);
    // Rows that fit do not scroll.
    list->ClearList();
    list->AddString(u"only", 1, -1);
    dialog.HandleMouse({MouseAction::kWheel, MouseButton::kNone, middle, -3});
    EXPECT_EQ(list->GetTopIndex(), 0);
}

TEST_F(ListsRowListTest, ItemRectScrollsTheRowIntoViewForAClick) {
    TestDialog dialog;
    MacroList* list = OpenWithList<MacroList>(dialog, 20);
    for (int index : {12, 0, 19}) {
        const Rect rect = list->GetItemRect(index);
        ASSERT_FALSE(rect.IsEmpty()) << index;
        HeadlessBackend::ClickAt(dialog, {rect.left + 5, rect.top + rect.Height() / 2});
        EXPECT_EQ(list->GetCurSel(), index);
    }
    EXPECT_TRUE(list->GetItemRect(20).IsEmpty());
}

}  // namespace
