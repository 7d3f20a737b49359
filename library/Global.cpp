#include "library/Global.h"

#include <cmath>
#include <optional>

#include "library/RuntimeError.h"

namespace qv::Global {

namespace {

// The value as a Double, or nothing when it has no numeric value (Null, objects, text that is
// not a number). Empty counts as 0 and Booleans as -1 / 0, as in any numeric conversion.
std::optional<double> NumericValue(const Variant& v) {
    if (v.IsNull() || v.IsObject() || v.IsMissing()) return std::nullopt;
    try {
        const double d = v.ToDouble();
        if (std::isnan(d)) return std::nullopt;
        return d;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool IsZeroOrOne(const Variant& v) {
    const auto d = NumericValue(v);
    return d && (*d == 0 || *d == 1);
}

}  // namespace

bool IsValidAppearance(const Variant& v) {
    return IsZeroOrOne(v);
}
bool IsValidBorderStyle(const Variant& v) {
    return IsZeroOrOne(v);
}

// Colours are 32-bit patterns: a value written as an unsigned number (0x80000005 as 2147483653)
// is read back as the signed Long with the same bits before the comparison.
bool IsValidColor(const Variant& v) {
    const auto d = NumericValue(v);
    if (!d) return false;
    double r = RoundHalfEven(*d);
    if (r < -2147483648.0 || r >= 4294967296.0) return false;
    if (r >= 2147483648.0) r -= 4294967296.0;
    return r <= static_cast<double>(0x2FFFFFF);
}

bool IsValidPreDecimalCount(int32_t n) {
    if (n < 1 || n > 400) return false;  // 1E+400 is no Double at all
    const double nines = Val(String(static_cast<size_t>(n), u'9'));
    const String text = DoubleToString(nines);
    return text.find(u'E') == String::npos && text.find(u'e') == String::npos;
}

bool IsValidMousePointer(int32_t v) {
    return (v >= 0 && v <= 15) || v == 99;
}

bool IsDigit(const Variant& v) {
    if (!v.IsString()) return false;
    const String s = v.ToString();
    return s.size() == 1 && s[0] >= u'0' && s[0] <= u'9';
}

String NullToEmptyString(const Variant& v) {
    return v.IsNull() ? String() : v.ToString();
}

Variant NullToZero(const Variant& v) {
    return v.IsNull() ? Variant(int16_t{0}) : v;
}

}  // namespace qv::Global
