#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/Geometry.h"

// A list shown below a control or at a point (combo-box drop-downs, popup menus). The backend
// shows it and calls `chosen` with the index of the item picked, on the user-interface thread; a
// list dismissed without a choice calls nothing.
struct PopupList {
    Rect anchor;  // in screen coordinates; the list opens below it
    std::vector<std::u16string> items;
    // The opener's id of each item, in the order of `items` (a popup menu's item ids); empty
    // unless the opener gives them.
    std::vector<int> ids;
    int selected = -1;
    int width = 0;  // 0: the anchor's width
    std::function<void(int)> chosen;
};

// The backend's side of one window. Calls marked "any thread" may come from the device worker;
// the others come from the user-interface thread only (MWindow sees to that).
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    virtual void Show(bool visible) = 0;
    virtual bool IsShown() const = 0;
    // The window's rectangle on the screen (its client area: windows have no frame).
    virtual void SetBounds(const Rect& screenRect) = 0;
    virtual void SetTitle(const std::u16string& title) = 0;
    virtual void SetIcon(const std::u16string& iconFile) = 0;
    virtual void SetTopmost(bool topmost) = 0;
    // Shows the window minimised (on the task bar).
    virtual void Minimize() = 0;
    // Any thread.
    virtual bool IsMinimized() const = 0;
    // Shows the window normally (not minimised), above the others, and activates it.
    virtual void BringToFront() = 0;
    // Any thread: the window is painted again soon on the user-interface thread.
    virtual void Invalidate() = 0;

    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    // Runs a nested loop until EndModal is called; returns its result.
    virtual int RunModal() = 0;
    virtual void EndModal(int result) = 0;

    virtual void ShowPopupList(PopupList list) = 0;
    // Releases everything the backend holds for the window; no further calls follow.
    virtual void Destroy() = 0;
};
