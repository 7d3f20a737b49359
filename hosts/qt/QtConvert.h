// Conversions between the library's values and Qt's: strings, fonts, colours, pointers, twips.
#pragma once

#include <QColor>
#include <QCursor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <cmath>

#include "library/Font.h"
#include "library/Picture.h"
#include "library/Variant.h"
#include "library/Widgets.h"

namespace qv::qt {

inline QString ToQString(StringView s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}
inline String FromQString(const QString& s) {
    return String(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

QFont ToQFont(const Font& f);
// Attribute by attribute, in the order Font::Assign uses.
void AssignFromQFont(Font& target, const QFont& f);

// Values of Variant properties. Null and Empty are an invalid QVariant and come back as Null;
// numbers keep their type (Integer and Long as int, Single as float), dates are their day count,
// objects are not carried. Other Qt types arrive as their text.
QVariant ToQVariant(const Variant& v);
Variant FromQVariant(const QVariant& v);

// Dates: a null or non-date Variant is an invalid QDate and back; the time of day is dropped.
// FromQDate raises error 5 for a date the container's calendar does not reach (before 100).
QDate ToQDate(const Variant& v);
Variant FromQDate(const QDate& d);

// A container colour; system colours (top bit set) come from the application's palette.
QColor ToQColor(Color c);
Color FromQColor(const QColor& c);

// The colour to draw text of colour `fore` on `back`. A colour the application chose is kept, and
// so are the palette's own pairs; a system colour (which a dark theme makes light) on a chosen
// background (the pastel state colours) that would read worse than 4.5:1 gives way to black or
// white, whichever reads better.
QColor ReadableTextColor(Color fore, Color back);
// The contrast ratio of two colours (1 to 21), from their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);
// Whether a style sheet applies to `w` (the application's or an ancestor's), not counting `w`'s
// own.
bool StyleSheetInForce(const QWidget& w);

// The pointer shape of a MousePointer value (0 default .. 15, 99 custom from `icon`).
QCursor ToQCursor(int16_t pointer, const Picture* icon);

// Twips per pixel from the primary screen's logical resolution (15 at 96 dpi).
float TwipsPerPixelX();
float TwipsPerPixelY();
inline int ToPixels(int32_t twips, float tpp) {
    return static_cast<int>(std::lround(static_cast<float>(twips) / tpp));
}

}  // namespace qv::qt
