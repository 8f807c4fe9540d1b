#include <gtest/gtest.h>

#include "app/AppRegistry.h"
#include "app/Languages.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/MainDispatch.h"
#include "ui/shell/MainWindowFixture.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MTabCtrl.h"

using namespace mainwnd;

namespace {

struct RouteCase {
    int id;
    int code;
    const MainRoute* route;  // null: nobody takes it
};

constexpr MainRoute kFrame = MainRoute::kFrame;
constexpr MainRoute kSettings = MainRoute::kSettings;
constexpr MainRoute kNothing = MainRoute::kNothing;
constexpr MainRoute kButtons = MainRoute::kButtons;
constexpr MainRoute kMacros = MainRoute::kMacros;

}  // namespace

TEST(MainDispatchTest, RoutesEachControlAndCodeToItsOwner) {
    const RouteCase cases[] = {
        {kWebsiteButton, kNotifyClick, &kFrame},
        {kWebsiteButton, kNotifySecondaryClick, nullptr},
        {kCloseButton, kNotifyClick, &kFrame},
        {kProfileButton, kNotifyClick, &kFrame},
        {kSettingsButton, kNotifyClick, &kFrame},
        {kTabControl, kNotifyMoving, &kFrame},  // the tab control's every code
        {kDeviceList, kNotifyClick, &kFrame},
        {kNextButton, kNotifyClick, &kFrame},
        {SettingsPage::kReturnButton, kNotifyClick, &kFrame},
        {SettingsPage::kQaLink, kNotifyClick, &kFrame},
        {SettingsPage::kDeviceResetButton, kNotifyClick, &kSettings},
        {SettingsPage::kResetButton, kNotifyClick, &kSettings},
        {SettingsPage::kLanguageSelector, kNotifyClick, &kSettings},
        {SettingsPage::kStartupLabel, kNotifyClick, nullptr},
        {SettingsPage::kCloseQuitsRadio, kNotifyClick, &kSettings},
        {96, kNotifyClick, &kNothing},
        {68, kNotifyClick, &kButtons},  // the button list
        {75, kNotifyClick, &kButtons},  // a function selector
        {76, kNotifyClick, nullptr},    // its caption
        {93, kNotifyFocus, &kButtons},  // the key field, every code
        {105, kNotifyEditEnded, &kButtons},
        {104, kNotifyEditEnded, nullptr},
        {108, kNotifyClick, &kButtons},  // the mouse picture
        {156, kNotifyMenu, &kMacros},    // the macro list, every code
        {187, kNotifyFocus, &kMacros},
        {184, kNotifyEditEnded, &kMacros},
        {184, kNotifyClick, nullptr},
        {185, kNotifyClick, nullptr},
        {188, kNotifyClick, &kMacros},
        {221, kNotifyClick, &kNothing},
        {225, kNotifyClick, nullptr},
        {kBattery, kNotifyClick, nullptr},
    };
    for (const RouteCase& c : cases) {
        const MainDispatchEntry* entry = FindMainRoute(c.id, c.code);
        if (c.route == nullptr) {
            EXPECT_EQ(entry, nullptr) << c.id << "/" << c.code;
        } else {
            ASSERT_NE(entry, nullptr) << c.id << "/" << c.code;
            EXPECT_EQ(entry->route, *c.route) << c.id << "/" << c.code;
        }
    }
}

TEST_F(MainWindowTest, StartsOnTheDeviceListWithTheTrayIconAndTheModelsOfConfigXml) {
    Plug(kK2, 1);
    Create();
    EXPECT_TRUE(Shown(kDeviceListPage));
    EXPECT_TRUE(Shown(kDeviceList));
    for (int hidden : {kMousePicture, kTabStripBackground, kTabControl, kConnectionCaption,
                       kProfileButton, kBattery, kNoDevicePicture, kSettingsPage, kButtonPage}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    auto* list = window->GetControlAs<CDeviceList>(kDeviceList);
    ASSERT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetDeviceLinkState(kK2), 1);
    EXPECT_EQ(list->GetDeviceMode(kK2), 1);
    EXPECT_EQ(list->GetSelectDevice(), kK2);
    // The first model names the window until a model is opened; the settings page shows the
    // version of config.xml.
    EXPECT_EQ(Title(kModelCaption), u"Kestrel K1 Wired");
    EXPECT_EQ(Title(SettingsPage::kVersionCaption), Text(17) + u": v1.0.3");
    ASSERT_NE(Tray(), nullptr);
    EXPECT_TRUE(Tray()->IsAdded());
    EXPECT_EQ(Tray()->Tip(), u"Kestrel");
    EXPECT_EQ(window->GetTitle(), u"Kestrel");
    EXPECT_EQ(window->GetClientRect(), (Rect{0, 0, 1300, 788}));
}

TEST_F(MainWindowTest, WithoutAMouseShowsTheNoDeviceState) {
    Create();
    EXPECT_TRUE(Shown(kNoDevicePicture));
    EXPECT_TRUE(Shown(kNoDeviceText));
    EXPECT_FALSE(Shown(kDeviceList));
    EXPECT_EQ(Title(kNoDeviceText), Text(56));
    EXPECT_FALSE(window->GetSession().state.Connected());
}

TEST_F(MainWindowTest, OpeningTheMouseShowsItsPagesAndItsConnection) {
    Plug(kK2, 1);
    Create();
    ClickCard(1);
    Settle();
    EXPECT_EQ(window->GetOpenedDeviceType(), kK2);
    EXPECT_EQ(ReadDeviceTypeSetting(), kK2);
    EXPECT_EQ(Title(kModelCaption), u"Kestrel K2 Wireless");
    EXPECT_EQ(Title(kConnectionCaption), Text(52));
    for (int shown : {kTabStripBackground, kTabControl, kMousePicture, kConnectionCaption,
                      kProfileButton, kBattery, kButtonPage}) {
        EXPECT_TRUE(Shown(shown)) << shown;
    }
    EXPECT_FALSE(Shown(kDeviceListPage));
    EXPECT_EQ(window->GetControlAs<MTabCtrl>(kTabControl)->GetCurSel(), kButtonTabIndex);
    EXPECT_EQ(Title(kProfileButton), Text(61) + u" 1");
}

TEST_F(MainWindowTest, OpeningAModelThatIsNotPresentOnlyTellsSo) {
    Plug(kK2, 0);
    Create();
    AnswerMessageBoxes(CUIMessageBox::kOkButton);
    ClickCard(0);  // the K1, which is not plugged in
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, Text(57));
    EXPECT_EQ(boxes[0].second, Text(56));
    EXPECT_EQ(window->GetOpenedDeviceType(), 0);
    EXPECT_FALSE(Shown(kTabControl));
    EXPECT_TRUE(Shown(kDeviceListPage));
}

TEST_F(MainWindowTest, TabsAndTheSettingsPageMoveBetweenTheThreeViews) {
    Plug(kK2, 0);
    Create();
    ClickCard(1);
    Settle();
    ClickTab(2);  // the DPI page
    EXPECT_EQ(window->GetCurrentTab(), kTabDpi);
    EXPECT_TRUE(Shown(kDpiPage));
    EXPECT_FALSE(Shown(kButtonPage));

    // The settings page covers the pages; leaving it returns to the button page, not to the tab
    // that was current.
    Click(kSettingsButton);
    EXPECT_TRUE(Shown(kSettingsPage));
    for (int hidden :
         {kTabControl, kTabStripBackground, kMousePicture, kBattery, kSettingsButton, kDpiPage}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_TRUE(Shown(kCloseButton));
    Click(SettingsPage::kReturnButton);
    EXPECT_FALSE(Shown(kSettingsPage));
    EXPECT_TRUE(Shown(kSettingsButton));
    EXPECT_TRUE(Shown(kButtonPage));
    EXPECT_EQ(window->GetControlAs<MTabCtrl>(kTabControl)->GetCurSel(), kButtonTabIndex);

    // The home tab hides the device's controls again.
    ClickTab(0);
    EXPECT_EQ(window->GetCurrentTab(), kTabHome);
    EXPECT_TRUE(Shown(kDeviceListPage));
    for (int hidden : {kMousePicture, kTabStripBackground, kTabControl, kConnectionCaption,
                       kProfileButton, kBattery}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
}

TEST_F(MainWindowTest, LeavingTheSettingsPageWithoutAMouseGoesToTheDeviceList) {
    Create();
    Click(kSettingsButton);
    EXPECT_FALSE(Shown(kDeviceListPage));
    Click(SettingsPage::kReturnButton);
    EXPECT_TRUE(Shown(kDeviceListPage));
    EXPECT_FALSE(Shown(kTabControl));
    EXPECT_EQ(window->GetControlAs<MTabCtrl>(kTabControl)->GetCurSel(), kHomeTabIndex);
}

TEST_F(MainWindowTest, CloseButtonHidesToTheTrayOrQuitsAsTheSettingAsks) {
    Create();
    ASSERT_TRUE(WriteAppRegValue(SettingsPage::kExitModeValue, u"1"));
    window->ShowWindow(true);
    Click(kCloseButton);
    EXPECT_FALSE(window->IsWindowVisible());
    EXPECT_TRUE(Tray()->IsAdded());
    EXPECT_TRUE(exits.empty());
    // A left click on the tray icon brings it back.
    Tray()->Press(kTrayLeftDown);
    Ui().RunPending();
    EXPECT_TRUE(window->IsWindowVisible());

    for (const char16_t* mode : {u"0", u""}) {
        ASSERT_TRUE(WriteAppRegValue(SettingsPage::kExitModeValue, mode));
        exits.clear();
        Tray()->Remove();
        window->GetTray()->Add(*window, kTrayIconId, kMessageTray, {}, u"Kestrel");
        Click(kCloseButton);
        EXPECT_EQ(exits, std::vector<int>{0}) << ToUtf8(mode);
        EXPECT_FALSE(Tray()->IsAdded());
    }
}

TEST_F(MainWindowTest, WithoutATrayHidingMinimisesInstead) {
    Ui().SetTrayAvailable(false);
    Create();
    ASSERT_TRUE(WriteAppRegValue(SettingsPage::kExitModeValue, u"1"));
    window->ShowWindow(true);
    Click(kCloseButton);
    EXPECT_TRUE(window->IsMinimized());
    EXPECT_TRUE(exits.empty());
}

TEST_F(MainWindowTest, TrayMenuHasOneItemThatQuits) {
    Create();
    Tray()->Press(kTrayRightUp);
    Ui().RunPending();
    const auto items = Tray()->OpenMenuItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].first, kCommandQuit);
    EXPECT_EQ(items[0].second, Text(12));
    ASSERT_TRUE(Tray()->ChooseMenuItem(kCommandQuit));
    Ui().RunPending();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_FALSE(Tray()->IsAdded());
}

TEST_F(MainWindowTest, QuitMessageNeedsItsCode) {
    Create();
    window->PostMessage(kMessageQuit, 0, 611);
    Ui().RunPending();
    EXPECT_TRUE(exits.empty());
    EXPECT_TRUE(Tray()->IsAdded());
    window->PostMessage(kMessageQuit, 0, kQuitCode);
    Ui().RunPending();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_FALSE(Tray()->IsAdded());
}

TEST_F(MainWindowTest, ClosingPopupsAnswersAnOpenQuestionWithCancel) {
    Plug(kK2, 0);
    Create();
    ASSERT_TRUE(window->GetSession().state.Linked());
    const std::size_t resetsBefore = backend.Connection(1)->CommandLog().All().size();
    // The mouse goes away while the factory-reset question is open: the worker closes the
    // popups, and the question counts as cancelled.
    Ui().SetModalHandler([this](MWindow& shown) {
        if (shown.GetTitle() == CUIMessageBox::kWindowTitle) {
            window->ClosePopups();  // as the worker does, from wherever
            Ui().RunPending();
        }
    });
    Click(kSettingsButton);
    Click(SettingsPage::kResetButton);
    Settle();
    EXPECT_EQ(backend.Connection(1)->CommandLog().All().size(), resetsBefore);
}

TEST_F(MainWindowTest, PagingButtonsClearTheListSelection) {
    Plug(kK2, 0);
    Create();
    auto* list = window->GetControlAs<CDeviceList>(kDeviceList);
    ASSERT_NE(list->GetSelectIndex(), -1);
    window->GetControl(kNextButton)->SetVisible(true);
    Click(kNextButton);
    EXPECT_EQ(list->GetSelectIndex(), -1);
}

TEST_F(MainWindowTest, LinksOpenTheAddressesOfConfigXmlAndNothingWithoutOne) {
    Create();
    Click(kWebsiteButton);
    Click(kSettingsButton);
    Click(SettingsPage::kFeedbackLink);
    Click(SettingsPage::kQaLink);
    EXPECT_EQ(urls, (std::vector<std::string>{"https://kestrel.invalid/",
                                              "https://kestrel.invalid/feedback",
                                              "https://kestrel.invalid/faq"}));
    window->CloseDialog();
    window.reset();

    // A config.xml without the software section gives no address: the buttons open nothing.
    TempDir install;
    install.Write("config.xml",
                  "<config><device><mouse name=\"M\" device_type=\"1001\" "
                  "device_attr=\"kestrel_k1\"/></device></config>");
    urls.clear();
    Create(install.Path());
    Click(kWebsiteButton);
    EXPECT_TRUE(urls.empty());
    EXPECT_EQ(Title(SettingsPage::kVersionCaption), u"");
}

TEST_F(MainWindowTest, LanguageChangeFetchesEveryTextAgain) {
    Plug(kK2, 0);
    Create();
    ClickCard(1);
    Settle();
    ASSERT_EQ(Title(kConnectionCaption), Text(51));
    Click(kSettingsButton);
    auto* combo = window->GetControlAs<MComboBox>(SettingsPage::kLanguageSelector);
    ASSERT_EQ(combo->GetCurData(), 1033);
    // Simplified Chinese is the first item.
    HeadlessBackend::Click(*window, SettingsPage::kLanguageSelector);
    ASSERT_TRUE(Ui().ChoosePopupItem(0));
    Ui().RunPending();
    EXPECT_EQ(GetCurrentLanguage(), 2052);
    EXPECT_EQ(ReadLanguageSetting(), 2052);
    EXPECT_EQ(Title(kConnectionCaption), Text(51));  // now the Chinese text
    EXPECT_EQ(Title(SettingsPage::kAutorunCheck), Text(604));
    EXPECT_EQ(Title(SettingsPage::kVersionCaption), Text(17) + u": v1.0.3");
    EXPECT_EQ(window->GetControl(kSettingsButton)->GetTooltip(), Text(11));
    EXPECT_EQ(window->GetControlAs<MTabCtrl>(kTabControl)->GetItemText(1), Text(72));
    EXPECT_NE(Text(604), u"Launch at startup");
    SetCurrentLanguage(1033);
}

TEST_F(MainWindowTest, ReloadTextsMessageFetchesTheTextsAgain) {
    Create();
    TitleOf(*window, kTitle);
    window->GetControlAs<MControlFont>(kTitle)->SetTitle(u"stale");
    window->GetControlAs<MControlFont>(SettingsPage::kUpdateButton)->SetTitle(u"stale");
    window->PostMessage(kMessageReloadTexts);
    Ui().RunPending();
    EXPECT_EQ(Title(kTitle), Text(1));
    EXPECT_EQ(Title(SettingsPage::kUpdateButton), Text(612));
}

TEST_F(MainWindowTest, CommandFromAnotherWindowOpensTheAboutBoxOverTheWindow) {
    Create();
    std::vector<std::u16string> shown;
    Ui().SetModalHandler([&](MWindow& window) {
        shown.push_back(window.GetTitle());
        EXPECT_EQ(window.GetParent(), this->window.get());
        window.EndModal(kResultOk);
    });
    window->PostMessage(kMessageCommand, kCommandAbout, 0);
    Ui().RunPending();
    EXPECT_EQ(shown, std::vector<std::u16string>{AboutDlg::kWindowTitle});
    EXPECT_TRUE(exits.empty());
}
