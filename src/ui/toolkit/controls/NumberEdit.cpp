#include "ui/toolkit/controls/NumberEdit.h"

#include "ui/toolkit/Notify.h"

NumberEdit::NumberEdit() : MEdit(kNotifyEditEnded, kNotifyClick) {
    SetDigitsOnly(true);
}
