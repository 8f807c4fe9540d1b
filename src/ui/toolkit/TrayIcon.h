#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/MRender.h"

class MWindow;

// Mouse messages a tray icon reports to its owner, with their Windows values.
inline constexpr int kTrayLeftDown = 0x0201;         // WM_LBUTTONDOWN
inline constexpr int kTrayLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr int kTrayRightUp = 0x0205;          // WM_RBUTTONUP
// WM_COMMAND: a menu item was chosen (wParam = the item's id).
inline constexpr unsigned kMessageCommand = 0x0111;

// An icon in the desktop's system tray for one owner window. Every event reaches the owner as a
// posted window message on the user-interface thread: owner.OnWindowMessage(callbackMessage,
// wParam = the icon's id, lParam = kTrayLeftDown / kTrayLeftDoubleClick / kTrayRightUp), and a
// menu item chosen from TrackMenu as owner.OnWindowMessage(kMessageCommand, item id, 0).
// Events still on their way when the icon is removed, or when the owner is gone, are dropped. The
// owner must outlive the icon's time in the tray (Remove it before the owner goes).
// User-interface thread only.
class TrayIcon {
public:
    // The longest tip a tray shows, in UTF-16 code units; longer tips are cut.
    static constexpr std::size_t kMaxTipLength = 127;

    virtual ~TrayIcon() = default;
    // Whether the desktop shows tray icons at all (a window "hidden to the tray" must be
    // minimised instead when it does not, so it can never become unreachable).
    virtual bool IsAvailable() const = 0;
    // Shows the icon; false (nothing shown) when there is no tray or it is already added.
    virtual bool Add(MWindow& owner, int id, unsigned callbackMessage, const IconRef& icon,
                     const std::u16string& tip) = 0;
    virtual void SetTip(const std::u16string& tip) = 0;
    virtual void Remove() = 0;  // idempotent; no events after it
    virtual bool IsAdded() const = 0;
    // A menu of (id, text) items at the pointer for the owner; the chosen item comes back as
    // kMessageCommand. A desktop that opens the icon's menu by itself on a right click shows these
    // items there.
    virtual void TrackMenu(std::vector<std::pair<int, std::u16string>> items) = 0;

protected:
    // `tip` cut to kMaxTipLength, never between the two halves of a surrogate pair.
    static std::u16string FitTip(const std::u16string& tip);
};
