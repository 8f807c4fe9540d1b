#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "ui/toolkit/controls/MTabLayout.h"
#include "ui/toolkit/controls/MText.h"

namespace {

using WidgetsTabTest = HeadlessTest;

constexpr int kTabId = 48;
constexpr int kItemHeight = 40;

// A strip of four items (ids 1, 2, 3, 7) at the left, each linked to its own page; a control
// inside every page.
struct TabFixture {
    TestDialog dialog;
    MTabCtrl* tabs = nullptr;
    std::vector<MControl*> pages;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            tabs = static_cast<MTabCtrl*>(d.AdoptControl(std::make_unique<MTabCtrl>(), u"MTabCtrl",
                                                         kTabId, {0, 0, 100, 300}));
            tabs->SetImage(u"img_tabitem_bkg.png", 4);
            tabs->SetItemWidth(100, 100, 1);
            tabs->SetItemHeight(kItemHeight, kItemHeight, 1);
            const int ids[] = {1, 2, 3, 7};
            for (int i = 0; i < 4; ++i) {
                MControl* page = d.AdoptControl(std::make_unique<MTabLayout>(), u"MTabLayout",
                                                49 + i, {100, 0, 400, 300});
                d.AdoptControl(std::make_unique<MText>(), u"MText", 200 + i, {120, 20, 300, 50},
                               u"content", page);
                tabs->AddItem(ids[i], u"icon/tab.png", u"Tab", page);
                pages.push_back(page);
            }
        });
    }
    Point ItemCentre(int index) const {
        const Rect r = tabs->GetItemRect(index);
        return {r.left + r.Width() / 2, r.top + r.Height() / 2};
    }
    std::vector<bool> PagesShown() const {
        std::vector<bool> shown;
        for (MControl* page : pages) {
            shown.push_back(page->IsShown());
        }
        return shown;
    }
};

TEST_F(WidgetsTabTest, ClickSelectsTheItemShowsItsPageAndNotifiesItsIndex) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    // The first item is the selection from the start; the pages keep their visibility.
    EXPECT_EQ(f.tabs->GetCurSel(), 0);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{true, true, true, true}));

    HeadlessBackend::ClickAt(f.dialog, f.ItemCentre(2));
    EXPECT_EQ(f.tabs->GetCurSel(), 2);
    EXPECT_EQ(f.tabs->GetItemId(2), 3);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{false, false, true, false}));
    // The controls inside hidden pages are hidden with them.
    EXPECT_FALSE(f.dialog.GetControl(200)->IsShown());
    EXPECT_TRUE(f.dialog.GetControl(202)->IsShown());

    // Clicking the selected item again notifies again.
    HeadlessBackend::ClickAt(f.dialog, f.ItemCentre(2));
    HeadlessBackend::ClickAt(f.dialog, f.ItemCentre(3));
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kTabId, kNotifyClick, 2, 0},
                                                        {kTabId, kNotifyClick, 2, 0},
                                                        {kTabId, kNotifyClick, 3, 0}}));
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{false, false, false, true}));
}

TEST_F(WidgetsTabTest, SelectingByCodeSwitchesPagesWithoutNotifying) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    f.tabs->SetCurSel(1);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{false, true, false, false}));
    f.tabs->SetCurSel(0);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{true, false, false, false}));
    // Out of range: ignored. -1: no selection, pages untouched.
    f.tabs->SetCurSel(9);
    EXPECT_EQ(f.tabs->GetCurSel(), 0);
    f.tabs->SetCurSel(-1);
    EXPECT_EQ(f.tabs->GetCurSel(), -1);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsTabTest, SelectionFromAnotherThreadSwitchesPages) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    std::thread worker([&] { f.tabs->SetCurSel(3); });
    worker.join();
    EXPECT_EQ(f.tabs->GetCurSel(), 3);
    EXPECT_EQ(f.PagesShown(), (std::vector<bool>{false, false, false, true}));
}

TEST_F(WidgetsTabTest, HiddenItemsTakeNoRoomAndCannotBeClicked) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    const Point thirdBefore = f.ItemCentre(2);
    const Point secondSpot = f.ItemCentre(1);
    f.tabs->ShowItem(1, false);
    EXPECT_FALSE(f.tabs->IsItemShown(1));
    EXPECT_TRUE(f.tabs->GetItemRect(1).IsEmpty());
    // The third item moved up into the second one's place.
    EXPECT_EQ(f.ItemCentre(2).y, thirdBefore.y - kItemHeight);
    HeadlessBackend::ClickAt(f.dialog, secondSpot);
    EXPECT_EQ(f.tabs->GetCurSel(), 2);
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kTabId, kNotifyClick, 2, 0}}));

    f.tabs->ShowItem(1, true);
    EXPECT_EQ(f.ItemCentre(2), thirdBefore);
    // Below the last item: nothing.
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, {50, 4 * kItemHeight + 10});
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsTabTest, ItemTextsAndIdsByIndex) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    f.tabs->SetItemText(3, u"Settings");
    f.tabs->SetItemText(7, u"ignored");
    EXPECT_EQ(f.tabs->GetItemText(3), u"Settings");
    EXPECT_EQ(f.tabs->GetItemText(7), u"");
    EXPECT_EQ(f.tabs->GetCount(), 4);
    EXPECT_EQ(f.tabs->GetItemId(3), 7);
    EXPECT_EQ(f.tabs->GetItemId(4), -1);
    EXPECT_EQ(f.tabs->FindItem(7), 3);
    EXPECT_EQ(f.tabs->FindItem(5), -1);
    EXPECT_EQ(f.tabs->GetItemPage(1), f.pages[1]);
}

TEST_F(WidgetsTabTest, PressOnAnEmptyPageFallsThroughToTheWindow) {
    TabFixture f;
    ASSERT_TRUE(f.Open());
    f.tabs->SetCurSel(0);
    // On the page but on none of its controls: the window may be dragged.
    EXPECT_TRUE(f.dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {350, 250}, 0}));
    f.dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {350, 250}, 0});
}

}  // namespace
