#include <gtest/gtest.h>

#include <string>

#include "library/String.h"

namespace {

using qv::String;

TEST(Utf8, RoundTripsValidText) {
    const char* samples[] = {
        "",        "abc",    "Grüße",
        "€ 12,50", "日本語", "Ελληνικά",
        "😀",       "a😀b🎉c",  "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf"};
    for (const char* s : samples) EXPECT_EQ(qv::ToUtf8(qv::FromUtf8(s)), s) << s;
}

TEST(Utf8, SupplementaryCharactersBecomeSurrogatePairs) {
    EXPECT_EQ(qv::FromUtf8("😀"), String(u"\xD83D\xDE00"));
    EXPECT_EQ(qv::FromUtf8("\xF4\x8F\xBF\xBF"), String(u"\xDBFF\xDFFF"));  // U+10FFFF
    EXPECT_EQ(qv::FromUtf8("x\xF0\x90\x80\x80"), String(u"x\xD800\xDC00"));
    EXPECT_EQ(qv::ToUtf8(u"\xD83D\xDE00"), "😀");
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    struct Case {
        const char* utf8;
        const char16_t* expected;
    };
    const Case cases[] = {
        {"\xC3", u"\xFFFD"},  // truncated at the end
        {"a\xE2\x82"
         "b",
         u"a\xFFFD"
         "b"},                                              // truncated; "b" survives
        {"\xC0\xAF", u"\xFFFD\xFFFD"},                      // overlong "/"
        {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},            // overlong three-byte form
        {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
        {"\xFF\xFE", u"\xFFFD\xFFFD"},
        {"\x80x", u"\xFFFDx"},  // stray continuation byte
        {"\xF0\x9F\x98"
         "A",
         u"\xFFFD"
         "A"}  // three of four bytes
    };
    for (const Case& c : cases) EXPECT_EQ(qv::FromUtf8(c.utf8), String(c.expected)) << c.utf8;
}

TEST(Utf8, LoneSurrogatesEncodeAsReplacementCharacter) {
    EXPECT_EQ(qv::ToUtf8(u"a\xD800"
                         "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(qv::ToUtf8(u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // reversed pair
    EXPECT_EQ(qv::ToUtf8(u"x\xD83D"), "x\xEF\xBF\xBD");                  // high at the end
}

TEST(Trim, RemovesBlanksOnly) {
    struct Case {
        const char16_t* in;
        const char16_t* both;
        const char16_t* left;
        const char16_t* right;
    };
    const Case cases[] = {
        {u"", u"", u"", u""},
        {u"   ", u"", u"", u""},
        {u"  a b  ", u"a b", u"a b  ", u"  a b"},
        {u"\ta\t", u"\ta\t", u"\ta\t", u"\ta\t"},
        {u" \r\nx\n ", u"\r\nx\n", u"\r\nx\n ", u" \r\nx\n"},
        {u"\xA0x\xA0", u"\xA0x\xA0", u"\xA0x\xA0", u"\xA0x\xA0"}  // no-break space stays
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qv::TrimBlanks(c.in), String(c.both));
        EXPECT_EQ(qv::TrimLeftBlanks(c.in), String(c.left));
        EXPECT_EQ(qv::TrimRightBlanks(c.in), String(c.right));
    }
}

TEST(UpperCase, MapsSingleCharacters) {
    struct Case {
        char16_t in;
        char16_t out;
    };
    const Case cases[] = {
        {u'a', u'A'},   {u'z', u'Z'},           {u'A', u'A'},
        {u'{', u'{'},   {u'`', u'`'},           {u'5', u'5'},
        {u'ü', u'Ü'},   {u'é', u'É'},           {u'ÿ', u'\x0178'},
        {u'ß', u'ß'},   {u'µ', u'\x039C'},      {u'÷', u'÷'},
        {u'×', u'×'},   {u'ő', u'Ő'},           {u'Ő', u'Ő'},
        {u'ā', u'Ā'},   {u'ž', u'Ž'},           {u'ı', u'I'},
        {u'ſ', u'S'},   {u'\x01C6', u'\x01C4'}, {u'\x01C5', u'\x01C4'},  // dž and its title case Dž
        {u'ά', u'Ά'},   {u'ς', u'Σ'},           {u'σ', u'Σ'},
        {u'ω', u'Ω'},   {u'Ω', u'Ω'},           {u'ж', u'Ж'},
        {u'ё', u'Ё'},   {u'я', u'Я'},           {u'ѣ', u'Ѣ'},
        {u'ա', u'Ա'},   {u'\x1F80', u'\x1F80'},  // upper case needs two units
        {u'ⓐ', u'Ⓐ'},   {u'ａ', u'Ａ'},         {u'漢', u'漢'},
        {u'０', u'０'}, {u'\xD83D', u'\xD83D'}, {u'\xFFFF', u'\xFFFF'}};
    for (const Case& c : cases)
        EXPECT_EQ(int(qv::UpperCaseChar(c.in)), int(c.out)) << "U+" << std::hex << int(c.in);
}

TEST(UpperCase, IsIdempotentOverTheWholePlane) {
    // Upper-case letters stay as they are, so mapping twice changes nothing.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const char16_t once = qv::UpperCaseChar(static_cast<char16_t>(c));
        ASSERT_EQ(int(qv::UpperCaseChar(once)), int(once)) << "U+" << std::hex << int(c);
    }
}

TEST(UpperCase, MapsStrings) {
    EXPECT_EQ(qv::UpperCase(qv::u8s("Grüße, Ωmega ёлка 12")), qv::u8s("GRÜßE, ΩMEGA ЁЛКА 12"));
    EXPECT_EQ(qv::UpperCase(u"a\xD83D\xDE00z"), String(u"A\xD83D\xDE00Z"));
    EXPECT_EQ(qv::UpperCase(u""), String());
}

}  // namespace
