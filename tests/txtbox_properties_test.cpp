// The text box's properties (defaults, writes, checks and notices, the font object, late binding,
// the class registry) and its persistence (round trips, the key order, damaged stores).
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "library/ClassRegistry.h"
#include "library/MemoryPropertyBag.h"
#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::Flat3d;
using qv::MemoryPropertyBag;
using qv::MousePointerEnum;
using qv::NoneFixedSingle;
using Description = std::map<std::string, std::string>;

// The persisted keys in the order they are saved.
// clang-format off
const char16_t* const kKeys[] = {
    u"AllUcase", u"Appearance", u"BackColor", u"BorderStyle", u"DisabledColor", u"Enabled",
    u"ErrorColor", u"FirstCharacterCapital", u"ForbiddenCharacters", u"FocusColor", u"Font",
    u"ForeColor", u"Locked", u"MaxLength", u"MouseIcon", u"MousePointer", u"MultiLine",
    u"MustHaveValue", u"NullToEmptyString", u"PasswordChar", u"ScrollBars", u"SelectedOnGotFocus",
    u"Text", u"Trim", u"UseWarningColor", u"WarningColor"};
// clang-format on

std::string FontText(const qv::Font& f) {
    return qv::ToUtf8(f.Name()) + " " + std::to_string(f.Size()) + "pt weight " +
           std::to_string(f.Weight()) + " charset " + std::to_string(f.Charset()) +
           (f.Italic() ? " italic" : "") + (f.Underline() ? " underline" : "") +
           (f.Strikethrough() ? " strikethrough" : "");
}

// Every persisted property by its key, in a form that compares and prints well.
Description Describe(QVtxtBoxControl& b) {
    Description d;
    for (const String key : kKeys) {
        const Variant v = b.GetProperty(key);
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", uint32_t(v.IsNumber() ? v.ToLong() : 0));
        const bool colour = key.ends_with(u"Color") && !key.starts_with(u"Use");
        d[qv::ToUtf8(key)] = colour ? text : v.IsObject() ? "" : qv::ToUtf8(Show(v));
    }
    d["Font"] = FontText(*b.Font());
    d["MouseIcon"] = "none";
    if (auto icon = b.MouseIcon()) {
        d["MouseIcon"] = std::to_string(int(icon->Type())) + " " + std::to_string(icon->Width());
        for (uint8_t byte : icon->Data()) d["MouseIcon"] += " " + std::to_string(byte);
    }
    d["Text"] += b.IsNull() ? " (null)" : "";
    return d;
}

// clang-format off
const Description& Defaults() {
    static const Description d = {
        {"AllUcase", "False"}, {"Appearance", "1"}, {"BackColor", "0x80000005"}, {"BorderStyle", "1"},
        {"DisabledColor", "0x00C0C0C0"}, {"Enabled", "True"}, {"ErrorColor", "0x00C0C0FF"},
        {"FirstCharacterCapital", "True"}, {"ForbiddenCharacters", ""}, {"FocusColor", "0x00C0FFC0"},
        {"Font", FontText(qv::Font())}, {"ForeColor", "0x80000008"}, {"Locked", "False"},
        {"MaxLength", "0"}, {"MouseIcon", "none"}, {"MousePointer", "0"}, {"MultiLine", "False"},
        {"MustHaveValue", "True"}, {"NullToEmptyString", "True"}, {"PasswordChar", ""},
        {"ScrollBars", "0"}, {"SelectedOnGotFocus", "False"}, {"Text", ""}, {"Trim", "True"},
        {"UseWarningColor", "False"}, {"WarningColor", "0x00C0FFFF"}};
    return d;
}
// clang-format on

std::shared_ptr<qv::Picture> Icon() {
    return std::make_shared<qv::Picture>(qv::Picture::Format::Icon, 32, 32,
                                         std::vector<uint8_t>{0, 1, 2, 254, 255});
}

qv::Font Courier() {
    qv::Font font;
    font.Name(u"Courier"), font.Size(14), font.Bold(true), font.Italic(true);
    font.Underline(true), font.Strikethrough(true), font.Charset(2);
    return font;
}

// Every property away from its default.
void Configure(QVtxtBoxControl& b) {
    // clang-format off
    const std::pair<const char16_t*, Variant> values[] = {
        {u"AllUcase", true}, {u"Appearance", 0}, {u"BackColor", 0x00FFEEDD}, {u"BorderStyle", 0},
        {u"DisabledColor", 0x101010}, {u"ErrorColor", 0x0000FF}, {u"FirstCharacterCapital", false},
        {u"ForbiddenCharacters", u"#$"}, {u"FocusColor", 0x00FF00}, {u"ForeColor", int32_t(0x80000012)},
        {u"MaxLength", 12}, {u"MouseIcon", Icon()}, {u"MousePointer", 99}, {u"MultiLine", true},
        {u"MustHaveValue", false}, {u"NullToEmptyString", false}, {u"PasswordChar", u"*"},
        {u"ScrollBars", 2}, {u"SelectedOnGotFocus", true}, {u"Trim", false}, {u"UseWarningColor", true},
        {u"WarningColor", 0x0080FFFF}, {u"Text", u"  hello world  "}, {u"Enabled", false},
        {u"Locked", true}};
    // clang-format on
    for (const auto& [name, value] : values) b.LetProperty(name, value);
    b.Font(Courier());
}

// The three fields carry the control's settings and text, and only the active one shows.
void ExpectFieldsAgree(QVtxtBoxControl& b) {
    for (int16_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(::testing::Message() << "field " << i);
        const qv::TextField& f = b.Field(i);
        EXPECT_EQ(
            std::tuple(f.Enabled(), f.ForeColor(), f.Locked(), f.MaxLength(), f.MousePointer(),
                       f.MouseIcon(), f.PasswordChar(), f.Text(), f.Visible()),
            std::tuple(b.Enabled(), b.ForeColor(), b.Locked(), b.MaxLength(),
                       int16_t(b.MousePointer()), b.MouseIcon(), b.PasswordChar(),
                       b.Field(b.ActiveFieldIndex()).Text(), i == b.ActiveFieldIndex()));
        EXPECT_TRUE(f.GetFont().SameAttributes(*b.Font()));
    }
}

using TxtBoxProperties = TxtBoxTest;

// --- Properties -------------------------------------------------------------------------------

TEST_F(TxtBoxProperties, NewControlHasTheDefaultsAndTheContainersFont) {
    EXPECT_EQ(Describe(box), Defaults());
    form.AmbientFont().Assign(Courier());
    auto& b = form.Add<QVtxtBoxControl>(u"txtCourier");
    Description expected = Defaults();
    expected["Font"] = FontText(Courier());
    EXPECT_EQ(Describe(b), expected);
    ExpectFieldsAgree(b);
}

TEST(TxtBoxWrites, EveryWriteTakesAndSendsOneNoticeAndRecoloursOnlyWhereItShould) {
    const Variant font = std::make_shared<qv::Font>(Courier());
    // clang-format off
    struct Case { const char16_t* name; Variant value; bool recolours; };
    const Case cases[] = {
        {u"AllUcase", true, false}, {u"Appearance", 0, false}, {u"BackColor", 0x112233, true},
        {u"BorderStyle", 0, false}, {u"DisabledColor", 0x112233, true}, {u"Enabled", false, true},
        {u"ErrorColor", 0x112233, true}, {u"FirstCharacterCapital", false, false},
        {u"FocusColor", 0x112233, true}, {u"ForbiddenCharacters", u"#", false},
        {u"ForeColor", 0x112233, false}, {u"Font", font, false}, {u"FontBold", true, false},
        {u"FontItalic", true, false}, {u"FontName", u"Mono", false}, {u"FontSize", 10.5f, false},
        {u"FontStrikethru", true, false}, {u"FontUnderline", true, false}, {u"Locked", true, true},
        {u"MaxLength", 5, false}, {u"MouseIcon", Icon(), false}, {u"MousePointer", 2, false},
        {u"MultiLine", true, false}, {u"MustHaveValue", false, true}, {u"NullToEmptyString", false, false},
        {u"PasswordChar", u"*", false}, {u"ScrollBars", 2, false}, {u"SelectedOnGotFocus", true, false},
        {u"SelLength", 0, false}, {u"SelStart", 0, false}, {u"Trim", false, false},
        {u"UseWarningColor", true, true}, {u"WarningColor", 0x112233, true}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.name));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        EventLog events;
        events.Attach(b);
        f.ClearPropertyChanges();
        b.LetProperty(qv::UpperCase(c.name), c.value);  // names ignore case
        ASSERT_EQ(f.PropertyChanges().size(), 1u);
        EXPECT_EQ(f.PropertyChanges()[0].property, c.name);
        EXPECT_EQ(f.PropertyChanges()[0].control, u"txt");
        EXPECT_EQ(events.Count(u"ValidationCheck"), c.recolours ? 1 : 0);
        if (!c.value.IsObject()) {
            EXPECT_EQ(Show(b.GetProperty(c.name)), Show(c.value));
        }
        ExpectFieldsAgree(b);
    }
}

TEST_F(TxtBoxProperties, ColourWritesTakeEveryValidColour) {
    for (const char16_t* name : {u"BackColor", u"DisabledColor", u"ErrorColor", u"FocusColor",
                                 u"WarningColor", u"ForeColor"})
        for (Color c : {0u, 0x2FFFFFFu, 0x80000005u, 0x80000000u, 0xFFFFFFFFu}) {
            box.LetProperty(name, Variant(int32_t(c)));
            EXPECT_EQ(Color(box.GetProperty(name).ToLong()), c) << qv::ToUtf8(name);
        }
    box.LetProperty(u"WarningColor", Variant(2147483653.0));  // 0x80000005 as a positive number
    EXPECT_EQ(box.WarningColor(), 0x80000005u);
}

TEST_F(TxtBoxProperties, RejectedWritesRaiseTheirErrorAndChangeNothing) {
    using B = QVtxtBoxControl;
    // clang-format off
    std::vector<std::pair<std::function<void(B&)>, int32_t>> cases = {
        {[](B& b) { b.BackColor(0x3000000); }, 380}, {[](B& b) { b.DisabledColor(0x3000000); }, 380},
        {[](B& b) { b.ErrorColor(0x7FFFFFFF); }, 380}, {[](B& b) { b.FocusColor(0x3000000); }, 380},
        {[](B& b) { b.WarningColor(0x7FFFFFFF); }, 380}, {[](B& b) { b.ForeColor(0x3000000); }, 380},
        {[](B& b) { b.Appearance(Flat3d(2)); }, 380}, {[](B& b) { b.Appearance(Flat3d(-1)); }, 380},
        {[](B& b) { b.BorderStyle(NoneFixedSingle(2)); }, 380}, {[](B& b) { b.MaxLength(-1); }, 380},
        {[](B& b) { b.MousePointer(MousePointerEnum(50)); }, 380},
        {[](B& b) { b.Text(Variant(std::make_shared<qv::Font>())); }, 380},
        {[](B& b) { b.CallMethod(u"Text"); }, 438}};
    const std::tuple<const char16_t*, Variant, int32_t> late[] = {
        {u"AllUcase", u"perhaps", 380}, {u"MaxLength", 40000, 380}, {u"MaxLength", u"ten", 380},
        {u"BackColor", u"red", 380}, {u"Appearance", u"3D", 380}, {u"FontSize", u"big", 380},
        {u"FontName", Variant::Null(), 380}, {u"Font", u"Arial", 380}, {u"MouseIcon", u"icon.ico", 380},
        {u"SelStart", u"start", 380}, {u"Alignment", int16_t{1}, 383}, {u"HideSelection", false, 383},
        {u"TextFormatted", u"x", 383}, {u"NoSuchProperty", Variant(), 438}};
    // clang-format on
    for (const auto& [name, value, error] : late)
        cases.push_back({[&n = name, &v = value](B& b) { b.LetProperty(n, v); }, error});
    Configure(box);
    const Description before = Describe(box);
    log.Attach(box);
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(::testing::Message() << "row " << row);
        form.ClearPropertyChanges();
        EXPECT_EQ(ErrorOf([&] { cases[row].first(box); }), cases[row].second);
        EXPECT_EQ(Describe(box), before);
        EXPECT_TRUE(form.PropertyChanges().empty());
        EXPECT_TRUE(log.names.empty());
        ExpectFieldsAgree(box);
    }
    EXPECT_EQ(box.GetProperty(u"TextFormatted"), Variant(u"  HELLO WORLD"));  // read-only, readable
}

TEST_F(TxtBoxProperties, LateBindingConvertsValuesAndReachesTheDefaultMemberAndMethods) {
    box.LetProperty(u"MultiLine", Variant(u"True"));
    EXPECT_TRUE(box.MultiLine());
    box.DefaultValue(Variant(u"  by default  "));
    EXPECT_EQ(Show(box.DefaultValue()), u"By default");
    EXPECT_EQ(box.CallMethod(u"checkvaluenow"), Variant(true));
    box.PasswordChar(u"*x");  // only the first character counts
    EXPECT_EQ(box.PasswordChar(), u"*");
}

TEST_F(TxtBoxProperties, FontWriteCopiesTheAttributesIntoTheControlsOwnFont) {
    const std::shared_ptr<qv::Font> own = box.Font();
    qv::Font other = Courier();
    form.ClearPropertyChanges();
    box.Font(other);
    EXPECT_EQ(box.Font(), own);  // the same object, now carrying the other's attributes
    EXPECT_TRUE(own->SameAttributes(other));
    EXPECT_EQ(Notices(form), Names{u"Font"});
    other.Name(u"Changed Later");  // the given object is not kept
    box.Font(*box.Font());         // writing the control's own font is harmless
    EXPECT_EQ(box.FontName(), u"Courier");
    box.Font()->Name(u"Through The Object");  // writes on the object handed out count as well
    ExpectFieldsAgree(box);
    EXPECT_EQ(box.Field(2).GetFont().Name(), u"Through The Object");
}

TEST(TxtBoxMembers, RegistryPublishesTheStandardIdentifiersAndTheControlAgrees) {
    const qv::ClassInfo* info = qv::FindClass(u"qvtxtboxcontrol");
    ASSERT_NE(info, nullptr);
    // clang-format off
    const std::map<String, int32_t> members = {
        {u"Text", 0}, {u"BackColor", -501}, {u"BorderStyle", -503}, {u"Font", -512},
        {u"ForeColor", -513}, {u"Enabled", -514}, {u"Appearance", -520}, {u"Refresh", -550},
        {u"ShowAboutBox", -552}};
    const std::map<String, int32_t> events = {
        {u"Change", 1}, {u"ValidationCheck", 2}, {u"Click", -600}, {u"DblClick", -601},
        {u"KeyDown", -602}, {u"KeyPress", -603}, {u"KeyUp", -604}, {u"MouseDown", -605},
        {u"MouseMove", -606}, {u"MouseUp", -607}};
    // clang-format on
    std::map<String, int32_t> published, publishedEvents;
    for (const qv::MemberId& m : info->members) published[m.name] = m.dispId;
    for (const qv::MemberId& m : info->events) publishedEvents[m.name] = m.dispId;
    EXPECT_EQ(published, members);
    EXPECT_EQ(publishedEvents, events);
    // The control's own member table uses the same identifiers, and nothing else claims them.
    const qv::MemberTable& table = QVtxtBoxControl::MemberTableOf();
    for (const auto* map : {&members, &events})
        for (const auto& [name, id] : *map) {
            const qv::Member* m = table.Find(name);
            ASSERT_NE(m, nullptr) << qv::ToUtf8(name);
            EXPECT_EQ(m->dispId, id);
            EXPECT_EQ(table.Find(id, m->kind), m);
            EXPECT_EQ(m->kind == qv::MemberKind::Event, map == &events);
        }
}

// --- Persistence ------------------------------------------------------------------------------

class TxtBoxPersistence : public ::testing::Test {
  protected:
    // A container font that differs from the control's own, so that a load that adopts it shows.
    TxtBoxPersistence() { form.AmbientFont().Name(u"Ambient Face"); }
    // A store holding every key of a configured control, defaults included.
    MemoryPropertyBag ConfiguredStore() {
        auto& b = form.Add<QVtxtBoxControl>(u"txtConfigured");
        Configure(b);
        configured = Describe(b);
        MemoryPropertyBag bag(false);
        form.Save(b, bag);
        return bag;
    }
    // Loads from the bag: the load must not fail, and the fields must agree with the control.
    Description LoadAndDescribe(MemoryPropertyBag& bag) {
        QVtxtBoxControl* b = nullptr;
        EXPECT_EQ(ErrorOf([&] { b = &form.Load<QVtxtBoxControl>(u"txtLoaded", bag); }), 0);
        if (!b) return {};
        ExpectFieldsAgree(*b);
        Description d = Describe(*b);
        form.Remove(*b);
        return d;
    }

    Container form;
    Description configured;
};

TEST_F(TxtBoxPersistence, RoundTripKeepsEveryPropertyWithOrWithoutDefaults) {
    for (bool omitDefaults : {true, false}) {
        auto& original = form.Add<QVtxtBoxControl>(u"txtOriginal");
        Configure(original);
        MemoryPropertyBag bag(omitDefaults);
        form.Save(original, bag);
        auto& loaded = form.Load<QVtxtBoxControl>(u"txtLoaded", bag);
        EXPECT_EQ(Describe(loaded), Describe(original));
        EXPECT_EQ(Show(loaded.Text()), u"  HELLO WORLD  ");
        EXPECT_EQ(loaded.ActiveFieldIndex(), 2);
        EXPECT_EQ(Background(form, loaded), 0x101010u);  // disabled
        ExpectFieldsAgree(loaded);
        EXPECT_NE(loaded.Font(), original.Font());  // a font of its own
        form.Remove(loaded);
        form.Remove(original);
    }
}

TEST_F(TxtBoxPersistence, EmptyStoreGivesTheDefaultsAndANewControlWritesEveryKeyInOrder) {
    MemoryPropertyBag empty;
    EXPECT_EQ(LoadAndDescribe(empty), Defaults());
    auto& fresh = form.Add<QVtxtBoxControl>(u"txtNew");
    MemoryPropertyBag bag;
    form.Save(fresh, bag);
    EXPECT_EQ(bag.WriteLog(), Names(std::begin(kKeys), std::end(kKeys)));
    EXPECT_TRUE(bag.Has(u"Font"));  // written on every save
    EXPECT_EQ(LoadAndDescribe(bag), Describe(fresh));
}

TEST_F(TxtBoxPersistence, UnreadableKeyGivesItsDefaultAndTheRestStillLoads) {
    MemoryPropertyBag bag = ConfiguredStore();
    for (const auto& [key, defaultValue] : Defaults()) {
        SCOPED_TRACE(key);
        bag.FailReading(qv::FromUtf8(key));
        Description expected = configured;
        expected[key] = defaultValue;
        EXPECT_EQ(LoadAndDescribe(bag), expected);
        bag.StopFailing(qv::FromUtf8(key));
    }
}

TEST_F(TxtBoxPersistence, DamagedValuesGiveTheKeysDefaultWithoutStoppingTheLoad) {
    const Variant font = std::make_shared<qv::Font>(Courier());
    // clang-format off
    const std::tuple<const char16_t*, Variant, const char*> cases[] = {  // expected nullptr: default
        {u"AllUcase", u"perhaps", nullptr}, {u"Appearance", u"sunken", nullptr},
        {u"Appearance", 2, nullptr}, {u"Appearance", 0, "0"}, {u"BackColor", u"red", nullptr},
        {u"BackColor", 0x3000000, nullptr}, {u"BorderStyle", u"single", nullptr},
        {u"DisabledColor", font, nullptr}, {u"Enabled", Variant::Null(), nullptr},
        {u"ErrorColor", Variant::Null(), nullptr}, {u"ForbiddenCharacters", Variant::Null(), nullptr},
        {u"Font", u"Arial", nullptr}, {u"Font", Icon(), nullptr}, {u"ForeColor", 0x3000000, nullptr},
        {u"MaxLength", -5, nullptr}, {u"MaxLength", u"lots", nullptr}, {u"MaxLength", 40000, nullptr},
        {u"MouseIcon", u"icon.ico", nullptr}, {u"MousePointer", 50, nullptr}, {u"MousePointer", 65537, nullptr},
        {u"MustHaveValue", font, nullptr}, {u"PasswordChar", Variant::Null(), nullptr},
        {u"ScrollBars", u"both", nullptr}, {u"Text", font, nullptr}, {u"Trim", u"x", nullptr},
        {u"WarningColor", u"yellow", nullptr}};
    // clang-format on
    MemoryPropertyBag all;
    for (const auto& [key, stored, value] : cases) {
        SCOPED_TRACE(qv::ToUtf8(key) + " = " + qv::ToUtf8(qv::TypeName(stored)));
        MemoryPropertyBag bag;
        bag.Set(key, stored);
        if (!value) all.Set(key, stored);
        Description expected = Defaults();
        if (value) expected[qv::ToUtf8(key)] = value;
        EXPECT_EQ(LoadAndDescribe(bag), expected);
    }
    EXPECT_EQ(LoadAndDescribe(all), Defaults());
}

// The null state itself is not saved; only a store that holds a null restores it.
TEST_F(TxtBoxPersistence, NullIsSavedAsEmptyTextAndOnlyAStoredNullLoadsAsNull) {
    auto& b = form.Add<QVtxtBoxControl>(u"txt");
    b.NullToEmptyString(false);
    b.Text(Variant::Null());
    MemoryPropertyBag bag(false);
    form.Save(b, bag);
    EXPECT_EQ(bag.Get(u"Text"), Variant(u""));
    EXPECT_EQ(LoadAndDescribe(bag)["Text"], "");
    bag.Set(u"Text", Variant::Null());
    EXPECT_EQ(LoadAndDescribe(bag)["Text"], "<Null> (null)");
}

TEST_F(TxtBoxPersistence, LoadedFontBecomesTheControlsFontAndStillDrivesTheFields) {
    MemoryPropertyBag bag = ConfiguredStore();
    for (const Variant& stored : {bag.Get(u"Font"), Variant(u"Courier")}) {
        bag.Set(u"Font", stored);
        auto& b = form.Load<QVtxtBoxControl>(u"txt", bag);
        EXPECT_EQ(b.FontName(), stored.IsObject() ? u"Courier" : qv::Font::kDefaultName);
        b.FontName(u"Changed After Loading");
        ExpectFieldsAgree(b);
        form.Remove(b);
    }
}

}  // namespace
}  // namespace txtbox_test
