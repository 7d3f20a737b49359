#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "library/RuntimeError.h"
#include "library/Variant.h"

namespace {

using qv::DateValue;
using qv::String;
using qv::Variant;

// The run-time error number `f` raises, or 0 when it returns normally.
int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

class Thing : public qv::Object {
  public:
    std::shared_ptr<qv::Object> Clone() const override { return std::make_shared<Thing>(); }
    String TypeName() const override { return u"Thing"; }
};

Variant Obj() {
    return Variant(std::make_shared<Thing>());
}

TEST(RuntimeError, CarriesNumberSourceAndDescription) {
    const qv::RuntimeError e(380, u"QVtxtBox");
    EXPECT_EQ(e.Description(), u"Invalid property value");
    EXPECT_EQ(e.Source(), u"QVtxtBox");
    EXPECT_STREQ(e.what(), "Error 380: Invalid property value");
    EXPECT_STREQ(qv::RuntimeError(5, {}, qv::u8s("Größe fehlt")).what(), "Error 5: Größe fehlt");
    EXPECT_EQ(qv::ErrorDescription(1234), u"Application-defined or object-defined error");
    EXPECT_EQ(qv::ErrorDescription(438), u"Object doesn't support this property or method");
    EXPECT_EQ(ErrorOf([] { qv::Raise(94); }), 94);
}

TEST(Variant, RoundsHalvesToEven) {
    const double cases[][2] = {
        {2.5, 2}, {3.5, 4},   {-2.5, -2},     {-3.5, -4},
        {0.5, 0}, {1.5, 2},   {-0.5, -0},     {2.4, 2},
        {2.6, 3}, {-2.6, -3}, {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0}};
    for (const auto& c : cases) EXPECT_EQ(qv::RoundHalfEven(c[0]), c[1]) << c[0];
}

TEST(Variant, ConvertsToWholeNumbers) {
    struct Case {
        Variant v;
        int32_t expected;
    };
    const Case integerCases[] = {{2.5, 2},
                                 {3.5, 4},
                                 {-2.5, -2},
                                 {2.5f, 2},
                                 {32767.4, 32767},
                                 {-32768.5, -32768},
                                 {true, -1},
                                 {false, 0},
                                 {Variant(), 0},
                                 {u" 12 ", 12},
                                 {u"-1.5", -2},
                                 {u"&HFFFF", -1},
                                 {u"1E3", 1000},
                                 {u"&O17", 15},
                                 {DateValue{1000.5}, 1000},
                                 {DateValue{1001.5}, 1002},
                                 {int16_t{-7}, -7},
                                 {123, 123}};
    for (const Case& c : integerCases)
        EXPECT_EQ(c.v.ToInteger(), c.expected) << qv::ToUtf8(c.v.ToString());

    const Case longCases[] = {{2147483647.4, 2147483647},
                              {-2147483648.5, -2147483647 - 1},
                              {u"-2147483648", -2147483647 - 1},
                              {u"&HFFFFFFFF", -1},
                              {u"&H10000", 65536},
                              {70000.5, 70000},
                              {true, -1},
                              {DateValue{45000.5}, 45000},
                              {DateValue{-45001.5}, -45002}};
    for (const Case& c : longCases)
        EXPECT_EQ(c.v.ToLong(), c.expected) << qv::ToUtf8(c.v.ToString());
}

TEST(Variant, ConversionErrors) {
    using Conv = std::function<void(const Variant&)>;
    const Conv toBool = [](const Variant& v) { v.ToBool(); };
    const Conv toInt = [](const Variant& v) { v.ToInteger(); };
    const Conv toLong = [](const Variant& v) { v.ToLong(); };
    const Conv toSng = [](const Variant& v) { v.ToSingle(); };
    const Conv toDbl = [](const Variant& v) { v.ToDouble(); };
    const Conv toStr = [](const Variant& v) { v.ToString(); };
    const Conv toDate = [](const Variant& v) { v.ToDate(); };
    struct Case {
        Variant v;
        Conv conv;
        int error;
    };
    const Case cases[] = {{32767.5, toInt, 6},
                          {-32768.6, toInt, 6},
                          {40000, toInt, 6},
                          {u"32768", toInt, 6},
                          {2147483647.5, toLong, 6},
                          {-2147483649.0, toLong, 6},
                          {std::nan(""), toLong, 6},
                          {1e39, toSng, 6},
                          {-1e39, toSng, 6},
                          {u"1E39", toSng, 6},
                          {u"1E400", toDbl, 6},
                          {u"&H100000000", toLong, 6},
                          {u"abc", toInt, 13},
                          {u"", toDbl, 13},
                          {u"1e", toDbl, 13},
                          {u"1.2.3", toDbl, 13},
                          {u"\t1", toDbl, 13},
                          {u"1,5", toDbl, 13},
                          {u"--1", toDbl, 13},
                          {u"12abc", toLong, 13},
                          {u"True", toInt, 13},
                          {u"&H", toDbl, 13},
                          {u"yes", toBool, 13},
                          {Obj(), toDbl, 13},
                          {Obj(), toStr, 13},
                          {Obj(), toBool, 13},
                          {Variant::Missing(), toLong, 13},
                          {u"2024-13-01", toDate, 13},
                          {u"45000", toDate, 13},
                          {u"2023-02-29", toDate, 13},
                          {u"2024-02-29 24:00", toDate, 13},
                          {1e7, toDate, 6},
                          {Variant::Null(), toBool, 94},
                          {Variant::Null(), toInt, 94},
                          {Variant::Null(), toStr, 94},
                          {Variant::Null(), toDate, 94},
                          {Variant::Null(), toSng, 94}};
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { c.conv(c.v); }), c.error) << qv::ToUtf8(qv::TypeName(c.v));
    EXPECT_EQ(ErrorOf([] { Variant(5).ToObject(); }), 424);
    EXPECT_EQ(ErrorOf([] { Variant(std::shared_ptr<qv::Object>()).ToObject(); }), 424);
}

TEST(Variant, ConvertsToBooleanAndDouble) {
    const std::pair<Variant, bool> bools[] = {
        {u"True", true}, {u" false ", false}, {u"TRUE", true}, {u"0", false}, {u"-1", true},
        {u"0.5", true},  {Variant(), false},  {0.0, false},    {2, true},     {0.1f, true}};
    for (const auto& [v, expected] : bools)
        EXPECT_EQ(v.ToBool(), expected) << qv::ToUtf8(v.ToString());

    const std::pair<Variant, double> doubles[] = {
        {u"  -1.5e3  ", -1500},  {u".5", 0.5},         {u"5.", 5}, {u"+3", 3},
        {u"1e+5", 100000},       {u"1E-400", 0},       {true, -1}, {Variant(), 0},
        {DateValue{1.25}, 1.25}, {0.1f, double(0.1f)}, {u"-0", 0}, {u"007", 7}};
    for (const auto& [v, expected] : doubles)
        EXPECT_EQ(v.ToDouble(), expected) << qv::ToUtf8(v.ToString());

    // Just beyond the largest Single still rounds to it rather than overflowing.
    EXPECT_EQ(Variant(3.4028235e38).ToSingle(), std::numeric_limits<float>::max());
}

TEST(Variant, FormatsNumbers) {
    const std::pair<double, const char16_t*> doubles[] = {
        {0.1 + 0.2, u"0.3"},
        {1e20, u"1E+20"},
        {1.5e-7, u"1.5E-07"},
        {-1234567890123456.0, u"-1.23456789012346E+15"},
        {0.0001, u"0.0001"},
        {1e-5, u"1E-05"},
        {123456789012345.0, u"123456789012345"},
        {1e15, u"1E+15"},
        {999999999999999.9, u"1E+15"},
        {-0.0, u"0"},
        {1.0 / 3, u"0.333333333333333"},
        {-2.5, u"-2.5"},
        {100, u"100"},
        {1e100, u"1E+100"},
        {-1e-300, u"-1E-300"},
        {0.00012345, u"0.00012345"},
        {3.14159265358979, u"3.14159265358979"}};
    for (const auto& [d, text] : doubles) {
        EXPECT_EQ(qv::DoubleToString(d), String(text)) << d;
        EXPECT_EQ(Variant(d).ToString(), String(text)) << d;
    }
    const std::pair<float, const char16_t*> singles[] = {{0.1f, u"0.1"},
                                                         {1234567.0f, u"1234567"},
                                                         {1e7f, u"1E+07"},
                                                         {1.0f / 3, u"0.3333333"},
                                                         {16777216.0f, u"1.677722E+07"},
                                                         {3.4028235e38f, u"3.402823E+38"},
                                                         {-0.0f, u"0"},
                                                         {2.5e-5f, u"2.5E-05"}};
    for (const auto& [f, text] : singles) EXPECT_EQ(Variant(f).ToString(), String(text)) << f;

    EXPECT_EQ(Variant(true).ToString(), u"True");
    EXPECT_EQ(Variant(int16_t{-32768}).ToString(), u"-32768");
    EXPECT_EQ(Variant(-2147483647 - 1).ToString(), u"-2147483648");
    EXPECT_EQ(Variant().ToString(), u"");
}

TEST(Variant, ParsesAndFormatsDates) {
    const DateValue leapDay = qv::DateSerial(2024, 2, 29);
    EXPECT_EQ(Variant(leapDay).ToString(), u"2024-02-29");
    EXPECT_EQ(Variant(DateValue{leapDay.days + 0.75}).ToString(), u"2024-02-29 18:00:00");
    EXPECT_EQ(Variant(u"2024-02-29").ToDate(), leapDay);
    EXPECT_EQ(Variant(u" 2024-02-29T13:45:30 ").ToDate().days,
              leapDay.days + (13 * 3600 + 45 * 60 + 30) / 86400.0);
    EXPECT_EQ(Variant(u"2024-02-29 06:00").ToDate().days, leapDay.days + 0.25);
    // Before the epoch: half a day before day 0 is noon of 29 December 1899.
    EXPECT_EQ(Variant(DateValue{-0.5}).ToString(), u"1899-12-29 12:00:00");
    EXPECT_EQ(Variant(u"1899-12-29 12:00:00").ToDate().days, -0.5);
    // A time that rounds to midnight belongs to the next day.
    EXPECT_EQ(Variant(DateValue{86399.6 / 86400}).ToString(), u"1899-12-31");
    EXPECT_EQ(Variant(u"0100-01-01").ToDate(), qv::DateSerial(100, 1, 1));
    EXPECT_EQ(Variant(45000).ToDate().days, 45000);
    EXPECT_EQ(Variant(true).ToDate().days, -1);
}

TEST(Variant, DateSerialRollsOver) {
    using qv::DateSerial;
    EXPECT_EQ(DateSerial(1899, 12, 30).days, 0);
    EXPECT_EQ(DateSerial(1900, 1, 1).days, 2);
    EXPECT_EQ(DateSerial(2000, 1, 1).days, 36526);
    EXPECT_EQ(DateSerial(100, 1, 1).days, -657434);
    EXPECT_EQ(DateSerial(9999, 12, 31).days, 2958465);
    const std::pair<DateValue, DateValue> same[] = {
        {DateSerial(2024, 13, 1), DateSerial(2025, 1, 1)},
        {DateSerial(2024, 0, 1), DateSerial(2023, 12, 1)},
        {DateSerial(2024, -1, 1), DateSerial(2023, 11, 1)},
        {DateSerial(2024, 25, 1), DateSerial(2026, 1, 1)},
        {DateSerial(2024, -12, 1), DateSerial(2022, 12, 1)},
        {DateSerial(2024, -10, 1), DateSerial(2023, 2, 1)},
        {DateSerial(2024, -23, 15), DateSerial(2022, 1, 15)},
        {DateSerial(2024, 1, 32), DateSerial(2024, 2, 1)},
        {DateSerial(2024, 1, 0), DateSerial(2023, 12, 31)},
        {DateSerial(2024, 1, -1), DateSerial(2023, 12, 30)},
        {DateSerial(2024, 3, 0), DateSerial(2024, 2, 29)},
        {DateSerial(2023, 3, 0), DateSerial(2023, 2, 28)},
        {DateSerial(1900, 3, 0), DateSerial(1900, 2, 28)},
        {DateSerial(2000, 3, 0), DateSerial(2000, 2, 29)},
        {DateSerial(2023, 2, 29), DateSerial(2023, 3, 1)},
        {DateSerial(2024, 1, 366), DateSerial(2024, 12, 31)},
        {DateSerial(99, 13, 1), DateSerial(100, 1, 1)}};
    for (const auto& [a, b] : same) EXPECT_EQ(a.days, b.days);
    EXPECT_EQ(ErrorOf([] { DateSerial(99, 12, 31); }), 5);
    EXPECT_EQ(ErrorOf([] { DateSerial(10000, 1, 1); }), 5);
    EXPECT_EQ(ErrorOf([] { DateSerial(9999, 12, 32); }), 5);
    EXPECT_EQ(ErrorOf([] { DateSerial(2024, 2147483647, 1); }), 5);
}

TEST(Variant, CalendarPartsAgreeWithDateSerialOverTheWholeRange) {
    int32_t year = 100, month = 1, day = 1, weekday = qv::Weekday(qv::DateSerial(100, 1, 1));
    for (int32_t n = -657434; n <= 2958465; ++n) {
        const DateValue d{static_cast<double>(n)};
        ASSERT_EQ(qv::Year(d), year) << n;
        ASSERT_EQ(qv::Month(d), month) << n;
        ASSERT_EQ(qv::Day(d), day) << n;
        ASSERT_EQ(qv::Weekday(d), weekday) << n;
        ASSERT_EQ(qv::DateSerial(year, month, day).days, n);
        weekday = weekday % 7 + 1;
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++day > lengths[month - 1]) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    EXPECT_EQ(qv::Weekday(qv::DateSerial(2024, 2, 29)), 5);  // a Thursday
    EXPECT_EQ(qv::Weekday(DateValue{0}), 7);                 // a Saturday
    EXPECT_EQ(qv::Day(DateValue{-0.25}), 29);                // 18:00 the day before
    EXPECT_EQ(qv::Weekday(DateValue{-0.25}), 6);
}

TEST(Variant, IsNumericAndVal) {
    const std::pair<Variant, bool> numeric[] = {
        {Variant(), true},     {u"12", true},     {u" 1.5e3 ", true},
        {u"&H1F", true},       {true, true},      {2.5f, true},
        {u"abc", false},       {u"", false},      {u"1e", false},
        {u"True", false},      {u"1E400", false}, {Variant::Null(), false},
        {DateValue{1}, false}, {Obj(), false},    {Variant::Missing(), false}};
    for (const auto& [v, expected] : numeric) EXPECT_EQ(qv::IsNumeric(v), expected);

    const std::pair<const char16_t*, double> vals[] = {
        {u"12abc", 12},  {u"1 2", 12},    {u"abc", 0}, {u"&H1F", 31},       {u"&h1fz", 31},
        {u"&HFFFF", -1}, {u"&O17", 15},   {u"&H", 0},  {u"&H123456789", 0}, {u"  -3.5e2x", -350},
        {u"\t1\n2", 12}, {u"1 E 2", 100}, {u"1e", 1},  {u"1e+", 1},         {u"1.2.3", 1.2},
        {u".5", 0.5},    {u"-", 0},       {u"", 0},    {u"\r1", 0},         {u"+7", 7}};
    for (const auto& [text, expected] : vals) EXPECT_EQ(qv::Val(text), expected);
    EXPECT_EQ(qv::Val(u"1E400"), std::numeric_limits<double>::infinity());
    EXPECT_FALSE(std::signbit(qv::Val(u"-0")));
}

TEST(Variant, TypeNames) {
    const std::pair<Variant, const char16_t*> cases[] = {
        {Variant(), u"Empty"},    {Variant::Null(), u"Null"},
        {int16_t{1}, u"Integer"}, {1, u"Long"},
        {1.0f, u"Single"},        {1.0, u"Double"},
        {DateValue{}, u"Date"},   {u"", u"String"},
        {true, u"Boolean"},       {Variant::Missing(), u"Error"},
        {Obj(), u"Thing"},        {Variant(std::shared_ptr<qv::Object>()), u"Nothing"}};
    for (const auto& [v, name] : cases) EXPECT_EQ(qv::TypeName(v), String(name));
}

}  // namespace
