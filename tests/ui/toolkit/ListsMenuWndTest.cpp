#include <gtest/gtest.h>

#include <vector>

#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/TestDialog.h"

namespace {

using ListsMenuWndTest = HeadlessTest;

// A dialog that records the window messages posted to it.
struct Owner : TestDialog {
    std::intptr_t OnWindowMessage(unsigned message, std::intptr_t w, std::intptr_t l) override {
        messages.push_back({static_cast<int>(message), 0, w, l});
        return 0;
    }
    std::vector<Received> messages;
};

TEST_F(ListsMenuWndTest, TheChosenItemIdIsPostedToTheOwnerAsWParam) {
    Owner owner;
    ASSERT_TRUE(owner.Open());
    MenuWnd menu;
    // The owner's client starts at (100, 100) on the screen.
    ASSERT_TRUE(menu.Create(&owner, {150, 220}, 1710, 170));
    menu.AddMenu(105, u"Left click");
    menu.AddMenu(106, u"Middle click");
    menu.AddMenu(101, u"Key");
    ASSERT_TRUE(menu.TrackPopup());

    ASSERT_TRUE(Ui().OpenPopup().has_value());
    const PopupList& popup = *Ui().OpenPopup();
    EXPECT_EQ(popup.items, (std::vector<std::u16string>{u"Left click", u"Middle click", u"Key"}));
    EXPECT_EQ(popup.anchor, (Rect{150, 220, 320, 220}));
    EXPECT_EQ(popup.width, 170);
    EXPECT_EQ(popup.selected, -1);

    ASSERT_TRUE(Ui().ChoosePopupItem(2));
    EXPECT_TRUE(owner.messages.empty());  // posted, not sent
    Ui().RunPending();
    EXPECT_EQ(owner.messages, (std::vector<Received>{{1710, 0, 101, 0}}));
    EXPECT_TRUE(owner.received.empty());
}

TEST_F(ListsMenuWndTest, CreateStartsAFreshMenuAndTheMenuObjectMayGoBeforeTheChoice) {
    Owner owner;
    ASSERT_TRUE(owner.Open());
    {
        MenuWnd menu;
        ASSERT_TRUE(menu.Create(&owner, {120, 130}, 1711, 120));
        menu.AddMenu(1, u"stale");
        ASSERT_TRUE(menu.Create(&owner, {120, 130}, 1711, 120));
        menu.AddMenu(100, u"Top");
        menu.AddMenu(103, u"Bottom");
        ASSERT_TRUE(menu.TrackPopup());
    }
    EXPECT_EQ(Ui().OpenPopup()->items.size(), 2u);
    ASSERT_TRUE(Ui().ChoosePopupItem(1));
    Ui().RunPending();
    EXPECT_EQ(owner.messages, (std::vector<Received>{{1711, 0, 103, 0}}));
}

TEST_F(ListsMenuWndTest, NothingOpensWithoutADialogOwnerOrItems) {
    Owner owner;
    ASSERT_TRUE(owner.Open());
    MenuWnd empty;
    ASSERT_TRUE(empty.Create(&owner, {0, 0}, 1709, 150));
    EXPECT_FALSE(empty.TrackPopup());

    MWindow plain;
    ASSERT_TRUE(plain.Create(nullptr, u"plain", 0, 0, {0, 0, 100, 100}));
    MenuWnd notDialog;
    ASSERT_TRUE(notDialog.Create(&plain, {10, 10}, 1709, 150));
    notDialog.AddMenu(101, u"Import");
    EXPECT_FALSE(notDialog.TrackPopup());

    MenuWnd noOwner;
    EXPECT_FALSE(noOwner.Create(nullptr, {10, 10}, 1709, 150));
    noOwner.AddMenu(101, u"Import");
    EXPECT_FALSE(noOwner.TrackPopup());

    TestDialog closed;  // never created
    MenuWnd closedOwner;
    ASSERT_TRUE(closedOwner.Create(&closed, {10, 10}, 1709, 150));
    closedOwner.AddMenu(101, u"Import");
    EXPECT_FALSE(closedOwner.TrackPopup());
    EXPECT_FALSE(Ui().OpenPopup().has_value());
}

TEST_F(ListsMenuWndTest, ItemsArePickedByIdAndDismissedWithoutAChoice) {
    Owner owner;
    ASSERT_TRUE(owner.Open());
    auto open = [&] {
        MenuWnd menu;
        ASSERT_TRUE(menu.Create(&owner, {150, 220}, 1712, 0));
        menu.AddMenu(105, u"Left click");
        menu.AddMenu(101, u"Key");
        ASSERT_TRUE(menu.TrackPopup());
    };
    open();
    EXPECT_EQ(Ui().OpenPopup()->ids, (std::vector<int>{105, 101}));
    EXPECT_FALSE(Ui().ChoosePopupItemById(7));
    ASSERT_TRUE(Ui().ChoosePopupItemById(101));
    EXPECT_FALSE(Ui().OpenPopup().has_value());

    open();
    Ui().DismissPopups();
    EXPECT_FALSE(Ui().OpenPopup().has_value());
    EXPECT_FALSE(Ui().ChoosePopupItemById(105));
    Ui().RunPending();
    EXPECT_EQ(owner.messages, (std::vector<Received>{{1712, 0, 101, 0}}));
}

}  // namespace
