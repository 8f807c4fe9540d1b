#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "ui/toolkit/Color.h"
#include "ui/toolkit/Geometry.h"

// Conversions between the toolkit's types and Qt's. QString holds UTF-16 like the program's
// strings, so the text is copied unit for unit.

inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return text.toStdU16String();
}

inline QRect ToQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

inline Rect FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

inline QColor ToQColor(Argb color) {
    return QColor::fromRgba(color);
}
