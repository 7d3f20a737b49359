// The shared library: strings, Variant conversions and formatting, dates, the Global helpers,
// enumerations, fonts and member tables.
#include <gtest/gtest.h>
#include "test_support.h"

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "library/Enums.h"
#include "library/Font.h"
#include "library/Global.h"
#include "library/MemberTable.h"
#include "library/RuntimeError.h"
#include "library/Variant.h"

namespace {

using qv::DateSerial;
using qv::DateValue;
using qv::Font;
using qv::String;
using qv::Variant;
using Strings = std::vector<String>;

using qv_test::ErrorOf;

Variant Obj() {  // any object
    return Variant(std::make_shared<Font>());
}
std::string Name(const Variant& v) {
    return qv::ToUtf8(qv::TypeName(v)) + " " + (v.IsString() ? qv::ToUtf8(v.ToString()) : "");
}

// --- Strings ----------------------------------------------------------------------------------

TEST(Utf8, RoundTripsAndRepairsInvalidInput) {
    for (const char* s : {"", "Grüße", "€ 12,50", "日本語", "Ελληνικά", "a😀b🎉c",
                          "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf"})
        EXPECT_EQ(qv::ToUtf8(qv::FromUtf8(s)), s) << s;
    // clang-format off
    const std::pair<const char*, const char16_t*> decoded[] = {
        {"😀", u"\xD83D\xDE00"}, {"x\xF4\x8F\xBF\xBF", u"x\xDBFF\xDFFF"},  // surrogate pairs
        {"\xC3", u"\xFFFD"}, {"a\xE2\x82" "b", u"a\xFFFD" "b"},           // truncated
        {"\xC0\xAF", u"\xFFFD\xFFFD"}, {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},  // overlong
        {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"}, {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"\xFF\xFE", u"\xFFFD\xFFFD"}, {"\x80x", u"\xFFFDx"}, {"\xF0\x9F\x98" "A", u"\xFFFD" "A"}};
    // clang-format on
    for (const auto& [utf8, utf16] : decoded) EXPECT_EQ(qv::FromUtf8(utf8), String(utf16)) << utf8;
    EXPECT_EQ(qv::ToUtf8(u"\xD83D\xDE00"), "😀");
    EXPECT_EQ(qv::ToUtf8(u"a\xD800\xDC00\xD800\xD83D"), "a𐀀\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Trim, RemovesBlanksOnly) {
    // clang-format off
    const std::array<const char16_t*, 4> cases[] = {  // text, both, left, right
        {u"   ", u"", u"", u""},
        {u"  a b  ", u"a b", u"a b  ", u"  a b"},
        {u" \t\r\nx\xA0 ", u"\t\r\nx\xA0", u"\t\r\nx\xA0 ", u" \t\r\nx\xA0"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(qv::TrimBlanks(c[0]), String(c[1]));
        EXPECT_EQ(qv::TrimLeftBlanks(c[0]), String(c[2]));
        EXPECT_EQ(qv::TrimRightBlanks(c[0]), String(c[3]));
    }
}

TEST(UpperCase, MapsEachCharacterByTheSimpleMapping) {
    // clang-format off
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"az{`5AZ", u"AZ{`5AZ"},                                  // ASCII
        {u"àüþÿßµ÷×", u"ÀÜÞ\x0178ß\x039C÷×"},                        // Latin-1
        {u"őŐāžıſ\x01C6\x01C5", u"ŐŐĀŽIS\x01C4\x01C4"},            // Latin Extended
        {u"άςσωΩ", u"ΆΣΣΩΩ"},                                      // Greek
        {u"жёяѣ", u"ЖЁЯѢ"},                                        // Cyrillic
        {u"աⓐａ漢０\x1F80\xD83D\xFFFF", u"ԱⒶＡ漢０\x1F80\xD83D\xFFFF"}};  // no one-unit mapping
    // clang-format on
    for (const auto& [in, out] : cases) {
        const String s(in);
        EXPECT_EQ(qv::UpperCase(s), String(out)) << qv::ToUtf8(s);
        for (size_t i = 0; i < s.size(); ++i)
            EXPECT_EQ(int(qv::UpperCaseChar(s[i])), int(out[i])) << std::hex << int(s[i]);
    }
    for (char32_t c = 0; c <= 0xFFFF; ++c) {  // upper case maps to itself
        const char16_t once = qv::UpperCaseChar(static_cast<char16_t>(c));
        ASSERT_EQ(int(qv::UpperCaseChar(once)), int(once)) << std::hex << int(c);
    }
    EXPECT_EQ(qv::UpperCase(u"a\xD83D\xDE00z"), String(u"A\xD83D\xDE00Z"));
}

// --- Errors and Variant -----------------------------------------------------------------------

TEST(Variant, RoundsHalvesToEven) {
    // clang-format off
    const double cases[][2] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4, 2}, {2.6, 3}, {-2.6, -3},
        {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(qv::RoundHalfEven(c[0]), c[1]) << c[0];
}

enum Conv { Bool, Int, Lng, Sng, Dbl, Str, Date };
using Converter = double (*)(const Variant&);
// clang-format off
const Converter kConvert[] = {
    [](const Variant& v) -> double { return v.ToBool(); },
    [](const Variant& v) -> double { return v.ToInteger(); },
    [](const Variant& v) -> double { return v.ToLong(); },
    [](const Variant& v) -> double { return v.ToSingle(); },
    [](const Variant& v) -> double { return v.ToDouble(); },
    [](const Variant& v) -> double { return double(v.ToString().size()); },
    [](const Variant& v) -> double { return v.ToDate().days; }};
// clang-format on

TEST(Variant, ConvertsOrRaises6ForOverflow13ForMismatch94ForNull) {
    // clang-format off
    struct Case { Variant v; Conv conv; double expected; int error; };  // expected: when error is 0
    const Case cases[] = {
        {2.5, Int, 2, 0}, {3.5, Int, 4, 0}, {-2.5f, Int, -2, 0}, {32767.4, Int, 32767, 0},
        {-32768.5, Int, -32768, 0}, {true, Int, -1, 0}, {Variant(), Int, 0, 0}, {u" 12 ", Int, 12, 0},
        {u"-1.5", Int, -2, 0}, {u"&HFFFF", Int, -1, 0}, {u"1E3", Int, 1000, 0}, {u"&O17", Int, 15, 0},
        {DateValue{1001.5}, Int, 1002, 0}, {-2147483648.5, Lng, -2147483648.0, 0},
        {u"&HFFFFFFFF", Lng, -1, 0}, {u"&H10000", Lng, 65536, 0}, {DateValue{-45001.5}, Lng, -45002, 0},
        {u"True", Bool, 1, 0}, {u" false ", Bool, 0, 0}, {u"0.5", Bool, 1, 0}, {0.1f, Bool, 1, 0},
        {u"  -1.5e3  ", Dbl, -1500, 0}, {u".5", Dbl, 0.5, 0}, {u"+3", Dbl, 3, 0}, {u"1E-400", Dbl, 0, 0},
        {DateValue{1.25}, Dbl, 1.25, 0}, {3.4028235e38, Sng, std::numeric_limits<float>::max(), 0},
        {32767.5, Int, 0, 6}, {-32768.6, Int, 0, 6}, {u"32768", Int, 0, 6}, {2147483647.5, Lng, 0, 6},
        {std::nan(""), Lng, 0, 6}, {1e39, Sng, 0, 6}, {u"1E400", Dbl, 0, 6}, {u"&H100000000", Lng, 0, 6},
        {1e7, Date, 0, 6},
        {u"abc", Int, 0, 13}, {u"", Dbl, 0, 13}, {u"1e", Dbl, 0, 13}, {u"1.2.3", Dbl, 0, 13},
        {u"\t1", Dbl, 0, 13}, {u"1,5", Dbl, 0, 13}, {u"12abc", Lng, 0, 13}, {u"True", Int, 0, 13},
        {u"&H", Dbl, 0, 13}, {u"yes", Bool, 0, 13}, {Obj(), Dbl, 0, 13}, {Obj(), Str, 0, 13},
        {Variant::Missing(), Lng, 0, 13}, {u"2024-13-01", Date, 0, 13}, {u"45000", Date, 0, 13},
        {u"2023-02-29", Date, 0, 13}, {u"2024-02-29 24:00", Date, 0, 13},
        {Variant::Null(), Bool, 0, 94}, {Variant::Null(), Int, 0, 94}, {Variant::Null(), Str, 0, 94},
        {Variant::Null(), Date, 0, 94}};
    // clang-format on
    for (const Case& c : cases) {
        double got = 0;
        EXPECT_EQ(ErrorOf([&] { got = kConvert[c.conv](c.v); }), c.error) << Name(c.v) << c.conv;
        if (!c.error) {
            EXPECT_EQ(got, c.expected) << Name(c.v) << " as " << c.conv;
        }
    }
    EXPECT_EQ(ErrorOf([] { Variant(5).ToObject(); }), 424);
    EXPECT_EQ(qv::RuntimeError(380, u"QVtxtBox").Source(), u"QVtxtBox");
    EXPECT_STREQ(qv::RuntimeError(380).what(), "Error 380: Invalid property value");
    EXPECT_STREQ(qv::RuntimeError(5, {}, qv::u8s("Größe")).what(), "Error 5: Größe");
    EXPECT_EQ(qv::ErrorDescription(1234), u"Application-defined or object-defined error");
}

TEST(Variant, FormatsNumbersWith15SignificantDigitsAndSinglesWith7) {
    // clang-format off
    const std::pair<double, const char16_t*> doubles[] = {
        {0.1 + 0.2, u"0.3"}, {1e20, u"1E+20"}, {1.5e-7, u"1.5E-07"}, {-0.0, u"0"}, {100, u"100"},
        {-1234567890123456.0, u"-1.23456789012346E+15"}, {123456789012345.0, u"123456789012345"},
        {999999999999999.9, u"1E+15"}, {0.0001, u"0.0001"}, {1e-5, u"1E-05"}, {-1e-300, u"-1E-300"},
        {1.0 / 3, u"0.333333333333333"}, {0.00012345, u"0.00012345"}};
    const std::pair<float, const char16_t*> singles[] = {
        {0.1f, u"0.1"}, {1234567.0f, u"1234567"}, {1e7f, u"1E+07"}, {1.0f / 3, u"0.3333333"},
        {16777216.0f, u"1.677722E+07"}, {3.4028235e38f, u"3.402823E+38"}, {2.5e-5f, u"2.5E-05"}};
    // clang-format on
    for (const auto& [d, text] : doubles) {
        EXPECT_EQ(qv::DoubleToString(d), String(text)) << d;
        EXPECT_EQ(Variant(d).ToString(), String(text)) << d;
    }
    for (const auto& [f, text] : singles) EXPECT_EQ(Variant(f).ToString(), String(text)) << f;
    EXPECT_EQ(Variant(true).ToString(), u"True");
    EXPECT_EQ(Variant(int16_t{-32768}).ToString(), u"-32768");
}

TEST(Variant, FormatsAndParsesDates) {
    const double leap = DateSerial(2024, 2, 29).days;
    // clang-format off
    const std::pair<double, const char16_t*> both[] = {
        {leap, u"2024-02-29"}, {leap + 0.75, u"2024-02-29 18:00:00"}, {-0.5, u"1899-12-29 12:00:00"},
        {DateSerial(100, 1, 1).days, u"0100-01-01"}};
    // clang-format on
    for (const auto& [days, text] : both) {
        EXPECT_EQ(Variant(DateValue{days}).ToString(), String(text));
        EXPECT_EQ(Variant(text).ToDate().days, days) << qv::ToUtf8(text);
    }
    EXPECT_EQ(Variant(u" 2024-02-29T13:45:30 ").ToDate().days, leap + 49530 / 86400.0);
    EXPECT_EQ(Variant(u"2024-02-29 06:00").ToDate().days, leap + 0.25);
    EXPECT_EQ(Variant(DateValue{86399.6 / 86400}).ToString(), u"1899-12-31");  // rounds to midnight
}

TEST(Variant, GregorianLeapYearsAndMonthLengths) {
    for (int32_t y : {2000, 2024, 1904, 1600}) EXPECT_TRUE(qv::IsLeapYear(y)) << y;
    for (int32_t y : {1900, 2023, 2100, 1700}) EXPECT_FALSE(qv::IsLeapYear(y)) << y;
    const std::array<int32_t, 3> lengths[] = {{1900, 2, 28},  {2000, 2, 29}, {2023, 4, 30},
                                              {2023, 12, 31}, {2023, 0, 0},  {2023, 13, 0}};
    for (const auto& [y, m, days] : lengths) EXPECT_EQ(qv::DaysInMonth(y, m), days) << y << m;
}

TEST(Variant, DateSerialRollsOverAndAgreesWithTheCalendarParts) {
    EXPECT_EQ(DateSerial(1899, 12, 30).days, 0);
    EXPECT_EQ(DateSerial(2000, 1, 1).days, 36526);
    EXPECT_EQ(DateSerial(9999, 12, 31).days, 2958465);
    // clang-format off
    const int32_t same[][6] = {
        {2024, 13, 1, 2025, 1, 1}, {2024, 0, 1, 2023, 12, 1}, {2024, 25, 1, 2026, 1, 1},
        {2024, -12, 1, 2022, 12, 1}, {2024, -23, 15, 2022, 1, 15}, {2024, 1, 32, 2024, 2, 1},
        {2024, 1, 0, 2023, 12, 31}, {2024, 1, -1, 2023, 12, 30}, {2024, 3, 0, 2024, 2, 29},
        {1900, 3, 0, 1900, 2, 28}, {2000, 3, 0, 2000, 2, 29}, {2023, 2, 29, 2023, 3, 1},
        {2024, 1, 366, 2024, 12, 31}, {99, 13, 1, 100, 1, 1}};
    // clang-format on
    for (const auto& c : same)
        EXPECT_EQ(DateSerial(c[0], c[1], c[2]).days, DateSerial(c[3], c[4], c[5]).days) << c[0];
    const std::array<int32_t, 3> outOfRange[] = {
        {99, 12, 31}, {10000, 1, 1}, {9999, 12, 32}, {2024, 2147483647, 1}};
    for (const auto& bad : outOfRange)
        EXPECT_EQ(ErrorOf([&] { DateSerial(bad[0], bad[1], bad[2]); }), 5);
    // Every day of the range: Year/Month/Day give DateSerial's arguments back, one day at a time.
    int32_t weekday = qv::Weekday(DateValue{-657434}), day = 0;
    for (int32_t n = -657434; n <= 2958465; ++n) {
        const DateValue d{double(n)};
        ASSERT_EQ(DateSerial(qv::Year(d), qv::Month(d), qv::Day(d)).days, n);
        ASSERT_TRUE(qv::Day(d) == day + 1 || qv::Day(d) == 1) << n;
        ASSERT_EQ(qv::Weekday(d), weekday) << n;
        weekday = weekday % 7 + 1;
        day = qv::Day(d);
    }
    EXPECT_EQ(qv::Weekday(DateSerial(2024, 2, 29)), 5);  // a Thursday
    EXPECT_EQ(qv::Day(DateValue{-0.25}), 29);            // 18:00 the day before
}

TEST(Variant, IsNumericValAndTypeNames) {
    // clang-format off
    const std::pair<bool, std::vector<Variant>> numeric[] = {
        {true, {Variant(), u"12", u" 1.5e3 ", u"&H1F", true, 2.5f}},
        {false, {u"abc", u"", u"1e", u"True", u"1E400", Variant::Null(), DateValue{1}, Obj()}}};
    const std::pair<const char16_t*, double> vals[] = {
        {u"12abc", 12}, {u"\t1\n2", 12}, {u"abc", 0}, {u"&h1fz", 31}, {u"&HFFFF", -1}, {u"&O17", 15},
        {u"&H123456789", 0}, {u"  -3.5e2x", -350}, {u"1 E 2", 100}, {u"1e+", 1}, {u"1.2.3", 1.2},
        {u"\r1", 0}, {u"+7", 7}};
    const std::pair<Variant, const char16_t*> names[] = {
        {Variant(), u"Empty"}, {Variant::Null(), u"Null"}, {int16_t{1}, u"Integer"}, {1, u"Long"},
        {1.0f, u"Single"}, {1.0, u"Double"}, {DateValue{}, u"Date"}, {u"", u"String"},
        {true, u"Boolean"}, {Variant::Missing(), u"Error"}, {Obj(), u"Font"},
        {Variant(std::shared_ptr<qv::Object>()), u"Nothing"}};
    // clang-format on
    for (const auto& [expected, values] : numeric)
        for (const Variant& v : values) EXPECT_EQ(qv::IsNumeric(v), expected) << Name(v);
    for (const auto& [text, expected] : vals) EXPECT_EQ(qv::Val(text), expected);
    EXPECT_EQ(qv::Val(u"1E400"), std::numeric_limits<double>::infinity());
    for (const auto& [v, name] : names) EXPECT_EQ(qv::TypeName(v), String(name));
}

// --- Global helpers ---------------------------------------------------------------------------

TEST(Global, ValueTestsAndNullConversions) {
    using qv::Global::IsDigit, qv::Global::IsValidAppearance, qv::Global::IsValidBorderStyle;
    using qv::Global::IsValidColor;
    const std::vector<Variant> zeroOrOne = {0, 1, int16_t{1}, 1.0, u"1", u" 0 ", false, Variant()};
    const std::vector<Variant> notZeroOrOne = {
        2, -1, true, 0.5, u"abc", u"2", Variant::Null(), Variant::Missing(), Obj()};
    // clang-format off
    const std::tuple<bool (*)(const Variant&), bool, std::vector<Variant>> cases[] = {
        {IsValidColor, true, {0, 0x2FFFFFF, -2147483647 - 1, 2147483648.0, 2147483653.0, 4294967295.0, -1}},
        {IsValidColor, true, {u"&H80000005", u"2147483653", u" 255 ", Variant()}},  // Empty is black
        {IsValidColor, false, {0x3000000, 50331647.6, 4294967296.0, -2147483649.0, 1e300, u"red", u""}},
        {IsValidColor, false, {Variant::Null(), Variant::Missing(), Obj()}},
        {IsValidAppearance, true, zeroOrOne}, {IsValidAppearance, false, notZeroOrOne},
        {IsValidBorderStyle, true, zeroOrOne}, {IsValidBorderStyle, false, notZeroOrOne},
        {IsDigit, true, {u"0", u"5", u"9"}},
        {IsDigit, false, {u"", u"12", u" 1", u"a", u"/", u":", u"\xFF11", 5, Variant::Null(), Variant()}}};
    // clang-format on
    for (const auto& [test, valid, values] : cases)
        for (const Variant& v : values) EXPECT_EQ(test(v), valid) << Name(v);
    const Variant zero = qv::Global::NullToZero(Variant::Null());
    EXPECT_EQ(zero.Type(), qv::VarType::Integer);
    EXPECT_EQ(zero.ToInteger(), 0);
    for (const Variant& v : {Variant(u"abc"), Variant(), Variant(2.5)})
        EXPECT_EQ(qv::Global::NullToZero(v), v);
    EXPECT_EQ(qv::Global::NullToEmptyString(Variant::Null()), u"");
    EXPECT_EQ(qv::Global::NullToEmptyString(12), u"12");
}

// --- Enumerations, fonts, member tables ----------------------------------------------------------

TEST(Enums, DisplayNamesAndValues) {
    // clang-format off
    const char16_t* pointers[] = {u"Default", u"Arrow", u"Cross", u"I-Beam", u"Icon", u"Size ",
        u"Size NE SW", u"Size N S", u"Size NW SE", u"Size W E", u"Up Arrow", u"Hourglass",
        u"No Drop", u"Arrow and Hourglass", u"Arrow and Question", u"Size All", u"Custom"};
    const std::pair<const char16_t*, Strings> all[] = {
        {u"Flat3d", {u"qvFlat", u"qv3D"}}, {u"NoneFixedSingle", {u"None", u"Fixed Single"}},
        {u"MousePointerEnum", Strings(std::begin(pointers), std::end(pointers))},
        {u"ScrollBarsEnum", {u"None", u"Horizontal", u"Vertical", u"Both"}},
        {u"DateFmt", {u"DMY", u"YMD", u"MDY"}}, {u"SearchItemEnum", {u"SearchItemText", u"SearchItemData"}},
        {u"MatchModeEnum", {u"WholeWord", u"Partial"}}};
    // clang-format on
    const auto enums = qv::AllEnums();
    ASSERT_EQ(enums.size(), std::size(all));
    for (size_t e = 0; e < enums.size(); ++e) {
        EXPECT_EQ(String(enums[e]->name), all[e].first);
        Strings names;
        for (const qv::EnumMember& m : enums[e]->members) {
            names.emplace_back(m.displayName);
            EXPECT_EQ(m.value, e == 2 && names.size() == 17 ? 99 : int32_t(names.size() - 1));
            EXPECT_EQ(qv::DisplayName(*enums[e], m.value), m.displayName);
        }
        EXPECT_EQ(names, all[e].second);
    }
    EXPECT_EQ(enums[2], &qv::MousePointerEnumInfo());
    EXPECT_EQ(qv::DisplayName(*enums[2], 16), nullptr);
    EXPECT_EQ(qv::DisplayName(*enums[2], -1), nullptr);
}

struct Recorder {
    Strings names;
    explicit Recorder(Font& f) {
        f.OnChanged([this](const String& n) { names.push_back(n); });
    }
};

TEST(Font, EveryWriteNotifiesItsNameAndRejectedWritesChangeNothing) {
    using F = Font&;
    // clang-format off
    struct Write { void (*write)(F); const char16_t* name; int32_t weight; bool differs; };  // weight afterwards; bold from 600 up
    const Write writes[] = {
        {[](F f) { f.Name(u"Other"); }, u"Name", 400, true}, {[](F f) { f.Size(2160); }, u"Size", 400, true},
        {[](F f) { f.Weight(1000); }, u"Weight", 1000, true}, {[](F f) { f.Weight(0); }, u"Weight", 0, true},
        {[](F f) { f.Weight(599); }, u"Weight", 599, true}, {[](F f) { f.Weight(600); }, u"Weight", 600, true},
        {[](F f) { f.Charset(1); }, u"Charset", 400, true}, {[](F f) { f.Bold(true); }, u"Bold", 700, true},
        {[](F f) { f.Italic(true); }, u"Italic", 400, true},
        {[](F f) { f.Underline(true); }, u"Underline", 400, true},
        {[](F f) { f.Strikethrough(true); }, u"Strikethrough", 400, true},
        {[](F f) { f.Bold(false); }, u"Bold", 400, false}};  // an unchanged value notifies too
    // clang-format on
    for (const Write& w : writes) {
        Font f;
        Recorder r(f);
        w.write(f);
        EXPECT_EQ(r.names, Strings{w.name});
        EXPECT_EQ(f.Weight(), w.weight);
        EXPECT_EQ(f.Bold(), w.weight >= 600);
        EXPECT_EQ(f.SameAttributes(Font()), !w.differs) << qv::ToUtf8(w.name);
        EXPECT_TRUE(f.SameAttributes(Font(f)));
    }
    Font f;
    Recorder r(f);
    for (auto bad : std::initializer_list<std::function<void()>>{
             [&] { f.Name(u""); }, [&] { f.Size(0); }, [&] { f.Size(2160.5f); },
             [&] { f.Size(std::nanf("")); }, [&] { f.Weight(-1); }, [&] { f.Weight(1001); }})
        EXPECT_EQ(ErrorOf(bad), 380);
    EXPECT_TRUE(r.names.empty());
    EXPECT_TRUE(f.SameAttributes(Font()));
    f.Weight(650);
    f.Bold(false);
    EXPECT_EQ(f.Weight(), 400);
}

TEST(Font, AssignCopiesInOrderAndCopiesShareNoHandler) {
    Font source;
    source.Name(u"Mono"), source.Size(11.5f), source.Weight(650), source.Italic(true);
    source.Charset(161);
    Font target;
    Recorder r(target);
    target.Assign(source);
    EXPECT_EQ(r.names, (Strings{u"Bold", u"Italic", u"Name", u"Size", u"Strikethrough",
                                u"Underline", u"Charset", u"Weight"}));
    EXPECT_TRUE(target.SameAttributes(source));
    EXPECT_EQ(target.Weight(), 650);  // the exact weight, not Bold's 700
    r.names.clear();
    Font copy(target);
    copy.Italic(false);
    std::static_pointer_cast<Font>(target.Clone())->Size(20);
    EXPECT_TRUE(r.names.empty());
    EXPECT_TRUE(target.Italic());
    EXPECT_EQ(target.Size(), 11.5f);
}

TEST(MemberTable, FindsByNameIgnoringCaseAndByIdentifierAndKind) {
    static constexpr qv::Member members[] = {
        {u"Text", qv::DispId::Text, qv::MemberKind::Property, qv::VarType::String},
        {u"Click", qv::DispId::Click, qv::MemberKind::Event, qv::VarType::Empty},
        {u"DoClick", qv::DispId::Click, qv::MemberKind::Method, qv::VarType::Empty}};
    const qv::MemberTable table(members);
    EXPECT_EQ(table.Find(u"tEXT"), &members[0]);
    for (const char16_t* miss : {u"Tex", u"Texts", u""}) EXPECT_EQ(table.Find(miss), nullptr);
    EXPECT_EQ(table.Find(qv::DispId::Click, qv::MemberKind::Event), &members[1]);
    EXPECT_EQ(table.Find(qv::DispId::Click, qv::MemberKind::Method), &members[2]);
    EXPECT_EQ(table.Find(qv::DispId::Text, qv::MemberKind::Method), nullptr);
}

}  // namespace
