#pragma once

#include <string>

#include "ui/toolkit/Color.h"
#include "ui/toolkit/Geometry.h"

// Text alignment flags (MControlFont::SetAlignment), combinable.
enum TextAlign : unsigned {
    kAlignLeft = 0x0,
    kAlignCenter = 0x1,
    kAlignRight = 0x2,
    kAlignTop = 0x0,
    kAlignVCenter = 0x4,
    kAlignBottom = 0x8,
    kAlignMultiLine = 0x10,
    kAlignEllipsis = 0x20,
};

// The font a control draws its text with. `size` is the pixel height of the text (the "font
// width" the dialogs set); an empty family means the toolkit's font (Manager::GetFontName).
struct FontSpec {
    std::u16string family;
    int size = 14;
    bool bold = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// What a control draws with. The backend implements it over its own graphics; the controls'
// paint routines use nothing else, so they run the same under every backend. Rectangles are in
// the window's client coordinates.
class Painter {
public:
    virtual ~Painter() = default;

    virtual void FillRect(const Rect& rect, Argb color) = 0;
    virtual void FillRoundRect(const Rect& rect, int radius, Argb color) = 0;
    virtual void DrawRoundRect(const Rect& rect, int radius, Argb color, int width) = 0;
    virtual void FillEllipse(const Rect& rect, Argb color) = 0;
    virtual void DrawEllipse(const Rect& rect, Argb color, int width) = 0;
    virtual void DrawLine(Point from, Point to, Argb color, int width) = 0;
    // A horizontal gradient when `horizontal`, else vertical, from `from` to `to`.
    virtual void FillGradient(const Rect& rect, Argb from, Argb to, bool horizontal) = 0;

    // Draws frame `frame` of a skin image made of `frames` equal frames side by side, stretched
    // into `dest` (the corners kept, the middle stretched). False when the image cannot be
    // loaded, so the caller can draw its flat look instead.
    virtual bool DrawImage(const std::u16string& file, int frame, int frames, const Rect& dest) = 0;
    // The size of one frame of a skin image; {0, 0} when it cannot be loaded.
    virtual Size ImageSize(const std::u16string& file, int frames) = 0;

    virtual void DrawText(const Rect& rect, const std::u16string& text, const FontSpec& font,
                          Argb color, unsigned align) = 0;
    virtual Size MeasureText(const std::u16string& text, const FontSpec& font) = 0;

    // Drawing outside `rect` is cut off until the matching Restore.
    virtual void Clip(const Rect& rect) = 0;
    virtual void Restore() = 0;
};
