#include "library/CaseFold.h"

#include <algorithm>
#include <cstdint>

namespace qv {

namespace {
#include "library/CaseFoldTable.inc"

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
char32_t Combine(char16_t high, char16_t low) {
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (low - 0xDC00);
}
}  // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 32 : c;
    if (c < 0xB5) return c;  // nothing between ASCII and the micro sign folds
    const uint32_t* end = kCaseFoldFrom + kCaseFoldCount;
    const uint32_t* it = std::lower_bound(kCaseFoldFrom, end, static_cast<uint32_t>(c));
    return it != end && *it == c ? kCaseFoldTo[it - kCaseFoldFrom] : c;
}

char16_t FoldedUnit(StringView s, size_t i) {
    const char16_t u = s[i];
    if (u < 0xD800) {
        if (u < 0x80) return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u;
        return static_cast<char16_t>(FoldCase(u));
    }
    if (IsHigh(u) && i + 1 < s.size() && IsLow(s[i + 1]))
        return static_cast<char16_t>(0xD800 + ((FoldCase(Combine(u, s[i + 1])) - 0x10000) >> 10));
    if (IsLow(u) && i > 0 && IsHigh(s[i - 1]))
        return static_cast<char16_t>(0xDC00 + ((FoldCase(Combine(s[i - 1], u)) - 0x10000) & 0x3FF));
    if (IsHigh(u) || IsLow(u)) return u;
    return static_cast<char16_t>(FoldCase(u));
}

String Folded(StringView s) {
    String out(s.size(), u'\0');
    for (size_t i = 0; i < s.size(); ++i) out[i] = FoldedUnit(s, i);
    return out;
}

int CompareFolded(StringView a, StringView b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        // Equal units fold alike (a pair's second unit folds with its first, equal as well).
        if (a[i] == b[i] && (a[i] < 0xD800 || a[i] > 0xDFFF)) continue;
        const char16_t x = FoldedUnit(a, i), y = FoldedUnit(b, i);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsFolded(StringView a, StringView b) {
    return a.size() == b.size() && CompareFolded(a, b) == 0;
}

int CompareHeadFolded(StringView text, StringView prefix) {
    const size_t n = std::min(text.size(), prefix.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = FoldedUnit(text, i), y = FoldedUnit(prefix, i);
        if (x != y) return x < y ? -1 : 1;
    }
    return text.size() < prefix.size() ? -1 : 0;
}

bool StartsWithFolded(StringView text, StringView prefix) {
    return CompareHeadFolded(text, prefix) == 0;
}

}  // namespace qv
