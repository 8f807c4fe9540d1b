#pragma once

#include <string>

// The factory function of one button as its descriptor `key` element gives it. The type and value
// follow the button assignment encoding (type 1 mouse function, 3 multimedia, 5 DPI function, ...).
struct DefaultAssignment {
    int buttonIndex = 0;         // = key_value
    int keyCode = 0;             // = key_value
    int type = 0;                // func_type
    int value = 0;               // func_value
    std::u16string name;         // the `name` attribute text (the label's text id)
    std::u16string description;  // the `func_desc` attribute text (the description's text id)

    bool operator==(const DefaultAssignment&) const = default;
};
