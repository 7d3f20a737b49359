// The container's keyboard: key codes, the characters keys make on a US layout, and the keystroke
// strings of Host::SendKeys. Shared by every host: each maps its own keys onto these codes.
#pragma once

#include <cstdint>
#include <vector>

#include "library/String.h"

namespace qv {

// Key codes of the container (the values of key-down and key-up notices).
namespace Key {
inline constexpr int16_t Back = 8;
inline constexpr int16_t Tab = 9;
inline constexpr int16_t Return = 13;
inline constexpr int16_t Shift = 16;
inline constexpr int16_t Control = 17;
inline constexpr int16_t Menu = 18;  // Alt
inline constexpr int16_t Escape = 27;
inline constexpr int16_t Space = 32;
inline constexpr int16_t PageUp = 33;
inline constexpr int16_t PageDown = 34;
inline constexpr int16_t End = 35;
inline constexpr int16_t Home = 36;
inline constexpr int16_t Left = 37;
inline constexpr int16_t Up = 38;
inline constexpr int16_t Right = 39;
inline constexpr int16_t Down = 40;
inline constexpr int16_t Insert = 45;
inline constexpr int16_t Delete = 46;
inline constexpr int16_t F1 = 112;
// Characters the keyboard cannot make directly ("ü"): the character arrives as typed.
inline constexpr int16_t Processed = 229;
}  // namespace Key

// One keystroke: key down, the character it makes (0 for none), key up.
struct KeyStroke {
    int16_t keyCode = 0;
    int16_t shift = 0;  // ShiftState bits
    char16_t character = 0;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// The character a key makes with a shift state on a US keyboard, 0 for none: letters and digits,
// punctuation, space, Enter 13, Backspace 8, Tab 9, Escape 27, numeric keypad; Ctrl+letter makes
// the control code 1..26, Ctrl+Enter 10, Ctrl+Backspace 127; Alt combinations make none.
char16_t CharForKey(int16_t keyCode, int16_t shift);

// The keystroke that types `c`: letters 65..90 (Shift for upper case), digits, punctuation with
// Shift where the US keyboard needs it, "\r" and "\n" Enter, "\b" Backspace, "\t" Tab, other
// control codes Ctrl+letter; any other character key code 229, delivered as typed.
KeyStroke StrokeForChar(char16_t c);

// Parses a key string: plain characters; "~" Enter; "+", "^", "%" hold Shift, Ctrl, Alt for the
// next key or a group in parentheses ("+(ab)"); braced names {BACKSPACE} {BS} {BKSP} {DELETE}
// {DEL} {INSERT} {INS} {LEFT} {RIGHT} {UP} {DOWN} {HOME} {END} {PGUP} {PGDN} {ENTER} {TAB} {ESC}
// {F1}..{F16}, braced characters {+} {^} {%} {~} {(} {)} {{} {}}, each with an optional repeat
// count ("{LEFT 3}"). Names are case-insensitive. A malformed string is error 5 and queues nothing.
std::vector<KeyStroke> ParseKeys(StringView keys);

}  // namespace qv
