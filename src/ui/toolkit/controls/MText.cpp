#include "ui/toolkit/controls/MText.h"

#include "ui/toolkit/Notify.h"

void MText::OnMouse(const MouseEvent& event) {
    if (event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        Notify(kNotifyClick);
    }
}
