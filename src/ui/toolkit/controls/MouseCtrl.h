#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"

// The mouse picture of the button page with a callout per button. The picture (a skin file
// such as "device/kestrel_k1.png"; '\' separators are accepted) is drawn at its own size from
// the control's top-left corner; a missing picture is replaced by a drawn mouse. A callout is
// a line from point a (on the mouse) to point b, in the picture's pixels, with the button's
// label lying on the line at b's end; `direction` (0 left, 1 right) says on which side of a the
// label lies when the two points share their x. Callouts are identified by the button's key
// code; the selected one is drawn with the accent.
// Sends kNotifyClick when the user clicks a callout (selected first), wParam = its key code.
// A click on no callout selects nothing and sends nothing.
class MouseCtrl : public MControlFont {
public:
    MouseCtrl();

    void SetPicture(const std::u16string& file);
    std::u16string GetPicture() const;
    // The picture's own size (through the backend); 0 when it cannot be loaded.
    int GetPictureWidth() const;
    int GetPictureHeight() const;

    void ClearCallouts();
    // Returns the callout's index.
    int AddCallout(const std::u16string& text, int keyValue, int direction, Point a, Point b);
    int GetCount() const;
    // -1 / empty for an index out of range.
    int GetItemKeyValue(int index) const;
    std::u16string GetItemText(int index) const;
    // The label of every callout with this key code.
    void SetItemText(int keyValue, const std::u16string& text);
    // Selects the first callout with this key code; false (the selection unchanged) when none
    // has it. -1 selects nothing.
    bool SetSelectItem(int keyValue);
    // The key code of the selected callout; -1 when none is selected.
    int GetSelectKey() const;
    // Where a callout answers clicks, in client coordinates; empty for an index out of range.
    Rect GetCalloutRect(int index) const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    struct Callout {
        std::u16string text;
        int keyValue = 0;
        int direction = 0;
        Point a;
        Point b;
    };
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(callouts_.size()); }
    // The callout's points and label in client coordinates.
    Point ClientPoint(Point p) const { return {rect_.left + p.x, rect_.top + p.y}; }
    Rect LabelRect(const Callout& callout) const;
    Rect HitRect(const Callout& callout) const;
    int CalloutAt(Point point) const;
    void PaintCallout(Painter& painter, const Callout& callout, bool selected, bool hover) const;

    // Guarded by the dialog's lock.
    std::u16string picture_;
    std::vector<Callout> callouts_;
    int selected_ = -1;
    int pressed_ = -1;
    Point pointer_{-1, -1};
};
