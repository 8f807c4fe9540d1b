#pragma once

#include <cstdint>

#include "ui/toolkit/Geometry.h"

// A length of the pages' layout at the layout scale `s`. Every product with the scale is
// truncated before it is added, so that the pages line up as they always have.
inline int Scaled(int value, float s) {
    return static_cast<int>(static_cast<float>(value) * s);
}

// One page of the main window: it creates its controls in its container, lays them out when the
// window does, handles the notifications the window's dispatch table routes to it and fetches its
// texts again after a change of language. Pages are owned by the main window and live as long as
// it does. Build, Layout, OnMessage and ApplyTexts run on the user-interface thread.
class MainPage {
public:
    virtual ~MainPage() = default;

    // Creates the page's controls (once, while the window is created).
    virtual void Build() = 0;
    // Places the controls for the client rectangle `client` at the layout scale `scale`.
    virtual void Layout(const Rect& client, float scale) = 0;
    // A notification of one of the page's controls.
    virtual std::intptr_t OnMessage(int id, int code, std::intptr_t wParam,
                                    std::intptr_t lParam) = 0;
    // Every text of the page again, from the current language.
    virtual void ApplyTexts() = 0;
};
