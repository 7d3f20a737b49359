#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "library/Enums.h"
#include "library/Font.h"
#include "library/MemberTable.h"
#include "library/RuntimeError.h"

namespace {

using qv::Font;
using qv::String;

TEST(Enums, DisplayNamesInDeclarationOrder) {
    const auto& mp = qv::MousePointerEnumInfo();
    const char16_t* names[] = {u"Default",
                               u"Arrow",
                               u"Cross",
                               u"I-Beam",
                               u"Icon",
                               u"Size ",
                               u"Size NE SW",
                               u"Size N S",
                               u"Size NW SE",
                               u"Size W E",
                               u"Up Arrow",
                               u"Hourglass",
                               u"No Drop",
                               u"Arrow and Hourglass",
                               u"Arrow and Question",
                               u"Size All",
                               u"Custom"};
    ASSERT_EQ(mp.members.size(), std::size(names));
    for (size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(String(mp.members[i].displayName), String(names[i]));
        EXPECT_EQ(mp.members[i].value, i < 16 ? int32_t(i) : 99);
    }
    EXPECT_EQ(String(qv::DisplayName(mp, 99)), u"Custom");
    EXPECT_EQ(qv::DisplayName(mp, 16), nullptr);
    EXPECT_EQ(qv::DisplayName(mp, -1), nullptr);
    EXPECT_EQ(String(qv::DisplayName(qv::NoneFixedSingleInfo(), 1)), u"Fixed Single");
    EXPECT_EQ(String(qv::DisplayName(qv::Flat3dInfo(), 0)), u"qvFlat");
    EXPECT_EQ(String(qv::DisplayName(qv::Flat3dInfo(), 1)), u"qv3D");
    EXPECT_EQ(String(qv::DisplayName(qv::ScrollBarsEnumInfo(), 3)), u"Both");
    EXPECT_EQ(String(qv::DisplayName(qv::DateFmtInfo(), 2)), u"MDY");
    EXPECT_EQ(String(qv::DisplayName(qv::SearchItemEnumInfo(), 1)), u"SearchItemData");
    EXPECT_EQ(String(qv::DisplayName(qv::MatchModeEnumInfo(), 0)), u"WholeWord");
}

TEST(Enums, AllEnumsListsEveryEnumeration) {
    const std::pair<const char16_t*, size_t> expected[] = {
        {u"Flat3d", 2},  {u"NoneFixedSingle", 2}, {u"MousePointerEnum", 17}, {u"ScrollBarsEnum", 4},
        {u"DateFmt", 3}, {u"SearchItemEnum", 2},  {u"MatchModeEnum", 2}};
    const auto all = qv::AllEnums();
    ASSERT_EQ(all.size(), std::size(expected));
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(String(all[i]->name), String(expected[i].first));
        EXPECT_EQ(all[i]->members.size(), expected[i].second);
    }
    EXPECT_EQ(all[2], &qv::MousePointerEnumInfo());
}

struct Recorder {
    std::vector<String> names;
    void Attach(Font& f) {
        f.OnChanged([this](const String& n) { names.push_back(n); });
    }
};

TEST(Font, EveryWriteNotifiesItsName) {
    Font f;
    Recorder r;
    r.Attach(f);
    f.Bold(false);  // unchanged values notify too
    f.Charset(2);
    f.Italic(true);
    f.Name(u"Serif");
    f.Size(12);
    f.Strikethrough(true);
    f.Underline(false);
    f.Weight(300);
    EXPECT_EQ(r.names, (std::vector<String>{u"Bold", u"Charset", u"Italic", u"Name", u"Size",
                                            u"Strikethrough", u"Underline", u"Weight"}));
}

TEST(Font, BoldFollowsWeight) {
    Font f;
    f.Bold(true);
    EXPECT_EQ(f.Weight(), 700);
    f.Weight(599);
    EXPECT_FALSE(f.Bold());
    f.Weight(600);
    EXPECT_TRUE(f.Bold());
    f.Bold(false);
    EXPECT_EQ(f.Weight(), 400);
}

TEST(Font, RejectedWritesChangeNothing) {
    Font f;
    Recorder r;
    r.Attach(f);
    auto error = [](auto write) {
        try {
            write();
        } catch (const qv::RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(error([&] { f.Name(u""); }), 380);
    EXPECT_EQ(error([&] { f.Size(0); }), 380);
    EXPECT_EQ(error([&] { f.Size(-1); }), 380);
    EXPECT_EQ(error([&] { f.Size(2160.5f); }), 380);
    EXPECT_EQ(error([&] { f.Size(std::nanf("")); }), 380);
    EXPECT_EQ(error([&] { f.Weight(-1); }), 380);
    EXPECT_EQ(error([&] { f.Weight(1001); }), 380);
    EXPECT_TRUE(r.names.empty());
    EXPECT_TRUE(f.SameAttributes(Font()));

    f.Size(2160);
    f.Weight(0);
    f.Weight(1000);
    EXPECT_EQ(r.names.size(), 3u);
}

TEST(Font, AssignCopiesInOrderAndNotifiesEachAttribute) {
    Font source;
    source.Name(u"Mono");
    source.Size(11.5f);
    source.Weight(650);
    source.Italic(true);
    source.Underline(true);
    source.Charset(161);
    Font target;
    Recorder r;
    r.Attach(target);
    target.Assign(source);
    EXPECT_EQ(r.names, (std::vector<String>{u"Bold", u"Italic", u"Name", u"Size", u"Strikethrough",
                                            u"Underline", u"Charset", u"Weight"}));
    EXPECT_TRUE(target.SameAttributes(source));
    EXPECT_EQ(target.Weight(), 650);  // the exact weight, not Bold's 700
}

TEST(Font, CopiesShareNoHandler) {
    Font f;
    Recorder r;
    r.Attach(f);
    Font copy(f);
    auto clone = std::static_pointer_cast<Font>(f.Clone());
    copy.Italic(true);
    clone->Size(20);
    EXPECT_TRUE(r.names.empty());
    EXPECT_FALSE(f.Italic());
    EXPECT_EQ(f.Size(), Font::kDefaultSize);
    EXPECT_EQ(clone->TypeName(), u"Font");
}

TEST(Font, SameAttributesSeesEveryAttribute) {
    void (*changes[])(Font&) = {
        [](Font& f) { f.Name(u"Other"); }, [](Font& f) { f.Size(10); },
        [](Font& f) { f.Weight(401); },    [](Font& f) { f.Charset(1); },
        [](Font& f) { f.Italic(true); },   [](Font& f) { f.Strikethrough(true); },
        [](Font& f) { f.Underline(true); }};
    for (auto change : changes) {
        Font f;
        change(f);
        EXPECT_FALSE(f.SameAttributes(Font()));
        EXPECT_TRUE(f.SameAttributes(Font(f)));
    }
}

TEST(MemberTable, FindsByNameAndByIdentifier) {
    static constexpr qv::Member members[] = {
        {u"Text", qv::DispId::Text, qv::MemberKind::Property, qv::VarType::String},
        {u"Click", qv::DispId::Click, qv::MemberKind::Event, qv::VarType::Empty},
        {u"Refresh", qv::DispId::Refresh, qv::MemberKind::Method, qv::VarType::Empty},
        {u"DoClick", qv::DispId::Click, qv::MemberKind::Method, qv::VarType::Empty}};
    const qv::MemberTable table(members);
    EXPECT_EQ(table.Find(u"text"), &members[0]);
    EXPECT_EQ(table.Find(u"REFRESH"), &members[2]);
    EXPECT_EQ(table.Find(u"Tex"), nullptr);
    EXPECT_EQ(table.Find(u"Texts"), nullptr);
    EXPECT_EQ(table.Find(u""), nullptr);
    EXPECT_EQ(table.Find(qv::DispId::Click, qv::MemberKind::Event), &members[1]);
    EXPECT_EQ(table.Find(qv::DispId::Click, qv::MemberKind::Method), &members[3]);
    EXPECT_EQ(table.Find(qv::DispId::Text, qv::MemberKind::Method), nullptr);
}

}  // namespace
