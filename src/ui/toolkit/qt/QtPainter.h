#pragma once

#include <QFont>

#include "ui/toolkit/Painter.h"

class QPainter;

// The toolkit's Painter over a QPainter, in the widget's device-independent pixels. Shapes are
// antialiased; skin images come from QtImageCache. The QPainter must outlive this object, and
// every Clip is matched by a Restore before it ends (extra Restores are ignored).
class QtPainter : public Painter {
public:
    explicit QtPainter(QPainter& painter);
    ~QtPainter() override;
    QtPainter(const QtPainter&) = delete;
    QtPainter& operator=(const QtPainter&) = delete;

    // The QFont a FontSpec stands for (an empty family: the toolkit's font).
    static QFont ToQFont(const FontSpec& font);

    // Painter overrides
    void FillRect(const Rect& rect, Argb color) override;
    void FillRoundRect(const Rect& rect, int radius, Argb color) override;
    void DrawRoundRect(const Rect& rect, int radius, Argb color, int width) override;
    void FillEllipse(const Rect& rect, Argb color) override;
    void DrawEllipse(const Rect& rect, Argb color, int width) override;
    void DrawLine(Point from, Point to, Argb color, int width) override;
    void FillGradient(const Rect& rect, Argb from, Argb to, bool horizontal) override;
    bool DrawImage(const std::u16string& file, int frame, int frames, const Rect& dest) override;
    Size ImageSize(const std::u16string& file, int frames) override;
    void DrawText(const Rect& rect, const std::u16string& text, const FontSpec& font, Argb color,
                  unsigned align) override;
    Size MeasureText(const std::u16string& text, const FontSpec& font) override;
    void Clip(const Rect& rect) override;
    void Restore() override;

private:
    void DrawWrapped(const QRectF& rect, const QString& text, const QFont& font, unsigned align);

    QPainter& painter_;
    int clipDepth_ = 0;
};
