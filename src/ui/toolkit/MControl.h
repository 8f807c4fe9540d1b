#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "ui/toolkit/Color.h"
#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/InputEvent.h"
#include "ui/toolkit/Painter.h"

class MDialog;

// How a control is drawn at the moment: the pointer over it, a button held on it, the focus.
struct ControlState {
    bool hover = false;
    bool pressed = false;
    bool focused = false;
};

// What an edit control asks of the backend's text entry.
struct TextEntryInfo {
    bool digitsOnly = false;
    int maxLength = 0;  // 0: no limit
    bool password = false;
};

// The base of every control: an id, a rectangle in its dialog's client area, visibility,
// enabled state, a tooltip and a skin image (a strip of `frames` state frames: normal, hover,
// pressed, disabled). Controls are created and owned by their dialog (MDialog::CreateControl).
// Every public operation may be called from any thread: it takes the dialog's lock and asks
// for a repaint. Paint and the input handlers run on the user-interface thread with the lock
// held.
class MControl {
public:
    MControl();
    virtual ~MControl();
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    int GetId() const { return id_; }
    const std::u16string& GetClassName() const { return className_; }
    MDialog* GetDialog() const { return dialog_; }

    void SetVisible(bool visible);
    bool IsVisible() const;
    // Visible, and so is every container it was created in: what the user can see.
    bool IsShown() const;
    // The container (an area or tab page) the control was created in; null for the dialog.
    MControl* GetParent() const { return parent_; }
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    void SetRect(const Rect& rect);
    Rect GetRect() const;
    void SetTooltip(const std::u16string& tooltip);
    std::u16string GetTooltip() const;
    // The skin image: a file in the skin folder and its number of state frames.
    virtual void SetImage(const std::u16string& file, int frames = 1);
    std::u16string GetImage() const;
    int GetImageFrames() const;
    // Gives the control the keyboard focus.
    void OnFocus();
    bool HasFocus() const;
    // Joins the dialog's animation tick (MDialog::SetMTimer): OnTick runs on every tick.
    void AddMTimer();
    // A number the page keeps with the control.
    void SetUserData(std::intptr_t data);
    std::intptr_t GetUserData() const;

    // Called by the dialog with its lock held, on the user-interface thread.
    void Attach(MDialog* dialog, int id, std::u16string className, const Rect& rect,
                MControl* parent);
    virtual void Paint(Painter& painter, const ControlState& state) const;
    virtual void OnMouse(const MouseEvent& event);
    virtual void OnKey(const KeyEvent&) {}
    // True when the control wants a repaint after this tick.
    virtual bool OnTick() { return false; }
    // True while the control needs the tick (something on it moves). A control whose state
    // change may start an animation tells its dialog (MDialog::AnimationMayStart); the tick stops
    // by itself once no control animates.
    virtual bool IsAnimating() const { return false; }
    virtual bool AcceptsFocus() const { return false; }
    // Areas are backgrounds: they take no input and let presses through to the window.
    virtual bool IsArea() const { return isArea_; }
    void MarkArea() { isArea_ = true; }
    virtual bool HitTest(Point point) const;
    virtual std::u16string TooltipAt(Point) const { return tooltip_; }
    // Edit controls, and lists while an item is edited in place: the backend places a text
    // entry over GetTextEntryRect while IsTextEntry is true.
    virtual bool IsTextEntry() const { return false; }
    virtual Rect GetTextEntryRect() const { return rect_; }
    virtual TextEntryInfo GetTextEntryInfo() const { return {}; }
    // The backend's text entry changed the text (`finished`: editing ended).
    virtual void OnTextEntered(const std::u16string&, bool) {}
    // The text the backend's text entry should show.
    virtual std::u16string GetEntryText() const { return {}; }

protected:
    // The dialog's lock (a control of its own while not attached).
    std::unique_lock<std::recursive_mutex> Guard() const;
    void Invalidate() const;
    // Queues OnMessage(id, code, wParam, lParam) for the dialog; delivered after the lock is
    // released.
    void Notify(int code, std::intptr_t wParam = 0, std::intptr_t lParam = 0) const;
    // After a change that may start or end an animation: the dialog looks again whether its
    // animation tick should run.
    void AnimationMayStart() const;
    // The state frame for the current state: 0 normal, 1 hover, 2 pressed, 3 disabled, clamped
    // to the frames the image has.
    int StateFrame(const ControlState& state, int frames) const;
    // Draws the control's skin image in `rect`; false when there is none or it cannot be loaded.
    bool DrawSkin(Painter& painter, const ControlState& state, const Rect& rect) const;
    // The built-in flat look of a button-like control when its image is missing.
    void DrawFlatButton(Painter& painter, const ControlState& state, const Rect& rect) const;

    // Guarded by the dialog's lock.
    Rect rect_;
    bool visible_ = true;
    bool enabled_ = true;
    std::u16string tooltip_;
    std::u16string image_;
    int frames_ = 1;
    std::intptr_t userData_ = 0;

private:
    MDialog* dialog_ = nullptr;
    MControl* parent_ = nullptr;
    int id_ = 0;
    std::u16string className_;
    bool isArea_ = false;
    mutable std::recursive_mutex ownLock_;
};

// A control that shows a caption: its text, font, alignment and text colour.
class MControlFont : public MControl {
public:
    void SetTitle(const std::u16string& title);
    std::u16string GetTitle() const;
    // The font family; empty for the toolkit's font.
    void SetFont(const std::u16string& family);
    // The text's pixel height.
    void SetFontWidth(int size);
    void SetFontBold(bool bold);
    FontSpec GetFont() const;
    // TextAlign flags.
    void SetAlignment(unsigned align);
    unsigned GetAlignment() const;
    // 0xAARRGGBB; -1 (white) by default.
    void SetTextColor(Argb color);
    Argb GetTextColor() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

protected:
    // The font with the toolkit's family filled in.
    FontSpec EffectiveFont() const;
    void DrawTitle(Painter& painter, const Rect& rect, Argb color) const;

    // Guarded by the dialog's lock.
    std::u16string title_;
    FontSpec font_;
    unsigned align_ = kAlignLeft | kAlignVCenter;
    Argb textColor_ = kWhite;
};
