// The date box's text rules: typing through the parser, the calendar tests, composition and the
// reading of a date text.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "datebox/DateText.h"

namespace {

using namespace qv::datetext;
using qv::String;

constexpr Layout DMY = Layout::DMY, YMD = Layout::YMD, MDY = Layout::MDY;
const Separators kDefault, kEmpty{.dmy = u"", .mdy = u"", .ymd = u""}, kX{.dmy = u"x"};

// Keys typed one at a time onto `start`, each a Parse of the text so far and the key; `after`
// holds the text after each key (a refused key leaves it as it was).
TEST(DateTextTyping, EachKeyGivesTheExpectedText) {
    struct Row {
        Layout layout;
        const char16_t* start;
        const char16_t* keys;
        std::vector<String> after;
        const Separators* seps = &kDefault;
    };
    // clang-format off
    const Row rows[] = {
        {DMY, u"", u"5122024", {u"05", u"05.1", u"05.12", u"05.12.2", u"05.12.20", u"05.12.202", u"05.12.2024"}},
        {DMY, u"", u"32,", {u"3", u"3", u"03."}},             {DMY, u"31.0", u"43", {u"31.0", u"31.03"}},
        {DMY, u"31.1", u"12", {u"31.1", u"31.12"}},           {DMY, u"30.0", u"23", {u"30.0", u"30.03"}},
        {DMY, u"29.02.202", u"34", {u"29.02.202", u"29.02.2024"}}, {DMY, u"", u"0.", {u"0", u"0"}},
        {DMY, u"29.02.190", u"04", {u"29.02.190", u"29.02.1904"}}, {DMY, u"29.02.200", u"0", {u"29.02.2000"}},
        {DMY, u"05.12", u"3/3", {u"05.12", u"05.12.", u"05.12."}}, {DMY, u"05.12.1", u"89", {u"05.12.1", u"05.12.19"}},
        {DMY, u"", u"1,", {u"1", u"01."}},                    {DMY, u"05", u"/.1-", {u"05.", u"05.", u"05.1", u"05.01."}},
        {YMD, u"", u"20240203", {u"2", u"20", u"202", u"2024", u"2024-0", u"2024-02", u"2024-02-0", u"2024-02-03"}},
        {YMD, u"", u"3181", {u"", u"1", u"1", u"1"}},         {YMD, u"2024-1", u"3.", {u"2024-1", u"2024-01-"}},
        {YMD, u"2023-02-2", u"98", {u"2023-02-2", u"2023-02-28"}}, {YMD, u"1900-02-2", u"9", {u"1900-02-2"}},
        {YMD, u"2000-02-2", u"9", {u"2000-02-29"}},           {YMD, u"2024-04-3", u"10", {u"2024-04-3", u"2024-04-30"}},
        {MDY, u"", u"2,39", {u"02", u"02/", u"02/03", u"02/03"}}, {MDY, u"", u"13", {u"1", u"1"}},
        {MDY, u"02/2", u"9", {u"02/29"}},                     {MDY, u"02/29/190", u"0", {u"02/29/190"}},
        {MDY, u"04/3", u"10", {u"04/3", u"04/30"}},           {MDY, u"12/5", u".", {u"12/05/"}},
        {DMY, u"", u"5,12/", {u"05", u"05x", u"05x1", u"05x12", u"05x12x"}, &kX},
        {DMY, u"", u"51220245", {u"05", u"051", u"0512", u"05122", u"051220", u"0512202", u"05122024", u"05122024"}, &kEmpty},
        {DMY, u"", u"3.2", {u"3", u"03", u"0302"}, &kEmpty},   {MDY, u"1/", u"31", {u"013", u"0131"}, &kEmpty},
        {DMY, u"290219", u"004", {u"2902190", u"2902190", u"29021904"}, &kEmpty},
        {YMD, u"2023022", u"98", {u"2023022", u"20230228"}, &kEmpty},
    };
    // clang-format on
    for (const Row& row : rows) {
        String text = row.start;
        SCOPED_TRACE(qv::ToUtf8(text) + " + " + qv::ToUtf8(row.keys));
        ASSERT_EQ(std::char_traits<char16_t>::length(row.keys), row.after.size());
        for (size_t i = 0; i < row.after.size(); ++i) {
            text = Parse(text + row.keys[i], row.layout, *row.seps);
            EXPECT_EQ(qv::ToUtf8(text), qv::ToUtf8(row.after[i])) << "after key " << i;
        }
    }
}

TEST(DateTextTyping, WholeTextsAreCutAtTheFirstRefusedCharacter) {
    // clang-format off
    const std::tuple<Layout, const char16_t*, const char16_t*> rows[] = {
        {DMY, u"2024-12-05", u"20.02"},     {MDY, u"1/31/2020", u"01/31/2020"}, {MDY, u"13/01/2020", u"1"},
        {YMD, u"2024/2/3", u"2024-02-03"},  {DMY, u"1.1.2000 and more", u"01.01.2000"}, {DMY, u"\u0661", u""},
        {DMY, u"0\xD83D\xDE00", u"0"},      {static_cast<Layout>(7), u"5.1.", u"05.01."},
    };
    // clang-format on
    for (const auto& [layout, candidate, result] : rows)
        EXPECT_EQ(qv::ToUtf8(Parse(candidate, layout, kDefault)), qv::ToUtf8(result));
}

// Whatever the input, the result is at most 10 characters and a fixed point of the parser, and
// so is every prefix of it: a text the parser built can be typed back key by key.
TEST(DateTextTyping, ResultsOfArbitraryInputAreStableAndTypeable) {
    const char16_t alphabet[] = u"0123456789012./-,x\0\xD83D\xDE00 ";
    const Separators odd[] = {kDefault, kEmpty, Separators{.dmy = u"xy", .mdy = u"", .ymd = u"0"}};
    std::mt19937 random(20240205);
    for (int i = 0; i < 20000; ++i) {
        String candidate(random() % 40, u' ');
        for (char16_t& c : candidate) c = alphabet[random() % (std::size(alphabet) - 1)];
        const Layout layout = static_cast<Layout>(random() % 3);
        const Separators& seps = odd[random() % 3];
        const String result = Parse(candidate, layout, seps);
        ASSERT_LE(result.size(), 10u);
        for (size_t n = 0; n <= result.size(); ++n)
            ASSERT_EQ(Parse(result.substr(0, n), layout, seps), result.substr(0, n))
                << qv::ToUtf8(candidate);
    }
}

TEST(DateTextCalendar, DateRangeMonthLengthsAndSeparators) {
    // clang-format off
    const std::tuple<int32_t, int32_t, int32_t, bool> rows[] = {
        {29, 2, 1900, false}, {29, 2, 2000, true}, {29, 2, 2024, true}, {29, 2, 2023, false},
        {28, 2, 2023, true}, {31, 4, 2024, false}, {30, 4, 2024, true}, {31, 12, 2099, true},
        {1, 1, 1900, true}, {31, 12, 1899, false}, {1, 1, 2100, false}, {0, 1, 2000, false},
        {1, 0, 2000, false}, {1, 13, 2000, false}, {32, 1, 2000, false}};
    // clang-format on
    for (const auto& [d, m, y, valid] : rows)
        EXPECT_EQ(IsValidDate(d, m, y), valid) << d << "." << m;
    for (char16_t c : u"-/,.") EXPECT_EQ(IsSeparator(c, kDefault), c != u'\0');
    EXPECT_FALSE(IsSeparator(u'x', kDefault));
    EXPECT_TRUE(IsSeparator(u'x', kX));
    EXPECT_FALSE(IsSeparator(u'\0', kEmpty));
}

// Every date of the range: composed in each layout, it parses back to itself and reads as the same
// date; in years of each leap kind, each of its prefixes is accepted while typing too.
TEST(DateTextConversions, EveryDateRoundTripsInEveryLayout) {
    for (int32_t y = 1900; y <= 2099; ++y) {
        const bool typed = y == 1900 || y == 2000 || y == 2023 || y == 2024 || y == 2099;
        for (int32_t m = 1; m <= 12; ++m)
            for (int32_t d = 1; IsValidDate(d, m, y); ++d)
                for (Layout layout : {DMY, YMD, MDY}) {
                    const Ymd date{y, m, d};
                    const String text = Compose(date, layout, kDefault);
                    for (size_t n = 1; typed && n < text.size(); ++n) {
                        const qv::StringView prefix = qv::StringView(text).substr(0, n);
                        ASSERT_EQ(Parse(prefix, layout, kDefault), prefix);
                    }
                    ASSERT_EQ(Parse(text, layout, kDefault), text);
                    ASSERT_EQ(DateOf(text, layout), date) << qv::ToUtf8(text);
                    const String bare = Compose(date, layout, kEmpty);
                    ASSERT_EQ(Parse(bare, layout, kEmpty), bare);
                    ASSERT_EQ(bare.size(), 8u);
                }
    }
    const Ymd date{2024, 12, 5};
    EXPECT_EQ(Compose(date, DMY, kDefault), u"05.12.2024");
    EXPECT_EQ(Compose(date, YMD, kDefault), u"2024-12-05");
    EXPECT_EQ(Compose(date, MDY, Separators{.mdy = u"ab"}), u"12a05a2024");
}

// Parts are read by position and as numbers; DateOf accepts only a valid date, never rolling an
// impossible day or month into another date.
TEST(DateTextConversions, PartsAndDatesOfStoredTexts) {
    // clang-format off
    const std::tuple<Layout, const char16_t*, std::optional<Ymd>, bool> rows[] = {
        {DMY, u"05.12.2024", Ymd{2024, 12, 5}, true},    {YMD, u"05.12.2024", Ymd{5, 0, 24}, false},
        {DMY, u" 5x12x2024", Ymd{2024, 12, 5}, true},    {DMY, u"29.02.1900", Ymd{1900, 2, 29}, false},
        {DMY, u"31.04.2024", Ymd{2024, 4, 31}, false},   {DMY, u"12.34.5678", Ymd{5678, 34, 12}, false},
        {DMY, u"ab.cd.efgh", Ymd{0, 0, 0}, false},       {MDY, u"01/01/3.50", Ymd{4, 1, 1}, false},
        {DMY, u"01.01.1E99", Ymd{INT32_MAX, 1, 1}, false}, {DMY, u"05122024", std::nullopt, false},
    };
    // clang-format on
    for (const auto& [layout, text, parts, valid] : rows) {
        SCOPED_TRACE(qv::ToUtf8(text));
        EXPECT_EQ(Parts(text, layout), parts);
        EXPECT_EQ(DateOf(text, layout), valid ? parts : std::nullopt);
    }
}

}  // namespace
