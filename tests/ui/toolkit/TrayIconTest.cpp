#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/TrayIcon.h"
#include "ui/toolkit/headless/HeadlessTrayIcon.h"

namespace {

constexpr unsigned kTrayMessage = 0x8065;
constexpr int kIconId = 3;

// A dialog that records the window messages posted to it.
struct Owner : TestDialog {
    std::intptr_t OnWindowMessage(unsigned message, std::intptr_t w, std::intptr_t l) override {
        messages.push_back({static_cast<int>(message), 0, w, l});
        return 0;
    }
    std::vector<Received> messages;
};

// An owner and a tray icon added for it.
class TrayIconTest : public HeadlessTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Open());
        icon = Ui().CreateTrayIcon();
        tray = Ui().Tray();
        ASSERT_NE(tray, nullptr);
        ASSERT_TRUE(icon->Add(owner, kIconId, kTrayMessage, {u"kestrel.ico"}, u"Kestrel"));
    }

    Owner owner;
    std::unique_ptr<TrayIcon> icon;
    HeadlessTrayIcon* tray = nullptr;
};

TEST_F(TrayIconTest, ClicksAndMenuChoicesArePostedToTheOwner) {
    EXPECT_TRUE(icon->IsAdded());
    EXPECT_EQ(tray->Icon().file, u"kestrel.ico");
    EXPECT_FALSE(icon->Add(owner, 9, kTrayMessage, {}, u"again"));
    tray->Press(kTrayLeftDoubleClick);
    tray->Press(kTrayRightUp);
    icon->TrackMenu({{40, u"Show"}, {41, u"Exit"}});
    EXPECT_EQ(tray->OpenMenuItems().size(), 2u);
    EXPECT_FALSE(tray->ChooseMenuItem(42));
    ASSERT_TRUE(tray->ChooseMenuItem(41));
    EXPECT_TRUE(tray->OpenMenuItems().empty());
    EXPECT_FALSE(tray->ChooseMenuItem(41));
    EXPECT_TRUE(owner.messages.empty());  // posted, not sent
    Ui().RunPending();
    EXPECT_EQ(owner.messages,
              (std::vector<Received>{{kTrayMessage, 0, kIconId, kTrayLeftDoubleClick},
                                     {kTrayMessage, 0, kIconId, kTrayRightUp},
                                     {kMessageCommand, 0, 41, 0}}));
}

TEST_F(TrayIconTest, NothingArrivesAfterRemoveNotEvenWhatWasOnItsWay) {
    tray->Press(kTrayLeftDown);
    icon->TrackMenu({{40, u"Show"}});
    ASSERT_TRUE(tray->ChooseMenuItem(40));
    icon->TrackMenu({{40, u"Show"}});
    icon->Remove();
    icon->Remove();
    EXPECT_FALSE(icon->IsAdded());
    EXPECT_TRUE(tray->OpenMenuItems().empty());
    tray->Press(kTrayLeftDown);
    icon->TrackMenu({{40, u"Show"}});
    EXPECT_TRUE(tray->OpenMenuItems().empty());
    Ui().RunPending();
    EXPECT_TRUE(owner.messages.empty());

    // Added again, it reports again.
    ASSERT_TRUE(icon->Add(owner, kIconId, kTrayMessage, {}, u"Kestrel"));
    tray->Press(kTrayLeftDown);
    Ui().RunPending();
    EXPECT_EQ(owner.messages, (std::vector<Received>{{kTrayMessage, 0, kIconId, kTrayLeftDown}}));
    icon.reset();
    EXPECT_EQ(Ui().Tray(), nullptr);
}

TEST_F(TrayIconTest, DismissPopupsClosesTheMenuWithoutAChoice) {
    icon->TrackMenu({{40, u"Show"}});
    Ui().DismissPopups();
    EXPECT_TRUE(tray->OpenMenuItems().empty());
    EXPECT_FALSE(tray->ChooseMenuItem(40));
    Ui().RunPending();
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(TrayIconTest, TipsAreCutTo127UnitsWithoutSplittingACharacter) {
    const std::u16string exact(127, u'a');
    // U+1F5B1 (a mouse) is a surrogate pair; here its first half would be unit 127.
    const std::u16string straddling = std::u16string(126, u'a') + u"\U0001F5B1";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Kestrel - 2 mice", u"Kestrel - 2 mice"},
        {exact + u"b", exact},
        {straddling, std::u16string(126, u'a')},
        {std::u16string(125, u'a') + u"\U0001F5B1", std::u16string(125, u'a') + u"\U0001F5B1"},
    };
    for (const auto& [tip, shown] : cases) {
        icon->SetTip(tip);
        EXPECT_EQ(tray->Tip(), shown) << tip.size();
    }
    icon->Remove();
    ASSERT_TRUE(icon->Add(owner, kIconId, kTrayMessage, {}, exact + u"b"));
    EXPECT_EQ(tray->Tip(), exact);
}

using TrayIconWithoutTrayTest = HeadlessTest;

TEST_F(TrayIconWithoutTrayTest, NothingIsAddedWhenTheDesktopHasNoTray) {
    Ui().SetTrayAvailable(false);
    TestDialog owner;
    ASSERT_TRUE(owner.Open());
    std::unique_ptr<TrayIcon> icon = Ui().CreateTrayIcon();
    EXPECT_FALSE(icon->IsAvailable());
    EXPECT_FALSE(icon->Add(owner, kIconId, kTrayMessage, {}, u"Kestrel"));
    EXPECT_FALSE(icon->IsAdded());
}

}  // namespace
