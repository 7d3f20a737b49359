// Helpers every control uses for colours, loading with defaults and late-bound arguments.
#pragma once

#include <optional>

#include "library/PropertyBag.h"
#include "library/Widgets.h"

namespace qv {

// A colour as the container stores it: a Long holding the 32 bits (system colours negative).
Variant ColorToVariant(Color c);
// The colour a value names when it passes the colour test; nullopt otherwise.
std::optional<Color> ColorFromVariant(const Variant& v);
// Raises error 380 unless the colour passes the colour test.
void RequireValidColor(Color c);

// Loading: a key that cannot be read, or whose value cannot take the type, gives the default.
Variant ReadOr(PropertyBag& bag, const String& key, const Variant& defaultValue);
bool ReadBool(PropertyBag& bag, const String& key, bool defaultValue);
int32_t ReadLong(PropertyBag& bag, const String& key, int32_t defaultValue);
String ReadString(PropertyBag& bag, const String& key, const String& defaultValue);
// Colours also fall back to the default when the stored value fails the colour test.
Color ReadColor(PropertyBag& bag, const String& key, Color defaultValue);
// 0 or 1 (the appearance and border style test), else the default.
int32_t ReadZeroOrOne(PropertyBag& bag, const String& key, int32_t defaultValue);

// Late-bound arguments: a value that cannot take the type raises error 380.
bool ArgBool(const Variant& v);
int16_t ArgInteger(const Variant& v);
int32_t ArgLong(const Variant& v);
float ArgSingle(const Variant& v);
String ArgString(const Variant& v);
Color ArgColor(const Variant& v);  // also accepts 0x80000000..0xFFFFFFFF given as positive numbers
[[noreturn]] void ThrowInvalidArgument();  // error 380
// The object of type T, nullptr for Empty or Null, error 380 for anything else.
template <class T>
std::shared_ptr<T> ArgObject(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return nullptr;
    auto p = v.As<T>();
    if (!p) ThrowInvalidArgument();
    return p;
}

}  // namespace qv
