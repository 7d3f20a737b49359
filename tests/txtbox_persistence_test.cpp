// Saving and loading the text box: round trips, the order of the keys, and stores with damaged
// or unreadable values, which must give each key's default without stopping the load.
#include <cstdio>
#include <map>
#include <string>

#include "hosts/headless/MemoryPropertyBag.h"
#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::QVtxtBoxControl;
using qv::headless::MemoryPropertyBag;

using Description = std::map<std::string, std::string>;

std::string Hex(Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(c));
    return buf;
}
std::string Quoted(const String& s) {
    return "\"" + qv::ToUtf8(s) + "\"";
}
std::string Bool(bool b) {
    return b ? "true" : "false";
}

std::string FontText(const qv::Font& f) {
    return qv::ToUtf8(f.Name()) + " " + std::to_string(f.Size()) + "pt weight " +
           std::to_string(f.Weight()) + " charset " + std::to_string(f.Charset()) +
           (f.Italic() ? " italic" : "") + (f.Underline() ? " underline" : "") +
           (f.Strikethrough() ? " strikethrough" : "");
}

std::string IconText(const std::shared_ptr<qv::Picture>& p) {
    if (!p) return "none";
    std::string s = std::to_string(static_cast<int>(p->Type())) + " " + std::to_string(p->Width()) +
                    "x" + std::to_string(p->Height()) + ":";
    for (uint8_t byte : p->Data()) s += " " + std::to_string(byte);
    return s;
}

// Every persisted property by its key, in a form that compares and prints well.
Description Describe(const QVtxtBoxControl& b) {
    const Variant text = b.Text();
    return {
        {"AllUcase", Bool(b.AllUcase())},
        {"Appearance", std::to_string(static_cast<int32_t>(b.Appearance()))},
        {"BackColor", Hex(b.BackColor())},
        {"BorderStyle", std::to_string(static_cast<int32_t>(b.BorderStyle()))},
        {"DisabledColor", Hex(b.DisabledColor())},
        {"Enabled", Bool(b.Enabled())},
        {"ErrorColor", Hex(b.ErrorColor())},
        {"FirstCharacterCapital", Bool(b.FirstCharacterCapital())},
        {"ForbiddenCharacters", Quoted(b.ForbiddenCharacters())},
        {"FocusColor", Hex(b.FocusColor())},
        {"Font", FontText(*b.Font())},
        {"ForeColor", Hex(b.ForeColor())},
        {"Locked", Bool(b.Locked())},
        {"MaxLength", std::to_string(b.MaxLength())},
        {"MouseIcon", IconText(b.MouseIcon())},
        {"MousePointer", std::to_string(static_cast<int32_t>(b.MousePointer()))},
        {"MultiLine", Bool(b.MultiLine())},
        {"MustHaveValue", Bool(b.MustHaveValue())},
        {"NullToEmptyString", Bool(b.NullToEmptyString())},
        {"PasswordChar", Quoted(b.PasswordChar())},
        {"ScrollBars", std::to_string(static_cast<int32_t>(b.ScrollBars()))},
        {"SelectedOnGotFocus", Bool(b.SelectedOnGotFocus())},
        {"Text",
         (text.IsNull() ? "Null" : Quoted(text.ToString())) + (b.IsNull() ? " (null)" : "")},
        {"Trim", Bool(b.Trim())},
        {"UseWarningColor", Bool(b.UseWarningColor())},
        {"WarningColor", Hex(b.WarningColor())},
    };
}

// clang-format off
const Description& Defaults() {
    static const Description d = {
        {"AllUcase", "false"}, {"Appearance", "1"}, {"BackColor", "0x80000005"},
        {"BorderStyle", "1"}, {"DisabledColor", "0x00C0C0C0"}, {"Enabled", "true"},
        {"ErrorColor", "0x00C0C0FF"}, {"FirstCharacterCapital", "true"},
        {"ForbiddenCharacters", "\"\""}, {"FocusColor", "0x00C0FFC0"},
        {"Font", FontText(qv::Font())},  // the control's own font, not the container's
        {"ForeColor", "0x80000008"}, {"Locked", "false"}, {"MaxLength", "0"},
        {"MouseIcon", "none"}, {"MousePointer", "0"}, {"MultiLine", "false"},
        {"MustHaveValue", "true"}, {"NullToEmptyString", "true"}, {"PasswordChar", "\"\""},
        {"ScrollBars", "0"}, {"SelectedOnGotFocus", "false"}, {"Text", "\"\""}, {"Trim", "true"},
        {"UseWarningColor", "false"}, {"WarningColor", "0x00C0FFFF"},
    };
    return d;
}
// clang-format on

std::shared_ptr<qv::Picture> Icon() {
    return std::make_shared<qv::Picture>(qv::Picture::Format::Icon, 32, 32,
                                         std::vector<uint8_t>{0, 1, 2, 254, 255});
}

// Every property away from its default.
void Configure(QVtxtBoxControl& b) {
    b.AllUcase(true);
    b.Appearance(qv::Flat3d::qvFlat);
    b.BackColor(0x00FFEEDD);
    b.BorderStyle(qv::NoneFixedSingle::None);
    b.DisabledColor(0x101010);
    b.ErrorColor(0x0000FF);
    b.FirstCharacterCapital(false);
    b.ForbiddenCharacters(u"#$");
    b.FocusColor(0x00FF00);
    qv::Font font;
    font.Name(u"Courier");
    font.Size(14);
    font.Bold(true);
    font.Italic(true);
    font.Underline(true);
    font.Strikethrough(true);
    font.Charset(2);
    b.Font(font);
    b.ForeColor(0x80000012);
    b.MaxLength(12);
    b.MouseIcon(Icon());
    b.MousePointer(qv::MousePointerEnum::Custom);
    b.MultiLine(true);
    b.MustHaveValue(false);
    b.NullToEmptyString(false);
    b.PasswordChar(u"*");
    b.ScrollBars(qv::ScrollBarsEnum::Vertical);
    b.SelectedOnGotFocus(true);
    b.Trim(false);
    b.UseWarningColor(true);
    b.WarningColor(0x0080FFFF);
    b.Text(u"  hello world  ");
    b.Enabled(false);
    b.Locked(true);
}

// After a load all three fields carry the same settings and text.
void ExpectFieldsAgree(const QVtxtBoxControl& b) {
    const qv::TextField& first = b.Field(0);
    for (int16_t i = 1; i < 3; ++i) {
        SCOPED_TRACE(i);
        const qv::TextField& f = b.Field(i);
        EXPECT_EQ(f.Enabled(), first.Enabled());
        EXPECT_EQ(f.ForeColor(), first.ForeColor());
        EXPECT_EQ(f.Locked(), first.Locked());
        EXPECT_EQ(f.MaxLength(), first.MaxLength());
        EXPECT_EQ(f.MousePointer(), first.MousePointer());
        EXPECT_EQ(f.PasswordChar(), first.PasswordChar());
        EXPECT_EQ(f.Text(), first.Text());
        EXPECT_TRUE(f.GetFont().SameAttributes(*b.Font()));
    }
    EXPECT_TRUE(first.GetFont().SameAttributes(*b.Font()));
}

class TxtBoxPersistenceTest : public ::testing::Test {
  protected:
    // A container font that differs from the control's own, so that a load that wrongly adopts
    // it shows.
    TxtBoxPersistenceTest() {
        form.AmbientFont().Name(u"Ambient Face");
        form.AmbientFont().Size(11);
    }
    // A store holding every key of a configured control, defaults included.
    MemoryPropertyBag ConfiguredStore() {
        auto& b = form.Add<QVtxtBoxControl>(u"txtConfigured");
        Configure(b);
        configured = Describe(b);
        MemoryPropertyBag bag(false);
        form.Save(b, bag);
        return bag;
    }

    qv::headless::Container form;
    Description configured;
};

TEST_F(TxtBoxPersistenceTest, RoundTripKeepsEveryProperty) {
    for (bool omitDefaults : {true, false}) {
        SCOPED_TRACE(omitDefaults);
        auto& original = form.Add<QVtxtBoxControl>(u"txtOriginal");
        Configure(original);
        MemoryPropertyBag bag(omitDefaults);
        form.Save(original, bag);
        auto& loaded = form.Load<QVtxtBoxControl>(u"txtLoaded", bag);
        EXPECT_EQ(Describe(loaded), Describe(original));
        EXPECT_EQ(Show(loaded.Text()), u"  HELLO WORLD  ");
        EXPECT_EQ(loaded.ActiveFieldIndex(), 2);
        ExpectFieldsAgree(loaded);
        EXPECT_NE(loaded.Font(), original.Font());  // a font of its own
        form.Remove(loaded);
        form.Remove(original);
    }
}

TEST_F(TxtBoxPersistenceTest, NewControlRoundTripsAndAnEmptyStoreGivesTheDefaults) {
    MemoryPropertyBag empty;
    auto& fromEmpty = form.Load<QVtxtBoxControl>(u"txtEmpty", empty);
    EXPECT_EQ(Describe(fromEmpty), Defaults());
    ExpectFieldsAgree(fromEmpty);

    auto& fresh = form.Add<QVtxtBoxControl>(u"txtNew");
    MemoryPropertyBag bag;
    form.Save(fresh, bag);
    EXPECT_EQ(Describe(form.Load<QVtxtBoxControl>(u"txtReloaded", bag)), Describe(fresh));
}

TEST_F(TxtBoxPersistenceTest, WritesEveryKeyInItsFixedOrder) {
    auto& b = form.Add<QVtxtBoxControl>(u"txt");
    MemoryPropertyBag bag;
    form.Save(b, bag);
    // clang-format off
    const std::vector<String> expected = {
        u"AllUcase", u"Appearance", u"BackColor", u"BorderStyle", u"DisabledColor", u"Enabled",
        u"ErrorColor", u"FirstCharacterCapital", u"ForbiddenCharacters", u"FocusColor", u"Font",
        u"ForeColor", u"Locked", u"MaxLength", u"MouseIcon", u"MousePointer", u"MultiLine",
        u"MustHaveValue", u"NullToEmptyString", u"PasswordChar", u"ScrollBars",
        u"SelectedOnGotFocus", u"Text", u"Trim", u"UseWarningColor", u"WarningColor"};
    // clang-format on
    EXPECT_EQ(bag.WriteLog(), expected);
    EXPECT_TRUE(bag.Has(u"Font"));  // written on every save
}

TEST_F(TxtBoxPersistenceTest, UnreadableKeyGivesItsDefaultAndTheRestStillLoads) {
    MemoryPropertyBag bag = ConfiguredStore();
    for (const auto& [key, defaultValue] : Defaults()) {
        SCOPED_TRACE(key);
        const String name = qv::FromUtf8(key);
        bag.FailReading(name);
        QVtxtBoxControl* loaded = nullptr;
        EXPECT_EQ(ErrorOf([&] { loaded = &form.Load<QVtxtBoxControl>(u"txtLoaded", bag); }), 0);
        bag.StopFailing(name);
        if (!loaded) continue;
        Description expected = configured;
        expected[key] = defaultValue;
        EXPECT_EQ(Describe(*loaded), expected);
        ExpectFieldsAgree(*loaded);
        form.Remove(*loaded);
    }
}

struct DamagedCase {
    const char16_t* key;
    Variant stored;
    const char* expected;  // nullptr: the key's default
};

TEST_F(TxtBoxPersistenceTest, DamagedValuesGiveTheKeysDefaultWithoutStoppingTheLoad) {
    auto font = std::make_shared<qv::Font>();
    font->Name(u"Stored Face");
    const DamagedCase cases[] = {
        {u"AllUcase", Variant(u"perhaps"), nullptr},
        {u"Appearance", Variant(u"sunken"), nullptr},
        {u"Appearance", Variant(int32_t{2}), nullptr},
        {u"Appearance", Variant(int32_t{0}), "0"},
        {u"BackColor", Variant(u"red"), nullptr},
        {u"BackColor", Variant(int32_t{0x3000000}), nullptr},
        {u"BorderStyle", Variant(u"single"), nullptr},
        {u"DisabledColor", Variant(font), nullptr},
        {u"Enabled", Variant::Null(), nullptr},
        {u"ErrorColor", Variant::Null(), nullptr},
        {u"ForbiddenCharacters", Variant::Null(), nullptr},
        {u"Font", Variant(u"Arial"), nullptr},
        {u"Font", Variant(Icon()), nullptr},
        {u"ForeColor", Variant(int32_t{0x3000000}), nullptr},
        {u"MaxLength", Variant(int32_t{-5}), nullptr},
        {u"MaxLength", Variant(u"lots"), nullptr},
        {u"MouseIcon", Variant(u"icon.ico"), nullptr},
        {u"MousePointer", Variant(int32_t{50}), nullptr},
        {u"MustHaveValue", Variant(font), nullptr},
        {u"PasswordChar", Variant::Null(), nullptr},
        {u"ScrollBars", Variant(u"both"), nullptr},
        {u"Text", Variant(font), nullptr},
        {u"Trim", Variant(u"x"), nullptr},
        {u"WarningColor", Variant(u"yellow"), nullptr},
    };
    MemoryPropertyBag all;
    for (const DamagedCase& c : cases) {
        const std::string key = qv::ToUtf8(c.key);
        SCOPED_TRACE(key + " = " + qv::ToUtf8(qv::TypeName(c.stored)));
        MemoryPropertyBag bag;
        bag.Set(c.key, c.stored);
        if (!c.expected) all.Set(c.key, c.stored);
        QVtxtBoxControl* loaded = nullptr;
        EXPECT_EQ(ErrorOf([&] { loaded = &form.Load<QVtxtBoxControl>(u"txtLoaded", bag); }), 0);
        if (!loaded) continue;
        Description expected = Defaults();
        if (c.expected) expected[key] = c.expected;
        EXPECT_EQ(Describe(*loaded), expected);
        ExpectFieldsAgree(*loaded);
        form.Remove(*loaded);
    }
    // All of them in one store.
    QVtxtBoxControl* loaded = nullptr;
    EXPECT_EQ(ErrorOf([&] { loaded = &form.Load<QVtxtBoxControl>(u"txtAll", all); }), 0);
    if (loaded) {
        EXPECT_EQ(Describe(*loaded), Defaults());
    }
}

// The null state itself is not saved; only a store that holds a null restores it.
TEST_F(TxtBoxPersistenceTest, NullIsSavedAsEmptyTextAndOnlyAStoredNullLoadsAsNull) {
    auto& b = form.Add<QVtxtBoxControl>(u"txt");
    b.NullToEmptyString(false);
    b.Text(Variant::Null());
    MemoryPropertyBag bag(false);
    form.Save(b, bag);
    EXPECT_EQ(Show(bag.Get(u"Text")), u"");
    auto& loaded = form.Load<QVtxtBoxControl>(u"txtLoaded", bag);
    EXPECT_FALSE(loaded.IsNull());
    EXPECT_EQ(Show(loaded.Text()), u"");

    bag.Set(u"Text", Variant::Null());
    auto& nullLoaded = form.Load<QVtxtBoxControl>(u"txtNull", bag);
    EXPECT_TRUE(nullLoaded.IsNull());
    EXPECT_TRUE(nullLoaded.Text().IsNull());
}

// MaxLength is a 16-bit property over 32-bit fields: a stored length beyond the 16-bit range must
// not leave the fields enforcing one limit while the property reads another (or a negative one).
TEST_F(TxtBoxPersistenceTest, StoredMaxLengthBeyond16BitsGivesNoLimit) {
    MemoryPropertyBag bag;
    bag.Set(u"MaxLength", Variant(int32_t{40000}));
    auto& b = form.Load<QVtxtBoxControl>(u"txt", bag);
    EXPECT_EQ(b.MaxLength(), 0);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).MaxLength(), b.MaxLength()) << i;
}

TEST_F(TxtBoxPersistenceTest, LoadedFontBecomesTheControlsFontAndStillDrivesTheFields) {
    MemoryPropertyBag bag = ConfiguredStore();
    auto& b = form.Load<QVtxtBoxControl>(u"txt", bag);
    EXPECT_EQ(b.FontName(), u"Courier");
    EXPECT_EQ(b.FontSize(), 14.0f);
    b.FontName(u"Changed After Loading");
    for (int16_t i = 0; i < 3; ++i)
        EXPECT_EQ(b.Field(i).GetFont().Name(), u"Changed After Loading");

    MemoryPropertyBag bad;
    bad.Set(u"Font", Variant(u"Courier"));
    auto& kept = form.Load<QVtxtBoxControl>(u"txtKept", bad);
    EXPECT_EQ(kept.FontName(), qv::Font::kDefaultName);
    kept.FontSize(20);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(kept.Field(i).GetFont().Size(), 20.0f);
}

TEST_F(TxtBoxPersistenceTest, MouseIconReachesEveryFieldThroughItsPropertyWrite) {
    MemoryPropertyBag bag;
    bag.Set(u"MouseIcon", Variant(Icon()));
    form.ClearPropertyChanges();
    auto& b = form.Load<QVtxtBoxControl>(u"txt", bag);
    for (int16_t i = 0; i < 3; ++i) {
        ASSERT_NE(b.Field(i).MouseIcon(), nullptr);
        EXPECT_EQ(*b.Field(i).MouseIcon(), *Icon());
    }
    bool noticed = false;
    for (const auto& c : form.PropertyChanges()) noticed |= c.property == u"MouseIcon";
    EXPECT_TRUE(noticed);
}

TEST_F(TxtBoxPersistenceTest, LoadingEndsWithFieldSelectionAndColours) {
    MemoryPropertyBag bag;
    bag.Set(u"MultiLine", Variant(true));
    bag.Set(u"ScrollBars", Variant(int32_t{2}));
    bag.Set(u"Locked", Variant(true));
    bag.Set(u"DisabledColor", Variant(int32_t{0x00ABCDEF}));
    auto& b = form.Load<QVtxtBoxControl>(u"txt", bag);
    EXPECT_EQ(b.ActiveFieldIndex(), 2);
    EXPECT_TRUE(b.Field(2).Visible());
    EXPECT_FALSE(b.Field(0).Visible());
    EXPECT_EQ(form.SiteOf(b).BackColor(), 0x00ABCDEFu);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).BackColor(), 0x00ABCDEFu);
}

}  // namespace
}  // namespace txtbox_test
