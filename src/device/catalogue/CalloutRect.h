#pragma once

#include <string_view>

// The callout geometry of a button in a descriptor: "a#b#c". The picture control draws the callout
// between the points (a, c) and (b, c).
struct CalloutRect {
    int a = 0;
    int b = 0;
    int c = 0;

    bool operator==(const CalloutRect&) const = default;
};

// Text without "#" gives a = 0, b = 0 and c = its number; with one "#" a, b = 0 and c = the rest;
// with two a, b and c. Each part reads as a plain decimal number (0 when it is none).
CalloutRect ParseCalloutRect(std::u16string_view text);
