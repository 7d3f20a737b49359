// The numeric box's number model: Value and Text writes, formatting with the digit limits,
// validation and colours, the property writes with their checks and notices, and persistence.
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "library/MemoryPropertyBag.h"
#include "numbox_test_support.h"

namespace numbox_test {
namespace {

using qv::MemoryPropertyBag;
using Description = std::map<std::string, std::string>;

const Limits kMinus{.allowMinus = true};

// --- The number and its display ----------------------------------------------------------------

TEST(NumBoxValue, WritesKeepTheirTypeAndShowRoundedPaddedAndGrouped) {
    // clang-format off
    struct Case { Limits setup; Variant value; const char16_t* display; };
    const Case cases[] = {
        {{}, 1234.5, u"1.234,50"},          {{}, u"0.125", u"0,13"},
        {{}, u"999.996", u"1.000,00"},      {{}, u"5.", u"5,00"},
        {kMinus, int32_t{-5}, u"-5,00"},    {{.post = 0}, 2.5, u"3"},
        {{}, u"007", u"007,00"},            {kMinus, u"-.5", u"-0,50"},
        {{}, u" 12 ", u"12,00"},            {{}, 0.1f, u"0,10"},  {{}, u"+7", u"7,00"},
        {{.pre = 3}, u"999.994", u"999,99"}, {{.separator = false}, 1234567.891, u"1234567,89"},
        {{.dec = u"."}, 1234567.891, u"1,234,567.89"}, {{.post = 4}, u"1234.56789", u"1.234,567.9"},
        {{.pre = 15}, 123456789012345.0, u"123.456.789.012.345,00"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(c.value)));
        Boxed t(c.setup);
        t.b.Value(c.value);
        EXPECT_EQ(t.b.DisplayText(), c.display);
        EXPECT_EQ(t.b.TextFormatted(), c.display);
        EXPECT_EQ(t.b.Value(), c.value);  // as written, type and all
    }
}

// Only plain decimal numbers can be shown: anything else is refused rather than half-taken.
TEST_F(NumBoxTest, ValueWritesThatAreNotPlainNumbersRaise380AndChangeNothing) {
    box.Value(u"12.5");
    const std::string before = StateOf(box);
    log.Attach(box);
    form.ClearPropertyChanges();
    // clang-format off
    const Variant refused[] = {u"abc", u"1,5", u"1e5", 1e20, true, {}, u"-3", u"", u" ", u"-", u".",
                               u"+-1", u"1.2.3", u"1 2", u"\u0661", std::make_shared<qv::Font>()};
    // clang-format on
    for (const Variant& v : refused) {
        SCOPED_TRACE(qv::ToUtf8(qv::TypeName(v)) + " " + (v.IsString() ? qv::ToUtf8(Show(v)) : ""));
        EXPECT_EQ(ErrorOf([&] { box.Value(v); }), 380);
        EXPECT_EQ(StateOf(box), before);
    }
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_TRUE(log.names.empty());
}

// A write whose formatting overflows the integer digits raises and leaves everything as it was.
TEST(NumBoxValue, FormattingOverflowRaisesToTheWriterAndChangesNothing) {
    for (int write = 0; write < 3; ++write) {
        SCOPED_TRACE(write);
        Boxed t({.pre = 3, .post = 3});
        t.b.Value(999.999);
        const std::string before = StateOf(t.b);
        t.form.ClearPropertyChanges();
        EXPECT_EQ(RaisedBy([&] {
                      if (write == 0) t.b.Value(u"999.9996");
                      if (write == 1) t.b.Text(u"999,9996");
                      if (write == 2) t.b.PostDecimalNumbers(2);
                  }),
                  kTooManyPre);
        EXPECT_EQ(StateOf(t.b), before);
        EXPECT_EQ(t.b.ValueText(), u"999.999");
        EXPECT_EQ(t.b.PostDecimalNumbers(), 3);
        EXPECT_TRUE(Notices(t.form).empty());
    }
}

TEST(NumBoxText, WritesParseTheDisplayFormAndIgnoreWhatDoesNotParse) {
    // clang-format off
    struct Case { Limits setup; Variant text; const char16_t *display, *value; };
    const Case cases[] = {  // the box holds 7 before: "7,00" is an ignored write
        {{}, u"1.234,5", u"1.234,50", u"1234.5"}, {{}, u" +12 ", u"12,00", u"12"},
        {kMinus, u"-3", u"-3,00", u"-3"}, {{}, u"-5", u"7,00", u"7"}, {{}, u"1,2,3", u"7,00", u"7"},
        {{}, u"12a", u"7,00", u"7"}, {{}, u"12345678", u"7,00", u"7"},
        {{}, u"1.2.3,4", u"123,40", u"123.4"}, {{}, u",5", u"0,50", u"0.5"},
        {{.dec = u"."}, u"1,234.5", u"1,234.50", u"1234.5"}, {{.post = 0}, u"2,5", u"3", u"2.5"},
        {{}, 42, u"42,00", u"42"}, {{}, u"   ", u"", u"<Null>"},
        {{}, Variant::Null(), u"", u"<Null>"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(c.text)));
        Boxed t(c.setup);
        t.b.Value(7.0);
        t.form.ClearPropertyChanges();
        EventLog events;
        events.Attach(t.b);
        EXPECT_EQ(ErrorOf([&] { t.b.Text(c.text); }), 0);
        ASSERT_FALSE(events.names.empty());
        EXPECT_EQ(events.names.back(), u"ValidationCheck");  // recoloured, ignored or not
        EXPECT_EQ(t.b.DisplayText(), c.display);
        EXPECT_EQ(Show(t.b.Value()), c.value);
        EXPECT_TRUE(t.b.IsNull() || t.b.Value().Type() == qv::VarType::Double);
        const bool ignored = c.display == String(u"7,00");
        EXPECT_EQ(Notices(t.form), ignored ? Names{} : (Names{u"Text", u"Value"}));
    }
}

TEST_F(NumBoxTest, NullValueEmptiesTheBoxWithoutChangeOrNotice) {
    EXPECT_EQ(StateOf(box), " |  | 0");  // a new box reads 0 and shows nothing
    EXPECT_EQ(box.DefaultValue(), Variant(int16_t{0}));
    box.Value(5);
    log.Attach(box);
    form.ClearPropertyChanges();
    box.Value(Variant::Null());
    EXPECT_EQ(StateOf(box), " | <Null> | <Null> null");
    EXPECT_EQ(box.TextFormatted(), u"");
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});
    box.Value(5);  // a value ends the null state, with a Change as the display fills
    EXPECT_EQ(log.Count(u"Change"), 1);
    EXPECT_EQ(Notices(form), (Names{u"Text", u"Value"}));
    EXPECT_EQ(box.DisplayText(), u"5,00");
}

// The separator, the decimal character and the fraction count rewrite the display, not the number.
TEST_F(NumBoxTest, DisplaySettingsReformatWithoutAChangeAndTheFractionCountWaitsForTyping) {
    box.PostDecimalNumbers(3);
    box.Value(u"1234.567");
    log.Attach(box);
    box.DecimalPointCharacter(u".x");
    EXPECT_EQ(box.DecimalPointCharacter(), u".");
    EXPECT_EQ(box.DisplayText(), u"1,234.567");
    box.Separator(false);
    EXPECT_EQ(box.DisplayText(), u"1234.567");
    box.Separator(true);
    EXPECT_EQ(box.DisplayText(), u"1,234.567");
    box.DecimalPointCharacter(u";");
    EXPECT_EQ(box.DisplayText(), u"1.234;567");
    for (const auto& [n, display] :
         {std::pair{1, u"1.234;6"}, {0, u"1.235"}, {4, u"1.234;567.0"}}) {
        box.PostDecimalNumbers(int16_t(n));
        EXPECT_EQ(box.DisplayText(), display);
    }
    EXPECT_EQ(log.Count(u"Change"), 0);
    EXPECT_EQ(box.ValueText(), u"1234.567");

    box.PostDecimalNumbers(2);
    box.Value(Variant::Null());
    form.Focus(box);
    Press(form, u"1,5");
    box.PostDecimalNumbers(3);  // stored; the typed digits wait for the focus to leave
    EXPECT_EQ(box.DisplayText(), u"1;5");
    form.Leave();
    EXPECT_EQ(box.DisplayText(), u"1;500");
    form.Focus(box);
    Press(form, u"{ESC}{BS}{BS}25");
    box.PostDecimalNumbers(2);  // below the typed digits: rounded away at once
    EXPECT_EQ(box.DisplayText(), u"1;53");
}

TEST(NumBoxLimits, MaxLengthCountsEveryCharacter) {
    // clang-format off
    const std::pair<Limits, int16_t> cases[] = {
        {{}, 12}, {{.post = 0}, 9}, {kMinus, 13}, {{.separator = false}, 10},
        {{.pre = 1, .post = 0}, 1}, {{.pre = 15, .post = 255}, 359},
        {{.pre = 4, .post = 4, .allowMinus = true}, 12}};
    // clang-format on
    for (const auto& [setup, maxLength] : cases)
        EXPECT_EQ(Boxed(setup).b.MaxLength(), maxLength) << setup.pre << " " << setup.post;
}

// --- Validation and colours --------------------------------------------------------------------

TEST(NumBoxValidation, RangeTestUsesTheDisplayedNumberAndItsInclusionFlags) {
    // Check range, include smallest (0), include largest (10), must have a value; value; verdict.
    // clang-format off
    const std::tuple<bool, bool, bool, bool, Variant, bool> cases[] = {
        {1, 0, 1, 0, 0, 0}, {1, 1, 1, 0, 0, 1}, {1, 1, 1, 0, 10, 1}, {1, 1, 0, 0, 10, 0},
        {1, 1, 1, 0, 10.004, 1}, {1, 1, 1, 0, 10.006, 0}, {1, 1, 1, 0, -0.5, 0},
        {0, 1, 1, 0, 50, 1},
        {0, 1, 1, 1, Variant::Null(), 0}, {0, 1, 1, 0, Variant::Null(), 1}};
    // clang-format on
    for (const auto& [check, inclSmallest, inclLargest, mustHave, value, verdict] : cases) {
        SCOPED_TRACE(qv::ToUtf8(Show(value)));
        Boxed t(kMinus);
        t.b.LargestValue(10);
        t.b.CheckRange(check);
        t.b.IncludeSmallestValueToRange(inclSmallest);
        t.b.IncludeLargestValueToRange(inclLargest);
        t.b.MustHaveValue(mustHave);
        t.b.Value(value);
        EventLog events;
        events.Attach(t.b);
        EXPECT_EQ(t.b.CheckValueNow(), verdict);
        EXPECT_EQ(events.firstArgs, std::vector<Variant>{verdict});
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
    EXPECT_TRUE(box.CheckValueNow());
    EXPECT_EQ(site.BackColor(), box.DisabledColor());
    box.Locked(false);
    box.Enabled(false);
    EXPECT_EQ(site.BackColor(), box.DisabledColor());
    box.Enabled(true);
    form.Leave();
    EXPECT_EQ(site.BackColor(), box.WarningColor());
    form.UserMode(false);  // design time: no event, no judgement
    log.Attach(box);
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

std::string FontText(const qv::Font& f) {
    return qv::ToUtf8(f.Name()) + " size " + std::to_string(f.Size()) + " weight " +
           std::to_string(f.Weight()) + " charset " + std::to_string(f.Charset()) + " IUS " +
           std::to_string(f.Italic()) + std::to_string(f.Underline()) +
           std::to_string(f.Strikethrough());
}

// Every writable property away from its default, in an order that lets each write stand (the
// sign before the negative value, locking and disabling last), and whether the write recolours.
using Setting = std::tuple<const char16_t*, Variant, bool>;
const std::vector<Setting>& Settings() {
    auto courier = std::make_shared<qv::Font>();
    courier->Name(u"Courier");
    courier->Size(14);
    courier->Bold(true);
    courier->Charset(2);
    // clang-format off
    static const std::vector<Setting> settings = {
        {u"AllowMinus", true, false}, {u"Appearance", 0, false}, {u"BackColor", 0x00FFEEDD, true},
        {u"BorderStyle", 0, false}, {u"CheckRange", true, true}, {u"DisabledColor", 0x101010, true},
        {u"DecimalPointCharacter", u".", false}, {u"ErrorColor", 0x0000FF, true},
        {u"FocusColor", 0x00FF00, true}, {u"ForeColor", int32_t(0x80000012), false},
        {u"FontName", u"Mono", false}, {u"FontSize", 10.5f, false}, {u"Font", courier, false},
        {u"FontBold", false, false}, {u"FontItalic", true, false}, {u"FontStrikethru", true, false},
        {u"FontUnderline", true, false}, {u"IncludeLargestValueToRange", false, true},
        {u"IncludeSmallestValueToRange", false, true}, {u"LargestValue", 5000.5, true},
        {u"SmallestValue", -10.25, true}, {u"MouseIcon", Icon(), false},
        {u"MousePointer", 99, false}, {u"MustHaveValue", true, false},
        {u"PostDecimalNumbers", int16_t{3}, false}, {u"PreDecimalNumbers", int16_t{9}, false},
        {u"SelectedOnGotFocus", false, false}, {u"Separator", false, false},
        {u"UseWarningColor", true, true}, {u"WarningColor", 0x0080FFFF, true},
        {u"Value", -1234.5, true}, {u"Locked", true, true}, {u"Enabled", false, true}};
    // clang-format on
    return settings;
}

TEST_F(NumBoxTest, EveryWriteSendsOneNoticeAndRecoloursOnlyWhereItShould) {
    log.Attach(box);
    for (const auto& [name, value, recolours] : Settings()) {
        SCOPED_TRACE(qv::ToUtf8(name));
        log.Clear();
        form.ClearPropertyChanges();
        box.LetProperty(qv::UpperCase(name), value);  // late binding ignores the case
        const bool isValue = name == String(u"Value");
        EXPECT_EQ(Notices(form), isValue ? (Names{u"Text", u"Value"}) : Names{name});
        EXPECT_EQ(log.Count(u"ValidationCheck"), recolours ? 1 : 0);
        if (!value.IsObject()) {
            EXPECT_EQ(Show(box.GetProperty(name)), Show(value));
        }
        EXPECT_TRUE(box.Display().GetFont().SameAttributes(*box.Font()));
    }
    EXPECT_EQ(FontText(*box.Font()), "Courier size 14.000000 weight 400 charset 2 IUS 111");
}

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

// The display and every persisted property, as late binding reads it (in any letter case).
Description Describe(QVnumBoxControl& b) {
    Description d{{"Display", qv::ToUtf8(b.DisplayText())},
                  {"Font", FontText(*b.Font())},
                  {"MouseIcon", b.MouseIcon() ? std::to_string(b.MouseIcon()->Data().size()) : ""},
                  {"ToolTipText", qv::ToUtf8(b.Display().ToolTipText())}};
    for (const String name : kKeys) {
        if (d.contains(qv::ToUtf8(name))) continue;
        const Variant v = b.GetProperty(name);
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", uint32_t(v.IsNumber() ? v.ToLong() : 0));
        const bool colour = qv::UpperCase(name).ends_with(u"COLOR") && !name.starts_with(u"Use");
        d[qv::ToUtf8(name)] = colour ? text : qv::ToUtf8(Show(v));
    }
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
        {"MouseIcon", ""}, {"MousePointer", "0"}, {"MustHaveValue", "False"},
        {"PostDecimalNumbers", "2"}, {"PreDecimalNumbers", "7"}, {"SelectedOnGotFocus", "True"},
        {"Separator", "True"}, {"SmallestValue", "0"}, {"Text", "<Null>"}, {"ToolTipText", ""},
        {"UseWarningColor", "False"}, {"Value", "<Null>"}, {"WarningCOlor", "0x00C0FFFF"}};
    // clang-format on
    return d;
}

void Configure(QVnumBoxControl& b) {
    for (const auto& [name, value, recolours] : Settings()) b.LetProperty(name, value);
    b.Display().ToolTipText(u"a tip");
}

TEST_F(NumBoxTest, RejectedWritesRaiseTheirErrorAndChangeNothing) {
    // clang-format off
    const std::tuple<const char16_t*, Variant, int32_t> cases[] = {
        {u"BackColor", 0x3000000, 380}, {u"DisabledColor", 0x3000000, 380},
        {u"ErrorColor", 0x7FFFFFFF, 380}, {u"FocusColor", 0x3000000, 380},
        {u"WarningColor", 0x7FFFFFFF, 380}, {u"ForeColor", 0x3000000, 380}, {u"Appearance", 2, 380},
        {u"Appearance", -1, 380}, {u"BorderStyle", 2, 380}, {u"BorderStyle", -1, 380},
        {u"MousePointer", -1, 380}, {u"MousePointer", 16, 380}, {u"MousePointer", 98, 380},
        {u"MousePointer", 100, 380}, {u"PostDecimalNumbers", -1, 380},
        {u"PostDecimalNumbers", 256, 380}, {u"PreDecimalNumbers", 0, 380},
        {u"PreDecimalNumbers", 16, 380}, {u"Value", u"abc", 380},
        {u"DecimalPointCharacter", u"5", 380}, {u"DecimalPointCharacter", u"-", 380},
        {u"DecimalPointCharacter", u" ", 380}, {u"Alignment", 1, 383},
        {u"TextFormatted", u"x", 383}, {u"MaxLength", 5, 383}, {u"NoSuchProperty", 1, 438}};
    // clang-format on
    Configure(box);
    box.Enabled(true);  // so that the mouse pointer shows the stored one
    const Description before = Describe(box);
    const qv::headless::Site& site = form.SiteOf(box);
    log.Attach(box);
    form.ClearPropertyChanges();
    for (const auto& [name, value, error] : cases) {
        SCOPED_TRACE(qv::ToUtf8(name) + " = " + qv::ToUtf8(Show(value)));
        EXPECT_EQ(ErrorOf([&, &n = name, &v = value] { box.LetProperty(n, v); }), error);
        EXPECT_EQ(Describe(box), before);
        EXPECT_EQ(site.MousePointer(), 99);
    }
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_TRUE(log.names.empty());
    for (int c : {0, 0x2FFFFFF, int(0x80000012)}) EXPECT_EQ(ErrorOf([&] { box.BackColor(c); }), 0);
    // The pointer shown: the one chosen, an I-beam for the default, an arrow while disabled.
    for (const auto& [chosen, enabled, shown] :
         {std::tuple{15, true, 15}, {0, true, 3}, {2, false, 1}}) {
        box.MousePointer(qv::MousePointerEnum(chosen));
        box.Enabled(enabled);
        EXPECT_EQ(site.MousePointer(), shown);
    }
}

// --- Persistence -------------------------------------------------------------------------------

// Loads a box from the bag on a form of its own: the load must not fail.
Description LoadAndDescribe(MemoryPropertyBag& bag) {
    Container form;
    QVnumBoxControl* b = nullptr;
    EXPECT_EQ(ErrorOf([&] { b = &form.Load<QVnumBoxControl>(u"numLoaded", bag); }), 0);
    return b ? Describe(*b) : Description{};
}

TEST(NumBoxPersistence, RoundTripKeepsEveryPropertyWithOrWithoutDefaults) {
    Container form;
    for (bool omitDefaults : {true, false}) {
        auto& original = form.Add<QVnumBoxControl>(u"numOriginal");
        Configure(original);
        MemoryPropertyBag bag(omitDefaults);
        form.Save(original, bag);  // every key, none at its default
        EXPECT_EQ(bag.WriteLog(), Names(std::begin(kKeys), std::end(kKeys)));
        EXPECT_EQ(bag.Keys(), bag.WriteLog());
        form.ClearPropertyChanges();
        auto& loaded = form.Load<QVnumBoxControl>(u"numLoaded", bag);
        EXPECT_EQ(Describe(loaded), Describe(original));
        EXPECT_EQ(loaded.DisplayText(), u"-1234.500");
        EXPECT_EQ(form.SiteOf(loaded).BackColor(), 0x101010u);  // disabled
        EXPECT_NE(loaded.Font(), original.Font());
        const Names notices = Notices(form);
        EXPECT_NE(std::find(notices.begin(), notices.end(), u"Value"), notices.end());
        form.Remove(loaded);
        form.Remove(original);
    }
}

// Stored forms spell the warning colour's key with a capital O; "WarningColor" is not read.
TEST(NumBoxPersistence, DamagedOrUnfittingValuesGiveDefaultsWithoutStoppingTheLoad) {
    // clang-format off
    struct Case { std::vector<std::pair<const char16_t*, Variant>> store;
                  Description changed = {}; };
    const Case cases[] = {  // changed: what differs from LoadedDefaults
        {{{u"PostDecimalNumbers", 300}}}, {{{u"PreDecimalNumbers", 16}}}, {{{u"Appearance", 5}}},
        {{{u"BorderStyle", -1}}}, {{{u"BackColor", 0x3000000}}}, {{{u"ForeColor", u"red"}}},
        {{{u"FocusColor", 0x3000000}}}, {{{u"ErrorColor", 0x7FFFFFFF}}},
        {{{u"WarningCOlor", 0x3000000}}}, {{{u"DisabledColor", 0x3000000}}},
        {{{u"WarningColor", 0x123456}}},
        {{{u"WarningCOlor", 0x123456}}, {{"WarningCOlor", "0x00123456"}}},
        {{{u"MousePointer", 50}}}, {{{u"MousePointer", u"arrow"}}}, {{{u"AllowMinus", u"perhaps"}}},
        {{{u"Enabled", Variant::Null()}}}, {{{u"LargestValue", u"big"}}}, {{{u"Font", u"Arial"}}},
        {{{u"DecimalPointCharacter", Variant::Null()}}}, {{{u"DecimalPointCharacter", u"7"}}},
        {{{u"DecimalPointCharacter", u"-"}}}, {{{u"DecimalPointCharacter", u" "}}},
        {{{u"MouseIcon", u"icon.ico"}}}, {{{u"Text", u"abc"}}}, {{{u"Text", Icon()}}},
        {{{u"Value", u"abc"}}},
        {{{u"PreDecimalNumbers", 3}, {u"Text", u"12.345,00"}}, {{"PreDecimalNumbers", "3"}}},
        {{{u"PreDecimalNumbers", 3}, {u"Text", u"999,999"}}, {{"PreDecimalNumbers", "3"}}},
        {{{u"Text", u"1.234,5"}, {u"Value", 7}},
         {{"Text", "1.234,50"}, {"Display", "1.234,50"}, {"Value", "1234.5"}}}};
    // clang-format on
    for (const Case& c : cases) {
        const auto& [key, value] = c.store.back();
        SCOPED_TRACE(qv::ToUtf8(key) + " = " +
                     (value.IsObject() ? "object" : qv::ToUtf8(Show(value))));
        MemoryPropertyBag bag;
        for (const auto& [k, v] : c.store) bag.Set(k, v);
        Description expected = LoadedDefaults();
        for (const auto& [k, v] : c.changed) expected[k] = v;
        EXPECT_EQ(LoadAndDescribe(bag), expected);
    }
}

TEST(NumBoxPersistence, UnreadableTrappedKeyGivesItsDefaultAndTheRestStillLoads) {
    Container form;
    auto& original = form.Add<QVnumBoxControl>(u"numConfigured");
    Configure(original);
    const Description configured = Describe(original);
    MemoryPropertyBag bag(false);
    form.Save(original, bag);
    for (const char* key : {"Enabled", "Font", "MouseIcon", "MousePointer", "ToolTipText",
                            "SelectedOnGotFocus", "CheckRange", "SmallestValue", "LargestValue",
                            "IncludeSmallestValueToRange", "Locked", "UseWarningColor"}) {
        SCOPED_TRACE(key);
        bag.FailReading(qv::FromUtf8(key));
        Description expected = configured;
        expected[key] = LoadedDefaults().at(key);
        EXPECT_EQ(LoadAndDescribe(bag), expected);
        bag.StopFailing(qv::FromUtf8(key));
    }
}

}  // namespace
}  // namespace numbox_test
