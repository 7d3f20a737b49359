// Case-insensitive comparison by Unicode simple case folding, on UTF-16 text.
//
// Folding maps each code point to one code point of the same plane, so a folded text has the
// length of the original and its units stand where the original's do. Comparisons run on the
// folded code units; the order they define keeps every text with a given folded prefix together.
#pragma once

#include <cstddef>

#include "library/String.h"

namespace qv {

// The simple case folding of one code point (itself when it has none).
char32_t FoldCase(char32_t c);
// The folded code unit at `i` of `s` (a surrogate pair folds as one code point; a lone
// surrogate stays as it is).
char16_t FoldedUnit(StringView s, size_t i);
String Folded(StringView s);
// Negative, zero or positive as the folded `a` sorts before, with or after the folded `b`.
int CompareFolded(StringView a, StringView b);
bool EqualsFolded(StringView a, StringView b);
// Compares the folded head of `text` (its first prefix.size() units, folded within the whole
// text) with the folded `prefix`; a text shorter than the prefix sorts before it.
int CompareHeadFolded(StringView text, StringView prefix);
// Whether the folded `text` begins with the folded `prefix`.
bool StartsWithFolded(StringView text, StringView prefix);

}  // namespace qv
