#pragma once

#include "device/catalogue/CalloutRect.h"

// A point of a button's callout on the model picture, in picture coordinates.
struct CalloutPoint {
    int x = 0;
    int y = 0;

    bool operator==(const CalloutPoint&) const = default;
};

// One `key` element of a descriptor: a button of the model as the picture control and the button
// list show it.
struct DescriptorButton {
    int nameTextId = 0;         // `name`: language text of the button's label
    int keyValue = 0;           // `key_value`: the button's index and key code in assignments
    int direction = 0;          // `direction`: side of the callout, passed to the control as is
    CalloutPoint from;          // (a, c) of `rect`
    CalloutPoint to;            // (b, c) of `rect`
    int descriptionTextId = 0;  // `func_desc`: language text of the default function

    bool operator==(const DescriptorButton&) const = default;
};
