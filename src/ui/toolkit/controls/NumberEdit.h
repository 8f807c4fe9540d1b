#pragma once

#include "ui/toolkit/controls/MEdit.h"

// A field for a number: digits only, with notifications of its own meaning that its page
// relies on (the debounce field):
// - kNotifyEditEnded (29): the user changed the text; sent on every change, so the page can
//   correct the value while it is typed.
// - kNotifyClick (2): editing ended (the entry was left or confirmed).
// - kNotifyFocus: the field took the keyboard focus (sent by the dialog).
// wParam and lParam are 0. SetTitle sends nothing.
class NumberEdit : public MEdit {
public:
    NumberEdit();
};
