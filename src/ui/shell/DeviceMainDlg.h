#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/WorkerView.h"
#include "i18n/LanguageTarget.h"
#include "i18n/TextIds.h"
#include "keys/KeyCapture.h"
#include "keys/KeyDecoder.h"
#include "platform/KeyboardSource.h"
#include "ui/shell/MainDispatch.h"
#include "ui/shell/MainWindowEnvironment.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/SaveWaitDlg.h"
#include "ui/toolkit/MDialog.h"

class ButtonPage;
class DPIMsgDlg;
class DeviceSettingsPage;
class DeviceWorker;
class DpiPage;
class HotPlugWatcher;
class LightingPage;
class MacroPage;
class MainPage;
class ModelLoader;
class PerformancePage;
class SettingsPage;
class TrayIcon;
class UpdateProcessDlg;
class UpdateTipDlg;

// The program's main window: the frame (title bar buttons, tab strip, connection caption, profile
// button, battery), the device list, the page containers with their pages, the tray icon, and the
// device worker with its command queue. It switches between three views (the device list, a
// device page, the settings page), routes every control notification through one dispatch table
// to the frame or the page that owns the control, carries out the worker's page changes
// (WorkerView) and ends the program.
//
// Threads: the window, its pages and the tray belong to the user-interface thread. The device
// worker calls the WorkerView overrides on its own thread; they change controls (safe from any
// thread) and the fields under `viewMutex_`, and hand anything that needs the user-interface
// thread over to it.
class DeviceMainDlg : public MDialog,
                      public WorkerView,
                      public LanguageTarget,
                      private PageHost,
                      private keys::KeyCapture {
public:
    // The font the window title is created with; a change of language gives it the title font.
    static constexpr char16_t kTitleFont[] = u"黑体";
    static constexpr int kWorkerStopMs = 1000;

    explicit DeviceMainDlg(MainWindowEnvironment environment);
    ~DeviceMainDlg() override;

    // Creates the window (titled after the application, 1300 x 788) and centres it; the
    // initialisation reads the device list, adds the tray icon and starts the worker.
    bool CreateMainWindow();
    // Runs the window's loop, shown or (`hidden`) reachable from the tray only; a desktop without
    // a tray gets the window minimised instead. Returns when the loop ends.
    int RunMainLoop(bool hidden);

    // Stops the worker (waiting up to a second), removes the tray icon, destroys the popups and
    // the window.
    void CloseDialog();
    // Removes the tray icon and ends the process with exit code 0 at once.
    void Quit();
    // The close button: hides to the tray when "exit_mode" is 1, else quits.
    void OnCloseButton();
    // Shows the window normally and brings it to the front (tray click, another start).
    void ShowFromTray();
    // Hides the window to the tray; minimises it when the desktop has no tray.
    void HideToTray();
    // A HID interface arrived (0x8000) or left (0x8004): the hot-plug rule queues the worker's
    // connect or removal command. Any thread.
    void OnDeviceChange(int event, const std::u16string& interfaceName, const std::string& path);
    // A key given as the Windows virtual-key code it decodes to (the scripted mode's keys): it
    // takes the way of a key of the keyboard. Nothing happens unless a capture listens.
    void OnKeyboardInput(int virtualKey, bool down);
    // The capture's mode and whether a listener takes keys now (for scripts and tests).
    int GetCaptureMode() const { return captureMode_; }
    bool IsCapturingKeys() const { return listener_ != nullptr; }

    // For the scripted mode and the tests.
    DeviceSession& GetSession() { return session_; }
    ModelLoader& GetModelLoader() { return *loader_; }
    const DeviceCatalog& GetCatalog() const { return catalog_; }
    // Waits until the worker's queue is empty and its current command ended.
    bool WaitForWorker(int timeoutMs);
    TrayIcon* GetTray() const { return tray_.get(); }
    // The tab item id the user selected last (1: the device list).
    int GetCurrentTab() const { return currentTab_; }
    int GetOpenedDeviceType() const { return openedDeviceType_; }
    float GetLayoutScale() const { return layoutScale_; }

    // MWindow overrides
    std::intptr_t OnWindowMessage(unsigned message, std::intptr_t wParam,
                                  std::intptr_t lParam) override;
    void OnClose() override;
    void OnTimer(int) override {}
    void OnKeyboardKey(const platform::LinuxKey& key) override;

    // MDialog overrides
    bool OnInitDialog() override;
    void InitUI(const Rect& rect) override;
    void UISize(const Rect& rect) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

    // LanguageTarget overrides
    void SetFontNames(const std::u16string& titleFont, const std::u16string& bodyFont) override;
    void ApplyTexts() override;

    // DeviceView overrides
    void SetDpiRange(int lowest, int highest, std::u16string_view rangeText,
                     std::u16string_view stepText, int sliderPositions,
                     int sliderStartOffset) override;
    void SetBatteryInfo(int level, int state) override;
    void SetDeviceBattery(int deviceType, int state, int level) override;
    void SetMouseFirmwareVersion(const std::u16string& versionText) override;
    void RefreshLightingPage() override;
    void SetReportRateCapability(int capability) override;

    // WorkerView overrides
    void RefreshProfileList() override;
    void RefreshButtonPage() override;
    void RefreshMacroPage() override;
    void RefreshDpiPage() override;
    void RefreshPerformancePage() override;
    void SetConnectionCaption(int textId) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int deviceType, int mode, int linkState) override;
    void SetDeviceVersion(int deviceType, int releaseNumber) override;
    void SetSelectDevice(int deviceType) override;
    int GetSelectDevice() override;
    int GetOnlineDevCount() override;
    void ShowHomeState() override;
    void ShowNoDeviceState() override;
    void ShowDevicePageState() override;
    void ShowControl(int controlId, bool visible) override;
    void ClosePopups() override;
    void StopMacroRecording() override;
    void SelectDpiStageCount(int count) override;
    void SelectDpiStage(int index) override;
    void SetDpiSliderProgress(int dpi) override;
    void ShowDpiIndicator(int dpi) override;
    void SetProfileButtonName(const std::u16string& name) override;
    void SetMousePicture(const std::u16string& imageFile) override;
    void ShowLightTab(bool visible) override;
    void SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                        bool showSensor) override;
    void SetFirmwareUrl(const std::u16string& url) override;
    void SetButtons(const std::vector<DescriptorButton>& buttons,
                    const std::vector<DefaultAssignment>& defaults) override;
    void SetLightZones(const std::array<bool, 6>& zones) override;
    void CheckSoftwareVersion() override;
    void ShowFirmwareVersions() override;
    void CheckFirmwareVersion() override;
    void DownloadInstaller() override;
    void UpdateFirmware() override;
    void CloseFirmwareUpdateDialog() override;

    // The update offer (message 1692): 1 the software, 2 the firmware. Asks whether to update;
    // on yes queues the download and runs its progress dialog modally.
    void OnUpdateAvailable(int type);
    // The versions the checks found (empty until a check had an answer), and the connected
    // mouse's firmware version; any thread.
    std::u16string LatestSoftwareVersion() const;
    std::u16string LatestFirmwareVersion() const;
    std::u16string CurrentFirmwareVersion() const;
    // The firmware dialog while it exists (for scripts and tests); user-interface thread.
    UpdateTipDlg* GetFirmwareDialog() const { return firmwareDialog_.get(); }

protected:
    // MWindow overrides
    void PaintClient(Painter& painter) override;

private:
    // PageHost overrides
    MDialog& Window() override { return *this; }
    MControl* Container(int id) override;
    SettingsStore& Store() override { return *environment_.store; }
    DeviceSession& Session() override { return session_; }
    void QueueCommand(int command) override;
    void ShowSaveWait() override;
    int ShowMessage(int titleText, int messageText, int type) override;
    void ChangeLanguage(int lcid) override;
    std::u16string SoftwareVersion() const override { return catalog_.Software().version; }
    std::filesystem::path Executable() const override { return environment_.executable; }
    ModelOptions Options() const override;
    std::u16string DescriptorPath() const override;
    bool OpenMouseSettings() override;
    int OpenedDeviceType() const override { return openedDeviceType_; }
    std::u16string FirmwareUrl() const override;

    // keys::KeyCapture overrides
    void Listen(int mode, keys::KeyListener* listener) override;
    void StopListening() override;
    keys::KeyListener* CurrentListener() const override { return listener_; }
    int CaptureMode() const override { return captureMode_; }
    // Nobody listens before the first capture, so a key then goes nowhere.
    void FeedWindowKey(const platform::LinuxKey& key) override {
        if (keyboard_) {
            keyboard_->Feed(key);
        }
    }
    // A key of the keyboard while a capture listens: decoded, then given to the listener.
    void OnCapturedKey(const platform::LinuxKey& key);

    // Runs `work` on the user-interface thread: at once there, else posted in call order. The
    // worker's page changes go this way, so that the pages belong to one thread.
    void OnPages(std::function<void()> work);

    // The pages built so far, in building order.
    std::vector<MainPage*> Pages() const;
    // Building and laying out the frame.
    void CreateFrame();
    void CreateTabs();
    void CreateDeviceListPage();
    void LayoutFrame(const Rect& client);
    void PlaceMousePicture();

    // The second read of config.xml: the catalogue, the device list, the identities, the
    // software section; then hot-plug.
    void LoadDeviceList();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void StartWorker();
    void StopWorker();

    // Frame notifications.
    std::intptr_t OnFrameMessage(int id, int code, std::intptr_t wParam);
    void OnTabSwitch(int index);
    void ShowSettingsPage();
    void LeaveSettingsPage();
    void OpenSelectedDevice();
    void PageDeviceList(int id);
    void OpenLink(const std::u16string& url);
    MainPage* PageFor(MainRoute route);

    // The profile button's list, and the profile files it asks for (message 1705).
    void OpenProfiles();
    void ImportProfileFile();
    void ExportProfileFile(int profile);

    // Window messages.
    void OnTrayEvent(int mouseMessage);
    void ShowAbout();
    void ClosePopupsNow();

    // The updates (DeviceMainUpdate.cpp).
    void OnInstallerFailed();
    // The software check's last finding on the settings page again (after a change of language).
    void ShowKnownSoftwareCheck();
    void CloseUpdateDialogs();
    // The download's progress as message 1694, each value once (worker thread).
    void PostDownloadProgress(int percent);
    // A step of the firmware update on its dialog, kept for a dialog made after it (any thread).
    void ShowFirmwareStep(int percent, int textId);

    // The no-device view's hint for a mouse that the last scan found but was not allowed to open:
    // shown with the command that gives access while one is denied, else hidden (worker thread
    // and user-interface thread).
    void ShowPermissionHint(bool noDeviceView);
    // Its text in the current language, for the node kept by ShowPermissionHint.
    void ApplyPermissionHintText();

    void EndProcess(int exitCode);
    void SetCaptionText(int id, const std::u16string& text);
    void ShowControls(std::initializer_list<int> ids, bool visible);

    MainWindowEnvironment environment_;
    DeviceCatalog catalog_;  // filled at initialisation, then only read
    DeviceSession session_;  // has its own locks
    std::unique_ptr<ModelLoader> loader_;
    // What the worker and the loader report to: this window, or the environment's view before it.
    WorkerView* workerView_ = this;
    std::unique_ptr<ButtonPage> buttonPage_;
    std::unique_ptr<DpiPage> dpiPage_;
    std::unique_ptr<PerformancePage> performancePage_;
    std::unique_ptr<LightingPage> lightingPage_;
    std::unique_ptr<MacroPage> macroPage_;
    std::unique_ptr<DeviceSettingsPage> deviceSettingsPage_;
    std::unique_ptr<SettingsPage> settingsPage_;
    std::unique_ptr<DPIMsgDlg> indicator_;  // user-interface thread only
    std::unique_ptr<TrayIcon> tray_;
    SaveWaitPopup saveWait_;
    std::unique_ptr<HotPlugWatcher> hotPlug_;

    // User-interface thread only.
    int currentTab_ = 1;
    int openedDeviceType_ = 0;
    float layoutScale_ = 1.0f;
    std::u16string titleFont_ = u"Open Sans Semibold";
    std::u16string bodyFont_ = u"Open Sans Semibold";
    bool built_ = false;
    bool painted_ = false;
    // The key capture.
    std::unique_ptr<platform::KeyboardSource> keyboard_;  // made by the first Listen
    keys::KeyDecoder decoder_;
    keys::KeyListener* listener_ = nullptr;
    int captureMode_ = 0;

    // Set by the worker (and the model loading), read by the pages and ApplyTexts.
    mutable std::mutex viewMutex_;
    int connectionCaptionText_ = textid::kOffline;  // guarded by viewMutex_
    std::u16string profileName_;                    // guarded by viewMutex_
    bool showDpiTips_ = false;                      // guarded by viewMutex_
    bool showSaveTips_ = false;                     // guarded by viewMutex_
    bool showLod_ = false;                          // guarded by viewMutex_
    bool showSensor_ = false;                       // guarded by viewMutex_
    std::u16string firmwareUrl_;                    // guarded by viewMutex_
    std::u16string latestSoftware_;                 // guarded by viewMutex_
    std::u16string latestFirmware_;                 // guarded by viewMutex_
    std::u16string currentFirmware_;                // guarded by viewMutex_
    bool deniedMouse_ = false;                      // guarded by viewMutex_; the hint shows

    // The update dialogs. The installer's belongs to the user-interface thread; the firmware
    // dialog is made and destroyed there, and the worker shows the update's steps on it.
    std::unique_ptr<UpdateProcessDlg> installerDialog_;  // user-interface thread only
    bool installerFailed_ = false;                       // user-interface thread only
    mutable std::mutex firmwareDialogMutex_;
    std::unique_ptr<UpdateTipDlg> firmwareDialog_;  // guarded by firmwareDialogMutex_
    int firmwareStepPercent_ = -1;                  // guarded by firmwareDialogMutex_; -1: none
    int firmwareStepText_ = 0;                      // guarded by firmwareDialogMutex_
    int lastDownloadProgress_ = 0;                  // device worker only

    // Last: it runs on its own thread against everything above, so it goes first.
    std::unique_ptr<DeviceWorker> worker_;
};
