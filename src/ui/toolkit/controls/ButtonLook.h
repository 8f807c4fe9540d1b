#pragma once

#include <string>

#include "ui/toolkit/Color.h"
#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/Painter.h"

// The built-in flat look the button classes share when their skin images are missing: check
// boxes, radio marks, checked buttons and the small line glyphs of image-only buttons.

// Colours of the flat look.
inline constexpr Argb kFlatFill = 0xFF2E3136u;
inline constexpr Argb kFlatHoverFill = 0xFF3A3E44u;
inline constexpr Argb kFlatPressedFill = 0xFFB85A08u;
inline constexpr Argb kFlatDisabledFill = 0xFF232528u;
inline constexpr Argb kFlatBorder = 0xFF4A4E55u;
inline constexpr Argb kFlatDisabledBorder = 0xFF33363Au;
inline constexpr Argb kFlatGlyph = 0xFFC8C8C8u;
inline constexpr Argb kFlatDisabledGlyph = 0xFF55585Du;

// A line drawing that stands in for a missing button image or icon.
enum class Glyph {
    kNone,
    kClose,
    kMinimise,
    kSetting,
    kReset,
    kReturn,
    kPrevious,
    kNext,
    kUp,
    kDown,
    kRecord,
    kStop,
};

// The glyph an image button shows for its image file when the image is missing ("sysbtn_close.png"
// gives kClose); kNone when the name suggests none.
Glyph GlyphForImage(const std::u16string& file);
// The glyph of a caption icon ("icon\icon_stop_rec.png" gives kStop); kNone when none fits.
Glyph GlyphForIcon(const std::u16string& file);

// Draws `glyph` centred in `rect`, sized to it.
void DrawGlyph(Painter& painter, Glyph glyph, const Rect& rect, Argb color);

// The glyph colour for a button in `state`.
Argb GlyphColor(const ControlState& state, bool enabled);

// A button face in its checked state: an accent-tinted fill with an accent border.
void DrawFlatCheckedButton(Painter& painter, const ControlState& state, bool enabled,
                           const Rect& rect);
// The ring drawn over a skinned button to show it checked.
void DrawCheckedRing(Painter& painter, const Rect& rect, bool enabled);

// The square mark of a check box, with a tick when checked.
void DrawFlatCheckBox(Painter& painter, const Rect& box, bool checked, const ControlState& state,
                      bool enabled);
// The round mark of a radio button, with a dot when checked.
void DrawFlatRadioMark(Painter& painter, const Rect& box, bool checked, const ControlState& state,
                       bool enabled);

// A square of side `side` at the left edge of `rect`, centred vertically.
Rect LeftSquare(const Rect& rect, int side);
// A rectangle of `size` centred in `rect`.
Rect CentredIn(const Rect& rect, Size size);
