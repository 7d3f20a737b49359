#include "library/Variant.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "library/RuntimeError.h"

namespace qv {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // clang 14 lacks aggregate deduction

// ---------------------------------------------------------------------------------------------
// Number scanning shared by the strict string conversions and Val.

enum class ScanStatus { Ok, NotNumber, Overflow };

struct Scan {
    ScanStatus status = ScanStatus::NotNumber;
    double value = 0;
    size_t length = 0;  // units consumed
};

bool IsDecimalDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "&H1F" / "&O17". The bit pattern is read the way the language reads such literals: up to 16
// bits as a signed Integer, up to 32 bits as a signed Long ("&HFFFF" is -1, "&H10000" 65536);
// wider values overflow.
Scan ScanRadix(StringView s) {
    Scan r;
    if (s.size() < 3 || s[0] != u'&') return r;
    const char16_t tag = s[1];
    const int radix = (tag == u'H' || tag == u'h') ? 16 : (tag == u'O' || tag == u'o') ? 8 : 0;
    if (radix == 0) return r;
    uint64_t bits = 0;
    size_t i = 2;
    bool overflow = false;
    for (; i < s.size(); ++i) {
        const int digit = HexDigitValue(s[i]);
        if (digit < 0 || digit >= radix) break;
        bits = bits * radix + static_cast<uint64_t>(digit);
        if (bits > 0xFFFFFFFFu) {
            overflow = true;
            bits = 0xFFFFFFFFu;  // keeps the accumulator from wrapping on long inputs
        }
    }
    if (i == 2) return r;
    r.length = i;
    if (overflow) {
        r.status = ScanStatus::Overflow;
        return r;
    }
    r.status = ScanStatus::Ok;
    r.value = bits <= 0xFFFF ? static_cast<int16_t>(static_cast<uint16_t>(bits))
                             : static_cast<int32_t>(static_cast<uint32_t>(bits));
    return r;
}

// The longest number at the start of `s`: [sign] digits [. digits] [E|e [sign] digits], or a
// radix literal. An exponent marker without digits is not part of the number.
Scan ScanNumber(StringView s) {
    if (!s.empty() && s[0] == u'&') return ScanRadix(s);
    Scan r;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    std::string intDigits, fracDigits;
    while (i < s.size() && IsDecimalDigit(s[i])) intDigits += static_cast<char>(s[i++]);
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && IsDecimalDigit(s[i])) fracDigits += static_cast<char>(s[i++]);
    }
    if (intDigits.empty() && fracDigits.empty()) return r;
    r.length = i;

    int64_t exponent = 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) expNegative = s[j++] == u'-';
        if (j < s.size() && IsDecimalDigit(s[j])) {
            for (; j < s.size() && IsDecimalDigit(s[j]); ++j)
                if (exponent < 1000000) exponent = exponent * 10 + (s[j] - u'0');
            if (expNegative) exponent = -exponent;
            r.length = j;
        }
    }

    std::string text = intDigits.empty() ? "0" : intDigits;
    if (!fracDigits.empty()) text.append(".").append(fracDigits);
    text.append("e").append(std::to_string(exponent));
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a Double: tell them apart by the decimal magnitude.
        const size_t lead = intDigits.find_first_not_of('0');
        int64_t magnitude;
        if (lead != std::string::npos) {
            magnitude = static_cast<int64_t>(intDigits.size() - lead) - 1 + exponent;
        } else {
            const size_t fracLead = fracDigits.find_first_not_of('0');
            magnitude = -static_cast<int64_t>(fracLead) - 1 + exponent;
        }
        if (magnitude > 0) {
            r.status = ScanStatus::Overflow;
            return r;
        }
        value = 0;
    }
    r.status = ScanStatus::Ok;
    r.value = (negative && value != 0) ? -value : value;
    return r;
}

// A whole string as a number: surrounding blanks, then exactly one number.
Scan ParseNumber(StringView s) {
    const String t = TrimBlanks(s);
    Scan r = ScanNumber(t);
    if (r.length != t.size()) r.status = ScanStatus::NotNumber;
    return r;
}

double StringToDouble(StringView s) {
    const Scan r = ParseNumber(s);
    if (r.status == ScanStatus::NotNumber) Raise(err::TypeMismatch);
    if (r.status == ScanStatus::Overflow) Raise(err::Overflow);
    return r.value;
}

bool EqualsAsciiNoCase(StringView a, StringView b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Calendar. Day numbers count from 30 December 1899 (day 0) in the proleptic Gregorian calendar.

constexpr int64_t kEpochOffset = 25569;  // day number of 1 January 1970
constexpr int64_t kFirstDay = -657434;   // 100-01-01
constexpr int64_t kLastDay = 2958465;    // 9999-12-31

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int64_t DayNumber(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kEpochOffset;
}

struct Civil {
    int32_t year, month, day;
};

Civil CivilFromDayNumber(int64_t n) {
    const int64_t z = n - kEpochOffset + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int32_t>(yoe + era * 400 + (m <= 2)), static_cast<int32_t>(m),
            static_cast<int32_t>(d)};
}

bool InDateRange(double days) {
    return std::isfinite(days) && days >= static_cast<double>(kFirstDay) &&
           days < static_cast<double>(kLastDay + 1);
}

// A date value split into its day number and the second of that day, rounded to the nearest
// second. Negative values split by plain arithmetic: -0.25 is day -1 at 18:00.
struct DayAndSecond {
    int64_t day;
    int32_t second;
};

DayAndSecond Split(DateValue d) {
    if (!InDateRange(d.days)) Raise(err::InvalidProcedureCall);
    // The last second of 9999-12-31 must not round into the year 10000.
    const auto total = std::min<int64_t>(std::llround(d.days * 86400.0), kLastDay * 86400 + 86399);
    const int64_t day = FloorDiv(total, 86400);
    return {day, static_cast<int32_t>(total - day * 86400)};
}

// "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS" (a "T" may stand for the blank).
bool ParseIsoDate(StringView text, DateValue& out) {
    const String s = TrimBlanks(text);
    auto number = [&s](size_t pos, size_t count, int& value) {
        if (pos + count > s.size()) return false;
        value = 0;
        for (size_t i = pos; i < pos + count; ++i) {
            if (!IsDecimalDigit(s[i])) return false;
            value = value * 10 + (s[i] - u'0');
        }
        return true;
    };
    int y, m, d, hh = 0, mm = 0, ss = 0;
    if (s.size() < 10 || !number(0, 4, y) || s[4] != u'-' || !number(5, 2, m) || s[7] != u'-' ||
        !number(8, 2, d))
        return false;
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    if (s.size() > 10) {
        if ((s[10] != u' ' && s[10] != u'T') || !number(11, 2, hh) || s.size() < 16 ||
            s[13] != u':' || !number(14, 2, mm))
            return false;
        if (s.size() > 16 && (s[16] != u':' || s.size() != 19 || !number(17, 2, ss))) return false;
        if (hh > 23 || mm > 59 || ss > 59) return false;
    }
    out.days = static_cast<double>(DayNumber(y, m, d)) + (hh * 3600 + mm * 60 + ss) / 86400.0;
    return true;
}

String Ascii(const std::string& s) {
    return String(s.begin(), s.end());
}

String DateToString(DateValue d) {
    const DayAndSecond split = Split(d);
    const Civil c = CivilFromDayNumber(split.day);
    char buf[32];
    auto put = [](char* p, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            p[i] = static_cast<char>('0' + value % 10);
        return p + width;
    };
    char* p = put(buf, c.year, 4);
    *p++ = '-';
    p = put(p, c.month, 2);
    *p++ = '-';
    p = put(p, c.day, 2);
    if (split.second != 0) {
        *p++ = ' ';
        p = put(p, split.second / 3600, 2);
        *p++ = ':';
        p = put(p, split.second / 60 % 60, 2);
        *p++ = ':';
        p = put(p, split.second % 60, 2);
    }
    return Ascii(std::string(buf, p));
}

// Shortest text of `d` rounded to `digits` significant digits. Exponent form is used from
// 10^maxFixedExponent up and below 10^-4: "1E+15", "1.5E-07", "0.0001".
String FormatNumber(double d, int digits, int maxFixedExponent) {
    if (std::isnan(d)) return u"NaN";
    if (std::isinf(d)) return d < 0 ? u"-Infinity" : u"Infinity";
    if (d == 0) return u"0";  // also negative zero
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, digits - 1);
    const std::string_view s(buf, static_cast<size_t>(res.ptr - buf));  // "-1.2340e+05"
    const size_t e = s.find('e');
    std::string mantissa;
    for (char c : s.substr(0, e))
        if (c >= '0' && c <= '9') mantissa += c;
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    std::string_view expText = s.substr(e + 1);
    if (expText.front() == '+') expText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    std::string out = d < 0 ? "-" : "";
    const auto size = static_cast<int>(mantissa.size());
    if (exponent >= maxFixedExponent || exponent < -4) {
        out += mantissa[0];
        if (size > 1) out.append(".").append(mantissa, 1);
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        if (size <= exponent + 1) {
            out.append(mantissa).append(static_cast<size_t>(exponent) + 1 - mantissa.size(), '0');
        } else {
            const auto point = static_cast<size_t>(exponent) + 1;
            out.append(mantissa, 0, point).append(".").append(mantissa, point);
        }
    } else {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    }
    return Ascii(out);
}

double CheckedWhole(double d, double lo, double hi) {
    const double r = RoundHalfEven(d);
    if (!(r >= lo && r <= hi)) Raise(err::Overflow);  // NaN fails too
    return r;
}

}  // namespace

// -------------------------------------------------------------------------------------------------

VarType Variant::Type() const {
    static constexpr std::array<VarType, 11> kTypes{
        VarType::Empty,  VarType::Null,   VarType::Boolean, VarType::Integer,
        VarType::Long,   VarType::Single, VarType::Double,  VarType::Date,
        VarType::String, VarType::Object, VarType::Missing};
    return kTypes[v_.index()];
}

bool Variant::IsNumber() const {
    switch (Type()) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
        case VarType::Boolean:
            return true;
        default:
            return false;
    }
}

bool Variant::ToBool() const {
    if (const auto* b = std::get_if<bool>(&v_)) return *b;
    if (const auto* s = std::get_if<String>(&v_)) {
        const String t = TrimBlanks(*s);
        if (EqualsAsciiNoCase(t, u"True")) return true;
        if (EqualsAsciiNoCase(t, u"False")) return false;
        return StringToDouble(t) != 0;
    }
    return ToDouble() != 0;
}

int16_t Variant::ToInteger() const {
    if (const auto* i = std::get_if<int16_t>(&v_)) return *i;
    return static_cast<int16_t>(CheckedWhole(ToDouble(), -32768.0, 32767.0));
}

int32_t Variant::ToLong() const {
    if (const auto* i = std::get_if<int32_t>(&v_)) return *i;
    return static_cast<int32_t>(CheckedWhole(ToDouble(), -2147483648.0, 2147483647.0));
}

float Variant::ToSingle() const {
    if (const auto* f = std::get_if<float>(&v_)) return *f;
    const double d = ToDouble();
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::fabs(d) > kMax) {
        // Values within half a unit of the largest Single still round to it.
        constexpr double kLimit = kMax + 0x1p103;
        if (std::fabs(d) >= kLimit) Raise(err::Overflow);
        return d < 0 ? -std::numeric_limits<float>::max() : std::numeric_limits<float>::max();
    }
    return static_cast<float>(d);
}

double Variant::ToDouble() const {
    return std::visit(
        Overloaded{
            [](std::monostate) { return 0.0; },
            [](NullTag) -> double { Raise(err::InvalidUseOfNull); },
            [](bool b) { return b ? -1.0 : 0.0; }, [](int16_t i) { return static_cast<double>(i); },
            [](int32_t i) { return static_cast<double>(i); },
            [](float f) { return static_cast<double>(f); }, [](double d) { return d; },
            [](DateValue d) { return d.days; }, [](const String& s) { return StringToDouble(s); },
            [](const std::shared_ptr<Object>&) -> double { Raise(err::TypeMismatch); },
            [](MissingTag) -> double { Raise(err::TypeMismatch); }},
        v_);
}

String Variant::ToString() const {
    return std::visit(
        Overloaded{[](std::monostate) { return String(); },
                   [](NullTag) -> String { Raise(err::InvalidUseOfNull); },
                   [](bool b) { return String(b ? u"True" : u"False"); },
                   [](int16_t i) { return Ascii(std::to_string(i)); },
                   [](int32_t i) { return Ascii(std::to_string(i)); },
                   [](float f) { return SingleToString(f); },
                   [](double d) { return DoubleToString(d); },
                   [](DateValue d) { return DateToString(d); }, [](const String& s) { return s; },
                   [](const std::shared_ptr<Object>&) -> String { Raise(err::TypeMismatch); },
                   [](MissingTag) -> String { Raise(err::TypeMismatch); }},
        v_);
}

DateValue Variant::ToDate() const {
    if (const auto* d = std::get_if<DateValue>(&v_)) return *d;
    if (const auto* s = std::get_if<String>(&v_)) {
        DateValue out;
        if (!ParseIsoDate(*s, out)) Raise(err::TypeMismatch);
        return out;
    }
    const double days = ToDouble();
    if (!InDateRange(days)) Raise(err::Overflow);
    return DateValue{days};
}

// Nothing (an empty object reference) is no object either.
std::shared_ptr<Object> Variant::ToObject() const {
    const auto* p = std::get_if<std::shared_ptr<Object>>(&v_);
    if (!p || !*p) Raise(err::ObjectRequired);
    return *p;
}

// -------------------------------------------------------------------------------------------------

String TypeName(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
            return u"Empty";
        case VarType::Null:
            return u"Null";
        case VarType::Integer:
            return u"Integer";
        case VarType::Long:
            return u"Long";
        case VarType::Single:
            return u"Single";
        case VarType::Double:
            return u"Double";
        case VarType::Date:
            return u"Date";
        case VarType::String:
            return u"String";
        case VarType::Missing:
            return u"Error";
        case VarType::Boolean:
            return u"Boolean";
        case VarType::Variant:
            break;  // a property type, never a value's subtype
        case VarType::Object: {
            const auto obj = v.As<Object>();
            return obj ? obj->TypeName() : u"Nothing";
        }
    }
    return u"Unknown";
}

bool IsNumeric(const Variant& v) {
    if (v.IsEmpty() || v.IsNumber()) return true;
    if (!v.IsString()) return false;
    return ParseNumber(v.ToString()).status == ScanStatus::Ok;
}

// A hexadecimal or octal number wider than 32 bits reads as 0, and a decimal one beyond the
// Double range as an infinity, since Val cannot raise.
double Val(StringView text) {
    String compact;
    compact.reserve(text.size());
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') compact += c;
    const Scan r = ScanNumber(compact);
    if (r.status == ScanStatus::Ok) return r.value;
    if (r.status == ScanStatus::Overflow && compact[0] != u'&')
        return compact[0] == u'-' ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
    return 0;
}

// Non-finite values read "NaN", "Infinity" and "-Infinity".
String DoubleToString(double d) {
    return FormatNumber(d, 15, 15);
}
String SingleToString(float f) {
    return FormatNumber(f, 7, 7);
}

double RoundHalfEven(double d) {
    if (!std::isfinite(d)) return d;
    const double floor = std::floor(d);
    const double fraction = d - floor;  // exact for doubles
    if (fraction > 0.5) return floor + 1;
    if (fraction < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

DateValue DateSerial(int32_t year, int32_t month, int32_t day) {
    const int64_t months = static_cast<int64_t>(month) - 1;
    const int64_t y = year + FloorDiv(months, 12);
    const int64_t m = months - FloorDiv(months, 12) * 12 + 1;
    const int64_t n = DayNumber(y, m, 1) + (static_cast<int64_t>(day) - 1);
    if (n < kFirstDay || n > kLastDay) Raise(err::InvalidProcedureCall);
    return DateValue{static_cast<double>(n)};
}

int32_t Year(DateValue d) {
    return CivilFromDayNumber(Split(d).day).year;
}
int32_t Month(DateValue d) {
    return CivilFromDayNumber(Split(d).day).month;
}
int32_t Day(DateValue d) {
    return CivilFromDayNumber(Split(d).day).day;
}

int32_t Weekday(DateValue d) {
    const int64_t day = Split(d).day;  // day 0 was a Saturday
    return static_cast<int32_t>(day + 6 - FloorDiv(day + 6, 7) * 7) + 1;
}

bool IsLeapYear(int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    static constexpr std::array<int32_t, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

}  // namespace qv
