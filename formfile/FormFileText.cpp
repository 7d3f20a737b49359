#include "formfile/FormFileText.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace qv::formfile {

namespace {

// U+FFFF U+FFFE, two noncharacters no form file has reason to hold, then the value's number.
constexpr std::string_view kMarker = "\xEF\xBF\xBF\xEF\xBF\xBE";

int LeadLength(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 1;
}

// The length of the well-formed sequence at s[i], or 0 with `bad` set to the length of the
// ill-formed part to replace. Overlongs, surrogates and values above U+10FFFF are ill-formed.
size_t WellFormedLength(std::string_view s, size_t i, size_t& bad) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    const int length = LeadLength(s[i]);
    if (length == 1) {
        bad = 1;
        return 0;
    }
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
    size_t k = 1;
    for (; k < static_cast<size_t>(length) && i + k < s.size(); ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) break;
    }
    if (k == static_cast<size_t>(length)) return k;
    bad = k;
    return 0;
}

int HexValue(std::string_view s, size_t at) {
    if (at + 4 > s.size()) return -1;
    int v = 0;
    for (size_t k = at; k < at + 4; ++k) {
        const char c = s[k];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

// The end of the string literal that opens at s[i] (after its closing quote), or npos when the
// text ends first; `why` says what the parser would refuse in it, nullptr when nothing.
size_t StringEnd(std::string_view s, size_t i, const char*& why) {
    why = nullptr;
    size_t k = i + 1;
    while (k < s.size() && s[k] != '"') {
        if (s[k] != '\\') {
            ++k;
            continue;
        }
        if (k + 1 >= s.size()) return std::string_view::npos;
        const char e = s[k + 1];
        if (e != 'u') {
            if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos && !why)
                why = "a string with an escape that is not JSON";
            k += 2;
            continue;
        }
        const int code = HexValue(s, k + 2);
        if (code < 0) {
            if (!why) why = "a string with an escape that is not JSON";
            k += 2;
            continue;
        }
        k += 6;
        if (code >= 0xD800 && code <= 0xDBFF) {
            const int low =
                k + 1 < s.size() && s[k] == '\\' && s[k + 1] == 'u' ? HexValue(s, k + 2) : -1;
            if (low >= 0xDC00 && low <= 0xDFFF)
                k += 6;
            else if (!why)
                why = "a string with an unpaired surrogate";
        } else if (code >= 0xDC00 && code <= 0xDFFF && !why) {
            why = "a string with an unpaired surrogate";
        }
    }
    return k < s.size() ? k + 1 : std::string_view::npos;
}

bool IsNumberGrammar(std::string_view t) {
    size_t i = 0;
    auto digits = [&] {
        const size_t from = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        return i > from;
    };
    if (i < t.size() && t[i] == '-') ++i;
    if (i < t.size() && t[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (!digits()) return false;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (!digits()) return false;
    }
    return i == t.size();
}

bool BeyondDouble(std::string_view t) {
    const std::string copy(t);  // strtod wants a terminated string
    errno = 0;
    const double d = std::strtod(copy.c_str(), nullptr);
    return std::isinf(d);
}

}  // namespace

std::string Shortened(std::string_view t) {
    constexpr size_t kMax = 40;
    if (t.size() <= kMax) return std::string(t);
    size_t end = kMax - 3;
    while (end > 0 && (static_cast<unsigned char>(t[end]) & 0xC0) == 0x80) --end;
    return std::string(t.substr(0, end)) + "...";
}

size_t OffsetMap::Original(size_t offset) const {
    std::ptrdiff_t shift = 0;
    for (const Patch& p : patches_) {
        if (offset < p.at) break;
        if (offset < p.at + p.atLength) return p.from;
        shift = static_cast<std::ptrdiff_t>(p.from + p.fromLength) -
                static_cast<std::ptrdiff_t>(p.at + p.atLength);
    }
    return static_cast<size_t>(static_cast<std::ptrdiff_t>(offset) + shift);
}

FormFileText::FormFileText(std::string_view file) : file_(file) {
    RepairUtf8(file);
    MarkUnreadable(Text());
}

void FormFileText::RepairUtf8(std::string_view in) {
    size_t i = 0;
    std::string out;
    while (i < in.size()) {
        // Runs of ASCII, the bulk of any form file, eight bytes at a time.
        size_t run = i;
        while (run + 8 <= in.size()) {
            uint64_t word;
            std::memcpy(&word, in.data() + run, 8);
            if (word & 0x8080808080808080ULL) break;
            run += 8;
        }
        if (run > i) {
            if (patched_) out.append(in.substr(i, run - i));
            i = run;
            continue;
        }
        size_t bad = 0;
        const size_t good = WellFormedLength(in, i, bad);
        if (good) {
            if (patched_) out.append(in.substr(i, good));
            i += good;
            continue;
        }
        if (!patched_) {
            patched_.emplace();
            out.reserve(in.size() + 16);
            out.append(in.substr(0, i));
        }
        // A sequence cut off by the end of the file is left to the parser to report as a cut.
        const bool cutOff = LeadLength(in[i]) > 1 && i + bad == in.size();
        if (!cutOff && !firstBad_) firstBad_ = i;
        utf8_.Add(out.size(), 3, i, bad);
        out += "\xEF\xBF\xBD";
        i += bad;
    }
    if (patched_) *patched_ = std::move(out);
}

void FormFileText::MarkUnreadable(std::string_view in) {
    std::string out;
    size_t copied = 0;  // `in` up to here is in `out` (once there is a first mark)
    auto mark = [&](size_t from, size_t to, const char* why) {
        if (out.empty()) out.reserve(in.size());
        out.append(in.substr(copied, from - copied));
        const std::string marker =
            "\"" + std::string(kMarker) + std::to_string(unreadable_.size()) + "\"";
        tokens_.Add(out.size(), marker.size(), from, to - from);
        out += marker;
        unreadable_.push_back({Shortened(in.substr(from, to - from)), why});
        copied = to;
    };
    size_t i = 0;
    while (i < in.size()) {
        const char c = in[i];
        if (c == '"') {
            const char* why = nullptr;
            const size_t end = StringEnd(in, i, why);
            if (end == std::string_view::npos) break;  // the parser reports the cut
            if (why) mark(i, end, why);
            i = end;
        } else if ((c == '-' &&
                    !(i + 1 < in.size() && std::isalpha(static_cast<unsigned char>(in[i + 1])))) ||
                   (c >= '0' && c <= '9')) {
            size_t end = i + 1;
            while (end < in.size() &&
                   std::string_view("0123456789+-.eE").find(in[end]) != std::string_view::npos)
                ++end;
            const std::string_view token = in.substr(i, end - i);
            // At the very end a number may be cut short: that is the parser's to report.
            if (end < in.size() && IsNumberGrammar(token) && BeyondDouble(token))
                mark(i, end, "a number beyond the range of a Double");
            i = end;
        } else if (c == '-' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {  // "-Infinity"
            size_t end = i + 1;
            while (end < in.size() &&
                   ((in[end] >= 'a' && in[end] <= 'z') || (in[end] >= 'A' && in[end] <= 'Z') ||
                    (in[end] >= '0' && in[end] <= '9')))
                ++end;
            const std::string_view word = in.substr(i, end - i);
            if (end < in.size() && word != "true" && word != "false" && word != "null")
                mark(i, end, "a word that is not a JSON value");
            i = end;
        } else {
            ++i;
        }
    }
    if (unreadable_.empty()) return;
    out.append(in.substr(copied));
    patched_ = std::move(out);
}

const UnreadableValue* FormFileText::Unreadable(std::string_view s) const {
    if (s.size() <= kMarker.size() || s.substr(0, kMarker.size()) != kMarker) return nullptr;
    size_t index = 0;
    const auto digits = s.substr(kMarker.size());
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || end != digits.data() + digits.size() || index >= unreadable_.size())
        return nullptr;
    return &unreadable_[index];
}

}  // namespace qv::formfile
