#pragma once

#include <cstdint>
#include <string>

#include "ui/shell/MainPage.h"
#include "update/VersionCheck.h"

class MControl;
class PageHost;

// The device settings page (container 55): the firmware versions of the mouse and of the
// receiver with their update buttons, and the factory reset. The version labels are filled after
// each connection and each change of language; the firmware check sets the mouse row's status and
// button. Build, Layout, OnMessage and ApplyTexts run on the user-interface thread; the Show
// functions only set control texts and states, which any thread may do (the worker calls them).
class DeviceSettingsPage : public MainPage {
public:
    static constexpr int kBackground = 192;
    static constexpr int kCaptionBackground = 193;
    static constexpr int kPageCaption = 194;
    // Each row's background picture and its round marker share the row's id.
    static constexpr int kMouseRow = 237;
    static constexpr int kReceiverRow = 238;
    static constexpr int kResetRow = 239;
    static constexpr int kResetMarker = 242;
    static constexpr int kMouseVersion = 243;
    static constexpr int kReceiverVersion = 244;
    static constexpr int kResetCaption = 245;
    static constexpr int kMouseStatus = 246;
    static constexpr int kReceiverStatus = 247;
    static constexpr int kMouseUpdateButton = 248;
    static constexpr int kReceiverUpdateButton = 249;
    static constexpr int kResetButton = 250;

    // The worker command of the mouse row's button: the firmware check.
    static constexpr int kCommandFirmwareCheck = 24;

    explicit DeviceSettingsPage(PageHost& host);

    // The version labels for a connection in `mode` (1: through the receiver) whose first device
    // has `releaseNumber` (negative: none known), the mouse's own firmware version as the
    // receiver read it (`mouseVersion`, hexadecimal digits; empty when unknown). Returns the
    // version text of the cable connection's mouse ("%X" of its release number), else empty.
    std::u16string ShowFirmwareVersions(int mode, int releaseNumber,
                                        const std::u16string& mouseVersion);
    // The mouse's firmware version as the receiver reports it: label 243 and status 246.
    void ShowMouseFirmware(const std::u16string& version);
    // What the firmware check found: a newer version enables the mouse row's button and names it
    // in the status; an older or equal one shows "latest version" and disables the button.
    void ShowFirmwareCheck(const VersionCheckResult& result);

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    MControl* Control(int id) const;
    void SetText(int id, const std::u16string& text);
    void Enable(int id, bool enabled);

    PageHost& host_;
    // The rows' markers (their ids are the rows' own, so a lookup by id finds the backgrounds).
    // Set by Build, user-interface thread.
    MControl* markers_[3] = {};
};
