// Validation and conversion helpers shared by the controls.
#pragma once

#include "library/Variant.h"

namespace qv::Global {

// 0 or 1; a value that is not a whole number in that range (or no number at all) fails.
bool IsValidAppearance(const Variant& v);
bool IsValidBorderStyle(const Variant& v);

// At most 0x2FFFFFF compared as a signed 32-bit number, so system colours (top bit set) pass.
// A value that cannot be compared as a number fails.
bool IsValidColor(const Variant& v);

// A count of integer digits that a Double holds exactly: a run of that many nines, written back
// as text, shows no exponent (1 to 15).
bool IsValidPreDecimalCount(int32_t n);
// A mouse pointer a window system knows: 0 to 15, or 99 (custom icon).
bool IsValidMousePointer(int32_t v);

// True only for a one-character string "0" to "9".
bool IsDigit(const Variant& v);

// A null becomes "", anything else its string form.
String NullToEmptyString(const Variant& v);
// A null becomes the Integer 0, anything else is returned unchanged.
Variant NullToZero(const Variant& v);

// Seconds from `then` to `now` on the clock of seconds since midnight: a span that crosses
// midnight would come out negative and is taken as running into the next day.
inline float SecondsSince(float then, float now) {
    float elapsed = now - then;
    if (elapsed < 0) elapsed += 86400.0f;
    return elapsed;
}

}  // namespace qv::Global
