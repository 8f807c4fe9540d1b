#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MDialog.h"

class DeviceManager;

// "%s: v%s.%s" filled with `label`, the first and the last two hexadecimal digits of the
// firmware version number (lower case): 0x105 gives "v1.05", 0 gives "v0.0".
std::u16string AboutVersionText(const std::u16string& label, int versionNumber);

// The About box: the logo, the firmware version of the wired mouse and the footer.
class AboutDlg : public MDialog {
public:
    static constexpr int kCloseButton = 30;
    static constexpr int kLogo = 32;
    static constexpr int kVersionText = 33;
    static constexpr int kVersionText2 = 34;
    static constexpr int kFooter = 35;
    static constexpr char16_t kWindowTitle[] = u"About Window";

    // `versionNumber`: the release number of the first opened device connected by cable (0 when
    // there is none).
    explicit AboutDlg(int versionNumber) : versionNumber_(versionNumber) {}

    // MDialog overrides
    bool OnInitDialog() override;
    void InitUI(const Rect& rect) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    int versionNumber_;
};

// The version number the About box shows: the release number of the first opened device whose
// connection mode is 0, else 0.
int AboutVersionNumber(const DeviceManager& devices);

// Runs the About box modally over `owner`; user-interface thread only.
int ShowAboutDialog(MWindow* owner, int versionNumber);
