#include <gtest/gtest.h>

#include "library/Global.h"

namespace {

using qv::String;
using qv::Variant;
namespace Global = qv::Global;

class Thing : public qv::Object {
  public:
    std::shared_ptr<qv::Object> Clone() const override { return std::make_shared<Thing>(); }
    String TypeName() const override { return u"Thing"; }
};

TEST(Global, ValidColors) {
    const std::pair<Variant, bool> cases[] = {
        {0, true},
        {0x2FFFFFF, true},
        {-2147483647 - 1, true},  // 0x80000000 as a Long
        {2147483648.0, true},     // 0x80000000 written as a positive number
        {2147483653.0, true},     // 0x80000005, a system colour
        {4294967295.0, true},     // 0xFFFFFFFF
        {-1, true},
        {u"&H80000005", true},
        {u"2147483653", true},
        {u" 255 ", true},
        {Variant(), true},  // Empty is 0, black
        {0x3000000, false},
        {50331647.6, false},  // rounds to 0x3000000
        {4294967296.0, false},
        {-2147483649.0, false},
        {1e300, false},
        {u"red", false},
        {u"", false},
        {Variant::Null(), false},
        {Variant::Missing(), false},
        {Variant(std::make_shared<Thing>()), false}};
    for (const auto& [v, valid] : cases)
        EXPECT_EQ(Global::IsValidColor(v), valid) << qv::ToUtf8(qv::TypeName(v));
}

TEST(Global, ValidAppearanceAndBorderStyle) {
    const std::pair<Variant, bool> cases[] = {{0, true},
                                              {1, true},
                                              {int16_t{1}, true},
                                              {1.0, true},
                                              {u"1", true},
                                              {u" 0 ", true},
                                              {false, true},
                                              {Variant(), true},
                                              {2, false},
                                              {-1, false},
                                              {true, false},
                                              {0.5, false},
                                              {u"abc", false},
                                              {u"2", false},
                                              {Variant::Null(), false},
                                              {Variant::Missing(), false},
                                              {Variant(std::make_shared<Thing>()), false}};
    for (const auto& [v, valid] : cases) {
        EXPECT_EQ(Global::IsValidAppearance(v), valid) << qv::ToUtf8(qv::TypeName(v));
        EXPECT_EQ(Global::IsValidBorderStyle(v), valid) << qv::ToUtf8(qv::TypeName(v));
    }
}

TEST(Global, IsDigit) {
    const std::pair<Variant, bool> cases[] = {{u"0", true},      {u"5", true},
                                              {u"9", true},      {u"", false},
                                              {u"12", false},    {u" 1", false},
                                              {u"a", false},     {u"\xFF11", false},  // fullwidth 1
                                              {5, false},        {Variant::Null(), false},
                                              {Variant(), false}};
    for (const auto& [v, digit] : cases) EXPECT_EQ(Global::IsDigit(v), digit);
}

TEST(Global, NullConversions) {
    const Variant zero = Global::NullToZero(Variant::Null());
    EXPECT_EQ(zero.Type(), qv::VarType::Integer);
    EXPECT_EQ(zero.ToInteger(), 0);
    EXPECT_EQ(Global::NullToZero(u"abc"), Variant(u"abc"));
    EXPECT_EQ(Global::NullToZero(Variant()), Variant());
    EXPECT_EQ(Global::NullToZero(2.5), Variant(2.5));

    EXPECT_EQ(Global::NullToEmptyString(Variant::Null()), u"");
    EXPECT_EQ(Global::NullToEmptyString(12), u"12");
    EXPECT_EQ(Global::NullToEmptyString(u"x"), u"x");
}

}  // namespace
