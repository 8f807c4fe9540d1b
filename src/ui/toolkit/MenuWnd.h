#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/Geometry.h"

class MWindow;

// A popup menu of items (id, text) opened at a point of the screen for an owner window. The
// item the user chooses reaches the owner later, on the user-interface thread, as
// owner->OnWindowMessage(message, wParam = the item's id, lParam = 0) (posted, like a window
// message); a menu dismissed without a choice sends nothing. The menu is shown by the owner's
// backend as its popup list ("Menu Window"), so the MenuWnd object itself may go as soon as
// TrackPopup returns. User-interface thread only.
class MenuWnd {
public:
    // Starts a new menu for `owner` (its items are dropped) at `screenPoint`, `width` pixels wide
    // (0: the backend's choice). False when there is no owner.
    bool Create(MWindow* owner, Point screenPoint, unsigned message, int width);
    void AddMenu(int id, const std::u16string& text);
    // Opens the menu. False, showing nothing, when it has no items or its owner is not a
    // dialog or has no window.
    bool TrackPopup();

private:
    MWindow* owner_ = nullptr;
    Point point_;
    unsigned message_ = 0;
    int width_ = 0;
    std::vector<std::pair<int, std::u16string>> items_;
};
