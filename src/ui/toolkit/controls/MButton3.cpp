#include "ui/toolkit/controls/MButton3.h"

MButton3::MButton3() {
    toggle_ = true;
    image_ = u"img_button2.png";
    frames_ = 8;  // unchecked normal, hover, pressed, disabled, then checked
}
