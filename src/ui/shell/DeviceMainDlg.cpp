#include "ui/shell/DeviceMainDlg.h"

#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/ListeningHidBackend.h"
#include "device/transport/Trace.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/HotPlugWatcher.h"
#include "device/worker/ModelLoader.h"
#include "i18n/ChangeLanguage.h"
#include "i18n/TextIds.h"
#include "i18n/TextLookup.h"
#include "keys/ButtonPage.h"
#include "keys/KeyPageIds.h"
#include "keys/MacroPage.h"
#include "platform/LinuxKeyMap.h"
#include "profiles/ProfileDlg.h"
#include "profiles/ProfileFiles.h"
#include "text/Utf.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/DpiPage.h"
#include "ui/pages/LightingPage.h"
#include "ui/pages/PerformancePage.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MRender.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TrayIcon.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "update/DeviceSettingsPage.h"
#include "update/UpdateProcessDlg.h"
#include "update/UpdateTipDlg.h"

using namespace mainwnd;

namespace {

// "DeviceType" while no model has been opened in this run.
constexpr int kNoModelOpened = 101;
// The worker's idle wait without a device: commands and the stop wake it at once, so it needs no
// periodic look of its own.
constexpr int kWorkerIdleWaitMs = 3600 * 1000;
constexpr int kAnimationTickMs = 10;

// The tray menu's only item.
constexpr int kTrayMenuQuitText = 12;

// Worker commands the frame queues.
constexpr int kCommandRescanConnect = 1;
constexpr int kCommandOpenDongleModel = 4;
constexpr int kCommandSoftwareCheck = 23;

// Popups the window closes or hides when the mouse goes away, by window title.
// The colour picker is modal: hidden, its loop would hold the window with nothing to answer it,
// so it is closed (cancelled) like the other dialogs.
constexpr const char16_t* kPopupsToClose[] = {u"CloseWindowTipDlg", u"CustomKeyDlg", u"WaitDlg",
                                              u"PaletteDlg"};
constexpr const char16_t* kPopupsToHide[] = {u"KeyboardTip Window", u"ComboWnd"};

}  // namespace

DeviceMainDlg::DeviceMainDlg(MainWindowEnvironment environment)
    : environment_(std::move(environment)) {
    if (environment_.workerView) {
        workerView_ = &environment_.workerView(*this, session_);
    }
    loader_ =
        std::make_unique<ModelLoader>(catalog_, *environment_.store, session_.state, session_.queue,
                                      *workerView_, environment_.exeFolder, environment_.dataFolder,
                                      [](int textId) { return GetText(textId, kTextSection); });
}

DeviceMainDlg::~DeviceMainDlg() {
    // The keyboard's thread hands keys to this window: it stops first.
    if (keyboard_) {
        keyboard_->StopListening();
    }
    StopWorker();
    worker_.reset();
    hotPlug_.reset();
    RemoveTrayIcon();
    saveWait_.Close();
}

bool DeviceMainDlg::CreateMainWindow() {
    if (!Create(nullptr, Manager::GetDeviceName(), kStylePopup | kStyleMinimize, 0,
                {0, 0, kWidth, kHeight})) {
        return false;
    }
    CenterWindow();
    return true;
}

int DeviceMainDlg::RunMainLoop(bool hidden) {
    if (hidden && (!tray_ || !tray_->IsAdded())) {
        // Nothing would bring a hidden window back: start minimised instead.
        ShowWindow(true);
        Minimize();
        return ShowModal(false);
    }
    return ShowModal(!hidden);
}

bool DeviceMainDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    AddTrayIcon();
    indicator_ = std::make_unique<DPIMsgDlg>();
    if (!indicator_->CreateIndicator(this)) {
        indicator_.reset();
    }
    WriteDeviceTypeSetting(kNoModelOpened);
    LoadDeviceList();
    session_.queue.Queue(kCommandRescanConnect);
    session_.queue.Queue(kCommandSoftwareCheck);
    StartWorker();
    SetMTimer(kAnimationTickMs);
    return true;
}

void DeviceMainDlg::PaintClient(Painter& painter) {
    MDialog::PaintClient(painter);
    if (!painted_) {
        painted_ = true;
        // The start-up benchmark measures up to this line (KESTREL_TRACE).
        Trace(u"main window painted");
    }
}

void DeviceMainDlg::LoadDeviceList() {
    DeviceManager& manager = *environment_.devices;
    auto* list = GetControlAs<CDeviceList>(kDeviceList);
    if (list != nullptr) {
        list->ClearList();
    }
    manager.ClearIdentities();
    catalog_.LoadDeviceList(environment_.exeFolder, FromUtf8(SkinFolder().string()));
    for (const DeviceEntry& model : catalog_.Models()) {
        if (list != nullptr) {
            list->AddDevice(model.name, model.deviceType, model.picturePath);
        }
    }
    for (const DeviceIdentity& identity : catalog_.Identities()) {
        manager.RegisterIdentity(identity);
    }
    // The model caption names the first model until one is opened.
    if (!catalog_.Models().empty()) {
        SetCaptionText(kModelCaption, catalog_.Models().front().name);
    }
    if (settingsPage_) {
        settingsPage_->ApplyTexts();
    }
    if (environment_.backend != nullptr) {
        hotPlug_ = std::make_unique<HotPlugWatcher>(catalog_, session_, *environment_.backend);
        if (environment_.watchUdev) {
            hotPlug_->Start();
        }
    }
}

void DeviceMainDlg::AddTrayIcon() {
    tray_ = UiBackend::Current().CreateTrayIcon();
    const IconRef icon = MRender::LoadIconFromFile(SkinFolder() / "Cockpit.ico");
    if (icon.IsValid()) {
        SetIcon(icon.file);
    }
    if (tray_) {
        tray_->Add(*this, kTrayIconId, kMessageTray, icon, Manager::GetDeviceName());
    }
}

void DeviceMainDlg::RemoveTrayIcon() {
    if (tray_) {
        tray_->Remove();
    }
}

void DeviceMainDlg::StartWorker() {
    if (worker_) {
        return;
    }
    worker_ = std::make_unique<DeviceWorker>(*environment_.devices, *environment_.store, session_,
                                             *workerView_, catalog_, *loader_);
    worker_->SetIdleWait(kWorkerIdleWaitMs);
    if (environment_.listening != nullptr) {
        // A report from a device wakes the worker as a command does.
        environment_.listening->SetInputCallback([this] { session_.queue.Interrupt(); });
        worker_->SetInputWakes(true);
    }
    worker_->Start();
}

void DeviceMainDlg::StopWorker() {
    if (worker_ && worker_->IsRunning()) {
        worker_->Stop(kWorkerStopMs);
    }
    if (environment_.listening != nullptr) {
        environment_.listening->SetInputCallback({});
    }
}

bool DeviceMainDlg::WaitForWorker(int timeoutMs) {
    return worker_ ? worker_->WaitUntilIdle(timeoutMs) : true;
}

void DeviceMainDlg::CloseDialog() {
    StopWorker();
    if (hotPlug_) {
        hotPlug_->Stop();
    }
    RemoveTrayIcon();
    if (indicator_) {
        indicator_->DestroyWindow();
    }
    saveWait_.Close();
    CloseUpdateDialogs();
    DestroyWindow();
}

void DeviceMainDlg::Quit() {
    RemoveTrayIcon();
    EndProcess(0);
}

void DeviceMainDlg::EndProcess(int exitCode) {
    if (environment_.endProcess) {
        environment_.endProcess(exitCode);
        return;
    }
    CloseDialog();
}

void DeviceMainDlg::OnCloseButton() {
    if (ReadAppRegValue(SettingsPage::kExitModeValue) == 1) {
        HideToTray();
    } else {
        Quit();
    }
}

void DeviceMainDlg::OnClose() {
    // The desktop's own close (a keyboard shortcut, the task bar) does what the close button does.
    OnCloseButton();
}

void DeviceMainDlg::HideToTray() {
    if (tray_ && tray_->IsAdded()) {
        ShowWindow(false);
    } else {
        Minimize();
    }
}

void DeviceMainDlg::ShowFromTray() {
    ShowWindow(true);
    BringToFront();
}

void DeviceMainDlg::OnDeviceChange(int event, const std::u16string& interfaceName,
                                   const std::string& path) {
    if (hotPlug_) {
        hotPlug_->OnDeviceChange(event, interfaceName, path);
    }
}

// The key capture ----------------------------------------------------------------------------

void DeviceMainDlg::Listen(int mode, keys::KeyListener* listener) {
    // Chosen when first needed, so that the start-up asks the display nothing for it.
    if (!keyboard_) {
        keyboard_ = environment_.desktopKeyboard ? platform::CreateKeyboardSource()
                                                 : platform::CreateWindowKeyboardSource();
    }
    keyboard_->StopListening();
    captureMode_ = mode;
    listener_ = listener;
    // The X source hands keys over from its own thread; they are decoded here, in order.
    auto sink = [this](const platform::LinuxKey& key) {
        OnPages([this, key] { OnCapturedKey(key); });
    };
    if (!keyboard_->Listen(sink) && !keyboard_->Listen(sink)) {
        // The listener stays: it simply never hears a key from the keyboard.
        Trace(u"keyboard: cannot listen to the keyboard");
    }
}

void DeviceMainDlg::StopListening() {
    if (keyboard_) {
        keyboard_->StopListening();
    }
    listener_ = nullptr;
}

void DeviceMainDlg::OnCapturedKey(const platform::LinuxKey& key) {
    platform::RawKeyReport report;
    if (listener_ == nullptr || !platform::RawKeyFromLinux(key.code, key.up, key.numLock, report)) {
        return;
    }
    listener_->OnKeyEvent(decoder_.DecodeKeyboardInput(report));
}

void DeviceMainDlg::OnKeyboardKey(const platform::LinuxKey& key) {
    FeedWindowKey(key);
}

void DeviceMainDlg::OnKeyboardInput(int virtualKey, bool down) {
    const int code = platform::LinuxKeyFromVirtualKey(virtualKey);
    if (code != 0) {
        OnCapturedKey({code, !down, true});
    }
}

void DeviceMainDlg::QueueCommand(int command) {
    session_.queue.Queue(command);
}

void DeviceMainDlg::ShowSaveWait() {
    bool saveTips = false;
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        saveTips = showSaveTips_;
    }
    saveWait_.ShowSaveWait(this, saveTips);
}

int DeviceMainDlg::ShowMessage(int titleText, int messageText, int type) {
    return ShowMessageBox(this, GetText(messageText, kTextSection),
                          GetText(titleText, kTextSection), type);
}

ModelOptions DeviceMainDlg::Options() const {
    std::lock_guard<std::mutex> lock(viewMutex_);
    return {showDpiTips_, showSaveTips_, showLod_, showSensor_};
}

std::u16string DeviceMainDlg::DescriptorPath() const {
    return loader_->DescriptorPath();
}

void DeviceMainDlg::ShowDpiIndicator(int dpi) {
    const int highest = session_.state.Sensor().highest;
    OnPages([this, dpi, highest] {
        if (indicator_) {
            indicator_->ShowDpi(dpi, highest);
        }
    });
}

bool DeviceMainDlg::OpenMouseSettings() {
    return environment_.openMouseSettings && environment_.openMouseSettings();
}

void DeviceMainDlg::OnPages(std::function<void()> work) {
    OnUiThread([work = std::move(work)](MWindow&) { work(); });
}

void DeviceMainDlg::ChangeLanguage(int lcid) {
    ::ChangeLanguage(lcid, *this);
}

// Notifications -------------------------------------------------------------------------------

std::intptr_t DeviceMainDlg::OnMessage(int id, int code, std::intptr_t wParam,
                                       std::intptr_t lParam) {
    const MainDispatchEntry* entry = FindMainRoute(id, code);
    if (entry == nullptr) {
        return 0;
    }
    switch (entry->route) {
        case MainRoute::kFrame:
            return OnFrameMessage(id, code, wParam);
        case MainRoute::kNothing:
            return 1;
        default:
            break;
    }
    MainPage* page = PageFor(entry->route);
    return page != nullptr ? page->OnMessage(id, code, wParam, lParam) : 0;
}

MainPage* DeviceMainDlg::PageFor(MainRoute route) {
    switch (route) {
        case MainRoute::kSettings:
            return settingsPage_.get();
        case MainRoute::kDpi:
            return dpiPage_.get();
        case MainRoute::kPerformance:
            return performancePage_.get();
        case MainRoute::kLighting:
            return lightingPage_.get();
        case MainRoute::kButtons:
            return buttonPage_.get();
        case MainRoute::kMacros:
            return macroPage_.get();
        case MainRoute::kDevice:
            return deviceSettingsPage_.get();
        default:
            return nullptr;
    }
}

std::intptr_t DeviceMainDlg::OnFrameMessage(int id, int, std::intptr_t wParam) {
    const SoftwareInfo& software = catalog_.Software();
    switch (id) {
        case kWebsiteButton:
        case SettingsPage::kWebsiteLink:
            OpenLink(software.websiteUrl);
            break;
        case SettingsPage::kFeedbackLink:
            OpenLink(software.feedbackUrl);
            break;
        case SettingsPage::kQaLink:
            OpenLink(software.qaUrl);
            break;
        case kCloseButton:
            OnCloseButton();
            break;
        case kMinimizeButton:
            Minimize();
            break;
        case kSettingsButton:
            ShowSettingsPage();
            break;
        case kProfileButton:
            OpenProfiles();
            break;
        case kTabControl:
            OnTabSwitch(static_cast<int>(wParam));
            break;
        case kDeviceList:
            OpenSelectedDevice();
            break;
        case kPreviousButton:
        case kNextButton:
            PageDeviceList(id);
            break;
        case SettingsPage::kReturnButton:
            LeaveSettingsPage();
            break;
        default:
            break;
    }
    return 0;
}

void DeviceMainDlg::OpenLink(const std::u16string& url) {
    if (!url.empty() && environment_.openUrl) {
        environment_.openUrl(url);
    }
}

void DeviceMainDlg::OnTabSwitch(int index) {
    if (MControl* settings = Container(kSettingsPage);
        settings != nullptr && settings->IsVisible()) {
        settings->SetVisible(false);
        ShowControls({kCloseButton, kMinimizeButton, kSettingsButton}, true);
    }
    auto* tabs = GetControlAs<MTabCtrl>(kTabControl);
    const int itemId = tabs != nullptr ? tabs->GetItemId(index) : -1;
    if (currentTab_ == kTabHome) {
        ShowControls({kMousePicture}, true);
    }
    ShowControls({kBattery}, true);
    if (itemId == kTabHome) {
        ShowControls({kMousePicture, kTabStripBackground, kTabControl, kConnectionCaption,
                      kProfileButton, kBattery},
                     false);
    }
    currentTab_ = itemId;
}

void DeviceMainDlg::ShowSettingsPage() {
    ShowControls({kTabStripBackground, kTabControl, kMousePicture, kBattery, kSettingsButton},
                 false);
    // The page covers everything: the page underneath is hidden until the page is left, which
    // selects a tab (and so shows that tab's page) again.
    ShowControls(
        {kDeviceListPage, kButtonPage, kDpiPage, kMacroPage, kLightingPage, kDeviceSettingsPage},
        false);
    ShowControls({kSettingsPage}, true);
}

void DeviceMainDlg::LeaveSettingsPage() {
    ShowControls({kSettingsPage}, false);
    ShowControls({kSettingsButton}, true);
    auto* tabs = GetControlAs<MTabCtrl>(kTabControl);
    if (session_.state.Connected() && currentTab_ != kTabHome) {
        ShowControls({kTabStripBackground, kTabControl}, true);
        if (tabs != nullptr) {
            tabs->SetCurSel(kButtonTabIndex);
        }
        ShowControls({kMousePicture, kBattery}, true);
    } else {
        if (tabs != nullptr) {
            tabs->SetCurSel(kHomeTabIndex);
        }
        ShowControls({kDeviceListPage}, true);
    }
}

void DeviceMainDlg::OpenSelectedDevice() {
    auto* list = GetControlAs<CDeviceList>(kDeviceList);
    if (list == nullptr) {
        return;
    }
    const int type = list->GetSelectDevice();
    DeviceManager& manager = *environment_.devices;
    if (!manager.HasIdentifiedDevice(type)) {
        ShowMessage(textid::kMouseNotConnected, textid::kNoMouseFound, CUIMessageBox::kTypeOk);
        return;
    }
    if (type != openedDeviceType_) {
        openedDeviceType_ = type;
        manager.SetCurrentDeviceType(type);
        manager.ClearSelection();
        WriteDeviceTypeSetting(type);
        loader_->LoadDeviceModel();
        if (const DeviceEntry* model = catalog_.FindModel(type)) {
            SetCaptionText(kModelCaption, model->name);
        }
    }
    if (manager.ConnectionMode() == 1) {
        SetConnectionCaption(textid::kWireless);
        QueueCommand(kCommandOpenDongleModel);
    } else {
        SetConnectionCaption(textid::kWired);
    }
    ShowControls({kTabStripBackground, kTabControl}, true);
    if (auto* tabs = GetControlAs<MTabCtrl>(kTabControl)) {
        tabs->SetCurSel(kButtonTabIndex);
    }
    // The battery belongs to the device's pages as much as the picture does; without it here the
    // opened mouse's battery would only appear after another tab was chosen.
    ShowControls({kMousePicture, kConnectionCaption, kProfileButton, kBattery}, true);
}

void DeviceMainDlg::PageDeviceList(int id) {
    auto* list = GetControlAs<CDeviceList>(kDeviceList);
    if (list == nullptr) {
        return;
    }
    list->SetSelectIndex(-1);
    if (id == kPreviousButton) {
        list->PrevPage();
    } else {
        list->NextPage();
    }
}

// Profiles ------------------------------------------------------------------------------------

void DeviceMainDlg::OpenProfiles() {
    if (!session_.state.Connected()) {
        ShowMessage(textid::kNotice, textid::kMouseNotConnected, CUIMessageBox::kTypeOk);
        return;
    }
    if (MControl* button = GetControl(kProfileButton)) {
        OpenProfileList(*this, *environment_.store, session_.state.CurrentProfile(),
                        button->GetRect());
    }
}

void DeviceMainDlg::ImportProfileFile() {
    FileDialogRequest request;
    request.filterName = u"MouseKey";
    request.patterns = {u"*.xml"};
    const std::optional<std::filesystem::path> file = ShowFileDialog(this, request);
    if (!file) {
        return;
    }
    std::u16string name;
    std::string error;
    // A file that cannot be read changes nothing and says nothing.
    if (!ImportProfile(*environment_.store, session_.state.CurrentProfile(),
                       loader_->LightEnabled(), *file, name, error)) {
        Trace(u"profile import: " + FromUtf8(file->string() + ": " + error));
        return;
    }
    SetProfileButtonName(name);
    QueueCommand(DeviceWorker::kSendAll);
}

void DeviceMainDlg::ExportProfileFile(int profile) {
    if (profile < 1) {
        return;
    }
    FileDialogRequest request;
    request.save = true;
    request.filterName = u"Profile";
    request.patterns = {u"*.xml"};
    const std::optional<std::filesystem::path> file = ShowFileDialog(this, request);
    if (!file) {
        return;
    }
    ProfileExport what;
    what.keyProfile = profile;
    what.currentProfile = session_.state.CurrentProfile();
    what.hasLighting = loader_->LightEnabled();
    if (auto* button = GetControlAs<MControlFont>(kProfileButton)) {
        what.shownName = button->GetTitle();
    }
    std::string error;
    // A file the user believes saved must not be lost without a word.
    if (!ExportProfile(*environment_.store, what, *file, error)) {
        Trace(u"profile export: " + FromUtf8(file->string() + ": " + error));
        ShowMessage(textid::kExport, textid::kFileNotSaved, CUIMessageBox::kTypeOk);
    }
}

// Window messages -----------------------------------------------------------------------------

std::intptr_t DeviceMainDlg::OnWindowMessage(unsigned message, std::intptr_t wParam,
                                             std::intptr_t lParam) {
    switch (message) {
        case kMessageCommand:
            if (wParam == kCommandQuit) {
                Quit();
            } else if (wParam == kCommandAbout) {
                ShowAbout();
            }
            return 0;
        case kMessageTray:
            OnTrayEvent(static_cast<int>(lParam));
            return 0;
        case kMessageQuit:
            if (lParam == kQuitCode) {
                Quit();
            }
            return 0;
        case kMessageUpdateOffer:
            OnUpdateAvailable(static_cast<int>(wParam));
            return 1;
        case kMessageDownloadProgress:
            if (installerDialog_) {
                installerDialog_->ShowDownloadProgress(static_cast<int>(lParam));
            }
            return 1;
        case kMessageInstallerFailed:
            OnInstallerFailed();
            return 0;
        case kMessageProfile:
            if (wParam == 0 && lParam >= 1) {
                loader_->SwitchProfile(static_cast<int>(lParam));
            } else if (wParam == 1) {
                ImportProfileFile();
            } else if (wParam == 2) {
                ExportProfileFile(static_cast<int>(lParam));
            }
            return 0;
        case kMessageMacroListMenu:
        case kMessageInsertMenu:
        case kMessageEventMenu:
            macroPage_->OnMenuCommand(message, static_cast<int>(wParam));
            return 0;
        case kMessageActivate:
            ShowFromTray();
            return 0;
        case kMessageClosePopups:
            ClosePopupsNow();
            return 0;
        case kMessageReloadTexts:
            ApplyTexts();
            break;
        default:
            break;
    }
    return MDialog::OnWindowMessage(message, wParam, lParam);
}

void DeviceMainDlg::OnTrayEvent(int mouseMessage) {
    switch (mouseMessage) {
        case kTrayLeftDown:
        case kTrayLeftDoubleClick:
            ShowFromTray();
            break;
        case kTrayRightUp:
            if (tray_) {
                tray_->TrackMenu({{kCommandQuit, GetText(kTrayMenuQuitText, kTextSection)}});
            }
            break;
        default:
            break;
    }
}

void DeviceMainDlg::ShowAbout() {
    ShowAboutDialog(this, AboutVersionNumber(*environment_.devices));
}

void DeviceMainDlg::ClosePopupsNow() {
    for (MWindow* window : MWindow::Windows()) {
        if (window == this) {
            continue;
        }
        const std::u16string title = window->GetTitle();
        if (title == CUIMessageBox::kWindowTitle) {
            // A question closed this way is answered "cancel".
            window->PostMessage(kMessageClose, kResultCancel, 0);
            continue;
        }
        for (const char16_t* name : kPopupsToClose) {
            if (title == name) {
                window->PostMessage(kMessageClose, 0, 0);
            }
        }
        for (const char16_t* name : kPopupsToHide) {
            if (title == name) {
                window->ShowWindow(false);
            }
        }
    }
    // Drop-down lists and popup menus ("Menu Window").
    UiBackend::Current().DismissPopups();
    saveWait_.Hide();
    if (macroPage_) {
        macroPage_->StopRecording();
    }
    // The button list gives up the keyboard focus.
    if (GetFocusControl() != nullptr && GetFocusControl()->GetId() == keyids::kButtonList) {
        SetFocusControl(nullptr);
    }
}
