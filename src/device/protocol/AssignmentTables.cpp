#include "device/protocol/AssignmentTables.h"

#include <array>

namespace {

// Mouse functions: kind 0x10 carries a button bitmap in its first data byte (bit 0 left, bit 1
// right, bit 2 middle, bit 3 back, bit 4 forward), kind 0x20 a wheel step. Value 4 is the repeat
// function with 50 and 3.
constexpr std::array kMouse{
    AssignmentFunction{1, {0x10, 0x01, 0x00}, 106, {}, 1},
    AssignmentFunction{2, {0x10, 0x04, 0x00}, 108, {}, 3},
    AssignmentFunction{3, {0x10, 0x02, 0x00}, 107, {}, 2},
    AssignmentFunction{4, {0x30, 0x32, 0x03}, 180, {}, 6},
    AssignmentFunction{5, {0x10, 0x10, 0x00}, 109, {}, 4},
    AssignmentFunction{6, {0x10, 0x08, 0x00}, 110, {}, 5},
    AssignmentFunction{7, {0x20, 0x01, 0x00}, 112, {}, 7},
    AssignmentFunction{8, {0x20, 0xFF, 0x00}, 113, {}, 8},
    AssignmentFunction{9, {0x10, 0x00, 0xF5}, 114, {}, 0},
    AssignmentFunction{10, {0x10, 0x00, 0xF6}, 115, {}, 0},
};

// Multimedia functions: kind 0x80 and the HID consumer usage, low byte first.
constexpr std::array kMultimedia{
    AssignmentFunction{1, {0x80, 0x83, 0x01}, 120, {}, 4},  // media player
    AssignmentFunction{2, {0x80, 0xCD, 0x00}, 121, {}, 5},  // play/pause
    AssignmentFunction{3, {0x80, 0xB7, 0x00}, 124, {}, 8},  // stop
    AssignmentFunction{4, {0x80, 0xB6, 0x00}, 122, {}, 6},  // previous track
    AssignmentFunction{5, {0x80, 0xB5, 0x00}, 123, {}, 7},  // next track
    AssignmentFunction{6, {0x80, 0xE9, 0x00}, 117, {}, 1},  // volume up
    AssignmentFunction{7, {0x80, 0xEA, 0x00}, 118, {}, 2},  // volume down
    AssignmentFunction{8, {0x80, 0xE2, 0x00}, 119, {}, 3},  // mute
};

constexpr std::array kDpi{
    AssignmentFunction{1, {0x40, 0x02, 0x00}, 0, u"DPI +", 2},
    AssignmentFunction{2, {0x40, 0x03, 0x00}, 0, u"DPI -", 3},
    AssignmentFunction{3, {0x40, 0x01, 0x00}, 142, {}, 1},
};

constexpr std::array kDevice{
    AssignmentFunction{1, {0x60, 0x04, 0x00}, 151, {}, 1},
    AssignmentFunction{2, {0x60, 0x01, 0x00}, 181, {}, 2},
};

// System functions: consumer usages (kind 0x80) and keyboard shortcuts (kind 0x70, modifier
// bits, usage).
constexpr std::array kSystem{
    AssignmentFunction{1, {0x80, 0x6F, 0x00}, 127, {}, 1},   // brightness up
    AssignmentFunction{2, {0x80, 0x70, 0x00}, 128, {}, 2},   // brightness down
    AssignmentFunction{3, {0x80, 0x92, 0x01}, 129, {}, 3},   // calculator
    AssignmentFunction{4, {0x80, 0x94, 0x01}, 130, {}, 4},   // local browser
    AssignmentFunction{5, {0x80, 0x23, 0x02}, 131, {}, 5},   // browser home
    AssignmentFunction{6, {0x80, 0x8A, 0x01}, 132, {}, 6},   // e-mail
    AssignmentFunction{7, {0x70, 0x08, 0x07}, 133, {}, 7},   // Windows + D
    AssignmentFunction{8, {0x70, 0x08, 0x2B}, 134, {}, 8},   // Windows + Tab
    AssignmentFunction{9, {0x70, 0x01, 0x06}, 31, {}, 9},    // Ctrl + C
    AssignmentFunction{10, {0x70, 0x01, 0x19}, 32, {}, 11},  // Ctrl + V
    AssignmentFunction{11, {0x70, 0x01, 0x1B}, 36, {}, 10},  // Ctrl + X
};

}  // namespace

std::span<const AssignmentFunction> MouseFunctions() {
    return kMouse;
}
std::span<const AssignmentFunction> MultimediaFunctions() {
    return kMultimedia;
}
std::span<const AssignmentFunction> DpiFunctions() {
    return kDpi;
}
std::span<const AssignmentFunction> DeviceFunctions() {
    return kDevice;
}
std::span<const AssignmentFunction> SystemFunctions() {
    return kSystem;
}

const AssignmentFunction* FindFunction(std::span<const AssignmentFunction> functions, int value) {
    for (const AssignmentFunction& function : functions) {
        if (function.value == value) {
            return &function;
        }
    }
    return nullptr;
}
