// Text operations of the numeric box: digit runs, grouping, regrouping and rounding of decimal
// numbers held as text. Pure functions, so that typing, formatting and the tests share them.
//
// "dec" is the decimal character shown to the user and "sep" the grouping character; the
// canonical value text always uses "." and carries neither sign nor grouping ("1234.5", "5.").
#pragma once

#include <optional>

#include "library/String.h"

namespace qv::numtext {

struct Chars {
    char16_t dec = u',';
    char16_t sep = u'.';
};

// The characters before the first dec, leaving out every sep, "-" and blank.
String PreDecimalDigits(StringView text, Chars c);
// "" without a dec; otherwise the characters after the first dec, leaving out every sep.
String PostDecimalDigits(StringView text, Chars c);
// "1234567" -> "1.234.567": sep before every complete group of three from the right.
String GroupPreDecimal(StringView digits, char16_t sep);
// "1234" -> "123.4": sep after every complete group of three from the left, never at the end.
String GroupPostDecimal(StringView digits, char16_t sep);
// Regroups a display text without adding or removing digits; keeps a leading "-" and a
// trailing dec ("1234," -> "1.234,").
String FormatDisplayText(StringView text, Chars c, bool separator);

// Formats a canonical value text with at most `preDigits` integer digits and exactly
// `postDigits` fraction digits, rounding half up. Empty integer digits count as "0". nullopt
// when the integer part (after a rounding carry) needs more than `preDigits` digits.
std::optional<String> FormatNumber(StringView valueText, bool negative, int preDigits,
                                   int postDigits, Chars c, bool separator);

// A plain decimal number: optional blanks, optional sign, digits with at most one ".", at least
// one digit, nothing else.
bool IsPlainDecimal(StringView text);

}  // namespace qv::numtext
