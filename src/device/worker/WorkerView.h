#pragma once

#include <array>
#include <string>
#include <vector>

#include "device/catalogue/DefaultAssignment.h"
#include "device/catalogue/DescriptorButton.h"
#include "device/protocol/DeviceView.h"

// What the device worker and the model loading change on the main window: page refreshes, the
// connection caption, the device list, the page states, the DPI page's reaction to the mouse's
// DPI button, and the effects of a model's descriptor. The main window implements it over its
// controls; the command-line tool and the tests implement it too. Called on the worker's thread
// (and on the user-interface thread when the user opens a model), so an implementation guards
// what it shares.
class WorkerView : public DeviceView {
public:
    // Frame controls the worker shows and hides.
    static constexpr int kConnectionCaption = 44;
    static constexpr int kProfileButton = 45;
    static constexpr int kTabStripBackground = 47;
    static constexpr int kTabControl = 48;
    static constexpr int kDeviceListContainer = 49;
    static constexpr int kDeviceList = 57;
    static constexpr int kNoDevicePicture = 58;
    static constexpr int kNoDeviceText = 59;
    static constexpr int kMousePicture = 31;

    // Page refreshes (reload from the store). RefreshLightingPage comes from DeviceView.
    virtual void RefreshProfileList() = 0;
    virtual void RefreshButtonPage() = 0;
    virtual void RefreshMacroPage() = 0;
    virtual void RefreshDpiPage() = 0;
    virtual void RefreshPerformancePage() = 0;

    // The connection caption (control 44) set to a language text.
    virtual void SetConnectionCaption(int textId) = 0;

    // The device list (CDeviceList).
    virtual void SetAllDeviceState(int state) = 0;
    virtual void SetDeviceState(int deviceType, int mode, int linkState) = 0;
    virtual void SetDeviceVersion(int deviceType, int releaseNumber) = 0;
    virtual void SetSelectDevice(int deviceType) = 0;
    virtual int GetSelectDevice() = 0;
    virtual int GetOnlineDevCount() = 0;

    // Page states: home (tab 0, tab strip and mouse picture hidden, device-list container
    // shown), no device (home with caption text 50, the no-device picture and text shown, the
    // list hidden), device page (tab 1, tab strip, caption and profile button shown).
    virtual void ShowHomeState() = 0;
    virtual void ShowNoDeviceState() = 0;
    virtual void ShowDevicePageState() = 0;
    // Shows or hides one frame control (ids above).
    virtual void ShowControl(int controlId, bool visible) = 0;
    // Closes the transient popups, stops a macro recording, takes the focus from the button list.
    virtual void ClosePopups() = 0;
    // Stops a macro recording in progress.
    virtual void StopMacroRecording() = 0;

    // The DPI page after the mouse changed its stages: the stage-count combo box selects `count`
    // (and the page adjusts its stages), the DPI control selects stage `index`, the slider moves
    // to `dpi`, and the DPI indicator shows `dpi`.
    virtual void SelectDpiStageCount(int count) = 0;
    virtual void SelectDpiStage(int index) = 0;
    virtual void SetDpiSliderProgress(int dpi) = 0;
    virtual void ShowDpiIndicator(int dpi) = 0;

    // The active profile's stored name on the profile button (control 45).
    virtual void SetProfileButtonName(const std::u16string& name) = 0;

    // A model's descriptor: the mouse picture (a file name in the skin's "device/" folder), the
    // lighting tab, the four option flags, the firmware address, the buttons with their default
    // functions, the lighting zones (1 to 6 at index 0 to 5).
    virtual void SetMousePicture(const std::u16string& imageFile) = 0;
    virtual void ShowLightTab(bool visible) = 0;
    virtual void SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                                bool showSensor) = 0;
    virtual void SetFirmwareUrl(const std::u16string& url) = 0;
    virtual void SetButtons(const std::vector<DescriptorButton>& buttons,
                            const std::vector<DefaultAssignment>& defaults) = 0;
    virtual void SetLightZones(const std::array<bool, 6>& zones) = 0;

    // Work of later parts: the software and firmware version checks, the installer download and
    // launch, the firmware download and update (which ends by closing the update dialog).
    virtual void CheckSoftwareVersion() {}
    // The firmware versions of the connection the worker found (after a connection or removal).
    virtual void ShowFirmwareVersions() {}
    virtual void CheckFirmwareVersion() {}
    virtual void DownloadInstaller() {}
    virtual void UpdateFirmware() {}
    // Ends the firmware update dialog's modal loop with its OK action, if the dialog exists.
    virtual void CloseFirmwareUpdateDialog() {}
};
