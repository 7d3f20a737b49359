#include "library/String.h"

#include <algorithm>

#include "library/UpperCaseTable.h"

namespace qv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

// Each ill-formed sequence is replaced by one U+FFFD per maximal subpart (the bytes that could
// still have started a valid sequence), so a bad byte never swallows the valid text after it.
// Overlong forms, encoded surrogates and values above U+10FFFF are ill-formed.
String FromUtf8(std::string_view utf8) {
    const size_t n = utf8.size();
    // The ASCII start (often the whole text) in one go.
    size_t i = 0;
    while (i < n && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
    String out(i, u'\0');
    std::transform(utf8.begin(), utf8.begin() + static_cast<std::ptrdiff_t>(i), out.begin(),
                   [](char c) { return static_cast<char16_t>(c); });
    if (i == n) return out;
    out.reserve(n);
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out += static_cast<char16_t>(b0);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        // Allowed range of the second byte; it excludes overlongs, surrogates and > U+10FFFF.
        unsigned char lo = 0x80, hi = 0xBF;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            cp = b0 & 0x0F;
            if (b0 == 0xE0) lo = 0xA0;
            if (b0 == 0xED) hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            cp = b0 & 0x07;
            if (b0 == 0xF0) lo = 0x90;
            if (b0 == 0xF4) hi = 0x8F;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (int k = 1; k < length; ++k, ++j) {
            if (j >= n) {
                ok = false;
                break;
            }
            const auto b = static_cast<unsigned char>(utf8[j]);
            const bool inRange = k == 1 ? (b >= lo && b <= hi) : IsContinuation(b);
            if (!inRange) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        i = j;
        if (!ok) {
            out += kReplacement;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string ToUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

String TrimLeftBlanks(StringView text) {
    const size_t first = text.find_first_not_of(u' ');
    return first == StringView::npos ? String() : String(text.substr(first));
}

String TrimRightBlanks(StringView text) {
    const size_t last = text.find_last_not_of(u' ');
    return last == StringView::npos ? String() : String(text.substr(0, last + 1));
}

String TrimBlanks(StringView text) {
    const size_t first = text.find_first_not_of(u' ');
    if (first == StringView::npos) return String();
    const size_t last = text.find_last_not_of(u' ');
    return String(text.substr(first, last - first + 1));
}

char16_t UpperCaseChar(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    const auto* begin = detail::kUpperCaseRuns;
    const auto* end = begin + detail::kUpperCaseRunCount;
    // The first run that does not end before c.
    const auto* run = std::lower_bound(
        begin, end, c, [](const detail::UpperCaseRun& r, char16_t ch) { return r.last < ch; });
    if (run == end || c < run->first || (c - run->first) % run->step != 0) return c;
    return static_cast<char16_t>(static_cast<int32_t>(c) + run->delta);
}

String UpperCase(StringView text) {
    String out(text);
    for (char16_t& c : out) c = UpperCaseChar(c);
    return out;
}

bool EqualsNoCase(StringView a, StringView b) {
    auto upper = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - 32 : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

}  // namespace qv
