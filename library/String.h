// qv::String: the controls' string type, a sequence of 16-bit units.
//
// Lengths, positions and key codes count 16-bit units, as the container language does. Conversion
// to and from UTF-8 happens only at the edges (std::string APIs, printing, the Qt host).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid UTF-8 sequences become U+FFFD; lone surrogates become U+FFFD in UTF-8.
String FromUtf8(std::string_view utf8);
std::string ToUtf8(StringView text);

// Shorthand for literals and tests: qv::u8s("Grüße").
inline String u8s(std::string_view utf8) {
    return FromUtf8(utf8);
}

// Trimming removes the blank (code 32) only; tabs and line breaks stay.
String TrimBlanks(StringView text);
String TrimLeftBlanks(StringView text);
String TrimRightBlanks(StringView text);

// Locale-independent simple upper-case mapping of the Basic Multilingual Plane (Unicode 14 data):
// "ü" -> "Ü", "ß" stays "ß" (it has no single-unit upper case), Greek and Cyrillic included.
char16_t UpperCaseChar(char16_t c);

// The first unit of a surrogate pair.
inline bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// Equal but for the case of ASCII letters (names of members, widgets, keys).
bool EqualsNoCase(StringView a, StringView b);
String UpperCase(StringView text);

}  // namespace qv
