#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MControl.h"

// A colour swatch button, one of a named group. A checked swatch wears an accent ring.
// What a click does to the check state depends on the group:
// - "COLORVALUE" (kMultiCheckGroup): several swatches may be checked at once; a click flips the
//   clicked swatch's check state.
// - any other group (such as "DEFAULTCOLOR"): a click checks the swatch and unchecks the others
//   of the group in its dialog; SetCheck(true) does the same.
// - no group (the default): a click leaves the check state alone.
// Sends kNotifyClick on a primary click, after the check state changed. Disabled swatches send
// nothing.
class CColorButton : public MControl {
public:
    static constexpr char16_t kMultiCheckGroup[] = u"COLORVALUE";

    // The colour as a COLORREF (0x00BBGGRR); black at first.
    void SetColor(std::uint32_t colorRef);
    std::uint32_t GetColor() const;
    void SetGroup(const std::u16string& group);
    std::u16string GetGroup() const;
    void SetCheck(bool check);
    bool GetCheck() const;
    // Unchecks every colour button of `group` in this button's dialog (this one included when
    // it belongs to the group).
    void UncheckGroup(const std::u16string& group);

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    // Sets the check state; checking a swatch of an exclusive group unchecks the rest of the
    // group. The lock is held.
    void ApplyCheck(bool check);
    bool IsExclusive() const { return !group_.empty() && group_ != kMultiCheckGroup; }

    // Guarded by the dialog's lock.
    std::uint32_t colorRef_ = 0;
    std::u16string group_;
    bool checked_ = false;
};
