#pragma once

#include <string>

#include "ui/toolkit/Painter.h"

// Draws a battery symbol, shared by the battery indicator and the device cards: the skin's
// battery background, its level bar cut to the level (a strip of two frames: normal, and low for
// levels up to 20) and its charge bolt over the centre, or, when the background image is
// missing, a flat outline filled green, orange or red by level with a drawn bolt while charging.
struct BatteryImages {
    std::u16string background = u"icon/icon_battery_bkg.png";
    std::u16string value = u"icon/icon_batteryvalue.png";
    int valueFrames = 2;
    std::u16string charge = u"icon/icon_charge.png";
};

struct BatteryLook {
    int level = -1;      // 0..100 for the colour; below 0: unknown (an empty outline)
    int fillLevel = -1;  // 0..100 drawn as the fill (the charging animation runs it up)
    bool charging = false;
    bool enabled = true;
};

class BatteryPainter {
public:
    BatteryPainter() = delete;

    // Draws the symbol left-aligned and vertically centred in `box`, at the images' own size
    // (shrunk to fit) or as a flat symbol as high as fits; returns the rectangle it took.
    static Rect Paint(Painter& painter, const Rect& box, const BatteryLook& look,
                      const BatteryImages& images);
    // The fill colour of a level: red to 20, orange to 50, green above.
    static Argb LevelColor(int level);
    // Levels up to this are low.
    static constexpr int kLowLevel = 20;
};
