// Text operations of the date box: the layouts of a date text, the typing parser, composition and
// the reading of a ten-character text as a date. Pure functions, shared by the control and the
// tests.
//
// A complete date text is 10 characters: DMY "dd.mm.yyyy", YMD "yyyy-mm-dd", MDY "mm/dd/yyyy",
// each with its layout's separator property in positions 3 and 6 (YMD: 5 and 8). Years run from
// 1900 to 2099 and follow the Gregorian leap rule.
//
// An empty separator property is one the layout has no character for. Parse then works as if
// the separator were a placeholder in its positions and leaves the placeholders out of the
// result, so typing still filters digit by digit; a complete typed date is then 8 characters
// ("05122024"), which Parts and DateOf read as no date. A property longer than one character
// counts by its first character, as the control stores it.
#pragma once

#include <cstdint>
#include <optional>

#include "library/String.h"

namespace qv::datetext {

// The values of the DateFormat property. Any other value is treated as DMY.
enum class Layout : int32_t { DMY = 0, YMD = 1, MDY = 2 };

struct Ymd {
    int32_t year = 0, month = 0, day = 0;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};

// The three separator properties, each "" or one character.
struct Separators {
    String dmy = u".", mdy = u"/", ymd = u"-";
    const String& Of(Layout layout) const;
};

// 1..31, 1..12, 1900..2099, within the month's length.
bool IsValidDate(int32_t day, int32_t month, int32_t year);
// "-", "/", "," or ".", or the character of one of the three properties.
bool IsSeparator(char16_t c, const Separators& separators);

// The typing parser. Reads `candidate` from the left and builds the date text it can take: a
// missing leading zero or separator is supplied ("5" -> "05", "1," -> "01.", "051" -> "05.1"),
// typed separators become the layout's own, and the first character that cannot continue a valid
// date ends the parse; the rest is dropped. Day and month are checked against each other while
// typing (no 31.04, no 30.02, 29.02 only in a leap year). The result is at most 10 characters.
String Parse(StringView candidate, Layout layout, const Separators& separators);

// "dd", "mm" and "yyyy" (zero-padded, cut to their last digits) joined in the layout with its
// separator property. Meant for dates that pass IsValidDate.
String Compose(Ymd date, Layout layout, const Separators& separators);

// The day, month and year of a text of exactly 10 characters, taken by position for the layout
// (separators are not examined) and read as numbers: the leading number, rounded half to even,
// limited to the int32_t range. nullopt for any other length.
std::optional<Ymd> Parts(StringView text, Layout layout);

// Parts of a 10-character text that name a valid date; nullopt otherwise. An invalid day or
// month never rolls over into another date.
std::optional<Ymd> DateOf(StringView text, Layout layout);

}  // namespace qv::datetext
