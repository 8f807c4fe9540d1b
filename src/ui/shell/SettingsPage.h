#pragma once

#include <cstdint>
#include <string>

#include "ui/shell/MainPage.h"
#include "update/VersionCheck.h"

class PageHost;

// The application settings page (container 56): the software version with the update check, the
// factory reset, the interface language, starting with the desktop session (and minimised when
// so started) and what the close button does. Its options live in the application's settings
// key and the desktop's autostart folder, not in the settings database, and are written the
// moment they change.
class SettingsPage : public MainPage {
public:
    static constexpr int kBackground = 272;
    static constexpr int kReturnButton = 273;
    static constexpr int kVersionCaption = 274;
    static constexpr int kUpdateCaption = 275;
    static constexpr int kUpdateButton = 276;
    static constexpr int kResetButton = 277;
    static constexpr int kLanguageLabel = 278;
    static constexpr int kLanguageSelector = 279;
    static constexpr int kStartupLabel = 280;
    static constexpr int kAutorunCheck = 281;
    static constexpr int kMinimizeCheck = 282;
    static constexpr int kJoinLineDown = 283;
    static constexpr int kJoinLineAcross = 284;
    static constexpr int kCloseLabel = 285;
    static constexpr int kCloseHidesRadio = 286;
    static constexpr int kCloseQuitsRadio = 287;
    static constexpr int kLinksCaption = 288;
    static constexpr int kWebsiteLink = 289;
    static constexpr int kFeedbackLink = 290;
    static constexpr int kQaLink = 291;
    // The device settings page's factory reset button, handled here as well.
    static constexpr int kDeviceResetButton = 250;

    // Worker commands the page queues.
    static constexpr int kCommandFactoryReset = 20;
    static constexpr int kCommandSoftwareCheck = 23;

    // The argument the autostart entry passes to the program.
    static constexpr char kAutorunArgument[] = "-autorun";
    static constexpr char16_t kExitModeValue[] = u"exit_mode";
    static constexpr char16_t kAutorunMinimizeValue[] = u"autorun_minimize";

    explicit SettingsPage(PageHost& host);

    // The version caption, "<text 17>: v<version>"; empty when config.xml gives no version.
    static std::u16string VersionCaption(const std::u16string& version);

    // What the software check found: a newer version is named in the update caption and the
    // button stays enabled; an older or equal one shows "latest version" and disables the button.
    // Sets control texts and states only, so the worker may call it.
    void ShowSoftwareCheck(const VersionCheckResult& result);
    // Writes "exit_mode" from the close radio buttons, as a click on them does.
    void StoreExitMode();

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    void LoadOptions();
    void OnAutorunClicked();
    void OnMinimizeClicked();
    void OnExitModeClicked();
    void OnLanguageChosen();
    void FactoryReset();

    PageHost& host_;
};
