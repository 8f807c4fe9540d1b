#pragma once

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/MDialog.h"

class DListBox;
class SettingsStore;

// The profile list: a small modal popup over the main window's profile button with the model's
// profiles (renamed in place) and the import and export buttons. Its choices reach the main
// window as message 1705 (posted): wParam 0 switch to the profile in lParam, 1 import a profile
// file into the current profile, 2 export the profile in lParam. User-interface thread.
class ProfileDlg : public MDialog {
public:
    static constexpr char16_t kWindowTitle[] = u"ProfileDlg";
    static constexpr int kBackground = 30;
    static constexpr int kList = 31;
    static constexpr int kImportButton = 32;
    static constexpr int kExportButton = 33;
    // The popup's height above the button.
    static constexpr int kHeight = 205;
    // The actions of message 1705 (its wParam).
    static constexpr int kActionSwitch = 0;
    static constexpr int kActionImport = 1;
    static constexpr int kActionExport = 2;

    // `notify` receives message 1705; `selectedProfile` is selected in the list when it opens.
    ProfileDlg(SettingsStore& store, int selectedProfile, MWindow* notify);

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    DListBox* List() const;
    // Stores the name an in-place edit ended with; an empty one changes nothing.
    void OnNameEdited();
    // Posts message 1705 with (action, profile) to `notify`.
    void Post(int action, int profile);
    // The import and export buttons: a rename first switches to the chosen profile again
    // so the main window shows the new name, then the action goes out and the popup closes.
    void FinishWith(int action);

    SettingsStore& store_;
    const int selectedProfile_;
    MWindow* const notify_;
    // The profile renamed last; 0 while no name was changed. User-interface thread only.
    int renamedProfile_ = 0;
};

// Opens the profile list modally just above `buttonRect` (the profile button, in `owner`'s client
// coordinates), as wide as the button and kHeight high, with `currentProfile` selected; returns
// when it closes.
void OpenProfileList(MDialog& owner, SettingsStore& store, int currentProfile,
                     const Rect& buttonRect);
