#pragma once

#include <cstdint>
#include <functional>

#include "keys/KeyCapture.h"
#include "ui/shell/MainPage.h"

class PageHost;

// The macro page (container 53): the macro list, the selected macro's events and play options,
// recording from the keyboard, and the editing of single events. Every change is stored at once.
// User-interface thread only.
class MacroPage : public MainPage, private keys::KeyListener {
public:
    // `tick` is the millisecond clock recording measures delays with (the steady clock; tests
    // pass a clock of their own).
    MacroPage(PageHost& host, keys::KeyCapture& capture, std::function<std::uint32_t()> tick);

    // Fills the macro list and the button page's macro selector from the store and loads the
    // first macro.
    void LoadMacroList();
    bool IsRecording() const;
    // Stops a recording in progress (the mouse went away, the popups are closed); nothing when
    // none runs.
    void StopRecording();
    // A choice of the page's popup menus (window messages 1709 to 1711; wParam = the item).
    void OnMenuCommand(unsigned message, int item);

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    // keys::KeyListener override: a recorded key, or the key for the event editor's key field.
    void OnKeyEvent(const keys::KeyEvent& event) override;
};
