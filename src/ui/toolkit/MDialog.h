#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/WindowPeer.h"

// A window made of controls. A dialog creates its controls in InitUI, lays them out again in
// UISize and hears of user actions in OnMessage. Controls are kept for the dialog's lifetime, in
// creation order (later ones are drawn above earlier ones).
class MDialog : public MWindow {
public:
    MDialog();
    ~MDialog() override;

    // Creates a control of a registered class ("MButton", "MComboBox", ...), sets its caption
    // to `text` and returns it; null for an unknown class. The last two arguments are kept for
    // the callers' sake and mean nothing here.
    MControl* CreateControl(const std::u16string& className, int id, const Rect& rect,
                            const std::u16string& text = {}, int = 1, int = 1);
    // As CreateControl, for the background areas that group other controls.
    MControl* CreateArea(const std::u16string& className, int id, const Rect& rect,
                         const std::u16string& text = {}, int = 1, int = 1);
    // As CreateControl and CreateArea, inside a container (an area or a tab page): the control
    // is shown only while its container is. Rectangles stay in the dialog's client coordinates.
    MControl* CreateChild(MControl* parent, const std::u16string& className, int id,
                          const Rect& rect, const std::u16string& text = {});
    MControl* CreateChildArea(MControl* parent, const std::u16string& className, int id,
                              const Rect& rect, const std::u16string& text = {});
    // Adds a control made by the caller (a class the factory does not know); returns it.
    MControl* AdoptControl(std::unique_ptr<MControl> control, const std::u16string& className,
                           int id, const Rect& rect, const std::u16string& text = {},
                           MControl* parent = nullptr);
    // The first control created with `id`; null when there is none. Ids may repeat between
    // containers: the second form looks only among the children of `parent`.
    MControl* GetControl(int id) const;
    MControl* GetControl(int id, const MControl* parent) const;
    template <typename T>
    T* GetControlAs(int id) const {
        return dynamic_cast<T*>(GetControl(id));
    }
    // Every control in creation order (the pointers live as long as the dialog).
    std::vector<MControl*> GetControls() const;

    // Ends the modal loop with OK (1) or cancel (2); a dialog that is not modal is destroyed.
    void DoOK();
    void DoCancel();
    // The period of the animation tick of the controls that called AddMTimer (0 stops it). The
    // tick runs only while one of them animates (MControl::IsAnimating), so an idle dialog never
    // wakes up for it.
    void SetMTimer(int milliseconds);
    // Any thread: a control's state changed in a way that may start (or end) its animation; the
    // dialog looks again whether the tick should run.
    void AnimationMayStart();
    // The background image, stretched over the client area.
    void LoadBKImage(const std::u16string& file);
    void SetBackMode(int mode, int value);
    // The control with the keyboard focus; null when none has it.
    MControl* GetFocusControl() const;
    void SetFocusControl(MControl* control);

    // Draws `control` in `state` whatever the pointer does (for showing every state at once,
    // as the control gallery does); ClearShowcaseStates returns to live states.
    void SetShowcaseState(const MControl* control, const ControlState& state);
    void ClearShowcaseStates();

    // MDialog virtuals
    virtual bool OnInitDialog() { return true; }
    virtual void InitUI(const Rect& rect) = 0;
    virtual void UISize(const Rect&) {}
    virtual std::intptr_t OnMessage(int id, int code, std::intptr_t wParam,
                                    std::intptr_t lParam) = 0;

    // Used by the controls, with the dialog's lock held.
    void QueueNotify(int id, int code, std::intptr_t wParam, std::intptr_t lParam);
    void JoinAnimation(MControl* control);
    bool IsHovered(const MControl* control) const { return hover_ == control; }
    // Opens a drop-down list or popup menu; `chosen` runs on the user-interface thread with the
    // dialog's lock held, and the notifications it raises are delivered afterwards. `ids` are the
    // items' own ids (a menu's), kept with the list for those who pick an item by id.
    void OpenPopupList(const Rect& anchorInClient, std::vector<std::u16string> items, int selected,
                       int width, std::function<void(int)> chosen, std::vector<int> ids = {});
    // The backend's text entry over `control` changed its text; user-interface thread.
    void EnterText(MControl* control, const std::u16string& text, bool finished);
    // Delivers the notifications waiting in the queue; user-interface thread, lock not held.
    void DeliverNotifications();

    // MWindow overrides
    void OnCreate() override;

protected:
    // MWindow overrides
    void PaintClient(Painter& painter) override;
    bool MouseToControls(const MouseEvent& event) override;
    void KeyToControls(const KeyEvent& event) override;
    std::u16string TooltipOfControls(Point point) override;
    void AfterInput() override { DeliverNotifications(); }
    void AnimationTick() override;

private:
    struct Notification {
        int id;
        int code;
        std::intptr_t wParam;
        std::intptr_t lParam;
    };
    MControl* AddControl(std::unique_ptr<MControl> control, const std::u16string& className, int id,
                         const Rect& rect, const std::u16string& text, bool area, MControl* parent);
    MControl* ControlAt(Point point) const;
    // Starts, restarts or stops the animation timer as the period and the controls want it.
    // User-interface thread, lock held.
    void UpdateAnimationTimer();
    void SetHover(MControl* control);

    // All guarded by the window's lock.
    std::vector<std::unique_ptr<MControl>> controls_;
    std::vector<MControl*> animated_;
    int animationPeriod_ = 0;   // as SetMTimer gave it
    int animationTimerOn_ = 0;  // the period the running timer has; 0 while it is stopped
    std::vector<Notification> pending_;
    std::vector<std::pair<const MControl*, ControlState>> showcase_;
    // False once the dialog is gone: a popup list may be answered after that.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // user-interface thread only
    MControl* hover_ = nullptr;
    MControl* capture_ = nullptr;
    MControl* focus_ = nullptr;
};
