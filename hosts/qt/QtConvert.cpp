#include "hosts/qt/QtConvert.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace qv::qt {

QFont ToQFont(const Font& f) {
    QFont q(ToQString(f.Name()));
    q.setPointSizeF(f.Size());
    // Qt weights run 1..1000 like the container's.
    q.setWeight(static_cast<QFont::Weight>(std::clamp<int>(f.Weight(), 1, 1000)));
    q.setItalic(f.Italic());
    q.setUnderline(f.Underline());
    q.setStrikeOut(f.Strikethrough());
    return q;
}

void AssignFromQFont(Font& target, const QFont& f) {
    target.Bold(f.weight() >= QFont::DemiBold);
    target.Italic(f.italic());
    if (!f.family().isEmpty()) target.Name(FromQString(f.family()));
    const double size = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 0.75;
    if (size > 0 && size <= 2160) target.Size(static_cast<float>(size));
    target.Strikethrough(f.strikeOut());
    target.Underline(f.underline());
    target.Weight(static_cast<int16_t>(f.weight()));
}

QVariant ToQVariant(const Variant& v) {
    switch (v.Type()) {
        case VarType::Boolean:
            return v.ToBool();
        case VarType::Integer:
        case VarType::Long:
            return static_cast<int>(v.ToLong());
        case VarType::Single:
            return v.ToSingle();
        case VarType::Double:
        case VarType::Date:
            return v.ToDouble();
        case VarType::String:
            return ToQString(v.ToString());
        default:  // Empty, Null, objects
            return {};
    }
}

Variant FromQVariant(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return Variant::Null();
    switch (v.typeId()) {
        case QMetaType::Bool:
            return Variant(v.toBool());
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Int:
            return Variant(static_cast<int32_t>(v.toInt()));
        case QMetaType::Float:
            return Variant(v.toFloat());
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            const double d = v.toDouble();  // beyond a Long: a Double
            if (d >= INT32_MIN && d <= INT32_MAX) return Variant(static_cast<int32_t>(d));
            return Variant(d);
        }
        case QMetaType::Double:
            return Variant(v.toDouble());
        case QMetaType::QDate:
            return FromQDate(v.toDate());
        case QMetaType::QDateTime:
            return FromQDate(v.toDateTime().date());
        default:
            return Variant(FromQString(v.toString()));
    }
}

QDate ToQDate(const Variant& v) {
    if (v.Type() != VarType::Date) return {};
    const DateValue d = v.ToDate();
    return QDate(Year(d), Month(d), Day(d));
}

Variant FromQDate(const QDate& d) {
    if (!d.isValid()) return Variant::Null();
    return DateSerial(d.year(), d.month(), d.day());
}

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The container's system colour indices 0..24 in palette terms.
constexpr std::array<SystemRole, 25> kSystemRoles{{
    {QPalette::Active, QPalette::Button},           // 0 scroll bars
    {QPalette::Active, QPalette::Window},           // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active title bar
    {QPalette::Inactive, QPalette::Highlight},      // 3 inactive title bar
    {QPalette::Active, QPalette::Window},           // 4 menu bar
    {QPalette::Active, QPalette::Base},             // 5 window background
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 title bar text
    {QPalette::Active, QPalette::Window},           // 10 active border
    {QPalette::Inactive, QPalette::Window},         // 11 inactive border
    {QPalette::Active, QPalette::Dark},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},     // 19 inactive title bar text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 tooltip background
}};

}  // namespace

QColor ToQColor(Color c) {
    if (c & 0x80000000u) {
        const uint32_t index = c & 0xFFu;
        const SystemRole r = index < kSystemRoles.size()
                                 ? kSystemRoles[index]
                                 : SystemRole{QPalette::Active, QPalette::Base};
        return QApplication::palette().color(r.group, r.role);
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Color FromQColor(const QColor& c) {
    return static_cast<Color>(c.red()) | (static_cast<Color>(c.green()) << 8) |
           (static_cast<Color>(c.blue()) << 16);
}

QCursor ToQCursor(int16_t pointer, const Picture* icon) {
    static constexpr std::array<Qt::CursorShape, 16> kShapes{
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (pointer == 99 && icon && !icon->Data().empty()) {
        QPixmap pixmap;
        if (pixmap.loadFromData(icon->Data().data(), static_cast<uint>(icon->Data().size())))
            return QCursor(pixmap);
    }
    if (pointer >= 0 && pointer < static_cast<int16_t>(kShapes.size()))
        return QCursor(kShapes[static_cast<size_t>(pointer)]);
    return QCursor(Qt::ArrowCursor);
}

namespace {
float TwipsPerPixel(bool x) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi =
        screen ? (x ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96.0;
    return static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
}
}  // namespace

float TwipsPerPixelX() {
    return TwipsPerPixel(true);
}
float TwipsPerPixelY() {
    return TwipsPerPixel(false);
}

}  // namespace qv::qt

namespace qv::qt {

namespace {
double Luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextColor(Color fore, Color back) {
    const QColor text = ToQColor(fore);
    // An application's colour, and the palette's own pairs (text on a system background,
    // highlighted text on the highlight), stay as they are.
    const auto system = [](Color c) { return (c & 0x80000000u) != 0; };
    if (!system(fore) || system(back) || fore == SystemColor::HighlightText) return text;
    const QColor under = ToQColor(back);
    if (ContrastRatio(text, under) >= 4.5) return text;
    const QColor black(Qt::black), white(Qt::white);
    return ContrastRatio(black, under) >= ContrastRatio(white, under) ? black : white;
}

bool StyleSheetInForce(const QWidget& w) {
    if (qApp && !qApp->styleSheet().isEmpty()) return true;
    for (const QWidget* p = w.parentWidget(); p; p = p->parentWidget())
        if (!p->styleSheet().isEmpty()) return true;
    return false;
}

}  // namespace qv::qt
