#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/CRecordList.h"

namespace {

using ListsRecordListTest = HeadlessTest;

constexpr int kListId = 166;
constexpr Rect kListRect{10, 10, 310, 290};

Point RowPoint(int row) {
    return {kListRect.left + 80, kListRect.top + 4 + 30 * row + 15};
}

CRecordList* OpenWithList(TestDialog& dialog) {
    CRecordList* list = nullptr;
    EXPECT_TRUE(dialog.Open([&](TestDialog& d) {
        list = static_cast<CRecordList*>(
            d.AdoptControl(std::make_unique<CRecordList>(), u"CRecordList", kListId, kListRect));
    }));
    return list;
}

std::vector<std::u16string> Texts(const CRecordList& list) {
    std::vector<std::u16string> texts;
    for (const RecordInfo& item : list.GetRecordItems()) {
        texts.push_back(item.text);
    }
    return texts;
}

TEST_F(ListsRecordListTest, AddStringAppendsAndInsertStringPlacesOrAppends) {
    TestDialog dialog;
    CRecordList* list = OpenWithList(dialog);
    EXPECT_EQ(list->AddString(u"a", 2, 65, 1), 0);
    EXPECT_EQ(list->AddString(u"b", 1, 10, 2), 1);
    list->SetSelectEvent(1);
    struct Case {
        int index;
        const char16_t* text;
        int placed;
    };
    const Case cases[] = {{-1, u"c", 2}, {0, u"d", 0}, {2, u"e", 2}, {99, u"f", 5}};
    for (const Case& c : cases) {
        EXPECT_EQ(list->InsertString(c.index, c.text, 1, 10, 3), c.placed) << c.index;
    }
    EXPECT_EQ(Texts(*list), (std::vector<std::u16string>{u"d", u"a", u"e", u"b", u"c", u"f"}));
    EXPECT_EQ(list->GetSelectEvent(), 3);  // still "b"
    EXPECT_EQ(list->GetCount(), 6);
    // Delays count like every other item.
    EXPECT_EQ(list->GetEventCount(), 6);

    RecordInfo info;
    ASSERT_TRUE(list->GetRecordInfo(info));
    EXPECT_EQ(info, (RecordInfo{u"b", 1, 10, 2}));
    ASSERT_TRUE(list->GetRecordInfo(1, info));
    EXPECT_EQ(info, (RecordInfo{u"a", 2, 65, 1}));
    EXPECT_FALSE(list->GetRecordInfo(6, info));
    EXPECT_EQ(info, (RecordInfo{u"a", 2, 65, 1}));  // untouched

    // The selected item's text and value change; type and timestamp stay.
    EXPECT_TRUE(list->SetItemText(u"25 ms"));
    EXPECT_TRUE(list->SetItemValue(25));
    ASSERT_TRUE(list->GetRecordInfo(3, info));
    EXPECT_EQ(info, (RecordInfo{u"25 ms", 1, 25, 2}));

    EXPECT_TRUE(list->DeleteItem());
    EXPECT_EQ(list->GetSelectEvent(), -1);
    EXPECT_FALSE(list->GetRecordInfo(info));
    EXPECT_FALSE(list->DeleteItem());
    EXPECT_FALSE(list->SetItemText(u"x"));
    EXPECT_EQ(Texts(*list), (std::vector<std::u16string>{u"d", u"a", u"e", u"c", u"f"}));
    list->ClearList();
    EXPECT_EQ(list->GetEventCount(), 0);
    EXPECT_TRUE(list->GetRecordItems().empty());
}

TEST_F(ListsRecordListTest, SetRecordInfoChangesEveryItemOfThatTimestampAndTypeOnly) {
    TestDialog dialog;
    CRecordList* list = OpenWithList(dialog);
    // An inserted key press and release share timestamp 500; a recorded press (501) does not.
    const std::vector<RecordInfo> items = {
        {u"\u2193  A", 2, 65, 500}, {u"10 ms", 1, 10, 501},     {u"\u2191  A", 3, 65, 500},
        {u"10 ms", 1, 10, 502},     {u"\u2193  A", 2, 65, 501}, {u"\u2193  A", 2, 65, 500},
    };
    for (const RecordInfo& item : items) {
        list->AddString(item.text, item.type, item.value, item.timestamp);
    }
    EXPECT_EQ(list->SetRecordInfo(500, 2, u"\u2193  B", 66), 2);
    EXPECT_EQ(list->SetRecordInfo(500, 3, u"\u2191  B", 66), 1);
    EXPECT_EQ(list->SetRecordInfo(777, 2, u"none", 1), 0);
    const std::vector<RecordInfo> expected = {
        {u"\u2193  B", 2, 66, 500}, {u"10 ms", 1, 10, 501},     {u"\u2191  B", 3, 66, 500},
        {u"10 ms", 1, 10, 502},     {u"\u2193  A", 2, 65, 501}, {u"\u2193  B", 2, 66, 500},
    };
    EXPECT_EQ(list->GetRecordItems(), expected);
}

TEST_F(ListsRecordListTest, MoveItemMovesTheSelectedItemAndTheSelectionFollows) {
    struct Case {
        int selected;
        RecordMove where;
        bool moved;
        std::u16string order;
        int selectedAfter;
    };
    const Case cases[] = {
        {2, RecordMove::kTop, true, u"CABDE", 0},     {2, RecordMove::kUp, true, u"ACBDE", 1},
        {2, RecordMove::kDown, true, u"ABDCE", 3},    {2, RecordMove::kBottom, true, u"ABDEC", 4},
        {0, RecordMove::kTop, false, u"ABCDE", 0},    {0, RecordMove::kUp, false, u"ABCDE", 0},
        {4, RecordMove::kDown, false, u"ABCDE", 4},   {4, RecordMove::kBottom, false, u"ABCDE", 4},
        {-1, RecordMove::kDown, false, u"ABCDE", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected * 10 + static_cast<int>(c.where));
        TestDialog dialog;
        CRecordList* list = OpenWithList(dialog);
        for (char16_t ch : std::u16string(u"ABCDE")) {
            list->AddString(std::u16string(1, ch), 1, 10, ch);
        }
        list->SetSelectEvent(c.selected);
        EXPECT_EQ(list->MoveItem(c.where), c.moved);
        std::u16string order;
        for (const RecordInfo& item : list->GetRecordItems()) {
            order += item.text;
            EXPECT_EQ(item.timestamp, item.text[0]);  // items move whole
        }
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(list->GetSelectEvent(), c.selectedAfter);
    }
}

TEST_F(ListsRecordListTest, ClicksSelectAndNotifyAndSecondaryClicksAskForTheMenu) {
    TestDialog dialog;
    CRecordList* list = OpenWithList(dialog);
    for (int i = 0; i < 3; ++i) {
        list->AddString(u"10 ms", 1, 10, i);
    }
    HeadlessBackend::ClickAt(dialog, RowPoint(1));
    EXPECT_EQ(list->GetSelectEvent(), 1);
    HeadlessBackend::ClickAt(dialog, RowPoint(2), MouseButton::kRight);
    EXPECT_EQ(list->GetSelectEvent(), 2);
    // Below the last row neither button does anything.
    HeadlessBackend::ClickAt(dialog, RowPoint(5));
    HeadlessBackend::ClickAt(dialog, RowPoint(5), MouseButton::kRight);
    EXPECT_EQ(list->GetSelectEvent(), 2);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 0, 0},
                                                      {kListId, kNotifySecondaryClick, 0, 0}}));
    // The event list has no in-place editing.
    dialog.HandleMouse({MouseAction::kDoubleClick, MouseButton::kLeft, RowPoint(0), 0});
    EXPECT_FALSE(list->IsTextEntry());
    EXPECT_FALSE(list->EditItem(0));
}

TEST_F(ListsRecordListTest, WheelScrollsALongList) {
    TestDialog dialog;
    CRecordList* list = OpenWithList(dialog);
    for (int i = 0; i < 30; ++i) {
        list->AddString(u"10 ms", 1, 10, i);
    }
    // 272 pixels of rows: nine rows shown, so the last top row is 21.
    dialog.HandleMouse({MouseAction::kWheel, MouseButton::kNone, RowPoint(0), -100});
    EXPECT_EQ(list->GetTopIndex(), 21);
    HeadlessBackend::ClickAt(dialog, RowPoint(8));
    EXPECT_EQ(list->GetSelectEvent(), 29);
    EXPECT_TRUE(list->DeleteItem(29));
    EXPECT_EQ(list->GetTopIndex(), 20);
}

}  // namespace
