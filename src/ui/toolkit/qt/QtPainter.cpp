#include "ui/toolkit/qt/QtPainter.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/qt/QtImageCache.h"
#include "ui/toolkit/qt/QtString.h"

namespace {

// Source pixels kept unscaled at each edge of a skin image stretched to another size.
constexpr int kSkinCornerMax = 6;

QRectF ToQRectF(const Rect& rect) {
    return QRectF(rect.left, rect.top, rect.Width(), rect.Height());
}

int HorizontalFlags(unsigned align) {
    if ((align & kAlignRight) != 0) {
        return Qt::AlignRight;
    }
    if ((align & kAlignCenter) != 0) {
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

int VerticalFlags(unsigned align) {
    if ((align & kAlignBottom) != 0) {
        return Qt::AlignBottom;
    }
    if ((align & kAlignVCenter) != 0) {
        return Qt::AlignVCenter;
    }
    return Qt::AlignTop;
}

// Splits [start, start + length) into three spans: `margin` units, the middle, `margin` units.
struct Span {
    qreal start;
    qreal length;
};
void Split(qreal start, qreal length, qreal margin, Span out[3]) {
    out[0] = {start, margin};
    out[1] = {start + margin, length - 2 * margin};
    out[2] = {start + length - margin, margin};
}

}  // namespace

QtPainter::QtPainter(QPainter& painter) : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QtPainter::~QtPainter() {
    while (clipDepth_ > 0) {
        Restore();
    }
}

QFont QtPainter::ToQFont(const FontSpec& font) {
    QFont qfont;
    qfont.setFamily(ToQString(font.family.empty() ? Manager::GetFontName() : font.family));
    qfont.setPixelSize(std::max(1, font.size));
    qfont.setBold(font.bold);
    return qfont;
}

void QtPainter::FillRect(const Rect& rect, Argb color) {
    if (!rect.IsEmpty()) {
        painter_.fillRect(ToQRect(rect), ToQColor(color));
    }
}

void QtPainter::FillRoundRect(const Rect& rect, int radius, Argb color) {
    if (rect.IsEmpty()) {
        return;
    }
    const qreal r = std::min<qreal>(radius, std::min(rect.Width(), rect.Height()) / 2.0);
    if (r <= 0) {
        FillRect(rect, color);
        return;
    }
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawRoundedRect(ToQRectF(rect), r, r);
}

void QtPainter::DrawRoundRect(const Rect& rect, int radius, Argb color, int width) {
    if (rect.IsEmpty() || width <= 0) {
        return;
    }
    // The line lies inside the rectangle, as a border does.
    const qreal half = width / 2.0;
    const QRectF inner = ToQRectF(rect).adjusted(half, half, -half, -half);
    QPen pen(ToQColor(color), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    const qreal r = std::min<qreal>(radius - half, std::min(inner.width(), inner.height()) / 2);
    if (r <= 0) {
        painter_.drawRect(inner);
    } else {
        painter_.drawRoundedRect(inner, r, r);
    }
}

void QtPainter::FillEllipse(const Rect& rect, Argb color) {
    if (rect.IsEmpty()) {
        return;
    }
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawEllipse(ToQRectF(rect));
}

void QtPainter::DrawEllipse(const Rect& rect, Argb color, int width) {
    if (rect.IsEmpty() || width <= 0) {
        return;
    }
    const qreal half = width / 2.0;
    painter_.setPen(QPen(ToQColor(color), width));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(ToQRectF(rect).adjusted(half, half, -half, -half));
}

void QtPainter::DrawLine(Point from, Point to, Argb color, int width) {
    if (width <= 0) {
        return;
    }
    // A line of odd width runs through pixel centres, so a one-pixel line covers whole pixels.
    const qreal shift = (width % 2 == 1) ? 0.5 : 0.0;
    QPen pen(ToQColor(color), width);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(QPointF(from.x + shift, from.y + shift), QPointF(to.x + shift, to.y + shift));
}

void QtPainter::FillGradient(const Rect& rect, Argb from, Argb to, bool horizontal) {
    if (rect.IsEmpty()) {
        return;
    }
    const QPointF start(rect.left, rect.top);
    const QPointF end =
        horizontal ? QPointF(rect.right, rect.top) : QPointF(rect.left, rect.bottom);
    QLinearGradient gradient(start, end);
    gradient.setColorAt(0, ToQColor(from));
    gradient.setColorAt(1, ToQColor(to));
    painter_.fillRect(ToQRect(rect), gradient);
}

bool QtPainter::DrawImage(const std::u16string& file, int frame, int frames, const Rect& dest) {
    const QImage image = QtImageCache::Load(file);
    frames = std::max(1, frames);
    const int fw = image.width() / frames;
    const int fh = image.height();
    if (image.isNull() || fw <= 0 || fh <= 0) {
        return false;
    }
    if (dest.IsEmpty()) {
        return true;
    }
    frame = std::clamp(frame, 0, frames - 1);
    // A frame of a strip is cut out, so that smooth scaling does not pull in its neighbour's
    // edge pixels.
    const QImage source = frames == 1 ? image : image.copy(frame * fw, 0, fw, fh);
    const QRectF target = ToQRectF(dest);
    if (dest.Width() == fw && dest.Height() == fh) {
        painter_.drawImage(target.topLeft(), source);
        return true;
    }
    const int margin = std::min({kSkinCornerMax, fw / 4, fh / 4});
    if (margin <= 0) {
        painter_.drawImage(target, source);
        return true;
    }
    // Nine pieces: the corners keep their size (shrunk only when the destination is smaller than
    // two of them), the edges stretch along their length, the middle both ways.
    const qreal mx = std::min<qreal>(margin, dest.Width() / 2.0);
    const qreal my = std::min<qreal>(margin, dest.Height() / 2.0);
    Span srcCols[3], srcRows[3], dstCols[3], dstRows[3];
    Split(0, fw, margin, srcCols);
    Split(0, fh, margin, srcRows);
    Split(target.left(), target.width(), mx, dstCols);
    Split(target.top(), target.height(), my, dstRows);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF to(dstCols[col].start, dstRows[row].start, dstCols[col].length,
                            dstRows[row].length);
            const QRectF from(srcCols[col].start, srcRows[row].start, srcCols[col].length,
                              srcRows[row].length);
            if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0) {
                painter_.drawImage(to, source, from);
            }
        }
    }
    return true;
}

Size QtPainter::ImageSize(const std::u16string& file, int frames) {
    return QtImageCache::FrameSize(file, frames);
}

void QtPainter::DrawText(const Rect& rect, const std::u16string& text, const FontSpec& font,
                         Argb color, unsigned align) {
    if (text.empty() || rect.IsEmpty()) {
        return;
    }
    const QFont qfont = ToQFont(font);
    painter_.setFont(qfont);
    painter_.setPen(ToQColor(color));
    const QRectF target = ToQRectF(rect);
    const int flags = HorizontalFlags(align) | VerticalFlags(align);
    QString qtext = ToQString(text);
    if ((align & kAlignMultiLine) != 0) {
        if ((align & kAlignEllipsis) != 0) {
            DrawWrapped(target, qtext, qfont, align);
        } else {
            painter_.drawText(target, flags | Qt::TextWordWrap, qtext);
        }
        return;
    }
    if ((align & kAlignEllipsis) != 0) {
        qtext = QFontMetrics(qfont).elidedText(qtext, Qt::ElideRight, rect.Width());
    }
    painter_.drawText(target, flags, qtext);
}

// Word-wrapped text that does not fit ends its last visible line with an ellipsis.
void QtPainter::DrawWrapped(const QRectF& rect, const QString& text, const QFont& font,
                            unsigned align) {
    QString laidOut = text;
    laidOut.remove(QChar(u'\r'));
    laidOut.replace(QChar(u'\n'), QChar::LineSeparator);
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setAlignment(Qt::Alignment(HorizontalFlags(align)));
    layout.setTextOption(option);

    std::vector<QTextLine> lines;
    bool overflow = false;
    qreal height = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(rect.width());
        if (!lines.empty() && height + line.height() > rect.height()) {
            overflow = true;
            break;
        }
        line.setPosition(QPointF(0, height));
        height += line.height();
        lines.push_back(line);
    }
    layout.endLayout();

    qreal top = rect.top();
    if ((align & kAlignBottom) != 0) {
        top = rect.bottom() - height;
    } else if ((align & kAlignVCenter) != 0) {
        top = rect.top() + (rect.height() - height) / 2;
    }
    const size_t whole = overflow ? lines.size() - 1 : lines.size();
    for (size_t i = 0; i < whole; ++i) {
        lines[i].draw(&painter_, QPointF(rect.left(), top));
    }
    if (overflow) {
        const QTextLine& last = lines.back();
        QString rest = laidOut.mid(last.textStart());
        rest.replace(QChar::LineSeparator, QChar(u' '));
        const QString elided =
            QFontMetrics(font).elidedText(rest, Qt::ElideRight, static_cast<int>(rect.width()));
        const QRectF lineRect(rect.left(), top + last.y(), rect.width(), last.height());
        painter_.drawText(lineRect, HorizontalFlags(align) | Qt::AlignVCenter, elided);
    }
}

Size QtPainter::MeasureText(const std::u16string& text, const FontSpec& font) {
    const QSize size = QFontMetrics(ToQFont(font)).size(0, ToQString(text));
    return {size.width(), size.height()};
}

void QtPainter::Clip(const Rect& rect) {
    painter_.save();
    painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
    ++clipDepth_;
}

void QtPainter::Restore() {
    if (clipDepth_ > 0) {
        painter_.restore();
        --clipDepth_;
    }
}
