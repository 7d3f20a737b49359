// The in-memory property store: subtypes, omitted defaults, order, cloning and failing keys.
#include <gtest/gtest.h>

#include "hosts/headless/MemoryPropertyBag.h"
#include "library/Font.h"
#include "library/Picture.h"

namespace {

using qv::String;
using qv::Variant;
using qv::VarType;
using qv::headless::MemoryPropertyBag;

int32_t ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(MemoryPropertyBag, KeepsEverySubtype) {
    const Variant values[] = {Variant(int16_t{-3}),
                              Variant(int32_t{70000}),
                              Variant(1.5f),
                              Variant(2.25),
                              Variant(true),
                              Variant(u"text"),
                              Variant(qv::DateValue{45000.5}),
                              Variant::Null(),
                              Variant()};
    MemoryPropertyBag bag(false);
    for (size_t i = 0; i < std::size(values); ++i)
        bag.WriteProperty(u"k" + qv::FromUtf8(std::to_string(i)), values[i], Variant(u"other"));
    for (size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(i);
        const Variant read = bag.ReadProperty(u"k" + qv::FromUtf8(std::to_string(i)), Variant());
        EXPECT_EQ(read.Type(), values[i].Type());
        EXPECT_EQ(read, values[i]);
    }
}

TEST(MemoryPropertyBag, LeavesOutValuesEqualToTheirDefault) {
    struct Case {
        const char* name;
        Variant value, defaultValue;
        bool omitted;
    };
    const auto font = std::make_shared<qv::Font>();
    const Case cases[] = {
        {"same subtype and value", Variant(int16_t{5}), Variant(int16_t{5}), true},
        {"Integer and Long, same number", Variant(int16_t{5}), Variant(int32_t{5}), true},
        {"Single and Double, same number", Variant(1.5f), Variant(1.5), true},
        {"Boolean True and -1", Variant(true), Variant(int16_t{-1}), true},
        {"equal strings", Variant(u"abc"), Variant(u"abc"), true},
        {"Empty and Empty", Variant(), Variant(), true},
        {"different numbers", Variant(int16_t{5}), Variant(int16_t{6}), false},
        {"strings differing in case", Variant(u"abc"), Variant(u"ABC"), false},
        {"a numeric string and a number", Variant(u"5"), Variant(int32_t{5}), false},
        {"Empty and zero", Variant(), Variant(int32_t{0}), false},
        {"Null and Empty", Variant::Null(), Variant(), false},
        {"an object, even its own default", Variant(font), Variant(font), false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        MemoryPropertyBag bag;
        bag.WriteProperty(u"Key", k.value, k.defaultValue);
        EXPECT_EQ(bag.Has(u"Key"), !k.omitted);
        MemoryPropertyBag keepAll(false);
        keepAll.WriteProperty(u"Key", k.value, k.defaultValue);
        EXPECT_TRUE(keepAll.Has(u"Key"));
    }
}

TEST(MemoryPropertyBag, WritingTheDefaultForgetsAnEarlierValue) {
    MemoryPropertyBag bag;
    bag.WriteProperty(u"MaxLength", Variant(int32_t{10}), Variant(int32_t{0}));
    bag.WriteProperty(u"MaxLength", Variant(int32_t{0}), Variant(int32_t{0}));
    EXPECT_FALSE(bag.Has(u"MaxLength"));
    EXPECT_EQ(bag.ReadProperty(u"MaxLength", Variant(int32_t{0})), Variant(int32_t{0}));
}

TEST(MemoryPropertyBag, KeysAreCaseSensitiveAndKeepTheirFirstPosition) {
    MemoryPropertyBag bag;
    bag.Set(u"b", Variant(1));
    bag.Set(u"a", Variant(2));
    bag.Set(u"B", Variant(3));
    bag.Set(u"b", Variant(4));
    EXPECT_EQ(bag.Keys(), (std::vector<String>{u"b", u"a", u"B"}));
    EXPECT_EQ(bag.Get(u"b"), Variant(4));
    EXPECT_EQ(bag.ReadProperty(u"A", Variant(u"absent")), Variant(u"absent"));
    EXPECT_TRUE(bag.Remove(u"a"));
    EXPECT_FALSE(bag.Remove(u"a"));
    EXPECT_THROW(bag.Get(u"a"), std::out_of_range);
    EXPECT_EQ(bag.Entries().size(), 2u);
}

TEST(MemoryPropertyBag, ObjectsAreClonedOnWriteAndOnRead) {
    MemoryPropertyBag bag;
    auto font = std::make_shared<qv::Font>();
    font->Size(12);
    bag.WriteProperty(u"Font", Variant(font), Variant());
    font->Size(20);  // the writer's object is not the stored one

    auto first = bag.ReadProperty(u"Font", Variant()).As<qv::Font>();
    auto second = bag.ReadProperty(u"Font", Variant()).As<qv::Font>();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_NE(first, font);
    EXPECT_EQ(first->Size(), 12.0f);
    first->Size(30);  // nor is the reader's
    EXPECT_EQ(bag.Get(u"Font").As<qv::Font>()->Size(), 12.0f);

    auto picture = std::make_shared<qv::Picture>(qv::Picture::Format::Icon, 16, 16,
                                                 std::vector<uint8_t>{1, 2, 3});
    bag.Set(u"MouseIcon", Variant(picture));
    auto read = bag.ReadProperty(u"MouseIcon", Variant()).As<qv::Picture>();
    ASSERT_TRUE(read);
    EXPECT_NE(read, picture);
    EXPECT_EQ(*read, *picture);
}

TEST(MemoryPropertyBag, FailingKeysRaiseTheirErrorUntilReleased) {
    MemoryPropertyBag bag;
    bag.Set(u"Text", Variant(u"stored"));
    bag.FailReading(u"Text");
    bag.FailReading(u"Absent", 7);
    EXPECT_EQ(ErrorOf([&] { bag.ReadProperty(u"Text", Variant(u"")); }), 13);
    EXPECT_EQ(ErrorOf([&] { bag.ReadProperty(u"Absent", Variant(u"")); }), 7);
    EXPECT_EQ(bag.ReadProperty(u"text", Variant(u"dflt")), Variant(u"dflt"));  // other key
    bag.StopFailing(u"Text");
    EXPECT_EQ(bag.ReadProperty(u"Text", Variant(u"")), Variant(u"stored"));
    EXPECT_EQ(bag.ReadLog(), (std::vector<String>{u"Text", u"Absent", u"text", u"Text"}));
}

}  // namespace
