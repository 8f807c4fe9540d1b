#pragma once

#include <string>

#include "ui/toolkit/MControl.h"

// A one-line text field over its skin image ("img_edit.png") or the flat look. The backend's
// text entry does the typing; the control keeps the text (its title) and draws it while it is
// not being edited (from a press on the field or the first typed change until editing ends,
// the entry shows it), or its grey hint while it is empty. Typed text is limited here as well as
// in the entry: digits only (SetDigitsOnly) and at most SetMaxLength characters.
//
// Notifications (wParam and lParam 0):
// - kNotifyFocus: the field took the keyboard focus (sent by the dialog).
// - kNotifyTextChanged: the user changed the text (after the limits; typing that leaves the
//   text as it was sends nothing).
// - kNotifyEditEnded: editing ended (the entry was left or confirmed), whether or not the text
//   changed; it follows kNotifyTextChanged when both happen at once.
// SetTitle sends nothing, so a handler may write a corrected value back.
class MEdit : public MControlFont {
public:
    MEdit();

    // The grey text shown while the field is empty and not being edited.
    void SetHint(const std::u16string& hint);
    std::u16string GetHint() const;
    void SetDigitsOnly(bool digitsOnly);
    bool IsDigitsOnly() const;
    // At most this many characters; 0: no limit.
    void SetMaxLength(int length);
    int GetMaxLength() const;
    // The text's decimal value: leading blanks and one sign allowed, reading stops at the first
    // other character; 0 for an empty text; limited to the range of int.
    int GetInt() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    bool AcceptsFocus() const override { return true; }
    bool IsTextEntry() const override { return true; }
    TextEntryInfo GetTextEntryInfo() const override;
    std::u16string GetEntryText() const override;
    void OnTextEntered(const std::u16string& text, bool finished) override;

protected:
    // The codes sent when the user changed the text and when editing ended.
    MEdit(int changedCode, int endedCode);

private:
    std::u16string Limit(const std::u16string& text) const;

    const int changedCode_;
    const int endedCode_;
    // Guarded by the dialog's lock.
    std::u16string hint_;
    bool digitsOnly_ = false;
    int maxLength_ = 0;
};
