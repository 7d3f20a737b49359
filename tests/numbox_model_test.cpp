// The numeric box's number model: Value and Text writes, formatting with the digit limits,
// validation and colours, the property writes with their checks and notices, and persistence.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "library/MemoryPropertyBag.h"
#include "numbox/NumberText.h"
#include "numbox_test_support.h"

namespace numbox_test {
namespace {

using qv::Flat3d;
using qv::MemoryPropertyBag;
using qv::MousePointerEnum;
using qv::NoneFixedSingle;
using qv::VarType;
using Description = std::map<std::string, std::string>;

// Limits and characters a case sets before it acts.
struct Limits {
    int16_t pre = 7, post = 2;
    bool separator = true, allowMinus = false;
    const char16_t* dec = u",";
};
void Apply(QVnumBoxControl& b, const Limits& s) {
    b.PreDecimalNumbers(s.pre);
    b.PostDecimalNumbers(s.post);
    b.Separator(s.separator);
    b.AllowMinus(s.allowMinus);
    b.DecimalPointCharacter(s.dec);
}
const Limits kMinus{.allowMinus = true};

// --- The number and its display ----------------------------------------------------------------

TEST_F(NumBoxTest, NewControlReadsZeroShowsNothingAndHasTheFixedMembers) {
    EXPECT_EQ(box.Value(), Variant(int16_t{0}));
    EXPECT_EQ(box.Text(), Variant(u""));
    EXPECT_EQ(box.TextFormatted(), u"");
    EXPECT_EQ(box.DefaultValue(), Variant(int16_t{0}));
    const std::pair<const char16_t*, Variant> fixed[] = {
        {u"Alignment", int16_t{1}}, {u"HideSelection", true},    {u"MultiLine", false},
        {u"PasswordChar", u""},     {u"ScrollBars", int16_t{0}}, {u"MaxLength", int16_t{12}}};
    for (const auto& [name, value] : fixed)
        EXPECT_EQ(Show(box.GetProperty(name)), Show(value)) << qv::ToUtf8(name);
}

TEST(NumBoxValue, WritesKeepTheirTypeAndShowRoundedPaddedAndGrouped) {
    struct Case {
        Limits setup;
        Variant value;
        const char16_t* display;
    };
    // clang-format off
    const Case cases[] = {
        {{}, 1234.5, u"1.234,50"},          {{}, u"0.125", u"0,13"},
        {{}, u"999.996", u"1.000,00"},      {{}, u"5.", u"5,00"},
        {kMinus, int32_t{-5}, u"-5,00"},    {{.post = 0}, 2.5, u"3"},
        {{}, u"007", u"007,00"},            {{}, u".5", u"0,50"},
        {kMinus, u"-.5", u"-0,50"},         {{}, u" 12 ", u"12,00"},
        {{}, 0.1f, u"0,10"},                {{}, u"0.995", u"1,00"},
        {{.pre = 3}, u"999.994", u"999,99"}, {{.separator = false}, 1234567.891, u"1234567,89"},
        {{.dec = u"."}, 1234567.891, u"1,234,567.89"}, {{.post = 4}, u"1234.56789", u"1.234,567.9"},
        {{.post = 5}, 12345.678, u"12.345,678.00"},
        {{.pre = 15}, 123456789012345.0, u"123.456.789.012.345,00"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(c.value)));
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        Apply(b, c.setup);
        b.Value(c.value);
        EXPECT_EQ(b.DisplayText(), c.display);
        EXPECT_EQ(b.Value(), c.value);  // as written, type and all
        EXPECT_EQ(Show(b.Text()), c.display);
        EXPECT_EQ(b.TextFormatted(), c.display);
    }
}

TEST_F(NumBoxTest, ValueWritesThatAreNotPlainNumbersRaise380AndChangeNothing) {
    box.Value(u"12.5");
    const State before = StateOf(box);
    log.Attach(box);
    form.ClearPropertyChanges();
    const Variant refused[] = {u"abc", u"1,5",    u"1e5", 1e20,
                               true,   Variant(), u"-3",  u"1.2.3",
                               u"12a", u"",       u"+-1", Variant(std::make_shared<qv::Font>())};
    for (const Variant& v : refused) {
        SCOPED_TRACE(qv::TypeName(v) == u"String" ? qv::ToUtf8(v.ToString())
                                                  : qv::ToUtf8(qv::TypeName(v)));
        EXPECT_EQ(ErrorOf([&] { box.Value(v); }), 380);
        EXPECT_EQ(StateOf(box), before);
    }
    EXPECT_EQ(RaisedBy([&] { box.Value(int32_t{12345678}); }), kTooManyPre);
    EXPECT_EQ(StateOf(box), before);
    EXPECT_EQ(box.ValueText(), u"12.5");
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_TRUE(log.names.empty());
}

// A write whose formatting overflows the integer digits raises and leaves everything as it was.
TEST(NumBoxValue, FormattingOverflowRaisesToTheWriterAndChangesNothing) {
    const std::pair<const char*, std::function<void(QVnumBoxControl&)>> writes[] = {
        {"Value", [](QVnumBoxControl& b) { b.Value(u"999.9996"); }},
        {"Text", [](QVnumBoxControl& b) { b.Text(u"999,9996"); }},
        {"PostDecimalNumbers", [](QVnumBoxControl& b) { b.PostDecimalNumbers(2); }}};
    for (const auto& [what, write] : writes) {
        SCOPED_TRACE(what);
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        Apply(b, {.pre = 3, .post = 3});
        b.Value(999.999);
        const State before = StateOf(b);
        form.ClearPropertyChanges();
        EXPECT_EQ(RaisedBy([&] { write(b); }), kTooManyPre);
        EXPECT_EQ(StateOf(b), before);
        EXPECT_EQ(b.ValueText(), u"999.999");
        EXPECT_EQ(b.PostDecimalNumbers(), 3);
        EXPECT_TRUE(Notices(form).empty());
    }
}

TEST_F(NumBoxTest, LoweredIntegerLimitKeepsTheDisplayUntilTheNextFormatting) {
    box.Value(12345);
    box.PreDecimalNumbers(3);
    EXPECT_EQ(box.PreDecimalNumbers(), 3);
    EXPECT_EQ(box.DisplayText(), u"12.345,00");
    EXPECT_EQ(RaisedBy([&] { (void)box.TextFormatted(); }), kTooManyPre);
    EXPECT_EQ(RaisedBy([&] { box.PostDecimalNumbers(3); }), kTooManyPre);
    EXPECT_EQ(box.PostDecimalNumbers(), 2);
    EXPECT_EQ(box.DisplayText(), u"12.345,00");
}

TEST(NumBoxText, WritesParseTheDisplayFormAndIgnoreWhatDoesNotParse) {
    struct Case {
        Limits setup;
        Variant text;
        const char16_t *display, *value;  // nullptr: the write is ignored
    };
    // clang-format off
    const Case cases[] = {
        {{}, u"1.234,5", u"1.234,50", u"1234.5"}, {{}, u" +12 ", u"12,00", u"12"},
        {kMinus, u"-3", u"-3,00", u"-3"},         {{}, u"-5", nullptr, nullptr},
        {{}, u"1,2,3", nullptr, nullptr},         {{}, u"12a", nullptr, nullptr},
        {{}, u"1e5", nullptr, nullptr},           {{}, u"12345678", nullptr, nullptr},
        {{}, u"1.2.3,4", u"123,40", u"123.4"},    {{}, u",5", u"0,50", u"0.5"},
        {{.dec = u"."}, u"1,234.5", u"1,234.50", u"1234.5"},
        {{.post = 0}, u"2,5", u"3", u"2.5"},      {{}, 42, u"42,00", u"42"},
        {{}, u"", u"", u"<Null>"},                {{}, u"   ", u"", u"<Null>"},
        {{}, Variant::Null(), u"", u"<Null>"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(c.text)));
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        Apply(b, c.setup);
        b.Value(7);
        const State before = StateOf(b);
        form.ClearPropertyChanges();
        EXPECT_EQ(ErrorOf([&] { b.Text(c.text); }), 0);
        if (!c.display) {
            EXPECT_EQ(StateOf(b), before);
            EXPECT_TRUE(Notices(form).empty());
            continue;
        }
        EXPECT_EQ(b.DisplayText(), c.display);
        EXPECT_EQ(Show(b.Value()), c.value);
        EXPECT_EQ(b.IsNull(), b.Value().IsNull());
        EXPECT_EQ(b.Text().IsNull(), b.IsNull());
        if (!b.IsNull()) {
            EXPECT_EQ(b.Value().Type(), VarType::Double);
        }
        EXPECT_EQ(Distinct(Notices(form)), (Names{u"Text", u"Value"}));
    }
}

TEST_F(NumBoxTest, NullValueEmptiesTheBoxWithoutChangeOrNotice) {
    box.Value(5);
    log.Attach(box);
    form.ClearPropertyChanges();
    box.Value(Variant::Null());
    EXPECT_EQ(StateOf(box), (State{u"", u"<Null>", u"<Null>", true}));
    EXPECT_EQ(box.TextFormatted(), u"");
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});
    box.Value(5);  // a value ends the null state, with a Change as the display fills
    EXPECT_EQ(log.Count(u"Change"), 1);
    EXPECT_EQ(Distinct(Notices(form)), (Names{u"Text", u"Value"}));
    EXPECT_EQ(box.DisplayText(), u"5,00");
}

TEST_F(NumBoxTest, SeparatorAndDecimalCharacterRewriteTheDisplayOnly) {
    box.Value(1234.5);
    log.Attach(box);
    form.ClearPropertyChanges();
    box.DecimalPointCharacter(u".x");
    EXPECT_EQ(box.DecimalPointCharacter(), u".");
    EXPECT_EQ(box.DisplayText(), u"1,234.50");
    box.Separator(false);
    EXPECT_EQ(box.DisplayText(), u"1234.50");
    box.Separator(true);
    EXPECT_EQ(box.DisplayText(), u"1,234.50");
    box.DecimalPointCharacter(u";");
    EXPECT_EQ(box.DisplayText(), u"1.234;50");
    EXPECT_EQ(Notices(form), (Names{u"DecimalPointCharacter", u"Separator", u"Separator",
                                    u"DecimalPointCharacter"}));
    EXPECT_EQ(log.Count(u"Change"), 0);
    EXPECT_EQ(box.ValueText(), u"1234.5");
    EXPECT_EQ(box.Value(), Variant(1234.5));
}

TEST_F(NumBoxTest, FractionCountReformatsAtOnceWithoutTheFocusAndOnLeavingWithIt) {
    box.PostDecimalNumbers(3);
    box.Value(u"1234.567");
    log.Attach(box);
    const std::pair<int16_t, const char16_t*> steps[] = {
        {1, u"1.234,6"}, {0, u"1.235"}, {4, u"1.234,567.0"}};
    for (const auto& [n, display] : steps) {
        form.ClearPropertyChanges();
        box.PostDecimalNumbers(n);
        EXPECT_EQ(box.PostDecimalNumbers(), n);
        EXPECT_EQ(box.DisplayText(), display);
        ASSERT_FALSE(Notices(form).empty());
        EXPECT_EQ(Notices(form).back(), u"PostDecimalNumbers");
    }
    EXPECT_EQ(log.Count(u"Change"), 0);
    for (int16_t bad : {-1, 256}) EXPECT_EQ(ErrorOf([&] { box.PostDecimalNumbers(bad); }), 380);
    EXPECT_EQ(box.PostDecimalNumbers(), 4);

    // Typing: a count that keeps the typed digits is stored and applied on leaving...
    box.PostDecimalNumbers(2);
    box.Value(Variant::Null());
    form.Focus(box);
    Press(form, u"1,5");
    box.PostDecimalNumbers(3);
    EXPECT_EQ(box.PostDecimalNumbers(), 3);
    EXPECT_EQ(box.DisplayText(), u"1,5");
    form.Leave();
    EXPECT_EQ(box.DisplayText(), u"1,500");
    // ...and one below the typed digits rounds them away at once.
    form.Focus(box);
    Press(form, u"{ESC}{BS}{BS}25");
    ASSERT_EQ(box.DisplayText(), u"1,525");
    box.PostDecimalNumbers(2);
    EXPECT_EQ(box.DisplayText(), u"1,53");
    EXPECT_EQ(box.PostDecimalNumbers(), 2);
}

TEST(NumBoxLimits, IntegerCountIsOneToFifteenAndMaxLengthCountsEveryCharacter) {
    Container form;
    auto& b = form.Add<QVnumBoxControl>(u"num");
    for (int16_t bad : {-1, 0, 16}) EXPECT_EQ(ErrorOf([&] { b.PreDecimalNumbers(bad); }), 380);
    EXPECT_EQ(b.PreDecimalNumbers(), 7);
    struct Case {
        Limits setup;
        int16_t maxLength;
    };
    // clang-format off
    const Case cases[] = {
        {{}, 12}, {{.post = 0}, 9}, {kMinus, 13}, {{.separator = false}, 10},
        {{.pre = 1, .post = 0}, 1}, {{.pre = 15, .post = 255}, 359},
        {{.pre = 4, .post = 4, .allowMinus = true}, 12}};
    // clang-format on
    for (const Case& c : cases) {
        Apply(b, c.setup);
        EXPECT_EQ(b.MaxLength(), c.maxLength) << c.setup.pre << " " << c.setup.post;
    }
}

// --- Validation and colours --------------------------------------------------------------------

TEST(NumBoxValidation, RangeTestUsesTheDisplayedNumberAndItsInclusionFlags) {
    struct Case {
        bool checkRange, inclSmallest, inclLargest, mustHave;
        Variant value;
        bool verdict;
    };
    // clang-format off
    const Case cases[] = {
        {true, false, true, false, 0, false},   {true, true, true, false, 0, true},
        {true, true, true, false, 10, true},    {true, true, false, false, 10, false},
        {true, true, true, false, 10.004, true},  // shown as 10,00
        {true, true, true, false, 10.006, false}, {true, true, true, false, -0.5, false},
        {true, true, true, false, 5, true},     {false, true, true, false, 50, true},
        {false, true, true, true, Variant::Null(), false},
        {false, true, true, false, Variant::Null(), true}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(c.value)));
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        b.AllowMinus(true);
        b.LargestValue(10);
        b.CheckRange(c.checkRange);
        b.IncludeSmallestValueToRange(c.inclSmallest);
        b.IncludeLargestValueToRange(c.inclLargest);
        b.MustHaveValue(c.mustHave);
        b.Value(c.value);
        EventLog events;
        events.Attach(b);
        EXPECT_EQ(b.CheckValueNow(), c.verdict);
        EXPECT_EQ(events.firstArgs, std::vector<Variant>{c.verdict});
    }
}

TEST_F(NumBoxTest, BackgroundFollowsTheVerdictFocusAndStateAndTheHandlerCanOverrule) {
    const qv::headless::Site& site = form.SiteOf(box);
    box.MustHaveValue(true);
    box.Value(Variant::Null());
    EXPECT_EQ(site.BackColor(), box.BackColor());
    box.UseWarningColor(true);
    EXPECT_EQ(site.BackColor(), box.WarningColor());
    form.Focus(box);
    EXPECT_EQ(site.BackColor(), box.ErrorColor());
    box.events.ValidationCheck = [](bool& ok) { ok = true; };
    EXPECT_TRUE(box.CheckValueNow());
    EXPECT_EQ(site.BackColor(), box.FocusColor());
    box.events.ValidationCheck = nullptr;
    box.Locked(true);  // locked or disabled: always valid, in the disabled colour
    log.Attach(box);
    EXPECT_TRUE(box.CheckValueNow());
    EXPECT_EQ(log.firstArgs, std::vector<Variant>{true});
    EXPECT_EQ(site.BackColor(), box.DisabledColor());
    box.Locked(false);
    box.Enabled(false);
    EXPECT_EQ(site.BackColor(), box.DisabledColor());
    box.Enabled(true);
    form.Leave();
    EXPECT_EQ(site.BackColor(), box.WarningColor());
    form.UserMode(false);  // design time: no event, no judgement
    log.Clear();
    EXPECT_TRUE(box.CheckValueNow());
    EXPECT_TRUE(log.names.empty());
    EXPECT_EQ(site.BackColor(), box.BackColor());
    box.Locked(true);
    EXPECT_EQ(site.BackColor(), box.DisabledColor());
}

// --- Property writes ---------------------------------------------------------------------------

std::shared_ptr<qv::Picture> Icon() {
    return std::make_shared<qv::Picture>(qv::Picture::Format::Icon, 32, 32,
                                         std::vector<uint8_t>{0, 1, 2, 254, 255});
}

qv::Font Courier() {
    qv::Font font;
    font.Name(u"Courier");
    font.Size(14);
    font.Bold(true);
    font.Italic(true);
    font.Charset(2);
    return font;
}

std::string FontText(const qv::Font& f) {
    return qv::ToUtf8(f.Name()) + " " + std::to_string(f.Size()) + "pt weight " +
           std::to_string(f.Weight()) + " charset " + std::to_string(f.Charset()) +
           (f.Italic() ? " italic" : "") + (f.Underline() ? " underline" : "") +
           (f.Strikethrough() ? " strikethrough" : "");
}

TEST(NumBoxWrites, EveryWriteSendsOneNoticeAndRecoloursOnlyWhereItShould) {
    struct Case {
        const char16_t* name;
        Variant value;
        bool recolours;
    };
    const Variant font = std::make_shared<qv::Font>(Courier());
    // clang-format off
    const Case cases[] = {
        {u"AllowMinus", true, false}, {u"Appearance", 0, false}, {u"BackColor", 0x112233, true},
        {u"BorderStyle", 0, false}, {u"CheckRange", true, true},
        {u"DecimalPointCharacter", u".", false}, {u"DisabledColor", 0x112233, true},
        {u"Enabled", false, true}, {u"ErrorColor", 0x112233, true}, {u"FocusColor", 0x112233, true},
        {u"ForeColor", 0x112233, false}, {u"Font", font, false}, {u"FontBold", true, false},
        {u"FontItalic", true, false}, {u"FontName", u"Mono", false}, {u"FontSize", 10.5f, false},
        {u"FontStrikethru", true, false}, {u"FontUnderline", true, false},
        {u"IncludeLargestValueToRange", false, true}, {u"IncludeSmallestValueToRange", false, true},
        {u"LargestValue", 5.5, true}, {u"Locked", true, true}, {u"MouseIcon", Icon(), false},
        {u"MousePointer", 2, false}, {u"MustHaveValue", true, false},
        {u"PostDecimalNumbers", int16_t{3}, false}, {u"PreDecimalNumbers", int16_t{5}, false},
        {u"SelectedOnGotFocus", false, false}, {u"Separator", false, false},
        {u"SmallestValue", -1.5, true}, {u"UseWarningColor", true, true},
        {u"WarningColor", 0x112233, true}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.name));
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        EventLog events;
        events.Attach(b);
        form.ClearPropertyChanges();
        b.LetProperty(qv::UpperCase(c.name), c.value);
        EXPECT_EQ(Notices(form), Names{c.name});
        EXPECT_EQ(events.Count(u"ValidationCheck"), c.recolours ? 1 : 0);
        if (!c.value.IsObject()) {
            EXPECT_EQ(Show(b.GetProperty(c.name)), Show(c.value));
        }
        EXPECT_TRUE(b.Display().GetFont().SameAttributes(*b.Font()));
    }
}

// Every persisted property, as late binding reads it.
const char16_t* const kProperties[] = {u"AllowMinus",
                                       u"Appearance",
                                       u"BackColor",
                                       u"BorderStyle",
                                       u"CheckRange",
                                       u"DecimalPointCharacter",
                                       u"DisabledColor",
                                       u"Enabled",
                                       u"ErrorColor",
                                       u"FocusColor",
                                       u"ForeColor",
                                       u"IncludeLargestValueToRange",
                                       u"IncludeSmallestValueToRange",
                                       u"LargestValue",
                                       u"Locked",
                                       u"MousePointer",
                                       u"MustHaveValue",
                                       u"PostDecimalNumbers",
                                       u"PreDecimalNumbers",
                                       u"SelectedOnGotFocus",
                                       u"Separator",
                                       u"SmallestValue",
                                       u"Text",
                                       u"UseWarningColor",
                                       u"Value",
                                       u"WarningColor"};

Description Describe(QVnumBoxControl& b) {
    Description d;
    for (const String name : kProperties) {
        const Variant v = b.GetProperty(name);
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", uint32_t(v.IsNumber() ? v.ToLong() : 0));
        const bool colour = name.ends_with(u"Color") && !name.starts_with(u"Use");
        d[qv::ToUtf8(name)] = colour ? text : qv::ToUtf8(Show(v));
    }
    d["Display"] = qv::ToUtf8(b.DisplayText());
    d["Font"] = FontText(*b.Font());
    d["MouseIcon"] = b.MouseIcon() ? std::to_string(b.MouseIcon()->Data().size()) : "none";
    d["ToolTipText"] = qv::ToUtf8(b.Display().ToolTipText());
    return d;
}

// A loaded control whose store holds no "Text" is empty: the stored text replaces the value.
const Description& LoadedDefaults() {
    // clang-format off
    static const Description d = {
        {"AllowMinus", "False"}, {"Appearance", "1"}, {"BackColor", "0x80000005"},
        {"BorderStyle", "1"}, {"CheckRange", "False"}, {"DecimalPointCharacter", ","},
        {"DisabledColor", "0x00C0C0C0"}, {"Display", ""}, {"Enabled", "True"},
        {"ErrorColor", "0x00C0C0FF"}, {"FocusColor", "0x00C0FFC0"}, {"Font", FontText(qv::Font())},
        {"ForeColor", "0x80000008"}, {"IncludeLargestValueToRange", "True"},
        {"IncludeSmallestValueToRange", "True"}, {"LargestValue", "0"}, {"Locked", "False"},
        {"MouseIcon", "none"}, {"MousePointer", "0"}, {"MustHaveValue", "False"},
        {"PostDecimalNumbers", "2"}, {"PreDecimalNumbers", "7"}, {"SelectedOnGotFocus", "True"},
        {"Separator", "True"}, {"SmallestValue", "0"}, {"Text", "<Null>"}, {"ToolTipText", ""},
        {"UseWarningColor", "False"}, {"Value", "<Null>"}, {"WarningColor", "0x00C0FFFF"}};
    // clang-format on
    return d;
}

// Every property away from its default.
void Configure(QVnumBoxControl& b) {
    // clang-format off
    const std::pair<const char16_t*, Variant> values[] = {
        {u"AllowMinus", true}, {u"Appearance", 0}, {u"BackColor", 0x00FFEEDD}, {u"BorderStyle", 0},
        {u"CheckRange", true}, {u"DecimalPointCharacter", u"."}, {u"DisabledColor", 0x101010},
        {u"ErrorColor", 0x0000FF}, {u"FocusColor", 0x00FF00}, {u"ForeColor", int32_t(0x80000012)},
        {u"IncludeLargestValueToRange", false}, {u"IncludeSmallestValueToRange", false},
        {u"LargestValue", 5000.5}, {u"SmallestValue", -10.25}, {u"MouseIcon", Icon()},
        {u"MousePointer", 99}, {u"MustHaveValue", true}, {u"PostDecimalNumbers", 3},
        {u"PreDecimalNumbers", 9}, {u"SelectedOnGotFocus", false}, {u"UseWarningColor", true},
        {u"WarningColor", 0x0080FFFF}, {u"Value", -1234.5}, {u"Locked", true}, {u"Enabled", false}};
    // clang-format on
    for (const auto& [name, value] : values) b.LetProperty(name, value);
    b.Font(Courier());
    b.Display().ToolTipText(u"a tip");
}

TEST_F(NumBoxTest, RejectedWritesRaiseTheirErrorAndChangeNothing) {
    using B = QVnumBoxControl;
    // clang-format off
    std::vector<std::pair<std::function<void(B&)>, int32_t>> cases = {
        {[](B& b) { b.BackColor(0x3000000); }, 380}, {[](B& b) { b.DisabledColor(0x3000000); }, 380},
        {[](B& b) { b.ErrorColor(0x7FFFFFFF); }, 380}, {[](B& b) { b.FocusColor(0x3000000); }, 380},
        {[](B& b) { b.WarningColor(0x7FFFFFFF); }, 380}, {[](B& b) { b.ForeColor(0x3000000); }, 380},
        {[](B& b) { b.Appearance(Flat3d(2)); }, 380}, {[](B& b) { b.Appearance(Flat3d(-1)); }, 380},
        {[](B& b) { b.BorderStyle(NoneFixedSingle(2)); }, 380},
        {[](B& b) { b.BorderStyle(NoneFixedSingle(-1)); }, 380}};
    const std::tuple<const char16_t*, Variant, int32_t> late[] = {
        {u"MousePointer", -1, 380}, {u"MousePointer", 16, 380}, {u"MousePointer", 98, 380},
        {u"MousePointer", 100, 380}, {u"PostDecimalNumbers", 256, 380},
        {u"PreDecimalNumbers", 16, 380}, {u"Value", u"abc", 380},
        {u"DecimalPointCharacter", u"5", 380}, {u"DecimalPointCharacter", u"-", 380},
        {u"DecimalPointCharacter", u" ", 380}, {u"Alignment", 1, 383},
        {u"TextFormatted", u"x", 383}, {u"MaxLength", 5, 383}, {u"NoSuchProperty", 1, 438}};
    // clang-format on
    for (const auto& row : late)
        cases.push_back(
            {[row](B& b) { b.LetProperty(std::get<0>(row), std::get<1>(row)); }, std::get<2>(row)});
    Configure(box);
    box.Enabled(true);  // so that the mouse pointer shows the stored one
    const Description before = Describe(box);
    const int16_t pointer = form.SiteOf(box).MousePointer();
    log.Attach(box);
    for (size_t row = 0; row < cases.size(); ++row) {
        SCOPED_TRACE(::testing::Message() << "row " << row);
        form.ClearPropertyChanges();
        EXPECT_EQ(ErrorOf([&] { cases[row].first(box); }), cases[row].second);
        EXPECT_EQ(Describe(box), before);
        EXPECT_EQ(form.SiteOf(box).MousePointer(), pointer);
        EXPECT_TRUE(Notices(form).empty());
        EXPECT_TRUE(log.names.empty());
    }
    for (Color c : {0u, 0x2FFFFFFu, 0x80000012u}) {
        box.BackColor(c);
        EXPECT_EQ(box.BackColor(), c);
    }
    for (int p : {15, 99, 0}) {
        box.MousePointer(MousePointerEnum(p));
        EXPECT_EQ(int(box.MousePointer()), p);
    }
}

// --- Persistence -------------------------------------------------------------------------------

// The persisted keys in the order they are saved.
// clang-format off
const char16_t* const kKeys[] = {
    u"AllowMinus", u"Appearance", u"BackColor", u"BorderStyle", u"CheckRange",
    u"DecimalPointCharacter", u"DisabledColor", u"Enabled", u"ErrorColor", u"FocusColor", u"Font",
    u"ForeColor", u"IncludeLargestValueToRange", u"IncludeSmallestValueToRange", u"LargestValue",
    u"Locked", u"MouseIcon", u"MousePointer", u"MustHaveValue", u"PostDecimalNumbers",
    u"PreDecimalNumbers", u"SelectedOnGotFocus", u"Separator", u"SmallestValue", u"Text",
    u"ToolTipText", u"UseWarningColor", u"Value", u"WarningCOlor"};
// clang-format on

class NumBoxPersistence : public ::testing::Test {
  protected:
    // Loads from the bag: the load must not fail.
    Description LoadAndDescribe(MemoryPropertyBag& bag) {
        QVnumBoxControl* b = nullptr;
        EXPECT_EQ(ErrorOf([&] { b = &form.Load<QVnumBoxControl>(u"numLoaded", bag); }), 0);
        if (!b) return {};
        Description d = Describe(*b);
        form.Remove(*b);
        return d;
    }
    Container form;
};

TEST_F(NumBoxPersistence, RoundTripKeepsEveryPropertyWithOrWithoutDefaults) {
    for (bool omitDefaults : {true, false}) {
        auto& original = form.Add<QVnumBoxControl>(u"numOriginal");
        Configure(original);
        MemoryPropertyBag bag(omitDefaults);
        form.Save(original, bag);
        EXPECT_EQ(bag.Get(u"WarningCOlor").ToLong(), 0x0080FFFF);
        EXPECT_FALSE(bag.Has(u"WarningColor"));
        form.ClearPropertyChanges();
        auto& loaded = form.Load<QVnumBoxControl>(u"numLoaded", bag);
        EXPECT_EQ(Describe(loaded), Describe(original));
        EXPECT_EQ(loaded.DisplayText(), u"-1,234.500");
        EXPECT_EQ(form.SiteOf(loaded).BackColor(), 0x101010u);  // disabled
        EXPECT_NE(loaded.Font(), original.Font());
        Names loadNotices = Notices(form);
        EXPECT_NE(std::find(loadNotices.begin(), loadNotices.end(), u"Value"), loadNotices.end());
        form.Remove(loaded);
        form.Remove(original);
    }
}

TEST_F(NumBoxPersistence, NewControlWritesEveryKeyInOrderWithTheOddColourSpelling) {
    auto& fresh = form.Add<QVnumBoxControl>(u"numNew");
    MemoryPropertyBag bag(false);
    form.Save(fresh, bag);
    EXPECT_EQ(bag.WriteLog(), Names(std::begin(kKeys), std::end(kKeys)));
    EXPECT_EQ(bag.Keys(), Names(std::begin(kKeys), std::end(kKeys)));
    EXPECT_EQ(bag.Get(u"Value"), Variant(int16_t{0}));
    MemoryPropertyBag empty;
    EXPECT_EQ(LoadAndDescribe(empty), LoadedDefaults());
    MemoryPropertyBag plain;  // the correctly spelled key is not read
    plain.Set(u"WarningColor", 0x123456);
    EXPECT_EQ(LoadAndDescribe(plain), LoadedDefaults());
}

TEST_F(NumBoxPersistence, DamagedOrUnfittingValuesGiveDefaultsWithoutStoppingTheLoad) {
    const Variant font = std::make_shared<qv::Font>(Courier());
    using Store = std::vector<std::pair<const char16_t*, Variant>>;
    struct Case {
        Store store;
        Description expected;  // differences from LoadedDefaults
    };
    // clang-format off
    const Case cases[] = {
        {{{u"PostDecimalNumbers", 300}}, {}}, {{{u"Appearance", 5}}, {}},
        {{{u"BorderStyle", -1}}, {}}, {{{u"PreDecimalNumbers", 16}}, {}},
        {{{u"BackColor", 0x3000000}}, {}}, {{{u"ForeColor", u"red"}}, {}},
        {{{u"FocusColor", 0x3000000}}, {}}, {{{u"ErrorColor", 0x7FFFFFFF}}, {}},
        {{{u"WarningCOlor", 0x3000000}}, {}}, {{{u"DisabledColor", 0x3000000}}, {}},
        {{{u"WarningCOlor", 0x00123456}}, {{"WarningColor", "0x00123456"}}},
        {{{u"MousePointer", 50}}, {}}, {{{u"MousePointer", u"arrow"}}, {}},
        {{{u"AllowMinus", u"perhaps"}}, {}}, {{{u"Enabled", Variant::Null()}}, {}},
        {{{u"LargestValue", u"big"}}, {}}, {{{u"DecimalPointCharacter", Variant::Null()}}, {}},
        {{{u"DecimalPointCharacter", u"7"}}, {}}, {{{u"DecimalPointCharacter", u"-"}}, {}},
        {{{u"Font", u"Arial"}}, {}}, {{{u"MouseIcon", u"icon.ico"}}, {}},
        {{{u"Text", u"abc"}}, {}}, {{{u"Text", font}}, {}},
        {{{u"Value", u"abc"}}, {}},
        {{{u"PreDecimalNumbers", 3}, {u"Text", u"12.345,00"}}, {{"PreDecimalNumbers", "3"}}},
        {{{u"PreDecimalNumbers", 3}, {u"Text", u"999,999"}}, {{"PreDecimalNumbers", "3"}}},
        {{{u"Text", u"1.234,5"}, {u"Value", 7}},
         {{"Text", "1.234,50"}, {"Display", "1.234,50"}, {"Value", "1234.5"}}}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(
            qv::ToUtf8(c.store.back().first) + " = " +
            qv::ToUtf8(c.store.back().second.IsObject() ? u"object" : Show(c.store.back().second)));
        MemoryPropertyBag bag;
        for (const auto& [key, value] : c.store) bag.Set(key, value);
        Description expected = LoadedDefaults();
        for (const auto& [key, value] : c.expected) expected[key] = value;
        EXPECT_EQ(LoadAndDescribe(bag), expected);
    }
}

TEST_F(NumBoxPersistence, UnreadableTrappedKeyGivesItsDefaultAndTheRestStillLoads) {
    auto& original = form.Add<QVnumBoxControl>(u"numConfigured");
    Configure(original);
    const Description configured = Describe(original);
    MemoryPropertyBag bag(false);
    form.Save(original, bag);
    for (const char* key : {"Enabled", "Font", "MouseIcon", "MousePointer", "ToolTipText",
                            "SelectedOnGotFocus", "MustHaveValue", "CheckRange", "SmallestValue",
                            "LargestValue", "IncludeSmallestValueToRange",
                            "IncludeLargestValueToRange", "Locked", "UseWarningColor"}) {
        SCOPED_TRACE(key);
        bag.FailReading(qv::FromUtf8(key));
        Description expected = configured;
        expected[key] = LoadedDefaults().at(key);
        EXPECT_EQ(LoadAndDescribe(bag), expected);
        bag.StopFailing(qv::FromUtf8(key));
    }
}

// --- The plain-number test beyond the cases the Value writes show
// -----------------------------------

TEST(NumBoxNumberText, PlainDecimalIsBlanksSignDigitsAndOnePointOnly) {
    for (const char16_t* s : {u"0", u"12", u" -12.5 ", u"+7", u".5", u"5.", u"007"})
        EXPECT_TRUE(qv::numtext::IsPlainDecimal(s)) << qv::ToUtf8(s);
    for (const char16_t* s : {u"", u" ", u"-", u".", u"+-1", u"1.2.3", u"1,5", u"1e5", u"1E+20",
                              u"abc", u"12a", u"True", u"1 2", u"\u0661"})
        EXPECT_FALSE(qv::numtext::IsPlainDecimal(s)) << qv::ToUtf8(s);
}

}  // namespace
}  // namespace numbox_test
