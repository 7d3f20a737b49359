#include "datebox/DateText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "library/Variant.h"

namespace qv::datetext {

const String& Separators::Of(Layout layout) const {
    switch (layout) {
        case Layout::YMD:
            return ymd;
        case Layout::MDY:
            return mdy;
        case Layout::DMY:
            break;
    }
    return dmy;
}

namespace {

constexpr size_t kLength = 10;
// Day checks made before the year is typed allow 29 February; the year checks it later.
constexpr int32_t kSomeLeapYear = 2000;

// The calendar's month lengths, month first as the parser reads them.
int32_t DaysInMonth(int32_t month, int32_t year) {
    return qv::DaysInMonth(year, month);
}

bool Matches(char16_t c, const String& property) {
    return !property.empty() && c == property[0];
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int32_t Number(const char16_t* digits, size_t count) {
    int32_t n = 0;
    for (size_t i = 0; i < count; ++i) n = n * 10 + (digits[i] - u'0');
    return n;
}

// The parse state: the text built so far (digits and the separator only) and the remembered
// month and day, which later positions check against.
struct Parser {
    char16_t out[kLength];
    size_t n = 0;
    int32_t month = 0, day = 0;
    char16_t sep;
    bool omitSeparator;  // the layout's property is empty: sep is a placeholder
    const Separators& separators;

    char16_t Previous() const { return out[n - 1]; }
    int32_t WithPrevious(char16_t c) const { return (Previous() - u'0') * 10 + (c - u'0'); }
    bool IsSep(char16_t c) const { return IsSeparator(c, separators); }
};

// What one position does with the character c at hand.
enum class Action {
    Take,        // append c
    PutSep,      // append the layout's separator in place of c
    InsertSep,   // append the separator; c is examined again at the next position
    InsertZero,  // append "0"; c is examined again at the next position
    PadDigit,    // "0" goes in front of the single digit before c; c is examined again
    Stop,
};

// A separator position; `supply` tells whether c may follow a supplied separator. In a text
// without separator characters a digit stays a digit, even one that a property names.
Action SeparatorPosition(const Parser& p, char16_t c, bool supply) {
    if (p.IsSep(c) && !(p.omitSeparator && IsDigit(c))) return Action::PutSep;
    return supply ? Action::InsertSep : Action::Stop;
}

// The first digit of a part that may be given as one digit: `last` is the highest digit that
// can start it; a higher one is the part's second digit.
Action FirstDigit(char16_t c, char16_t last) {
    if (!IsDigit(c)) return Action::Stop;
    return c <= last ? Action::Take : Action::InsertZero;
}

// A month's second digit (MDY 2, YMD 7), or a separator completing a one-digit month.
Action MonthSecondDigit(Parser& p, char16_t c) {
    const char16_t prev = p.Previous();
    if ((prev == u'0' && c >= u'1' && c <= u'9') || (prev == u'1' && c >= u'0' && c <= u'2')) {
        p.month = p.WithPrevious(c);
        return Action::Take;
    }
    if (p.IsSep(c) && prev != u'0') {
        p.month = prev - u'0';
        return Action::PadDigit;
    }
    return Action::Stop;
}

// The first two digits of a year: 19 or 20.
Action CenturyDigit(const Parser& p, char16_t c, bool first) {
    const bool fits =
        first ? c == u'1' || c == u'2'
              : (p.Previous() == u'1' && c == u'9') || (p.Previous() == u'2' && c == u'0');
    return fits ? Action::Take : Action::Stop;
}

// Year digits in DMY and MDY (positions 7 to 10). A remembered 29 February needs a leap year.
Action TrailingYearDigit(const Parser& p, char16_t c) {
    switch (p.n + 1) {
        case 7:
        case 8:
            return CenturyDigit(p, c, p.n + 1 == 7);
        case 9:
            return IsDigit(c) ? Action::Take : Action::Stop;
        default:
            if (!IsDigit(c)) return Action::Stop;
            if (p.month == 2 && p.day == 29 && !IsLeapYear(Number(p.out + 6, 3) * 10 + (c - u'0')))
                return Action::Stop;
            return Action::Take;
    }
}

Action StepDmy(Parser& p, char16_t c) {
    switch (p.n + 1) {
        case 1:
            return FirstDigit(c, u'3');
        case 2:
            if (IsDigit(c)) {
                const int32_t d = p.WithPrevious(c);
                if (d >= 1 && d <= 31) {
                    p.day = d;
                    return Action::Take;
                }
            }
            return p.IsSep(c) && p.Previous() != u'0' ? Action::PadDigit : Action::Stop;
        case 3:
            return SeparatorPosition(p, c, IsDigit(c));
        case 4:
            return FirstDigit(c, u'1');
        case 5:
            if (IsDigit(c)) {
                const int32_t m = p.WithPrevious(c);
                if (m >= 1 && m <= 12 && p.day <= DaysInMonth(m, kSomeLeapYear)) {
                    p.month = m;
                    return Action::Take;
                }
            }
            if (p.IsSep(c) && p.Previous() != u'0') {
                p.month = p.Previous() - u'0';
                return Action::PadDigit;
            }
            return Action::Stop;
        case 6:
            return SeparatorPosition(p, c, c == u'1' || c == u'2');
        default:
            return TrailingYearDigit(p, c);
    }
}

Action StepMdy(Parser& p, char16_t c) {
    switch (p.n + 1) {
        case 1:
            return FirstDigit(c, u'1');
        case 2:
            return MonthSecondDigit(p, c);
        case 3:
            return SeparatorPosition(p, c, IsDigit(c));
        case 4:
            return FirstDigit(c, p.month == 2 ? u'2' : u'3');
        case 5:
            if (IsDigit(c)) {
                const int32_t d = p.WithPrevious(c);
                if (d >= 1 && d <= DaysInMonth(p.month, kSomeLeapYear)) return Action::Take;
            }
            return p.IsSep(c) && p.Previous() != u'0' ? Action::PadDigit : Action::Stop;
        case 6:
            p.day = Number(p.out + 3, 2);
            return SeparatorPosition(p, c, c == u'1' || c == u'2');
        default:
            return TrailingYearDigit(p, c);
    }
}

Action StepYmd(Parser& p, char16_t c) {
    switch (p.n + 1) {
        case 1:
        case 2:
            return CenturyDigit(p, c, p.n == 0);
        case 3:
        case 4:
            return IsDigit(c) ? Action::Take : Action::Stop;
        case 5:
        case 8:
            return SeparatorPosition(p, c, IsDigit(c));
        case 6:
            return FirstDigit(c, u'1');
        case 7:
            return MonthSecondDigit(p, c);
        case 9:
            return FirstDigit(c, p.month == 2 ? u'2' : u'3');
        default: {
            if (!IsDigit(c)) return Action::Stop;
            const int32_t d = p.WithPrevious(c);
            return d >= 1 && d <= DaysInMonth(p.month, Number(p.out, 4)) ? Action::Take
                                                                         : Action::Stop;
        }
    }
}

// The leading number of a part, rounded half to even and kept within int32_t ("1E99" is a
// four-character year part).
int32_t ReadPart(StringView part) {
    // Digits alone, as every typed or composed date has them, read without the number scanner
    // (the box judges its text on every key).
    if (!part.empty() && std::all_of(part.begin(), part.end(), IsDigit))
        return Number(part.data(), part.size());
    const double v = RoundHalfEven(Val(part));
    if (std::isnan(v)) return 0;
    if (v <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (v >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// The last `width` characters of "0" followed by the decimal digits of `value`.
void AppendPadded(String& out, int32_t value, size_t width) {
    char buffer[16] = {'0'};
    const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, value).ptr;
    const size_t length = static_cast<size_t>(end - buffer);
    for (const char* c = end - std::min(width, length); c != end; ++c) out.push_back(*c);
}

}  // namespace

bool IsValidDate(int32_t day, int32_t month, int32_t year) {
    return year >= 1900 && year <= 2099 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(month, year);
}

bool IsSeparator(char16_t c, const Separators& separators) {
    return c == u'-' || c == u'/' || c == u',' || c == u'.' || Matches(c, separators.dmy) ||
           Matches(c, separators.mdy) || Matches(c, separators.ymd);
}

String Parse(StringView candidate, Layout layout, const Separators& separators) {
    const String& property = separators.Of(layout);
    const bool omitSeparator = property.empty();
    Parser p{.out = {},
             .sep = omitSeparator ? u'\0' : property[0],
             .omitSeparator = omitSeparator,
             .separators = separators};
    Action (*step)(Parser&, char16_t) = layout == Layout::YMD   ? StepYmd
                                        : layout == Layout::MDY ? StepMdy
                                                                : StepDmy;
    // Every action but Stop adds one character, so the loop ends within kLength steps. The
    // inserted characters are not put into the candidate: it is only read, from `next` on.
    size_t next = 0;
    while (p.n < kLength && next < candidate.size()) {
        const char16_t c = candidate[next];
        switch (step(p, c)) {
            case Action::Take:
                p.out[p.n++] = c;
                ++next;
                break;
            case Action::PutSep:
                p.out[p.n++] = p.sep;
                ++next;
                break;
            case Action::InsertSep:
                p.out[p.n++] = p.sep;
                break;
            case Action::InsertZero:
                p.out[p.n++] = u'0';
                break;
            case Action::PadDigit:
                p.out[p.n] = p.out[p.n - 1];
                p.out[p.n - 1] = u'0';
                ++p.n;
                break;
            case Action::Stop:
                next = candidate.size();
                break;
        }
    }
    if (!omitSeparator) return String(p.out, p.n);
    // Separator positions hold the placeholder; every other position holds a digit.
    String result;
    result.reserve(p.n);
    for (size_t i = 0; i < p.n; ++i)
        if (IsDigit(p.out[i])) result.push_back(p.out[i]);
    return result;
}

String Compose(Ymd date, Layout layout, const Separators& separators) {
    const String& sep = separators.Of(layout);
    const StringView s = sep.empty() ? StringView() : StringView(sep).substr(0, 1);
    String out;
    out.reserve(kLength);
    switch (layout) {
        case Layout::YMD:
            AppendPadded(out, date.year, 4);
            out += s;
            AppendPadded(out, date.month, 2);
            out += s;
            AppendPadded(out, date.day, 2);
            break;
        case Layout::MDY:
            AppendPadded(out, date.month, 2);
            out += s;
            AppendPadded(out, date.day, 2);
            out += s;
            AppendPadded(out, date.year, 4);
            break;
        default:
            AppendPadded(out, date.day, 2);
            out += s;
            AppendPadded(out, date.month, 2);
            out += s;
            AppendPadded(out, date.year, 4);
            break;
    }
    return out;
}

std::optional<Ymd> Parts(StringView text, Layout layout) {
    if (text.size() != kLength) return std::nullopt;
    switch (layout) {
        case Layout::YMD:
            return Ymd{ReadPart(text.substr(0, 4)), ReadPart(text.substr(5, 2)),
                       ReadPart(text.substr(8, 2))};
        case Layout::MDY:
            return Ymd{ReadPart(text.substr(6, 4)), ReadPart(text.substr(0, 2)),
                       ReadPart(text.substr(3, 2))};
        default:
            return Ymd{ReadPart(text.substr(6, 4)), ReadPart(text.substr(3, 2)),
                       ReadPart(text.substr(0, 2))};
    }
}

std::optional<Ymd> DateOf(StringView text, Layout layout) {
    const std::optional<Ymd> parts = Parts(text, layout);
    if (!parts || !IsValidDate(parts->day, parts->month, parts->year)) return std::nullopt;
    return parts;
}

}  // namespace qv::datetext
