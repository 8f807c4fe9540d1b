#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/DescriptorButton.h"
#include "keys/KeyCapture.h"
#include "ui/shell/MainPage.h"

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
    // keys::KeyListener override: a key captured for the key-combination field.
    void OnKeyEvent(const keys::KeyEvent& event) override;
};
