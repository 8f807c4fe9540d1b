#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MComboBox2.h"

namespace {

using ListsComboBoxTest = HeadlessTest;

constexpr int kComboId = 120;
constexpr Rect kComboRect{20, 20, 170, 50};

// Opens a dialog with one selector holding "1".."6" with data 10..60.
template <typename T>
T* OpenWithCombo(TestDialog& dialog) {
    T* combo = nullptr;
    EXPECT_TRUE(dialog.Open([&](TestDialog& d) {
        combo = static_cast<T*>(
            d.AdoptControl(std::make_unique<T>(), u"MComboBox", kComboId, kComboRect));
        for (int i = 1; i <= 6; ++i) {
            combo->AddItem(std::u16string(1, static_cast<char16_t>(u'0' + i)), i * 10);
        }
    }));
    return combo;
}

TEST_F(ListsComboBoxTest, SelectDataSelectsTheMatchingItemAndLeavesTheSelectionWhenAbsent) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetCurData(), -1);
    EXPECT_EQ(combo->GetCurText(), u"");

    struct Case {
        int data;
        bool found;
        int sel;      // expected selection afterwards
        int curData;  // expected GetCurData afterwards
    };
    const Case cases[] = {
        {30, true, 2, 30},  {60, true, 5, 60},
        {35, false, 5, 60},  // absent: the previous selection stays
        {-1, false, 5, 60}, {10, true, 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(combo->SelectData(c.data), c.found);
        EXPECT_EQ(combo->GetCurSel(), c.sel);
        EXPECT_EQ(combo->GetCurData(), c.curData);
    }
    EXPECT_EQ(combo->GetCurText(), u"1");
    // Selecting by call notifies nothing.
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ListsComboBoxTest, ItemEditsKeepTheSelectionOnItsItem) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    combo->SetCurSel(3);  // "4", 40
    EXPECT_TRUE(combo->DeleteItem(1));
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetCurData(), 40);
    EXPECT_TRUE(combo->SetItemText(2, u"four"));
    EXPECT_EQ(combo->GetCurText(), u"four");
    EXPECT_FALSE(combo->DeleteItem(5));  // only 5 items left
    EXPECT_FALSE(combo->SetItemText(-1, u"x"));
    EXPECT_EQ(combo->GetItemText(9), u"");
    EXPECT_EQ(combo->GetItemData(9), -1);
    // Deleting the selected item leaves nothing selected.
    EXPECT_TRUE(combo->DeleteItem(2));
    EXPECT_EQ(combo->GetCurSel(), -1);
    // Out-of-range selections are ignored; -1 and SetSelectionNone select nothing.
    combo->SetCurSel(0);
    combo->SetCurSel(7);
    EXPECT_EQ(combo->GetCurSel(), 0);
    combo->SetSelectionNone();
    EXPECT_EQ(combo->GetCurSel(), -1);
    combo->SetCurSel(1);
    combo->ClearList();
    EXPECT_EQ(combo->GetCount(), 0);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetCurData(), -1);
}

TEST_F(ListsComboBoxTest, ChoosingFromTheDropDownSelectsAndNotifiesEvenTheSameItemAgain) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    combo->SelectData(20);
    HeadlessBackend::Click(dialog, kComboId);
    ASSERT_TRUE(Ui().OpenPopup().has_value());
    const PopupList& list = *Ui().OpenPopup();
    EXPECT_EQ(list.items, (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5", u"6"}));
    EXPECT_EQ(list.selected, 1);
    // Below the box, in screen coordinates (the dialog's client starts at 100, 100).
    EXPECT_EQ(list.anchor, kComboRect.Offset(100, 100));
    EXPECT_TRUE(dialog.received.empty());

    ASSERT_TRUE(Ui().ChoosePopupItem(4));
    EXPECT_EQ(combo->GetCurData(), 50);
    HeadlessBackend::Click(dialog, kComboId);
    EXPECT_EQ(Ui().OpenPopup()->selected, 4);
    ASSERT_TRUE(Ui().ChoosePopupItem(4));
    EXPECT_EQ(combo->GetCurData(), 50);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kComboId, kNotifyClick, 0, 0},
                                                      {kComboId, kNotifyClick, 0, 0}}));
}

TEST_F(ListsComboBoxTest, AChoiceFromAListOpenedBeforeTheItemsChangedIsDropped) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    HeadlessBackend::Click(dialog, kComboId);
    combo->ClearList();
    combo->AddItem(u"other", 7);
    ASSERT_TRUE(Ui().ChoosePopupItem(0));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ListsComboBoxTest, EmptyOrDisabledSelectorsOpenNothing) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    combo->SetEnabled(false);
    HeadlessBackend::Click(dialog, kComboId);
    EXPECT_FALSE(Ui().OpenPopup().has_value());
    combo->SetEnabled(true);
    combo->ClearList();
    HeadlessBackend::Click(dialog, kComboId);
    EXPECT_FALSE(Ui().OpenPopup().has_value());
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ListsComboBoxTest, MarkedSelectorStillChoosesLikeTheOthers) {
    TestDialog dialog;
    MComboBox2* combo = OpenWithCombo<MComboBox2>(dialog);
    EXPECT_FALSE(combo->IsMarked());
    combo->SetMark(true);
    EXPECT_TRUE(combo->IsMarked());
    HeadlessBackend::Click(dialog, kComboId);
    ASSERT_TRUE(Ui().ChoosePopupItem(2));
    EXPECT_EQ(combo->GetCurData(), 30);
    EXPECT_EQ(combo->GetItemText(2), u"3");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kComboId, kNotifyClick, 0, 0}}));
    combo->SetMark(false);
    EXPECT_FALSE(combo->IsMarked());
}

TEST_F(ListsComboBoxTest, WorkerSelectsWhileTheUserInterfaceReads) {
    TestDialog dialog;
    MComboBox* combo = OpenWithCombo<MComboBox>(dialog);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            combo->SelectData((i % 6 + 1) * 10);
            if (i % 100 == 0) {
                combo->ClearList();
                for (int k = 1; k <= 6; ++k) {
                    combo->AddItem(u"x", k * 10);
                }
            }
        }
        done = true;
    });
    while (!done) {
        const int data = combo->GetCurData();
        EXPECT_TRUE(data == -1 || (data % 10 == 0 && data >= 10 && data <= 60)) << data;
        HeadlessBackend::Click(dialog, kComboId);
        Ui().ChoosePopupItem(0);
    }
    worker.join();
}

}  // namespace
