#include "library/PropertyHelpers.h"

#include <cmath>

#include "library/Global.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
// A number in [-2^31, 2^32) as the 32 bits of a colour.
std::optional<Color> ColorBits(const Variant& v) {
    if (v.IsNull() || v.IsEmpty() || v.IsObject() || v.IsMissing()) return std::nullopt;
    try {
        const double d = v.ToDouble();
        if (!(d >= -2147483648.0 && d < 4294967296.0) || d != std::floor(d)) return std::nullopt;
        return static_cast<Color>(static_cast<int64_t>(d) & 0xFFFFFFFF);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}
}  // namespace

Variant ColorToVariant(Color c) {
    return Variant(static_cast<int32_t>(c));
}

std::optional<Color> ColorFromVariant(const Variant& v) {
    if (!Global::IsValidColor(v)) return std::nullopt;
    return ColorBits(v);
}

void RequireValidColor(Color c) {
    if (!Global::IsValidColor(ColorToVariant(c))) Raise(err::InvalidPropertyValue);
}

Variant ReadOr(PropertyBag& bag, const String& key, const Variant& defaultValue) {
    try {
        return bag.ReadProperty(key, defaultValue);
    } catch (const RuntimeError&) {
        return defaultValue;
    }
}

bool ReadBool(PropertyBag& bag, const String& key, bool defaultValue) {
    try {
        return bag.ReadProperty(key, defaultValue).ToBool();
    } catch (const RuntimeError&) {
        return defaultValue;
    }
}

int32_t ReadLong(PropertyBag& bag, const String& key, int32_t defaultValue) {
    try {
        return bag.ReadProperty(key, defaultValue).ToLong();
    } catch (const RuntimeError&) {
        return defaultValue;
    }
}

String ReadString(PropertyBag& bag, const String& key, const String& defaultValue) {
    try {
        return bag.ReadProperty(key, defaultValue).ToString();
    } catch (const RuntimeError&) {
        return defaultValue;
    }
}

Color ReadColor(PropertyBag& bag, const String& key, Color defaultValue) {
    return ColorFromVariant(ReadOr(bag, key, ColorToVariant(defaultValue))).value_or(defaultValue);
}

int32_t ReadZeroOrOne(PropertyBag& bag, const String& key, int32_t defaultValue) {
    const Variant v = ReadOr(bag, key, defaultValue);
    return Global::IsValidAppearance(v) ? v.ToLong() : defaultValue;
}

void ThrowInvalidArgument() {
    Raise(err::InvalidPropertyValue);
}

namespace {
template <class F>
auto Converted(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const RuntimeError&) {
        ThrowInvalidArgument();
    }
}
}  // namespace

bool ArgBool(const Variant& v) {
    return Converted([&] { return v.ToBool(); });
}
int16_t ArgInteger(const Variant& v) {
    return Converted([&] { return v.ToInteger(); });
}
int32_t ArgLong(const Variant& v) {
    return Converted([&] { return v.ToLong(); });
}
float ArgSingle(const Variant& v) {
    return Converted([&] { return v.ToSingle(); });
}
String ArgString(const Variant& v) {
    return Converted([&] { return v.ToString(); });
}

Color ArgColor(const Variant& v) {
    if (auto c = ColorBits(v)) return *c;
    ThrowInvalidArgument();
}

}  // namespace qv
