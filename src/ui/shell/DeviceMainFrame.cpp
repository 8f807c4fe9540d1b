// DeviceMainDlg: building the frame and the page containers, laying them out, and their texts.

#include <cmath>
#include <cstdint>

#include "i18n/DefaultNames.h"
#include "i18n/TextIds.h"
#include "i18n/TextLookup.h"
#include "keys/ButtonPage.h"
#include "keys/MacroPage.h"
#include "ui/pages/DpiPage.h"
#include "ui/pages/LightingPage.h"
#include "ui/pages/PerformancePage.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/controls/BatteryCtrl.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "update/DeviceSettingsPage.h"

using namespace mainwnd;

namespace {

constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;

// The frame, in drawing order (later rows are drawn over earlier ones).
constexpr ControlRow kFrameControls[] = {
    {u"MPicture", kBackground, u"main_bkg.png", 1},
    {u"MPicture", kTabStripBackground, u"img_tab_bkg.png", 1},
    {u"MPicture", kBottomBar, u"img_area_caption.png", 1},
    {u"MPicture", kLogo, u"logo.png", 1},
    {u"MText", kTitle, nullptr, 1, 1, 0, 18, kCentred},
    {u"MText", kModelCaption, nullptr, 1, 0, 0, 12},
    {u"CTextButton", kWebsiteButton, nullptr, 1, 2, 0, 12, kCentred},
    {u"CImageButton", kCloseButton, u"sysbtn_close.png", 4, 0, 5},
    {u"CImageButton", kMinimizeButton, u"sysbtn_min.png", 4, 0, 6},
    {u"CImageButton", kSettingsButton, u"sysbtn_setting.png", 4, 0, 11},
    {u"BatteryCtrl", kBattery},
    {u"CDeviceState", kConnectionCaption, u"img_area.png", 4, 0, 0, 14},
    {u"CIconButton", kProfileButton, u"img_button.png", 4, 0, 0, 14},
    {u"MTabCtrl", kTabControl, u"img_tabitem_bkg.png", 4},
    {u"MPicture", kMousePicture},
};

// Inside the device list page.
constexpr ControlRow kDeviceListControls[] = {
    {u"CDeviceList", kDeviceList, u"area_device.png", 4},
    {u"MPicture", kNoDevicePicture, u"img_area3.png", 1},
    {u"MText", kNoDeviceText, nullptr, 1, 56, 0, 12, kCentred | kAlignMultiLine},
    // Its text carries the command, so it is set where the hint is shown.
    {u"MText", kPermissionHint, nullptr, 1, 0, 0, 12, kAlignCenter | kAlignTop | kAlignMultiLine},
    {u"CImageButton", kPreviousButton, u"img_btn_pre.png", 4, 0, 85},
    {u"CImageButton", kNextButton, u"img_btn_next.png", 4, 0, 86},
};

struct TabItem {
    int itemId;
    const char16_t* icon;
    int textId;
    int page;
};

constexpr TabItem kTabItems[] = {
    {kTabHome, u"icon\\tab_home.png", 71, kDeviceListPage},
    {kTabButtons, u"icon\\tab_key.png", 72, kButtonPage},
    {kTabDpi, u"icon\\tab_dpi.png", 73, kDpiPage},
    {kTabMacros, u"icon\\tab_macro.png", 74, kMacroPage},
    {kTabLighting, u"icon\\tab_light.png", 75, kLightingPage},
    {kTabDevice, u"icon\\tab_set.png", 76, kDeviceSettingsPage},
};

// Containers and whether they show at creation; 51 is created inside 50.
struct ContainerRow {
    int id;
    bool visible;
};
constexpr ContainerRow kContainers[] = {
    {kDeviceListPage, true}, {kButtonPage, true},    {kDpiPage, false},
    {kMacroPage, false},     {kLightingPage, false}, {kDeviceSettingsPage, false},
    {kSettingsPage, false},
};

constexpr int kDeviceListTextId = 15;

}  // namespace

void DeviceMainDlg::InitUI(const Rect& rect) {
    CreateFromRows(*this, nullptr, kFrameControls);
    if (auto* title = GetControlAs<MControlFont>(kTitle)) {
        title->SetFont(kTitleFont);
        title->SetFontBold(true);
    }
    if (auto* profile = GetControlAs<CIconButton>(kProfileButton)) {
        profile->SetIcon(u"icon\\icon_arrow_up.png");
        profile->SetTitle(GetText(textid::kProfileWord, kTextSection));
    }
    if (auto* battery = GetControl(kBattery)) {
        battery->AddMTimer();
    }
    if (auto* picture = GetControl(kMousePicture)) {
        picture->SetVisible(false);
    }
    for (const ContainerRow& container : kContainers) {
        if (MControl* page = CreateArea(u"MTabLayout", container.id, Rect{})) {
            page->SetVisible(container.visible);
        }
    }
    if (MControl* sub =
            CreateChildArea(Container(kButtonPage), u"MTabLayout", kButtonSubPage, Rect{})) {
        sub->SetVisible(false);
    }
    CreateTabs();
    CreateDeviceListPage();

    // The pages, in the order their containers' controls are drawn.
    PageHost& host = *this;
    keys::KeyCapture& capture = *this;
    buttonPage_ = std::make_unique<ButtonPage>(host, capture);
    buttonPage_->Build();
    dpiPage_ = std::make_unique<DpiPage>(host);
    dpiPage_->Build();
    performancePage_ = std::make_unique<PerformancePage>(host);
    performancePage_->Build();
    lightingPage_ = std::make_unique<LightingPage>(host);
    lightingPage_->Build();
    macroPage_ = std::make_unique<MacroPage>(host, capture, [] {
        // The windows' clock (steady); recording measures differences only, so the wrap of 32
        // bits after 49 days does no harm.
        return static_cast<std::uint32_t>(UiBackend::Current().NowMs());
    });
    macroPage_->Build();
    deviceSettingsPage_ = std::make_unique<DeviceSettingsPage>(host);
    deviceSettingsPage_->Build();
    settingsPage_ = std::make_unique<SettingsPage>(host);
    settingsPage_->Build();

    // The window opens on the device list: the tab strip and the device's controls wait until a
    // device is opened.
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        tabs->SetCurSel(kHomeTabIndex);
    }
    ShowControls({kMousePicture, kTabStripBackground, kTabControl, kConnectionCaption,
                  kProfileButton, kBattery},
                 false);
    SetConnectionCaption(textid::kOffline);
    built_ = true;
    UISize(rect);
}

void DeviceMainDlg::CreateTabs() {
    auto* tabs = GetControlAs<MTabCtrl>(kTabControl);
    if (tabs == nullptr) {
        return;
    }
    tabs->SetTabCtrlWidth(190);
    tabs->SetTabCtrlHeight(60);
    tabs->SetLeftRightPading(0, 190);
    tabs->SetTopBottomPading(0, 300);
    tabs->SetItemWidth(190, 190, 1);
    tabs->SetItemHeight(60, 60, 1);
    for (const TabItem& item : kTabItems) {
        tabs->AddItem(item.itemId, item.icon, GetText(item.textId, kTextSection),
                      Container(item.page));
    }
}

void DeviceMainDlg::CreateDeviceListPage() {
    MControl* page = Container(kDeviceListPage);
    CreateFromRows(*this, page, kDeviceListControls);
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetModeImage(u"device_mode.png", 2);
        list->SetDescription(GetText(kDeviceListTextId, kTextSection));
    }
    ShowControls({kNoDevicePicture, kNoDeviceText, kPermissionHint, kPreviousButton, kNextButton},
                 false);
}

std::vector<MainPage*> DeviceMainDlg::Pages() const {
    std::vector<MainPage*> pages;
    for (MainPage* page :
         {static_cast<MainPage*>(buttonPage_.get()), static_cast<MainPage*>(dpiPage_.get()),
          static_cast<MainPage*>(performancePage_.get()),
          static_cast<MainPage*>(lightingPage_.get()), static_cast<MainPage*>(macroPage_.get()),
          static_cast<MainPage*>(deviceSettingsPage_.get()),
          static_cast<MainPage*>(settingsPage_.get())}) {
        if (page != nullptr) {
            pages.push_back(page);
        }
    }
    return pages;
}

MControl* DeviceMainDlg::Container(int id) {
    return GetControl(id, nullptr);
}

void DeviceMainDlg::UISize(const Rect& rect) {
    if (!built_ || GetControl(kLogo) == nullptr) {
        return;
    }
    layoutScale_ = static_cast<float>(rect.Height()) / static_cast<float>(kHeight);
    LayoutFrame(rect);
    for (MainPage* page : Pages()) {
        page->Layout(rect, layoutScale_);
    }
}

void DeviceMainDlg::LayoutFrame(const Rect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const float s = layoutScale_;
    auto scaled = [s](int value) { return static_cast<int>(std::lround(value * s)); };
    auto place = [this](int id, const Rect& rect) {
        if (MControl* control = GetControl(id)) {
            control->SetRect(rect);
        }
    };
    place(kBackground, {0, 0, w, h});
    place(kBottomBar, {1, h - 50, w - 1, h - 1});
    if (auto* logo = GetControlAs<MPicture>(kLogo)) {
        logo->SetRect({10, 70, 10 + logo->GetPictureWidth(), 70 + logo->GetPictureHeight()});
    }
    place(kTitle, {(w - 260) / 2, 10, (w - 260) / 2 + 260, 40});
    place(kModelCaption, {25, h - 38, 225, h - 12});
    place(kWebsiteButton, {w / 2 - 400, h - 38, w / 2 + 400, h - 12});
    place(kCloseButton, {w - 50, 10, w - 20, 40});
    place(kMinimizeButton, {w - 82, 10, w - 52, 40});
    place(kSettingsButton, {w - 114, 10, w - 84, 40});
    place(kBattery, {w - 130, 50, w - 35, 80});
    // Wider than the 100 pixels of the original layout, so that "Przewodowo" and its kind fit.
    place(kConnectionCaption, {25, 11, 185, 38});
    place(kProfileButton, {w - 170, h - 38, w - 20, h - 12});
    place(kTabStripBackground, {1, 50, 201, h - 50});
    place(kTabControl, {1, 120, 191, 480});
    PlaceMousePicture();

    place(kDeviceListPage, {20, 80, w - 20, h - 50});
    for (int id : {kButtonPage, kDpiPage, kMacroPage, kLightingPage, kDeviceSettingsPage}) {
        place(id, {200, 80, w - 20, h - 50});
    }
    place(kButtonSubPage, {230 + scaled(250), 80 + scaled(50), 230 + scaled(250) + 600, h - 50});
    place(kSettingsPage, {1, 50, w - 1, h - 40});

    place(kDeviceList, {200, 200, w - 200, h - 100});
    const Rect noDevice{(w - scaled(500)) / 2, scaled(200), (w - scaled(500)) / 2 + scaled(500),
                        scaled(200) + scaled(80)};
    place(kNoDevicePicture, noDevice);
    place(kNoDeviceText, noDevice);
    // Wider than the no-device text and under it: the command in it is long and must not be cut.
    place(kPermissionHint, {(w - scaled(900)) / 2, noDevice.bottom + scaled(16),
                            (w - scaled(900)) / 2 + scaled(900), noDevice.bottom + scaled(136)});
    // The paging buttons sit under the list, side by side in the middle.
    place(kPreviousButton, {w / 2 - 44, h - 94, w / 2 - 4, h - 54});
    place(kNextButton, {w / 2 + 4, h - 94, w / 2 + 44, h - 54});
}

void DeviceMainDlg::PlaceMousePicture() {
    auto* picture = GetControlAs<MPicture>(kMousePicture);
    if (picture == nullptr) {
        return;
    }
    // Right-aligned 150 pixels from the right edge, at the picture's own size.
    const int right = GetClientRect().Width() - 150;
    picture->SetRect(
        {right - picture->GetPictureWidth(), 135, right, 135 + picture->GetPictureHeight()});
}

void DeviceMainDlg::SetFontNames(const std::u16string& titleFont, const std::u16string& bodyFont) {
    titleFont_ = titleFont;
    bodyFont_ = bodyFont;
}

void DeviceMainDlg::ApplyTexts() {
    ApplyRowTexts(*this, nullptr, kFrameControls);
    ApplyRowTexts(*this, Container(kDeviceListPage), kDeviceListControls);
    if (auto* title = GetControlAs<MControlFont>(kTitle)) {
        title->SetFont(titleFont_);
    }
    int caption = 0;
    std::u16string profile;
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        caption = connectionCaptionText_;
        profile = profileName_;
    }
    SetCaptionText(kConnectionCaption, GetText(caption, kTextSection));
    SetCaptionText(kProfileButton, profile.empty() ? GetText(textid::kProfileWord, kTextSection)
                                                   : ProfileCaption(profile));
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        for (const TabItem& item : kTabItems) {
            tabs->SetItemText(tabs->FindItem(item.itemId), GetText(item.textId, kTextSection));
        }
    }
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetDescription(GetText(kDeviceListTextId, kTextSection));
    }
    for (MainPage* page : Pages()) {
        page->ApplyTexts();
    }
    ShowFirmwareVersions();
    ShowKnownSoftwareCheck();
    ApplyPermissionHintText();
}

void DeviceMainDlg::SetCaptionText(int id, const std::u16string& text) {
    if (auto* control = GetControlAs<MControlFont>(id)) {
        control->SetTitle(text);
    }
}

void DeviceMainDlg::ShowControls(std::initializer_list<int> ids, bool visible) {
    for (int id : ids) {
        if (MControl* control = GetControl(id)) {
            control->SetVisible(visible);
        }
    }
}
