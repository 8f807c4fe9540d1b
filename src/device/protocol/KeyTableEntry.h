#pragma once

#include <cstdint>

// One button's entry in the mouse's key table: a kind byte and two data bytes.
struct KeyTableEntry {
    std::uint8_t kind = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    bool operator==(const KeyTableEntry&) const = default;
};
