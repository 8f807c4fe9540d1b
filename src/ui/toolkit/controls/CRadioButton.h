#pragma once

#include <string>

#include "ui/toolkit/controls/CheckableButton.h"

// A radio button: a round mark and its caption, one of a named group. Checking it, by a click
// or by SetCheck(true), unchecks every other radio button of the same group in its dialog;
// radio buttons of other groups, and those without a group, are left alone. A click on a
// checked radio button leaves it checked. Starts with the image "btn_radiobox.png" (8 frames)
// and unchecked.
// Sends kNotifyClick on a primary click, after the group was updated (see CheckableButton).
class CRadioButton : public CheckableButton {
public:
    CRadioButton();

    // The group's name; empty (the default) for none.
    void SetGroup(const std::u16string& group);
    std::u16string GetGroup() const;

protected:
    // CheckableButton overrides
    void ApplyCheck(bool check) override;
    void OnClicked() override;
    void DrawFlatMark(Painter& painter, const Rect& box, const ControlState& state) const override;

private:
    std::u16string group_;  // guarded by the dialog's lock
};
