#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MDialog.h"

class MWindow;

// The installer download's progress: a caption with the percentage and a bar. It runs modally
// from the accepted offer until the program ends to hand the installer over, or until the main
// window ends it because the download or the hand-off failed.
class UpdateProcessDlg : public MDialog {
public:
    static constexpr int kCaption = 31;
    static constexpr int kProgress = 32;
    static constexpr char16_t kWindowTitle[] = u"UpdateProcessDlg";
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 100;
    // "Downloading file: %d%%".
    static constexpr int kDownloadingText = 642;

    // Creates the window over `owner`, centred on the screen; false when it could not be made.
    bool CreateOver(MWindow* owner);
    // The bar shows `percent`, the caption says so. User-interface thread.
    void ShowDownloadProgress(int percent);
    // Forgets the bar and destroys the window.
    void CloseDialog();

    // MDialog overrides
    bool OnInitDialog() override;
    void InitUI(const Rect& rect) override;
    std::intptr_t OnMessage(int, int, std::intptr_t, std::intptr_t) override { return 0; }
};
