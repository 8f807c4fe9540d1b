#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/catalogue/DescriptorButton.h"
#include "keys/KeyCapture.h"
#include "keys/KeyCombination.h"
#include "store/StoreRecords.h"
#include "ui/shell/MainPage.h"

class MControl;
class PageHost;

// The button page (container 50, with the key-combination and repeat panels in container 51):
// the mouse's buttons in a list and on the picture of the mouse, and for the selected button the
// selectors of every kind of function. Each choice is stored at once as the button's assignment
// row of the current profile and the worker sends the key table (a macro's events first).
// User-interface thread only (the main window hands the worker's refreshes over to it).
class ButtonPage : public MainPage, private keys::KeyListener {
public:
    ButtonPage(PageHost& host, keys::KeyCapture& capture);

    // The loaded model's buttons, from its descriptor: the button list and the picture's callouts.
    void SetButtons(const std::vector<DescriptorButton>& buttons);
    // The picture of the mouse the callouts lie on (a skin file such as "device/kestrel_k1.png").
    void SetMousePicture(const std::u16string& file);
    // Selects the first button, shows every button's assignment of the current profile.
    void RefreshButtonPage();

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    // Which panel of container 51 is open.
    enum class Panel { kNone, kCombination, kRepeat };

    // keys::KeyListener override: a key captured for the key-combination field.
    void OnKeyEvent(const keys::KeyEvent& event) override;

    template <typename T>
    T* Get(int id) const;
    template <typename T>
    T* GetInPanel(int id) const;
    void SetShown(MControl* control, bool visible);

    // The list items and callouts of buttons_.
    void FillButtons();
    // The display name of the button at `index` of buttons_.
    std::u16string ButtonName(std::size_t index) const;
    // The descriptor's default description of a key code; empty for a key code without button.
    std::u16string DefaultDescription(int keyCode) const;
    // Every button's description: its default, or the text of its stored assignment.
    void ShowDescriptions();
    // Each selector's items from the function tables, in their selector order.
    void FillSelectors();
    void ApplySelectorTexts();

    void SelectFromList();
    void SelectFromPicture();
    // Makes `keyCode` (selected in the list and the picture already) the selected button and
    // shows its name and assignment.
    void SelectKey(int keyCode);
    // Selects the button with key code 0 in the list and the picture and shows its name.
    void SelectFirstButton();
    void ShowSelectedName();
    // Both panels hidden, the selectors reset, then the stored row of the selected button marked.
    void ShowAssignment();
    // Marks the selector (or checks the disable button) of a kind; 0 marks none.
    void MarkKind(int kind);

    // Shows `panel` alone (container 51 only while one is open); a closed key-combination panel
    // stops listening and unchecks its toggles, a closed repeat panel gets its initial values.
    void ShowPanel(Panel panel);
    void OpenCombinationPanel();
    void OpenRepeatPanel();
    void ClearCapturedKey();
    keys::ModifierToggles CheckedToggles() const;
    void OnCombinationOk();
    void OnRepeatOk();
    // Clamps a repeat edit's integer to [low, high] and writes a changed value back.
    int ClampEdit(int id, int low, int high);

    // The choice of selector `id` (73 to 83 odd) for the selected button.
    void OnSelectorChosen(int id);
    void OnDisable();
    // The key-code-0 lock: true (and the lock message shown) when the selected button is locked.
    bool IsLocked();
    // Stores `record` (macro_type, values and description filled) for the selected button,
    // shows its text in the list and has the worker send the key table.
    void StoreAssignment(KeyAssignmentRecord record);
    void RestoreDefaultAssignment();
    void ResetAllAssignments();
    void SendKeyTable();

    PageHost& host_;
    keys::KeyCapture& capture_;
    // User-interface thread only.
    std::vector<DescriptorButton> buttons_;  // the descriptor's, or the placeholders
    bool placeholders_ = true;               // buttons_ are the placeholders ("%s 1" ...)
    int selectedKey_ = 0;
    int capturedKey_ = 0;  // virtual-key code of the key-combination field; 0 = none
    std::u16string capturedName_;
    Rect client_;         // of the last layout; empty before it
    float scale_ = 1.0f;  // of the last layout
};
