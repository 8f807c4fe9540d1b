#pragma once

// The notification codes controls send to their dialog's OnMessage(id, code, wParam, lParam).
// Each control class lists in its header which of them it sends and what wParam and lParam
// carry; where a header says nothing about them they are 0, and the dialog reads what it needs
// back from the control.
enum NotifyCode : int {
    kNotifyClick = 2,           // a click; for lists, sliders and pickers: a choice made
    kNotifyMenu = 5,            // a context menu was asked for
    kNotifyMoving = 8,          // a slider is being dragged; its position follows the pointer
    kNotifySecondaryClick = 9,  // a click of the secondary button
    kNotifyTextChanged = 26,    // an edit control's text was changed by the user
    kNotifyColorPicked = 27,    // a colour was picked in a palette
    kNotifyEditEnded = 29,      // editing ended (focus left, or an in-place edit committed)
    kNotifyFocus = 30,          // the control gained the keyboard focus
};
