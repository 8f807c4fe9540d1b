// DeviceMainDlg: what the device worker and the model loading change on the window. These run on
// the worker's thread (and on the user-interface thread when the user opens a model); control
// operations are safe from there, and shared fields take viewMutex_.

#include "device/transport/DeviceManager.h"
#include "device/transport/NodeAccess.h"
#include "i18n/TextIds.h"
#include "i18n/TextLookup.h"
#include "keys/ButtonPage.h"
#include "keys/MacroPage.h"
#include "text/Format.h"
#include "text/Utf.h"
#include "ui/pages/DpiPage.h"
#include "ui/pages/LightingPage.h"
#include "ui/pages/PerformancePage.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/toolkit/controls/BatteryCtrl.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CDeviceState.h"
#include "ui/toolkit/controls/MTabCtrl.h"

using namespace mainwnd;

namespace {

// "A mouse is connected, but this user may not open it ...: %s", the command in place of %s.
constexpr int kPermissionHintText = 645;

}  // namespace

// Pages of the other settings refresh themselves here as they are built. The pages belong to the
// user-interface thread: the worker's refreshes are handed over to it, in the order they come.
void DeviceMainDlg::RefreshProfileList() {
}

void DeviceMainDlg::RefreshButtonPage() {
    OnPages([this] { buttonPage_->RefreshButtonPage(); });
}

void DeviceMainDlg::RefreshMacroPage() {
    OnPages([this] { macroPage_->LoadMacroList(); });
}

void DeviceMainDlg::RefreshDpiPage() {
    OnPages([this] { dpiPage_->Load(); });
}

void DeviceMainDlg::RefreshPerformancePage() {
    // One load: debounce and report rate, the DPI area, then the other options.
    OnPages([this] {
        performancePage_->LoadFirstHalf();
        dpiPage_->Load();
        performancePage_->LoadSecondHalf();
    });
}

void DeviceMainDlg::RefreshLightingPage() {
    OnPages([this] { lightingPage_->Refresh(); });
}

void DeviceMainDlg::SetDpiRange(int, int, std::u16string_view rangeText,
                                std::u16string_view stepText, int sliderPositions,
                                int sliderStartOffset) {
    OnPages([this, range = std::u16string(rangeText), step = std::u16string(stepText),
             sliderPositions, sliderStartOffset] {
        dpiPage_->SetSliderRange(range, step, sliderPositions, sliderStartOffset);
    });
}

void DeviceMainDlg::SetReportRateCapability(int) {
    // The session state keeps it; the performance page reads it when it loads.
}

void DeviceMainDlg::SelectDpiStageCount(int count) {
    OnPages([this, count] { dpiPage_->ShowReportedCount(count); });
}

void DeviceMainDlg::SelectDpiStage(int index) {
    OnPages([this, index] { dpiPage_->ShowReportedStage(index); });
}

void DeviceMainDlg::SetDpiSliderProgress(int dpi) {
    OnPages([this, dpi] { dpiPage_->ShowReportedDpi(dpi); });
}

void DeviceMainDlg::StopMacroRecording() {
    OnPages([this] { macroPage_->StopRecording(); });
}

void DeviceMainDlg::SetButtons(const std::vector<DescriptorButton>& buttons,
                               const std::vector<DefaultAssignment>&) {
    OnPages([this, buttons] { buttonPage_->SetButtons(buttons); });
}

void DeviceMainDlg::SetLightZones(const std::array<bool, 6>& zones) {
    OnPages([this, zones] { lightingPage_->SetLightZones(zones); });
}

void DeviceMainDlg::SetBatteryInfo(int level, int state) {
    if (auto* battery = GetControlAs<BatteryCtrl>(kBattery)) {
        battery->SetBatteryInfo(level, state);
    }
}

void DeviceMainDlg::SetDeviceBattery(int deviceType, int state, int level) {
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetDeviceBattery(deviceType, state, level);
    }
}

void DeviceMainDlg::SetConnectionCaption(int textId) {
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        connectionCaptionText_ = textId;
    }
    if (auto* caption = GetControlAs<CDeviceState>(kConnectionCaption)) {
        caption->SetTitle(GetText(textId, kTextSection));
        caption->SetConnected(textId != textid::kOffline);
    }
}

void DeviceMainDlg::SetAllDeviceState(int state) {
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetAllDeviceState(state);
    }
}

void DeviceMainDlg::SetDeviceState(int deviceType, int mode, int linkState) {
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetDeviceState(deviceType, mode, linkState);
    }
}

void DeviceMainDlg::SetDeviceVersion(int deviceType, int releaseNumber) {
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetDeviceVersion(deviceType, releaseNumber);
    }
}

void DeviceMainDlg::SetSelectDevice(int deviceType) {
    if (auto* list = GetControlAs<CDeviceList>(kDeviceList)) {
        list->SetSelectDevice(deviceType);
    }
}

int DeviceMainDlg::GetSelectDevice() {
    auto* list = GetControlAs<CDeviceList>(kDeviceList);
    return list != nullptr ? list->GetSelectDevice() : -1;
}

int DeviceMainDlg::GetOnlineDevCount() {
    auto* list = GetControlAs<CDeviceList>(kDeviceList);
    return list != nullptr ? list->GetOnlineDevCount() : 0;
}

void DeviceMainDlg::ShowHomeState() {
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        tabs->SetCurSel(kHomeTabIndex);
    }
    ShowControls({kTabStripBackground, kTabControl, kMousePicture}, false);
    ShowControls({kDeviceListPage}, true);
    ShowPermissionHint(false);
}

void DeviceMainDlg::ShowNoDeviceState() {
    ShowHomeState();
    SetConnectionCaption(textid::kOffline);
    ShowControls({kNoDevicePicture, kNoDeviceText}, true);
    ShowControls({kDeviceList}, false);
    ShowPermissionHint(true);
}

void DeviceMainDlg::ShowPermissionHint(bool noDeviceView) {
    // The worker shows the no-device view right after its scan, so the manager's list is that
    // scan's; a later scan that opens the mouse, or finds it gone, takes the hint away again.
    const bool denied = noDeviceView && environment_.devices != nullptr &&
                        !environment_.devices->CollectDenied().empty();
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        deniedMouse_ = denied;
    }
    ApplyPermissionHintText();
    ShowControls({kPermissionHint}, denied);
}

void DeviceMainDlg::ApplyPermissionHintText() {
    bool denied = false;
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        denied = deniedMouse_;
    }
    // The command stays as it is in every language: it is typed, not read.
    SetCaptionText(kPermissionHint,
                   denied ? Format(GetText(kPermissionHintText, kTextSection),
                                   FromUtf8(NodeAccessCommand(environment_.exeFolder)))
                          : std::u16string());
}

void DeviceMainDlg::ShowDevicePageState() {
    ShowPermissionHint(false);
    ShowControls({kNoDevicePicture, kNoDeviceText}, false);
    ShowControls({kDeviceList}, true);
    ShowControls({kDeviceListPage}, false);
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        tabs->SetCurSel(kButtonTabIndex);
    }
    ShowControls({kTabStripBackground, kTabControl, kConnectionCaption, kProfileButton}, true);
}

void DeviceMainDlg::ShowControl(int controlId, bool visible) {
    ShowControls({controlId}, visible);
}

void DeviceMainDlg::ClosePopups() {
    // The popups belong to the user-interface thread.
    PostMessage(kMessageClosePopups);
}

void DeviceMainDlg::SetProfileButtonName(const std::u16string& name) {
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        profileName_ = name;
    }
    // The stored name as it is; the display form in the current language comes with the next
    // change of language.
    SetCaptionText(kProfileButton, name);
}

void DeviceMainDlg::SetMousePicture(const std::u16string& imageFile) {
    const std::u16string file = imageFile.empty() ? std::u16string() : u"device/" + imageFile;
    if (MControl* picture = GetControl(kMousePicture)) {
        picture->SetImage(file, 1);
        PlaceMousePicture();
    }
    OnPages([this, file] { buttonPage_->SetMousePicture(file); });
}

void DeviceMainDlg::ShowLightTab(bool visible) {
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        tabs->ShowItem(tabs->FindItem(kTabLighting), visible);
    }
}

void DeviceMainDlg::SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                                   bool showSensor) {
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        showDpiTips_ = showDpiTips;
        showSaveTips_ = showSaveTips;
        showLod_ = showLod;
        showSensor_ = showSensor;
    }
    OnPages([this] { performancePage_->ApplyModelOptions(); });
}

void DeviceMainDlg::SetFirmwareUrl(const std::u16string& url) {
    std::lock_guard<std::mutex> lock(viewMutex_);
    firmwareUrl_ = url;
}
