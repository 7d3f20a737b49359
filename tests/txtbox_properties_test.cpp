// The text box's properties: defaults, writes and their checks, notices, the font object and late
// binding.
#include <functional>
#include <map>

#include "library/ClassRegistry.h"
#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::Flat3d;
using qv::MousePointerEnum;
using qv::NoneFixedSingle;
using qv::QVtxtBoxControl;
using qv::ScrollBarsEnum;

using TxtBoxPropertiesTest = TxtBoxTest;

TEST_F(TxtBoxPropertiesTest, NewControlStartsWithTheDocumentedDefaults) {
    EXPECT_TRUE(box.MustHaveValue());
    EXPECT_TRUE(box.Trim());
    EXPECT_TRUE(box.FirstCharacterCapital());
    EXPECT_TRUE(box.NullToEmptyString());
    EXPECT_FALSE(box.AllUcase());
    EXPECT_FALSE(box.SelectedOnGotFocus());
    EXPECT_FALSE(box.UseWarningColor());
    EXPECT_FALSE(box.MultiLine());
    EXPECT_EQ(box.Appearance(), Flat3d::qv3D);
    EXPECT_EQ(box.BorderStyle(), NoneFixedSingle::FixedSingle);
    EXPECT_EQ(box.ScrollBars(), ScrollBarsEnum::None);
    EXPECT_EQ(box.BackColor(), 0x80000005u);
    EXPECT_EQ(box.DisabledColor(), 0xC0C0C0u);
    EXPECT_EQ(box.ErrorColor(), 0xC0C0FFu);
    EXPECT_EQ(box.FocusColor(), 0xC0FFC0u);
    EXPECT_EQ(box.WarningColor(), 0xC0FFFFu);
    EXPECT_EQ(box.ForbiddenCharacters(), u"");
    // Kept by the fields: the widget defaults.
    EXPECT_TRUE(box.Enabled());
    EXPECT_FALSE(box.Locked());
    EXPECT_EQ(box.ForeColor(), 0x80000008u);
    EXPECT_EQ(box.MaxLength(), 0);
    EXPECT_EQ(box.MouseIcon(), nullptr);
    EXPECT_EQ(box.MousePointer(), MousePointerEnum::Default);
    EXPECT_EQ(box.PasswordChar(), u"");
    EXPECT_EQ(box.Alignment(), 0);
    EXPECT_TRUE(box.HideSelection());
    EXPECT_EQ(Show(box.Text()), u"");
    EXPECT_FALSE(box.IsNull());
    EXPECT_EQ(box.ActiveFieldIndex(), 0);
}

TEST(TxtBoxFontAdoption, NewControlTakesTheContainersFont) {
    qv::headless::Container form;
    form.AmbientFont().Name(u"Serif Display");
    form.AmbientFont().Size(12);
    form.AmbientFont().Italic(true);
    form.AmbientFont().Weight(800);
    auto& box = form.Add<QVtxtBoxControl>(u"txt");
    EXPECT_EQ(box.FontName(), u"Serif Display");
    EXPECT_EQ(box.FontSize(), 12.0f);
    EXPECT_TRUE(box.FontItalic());
    EXPECT_EQ(box.Font()->Weight(), 800);
    for (int16_t i = 0; i < 3; ++i) EXPECT_TRUE(box.Field(i).GetFont().SameAttributes(*box.Font()));
}

// Every write ends with one notice under the property's own name; only the writes that judge the
// value again raise ValidationCheck.
struct WriteCase {
    const char16_t* notice;
    std::function<void(QVtxtBoxControl&)> write;
    bool recolours;
};

TEST_F(TxtBoxPropertiesTest, EveryWriteSendsOneNoticeAndRecoloursOnlyWhereItShould) {
    auto icon = std::make_shared<qv::Picture>(qv::Picture::Format::Icon, 32, 32,
                                              std::vector<uint8_t>{1, 2, 3});
    const WriteCase cases[] = {
        {u"AllUcase", [](auto& b) { b.AllUcase(true); }, false},
        {u"Appearance", [](auto& b) { b.Appearance(Flat3d::qvFlat); }, false},
        {u"BackColor", [](auto& b) { b.BackColor(0x112233); }, true},
        {u"BorderStyle", [](auto& b) { b.BorderStyle(NoneFixedSingle::None); }, false},
        {u"DisabledColor", [](auto& b) { b.DisabledColor(0x112233); }, true},
        {u"Enabled", [](auto& b) { b.Enabled(false); }, true},
        {u"ErrorColor", [](auto& b) { b.ErrorColor(0x112233); }, true},
        {u"FirstCharacterCapital", [](auto& b) { b.FirstCharacterCapital(false); }, false},
        {u"FocusColor", [](auto& b) { b.FocusColor(0x112233); }, true},
        {u"ForbiddenCharacters", [](auto& b) { b.ForbiddenCharacters(u"#"); }, false},
        {u"ForeColor", [](auto& b) { b.ForeColor(0x112233); }, false},
        {u"Font", [](auto& b) { b.Font(qv::Font()); }, false},
        {u"FontBold", [](auto& b) { b.FontBold(true); }, false},
        {u"FontItalic", [](auto& b) { b.FontItalic(true); }, false},
        {u"FontName", [](auto& b) { b.FontName(u"Mono"); }, false},
        {u"FontSize", [](auto& b) { b.FontSize(10); }, false},
        {u"FontStrikethru", [](auto& b) { b.FontStrikethru(true); }, false},
        {u"FontUnderline", [](auto& b) { b.FontUnderline(true); }, false},
        {u"Locked", [](auto& b) { b.Locked(true); }, true},
        {u"MaxLength", [](auto& b) { b.MaxLength(5); }, false},
        {u"MouseIcon", [&](auto& b) { b.MouseIcon(icon); }, false},
        {u"MousePointer", [](auto& b) { b.MousePointer(MousePointerEnum::Cross); }, false},
        {u"MultiLine", [](auto& b) { b.MultiLine(true); }, false},
        {u"MustHaveValue", [](auto& b) { b.MustHaveValue(false); }, true},
        {u"NullToEmptyString", [](auto& b) { b.NullToEmptyString(false); }, false},
        {u"PasswordChar", [](auto& b) { b.PasswordChar(u"*"); }, false},
        {u"ScrollBars", [](auto& b) { b.ScrollBars(ScrollBarsEnum::Vertical); }, false},
        {u"SelectedOnGotFocus", [](auto& b) { b.SelectedOnGotFocus(true); }, false},
        {u"SelLength", [](auto& b) { b.SelLength(0); }, false},
        {u"SelStart", [](auto& b) { b.SelStart(0); }, false},
        {u"Trim", [](auto& b) { b.Trim(false); }, false},
        {u"UseWarningColor", [](auto& b) { b.UseWarningColor(true); }, true},
        {u"WarningColor", [](auto& b) { b.WarningColor(0x112233); }, true},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.notice));
        qv::headless::Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        EventLog events;
        events.Attach(b);
        f.ClearPropertyChanges();
        c.write(b);
        ASSERT_EQ(f.PropertyChanges().size(), 1u);
        EXPECT_EQ(f.PropertyChanges()[0].property, c.notice);
        EXPECT_EQ(f.PropertyChanges()[0].control, u"txt");
        EXPECT_EQ(events.Count(u"ValidationCheck"), c.recolours ? 1 : 0);
    }
}

struct ColourProperty {
    const char16_t* name;
    void (QVtxtBoxControl::*write)(Color);
    Color (QVtxtBoxControl::*read)() const;
};

TEST_F(TxtBoxPropertiesTest, ColourWritesPassTheColourTestOrFailWith380AndChangeNothing) {
    const ColourProperty props[] = {
        {u"BackColor", &QVtxtBoxControl::BackColor, &QVtxtBoxControl::BackColor},
        {u"DisabledColor", &QVtxtBoxControl::DisabledColor, &QVtxtBoxControl::DisabledColor},
        {u"ErrorColor", &QVtxtBoxControl::ErrorColor, &QVtxtBoxControl::ErrorColor},
        {u"FocusColor", &QVtxtBoxControl::FocusColor, &QVtxtBoxControl::FocusColor},
        {u"WarningColor", &QVtxtBoxControl::WarningColor, &QVtxtBoxControl::WarningColor},
        {u"ForeColor", &QVtxtBoxControl::ForeColor, &QVtxtBoxControl::ForeColor},
    };
    const Color accepted[] = {0, 0x2FFFFFF, 0x80000005, 0x80000000, 0xFFFFFFFF};
    const Color rejected[] = {0x3000000, 0x7FFFFFFF};
    log.Attach(box);
    for (const ColourProperty& p : props) {
        SCOPED_TRACE(qv::ToUtf8(p.name));
        for (Color c : accepted) {
            (box.*p.write)(c);
            EXPECT_EQ((box.*p.read)(), c);
        }
        (box.*p.write)(0x123456);
        form.ClearPropertyChanges();
        log.Clear();
        for (Color c : rejected) {
            EXPECT_EQ(ErrorOf([&] { (box.*p.write)(c); }), 380) << std::hex << c;
            EXPECT_EQ((box.*p.read)(), 0x123456u);
        }
        EXPECT_TRUE(form.PropertyChanges().empty());
        EXPECT_TRUE(log.names.empty());
    }
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).ForeColor(), 0x123456u);
}

TEST_F(TxtBoxPropertiesTest, AppearanceAndBorderStyleAcceptOnlyZeroOrOne) {
    for (int32_t bad : {2, -1, 99}) {
        SCOPED_TRACE(bad);
        form.ClearPropertyChanges();
        EXPECT_EQ(ErrorOf([&] { box.Appearance(static_cast<Flat3d>(bad)); }), 380);
        EXPECT_EQ(ErrorOf([&] { box.BorderStyle(static_cast<NoneFixedSingle>(bad)); }), 380);
        EXPECT_EQ(box.Appearance(), Flat3d::qv3D);
        EXPECT_EQ(box.BorderStyle(), NoneFixedSingle::FixedSingle);
        EXPECT_TRUE(box.Border(0).Visible());
        EXPECT_TRUE(form.PropertyChanges().empty());
    }
}

TEST_F(TxtBoxPropertiesTest, ValuesTheFieldsRefuseFailAndChangeNothing) {
    box.MaxLength(7);
    box.MousePointer(MousePointerEnum::IBeam);
    form.ClearPropertyChanges();
    EXPECT_EQ(ErrorOf([&] { box.MaxLength(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.MousePointer(static_cast<MousePointerEnum>(50)); }), 380);
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(box.Field(i).MaxLength(), 7);
        EXPECT_EQ(box.Field(i).MousePointer(), 3);
    }
    EXPECT_TRUE(form.PropertyChanges().empty());
}

TEST_F(TxtBoxPropertiesTest, FieldPropertiesReachAllThreeFieldsAndPasswordCharKeepsOneCharacter) {
    auto icon = std::make_shared<qv::Picture>(qv::Picture::Format::Cursor, 16, 16,
                                              std::vector<uint8_t>{9, 8, 7});
    box.Enabled(false);
    box.Locked(true);
    box.ForeColor(0x0000FF);
    box.MaxLength(10);
    box.MousePointer(MousePointerEnum::Custom);
    box.MouseIcon(icon);
    box.PasswordChar(u"*x");  // only the first character counts
    for (int16_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const qv::TextField& f = box.Field(i);
        EXPECT_FALSE(f.Enabled());
        EXPECT_TRUE(f.Locked());
        EXPECT_EQ(f.ForeColor(), 0x0000FFu);
        EXPECT_EQ(f.MaxLength(), 10);
        EXPECT_EQ(f.MousePointer(), 99);
        EXPECT_EQ(f.MouseIcon(), icon);
        EXPECT_EQ(f.PasswordChar(), u"*");
    }
    EXPECT_EQ(box.PasswordChar(), u"*");
    box.PasswordChar(u"");
    EXPECT_EQ(box.Field(1).PasswordChar(), u"");
}

TEST_F(TxtBoxPropertiesTest, FontWriteCopiesTheAttributesIntoTheControlsOwnFont) {
    const std::shared_ptr<qv::Font> own = box.Font();
    qv::Font other;
    other.Name(u"Courier");
    other.Size(14);
    other.Bold(true);
    other.Italic(true);
    other.Underline(true);
    other.Strikethrough(true);
    other.Charset(2);
    form.ClearPropertyChanges();
    box.Font(other);
    EXPECT_EQ(box.Font(), own);  // the same object, now carrying the other's attributes
    EXPECT_TRUE(own->SameAttributes(other));
    EXPECT_EQ(Notices(), std::vector<String>{u"Font"});
    for (int16_t i = 0; i < 3; ++i) EXPECT_TRUE(box.Field(i).GetFont().SameAttributes(other));
    other.Name(u"Changed Later");  // the given object is not kept
    EXPECT_EQ(box.FontName(), u"Courier");
    box.Font(*box.Font());  // writing the control's own font is harmless
    EXPECT_EQ(box.FontName(), u"Courier");
}

TEST_F(TxtBoxPropertiesTest, FontAttributeWritesChangeTheFontAndTheFields) {
    box.FontName(u"Mono");
    box.FontSize(11);
    box.FontBold(true);
    box.FontItalic(true);
    box.FontStrikethru(true);
    box.FontUnderline(true);
    EXPECT_EQ(box.FontName(), u"Mono");
    EXPECT_EQ(box.FontSize(), 11.0f);
    EXPECT_TRUE(box.FontBold() && box.FontItalic() && box.FontStrikethru() && box.FontUnderline());
    for (int16_t i = 0; i < 3; ++i) EXPECT_TRUE(box.Field(i).GetFont().SameAttributes(*box.Font()));
    // Attribute writes on the object the control hands out count as well.
    box.Font()->Name(u"Through The Object");
    EXPECT_EQ(box.Field(2).GetFont().Name(), u"Through The Object");
}

TEST_F(TxtBoxPropertiesTest, TextWriteOfAnObjectFailsWith380AndChangesNothing) {
    box.Text(u"keep");
    log.Attach(box);
    form.ClearPropertyChanges();
    EXPECT_EQ(ErrorOf([&] { box.Text(Variant(std::make_shared<qv::Font>())); }), 380);
    EXPECT_EQ(Texts(), All(u"Keep"));
    EXPECT_TRUE(form.PropertyChanges().empty());
    EXPECT_TRUE(log.names.empty());
}

// --- Late binding ---------------------------------------------------------------------------

TEST_F(TxtBoxPropertiesTest, LateBoundReadsAndWritesGoByNameIgnoringCase) {
    box.LetProperty(u"backcolor", Variant(int32_t{0x00FF00}));
    EXPECT_EQ(box.BackColor(), 0x00FF00u);
    box.LetProperty(u"WarningColor", Variant(2147483653.0));  // 0x80000005 as a positive number
    EXPECT_EQ(box.WarningColor(), 0x80000005u);
    EXPECT_EQ(box.GetProperty(u"WARNINGCOLOR").ToLong(), static_cast<int32_t>(0x80000005));
    box.LetProperty(u"MultiLine", Variant(u"True"));
    EXPECT_TRUE(box.MultiLine());
    box.LetProperty(u"Appearance", Variant(int16_t{0}));
    EXPECT_EQ(box.Appearance(), Flat3d::qvFlat);
    box.DefaultValue(Variant(u"  by default  "));
    EXPECT_EQ(Show(box.DefaultValue()), u"By default");
    EXPECT_EQ(box.GetProperty(u"TextFormatted").ToString(), u"By default");
    EXPECT_FALSE(box.CallMethod(u"checkvaluenow").IsEmpty());
}

TEST_F(TxtBoxPropertiesTest, LateBoundWritesOfUnsuitableValuesFailWith380AndChangeNothing) {
    struct Case {
        const char16_t* name;
        Variant value;
    };
    const Case cases[] = {
        {u"AllUcase", Variant(u"perhaps")}, {u"MaxLength", Variant(int32_t{40000})},
        {u"MaxLength", Variant(u"ten")},    {u"BackColor", Variant(u"red")},
        {u"Appearance", Variant(u"3D")},    {u"Appearance", Variant(int32_t{2})},
        {u"FontSize", Variant(u"big")},     {u"FontName", Variant::Null()},
        {u"Font", Variant(u"Arial")},       {u"MouseIcon", Variant(u"icon.ico")},
        {u"SelStart", Variant(u"start")},   {u"Text", Variant(std::make_shared<qv::Font>())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.name) + " = " + qv::ToUtf8(qv::TypeName(c.value)));
        const Variant before = box.GetProperty(c.name);
        form.ClearPropertyChanges();
        EXPECT_EQ(ErrorOf([&] { box.LetProperty(c.name, c.value); }), 380);
        EXPECT_TRUE(form.PropertyChanges().empty());
        if (!before.IsObject()) {
            EXPECT_EQ(box.GetProperty(c.name), before);
        }
    }
}

TEST_F(TxtBoxPropertiesTest, LateBindingRefusesReadOnlyAndUnknownMembers) {
    for (const char16_t* name : {u"Alignment", u"HideSelection", u"TextFormatted"}) {
        SCOPED_TRACE(qv::ToUtf8(name));
        EXPECT_EQ(ErrorOf([&] { box.LetProperty(name, Variant(int16_t{1})); }), 383);
        EXPECT_EQ(ErrorOf([&] { (void)box.GetProperty(name); }), 0);
    }
    EXPECT_EQ(ErrorOf([&] { box.LetProperty(u"NoSuchProperty", Variant()); }), 438);
    EXPECT_EQ(ErrorOf([&] { (void)box.CallMethod(u"Text"); }), 438);
}

TEST(TxtBoxMembers, RegistryPublishesTheStandardIdentifiersAndTheControlAgrees) {
    const qv::ClassInfo* info = qv::FindClass(u"qvtxtboxcontrol");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->Available());
    EXPECT_EQ(String(info->name), u"QVtxtBoxControl");
    EXPECT_EQ(String(info->defaultInterface), u"_QVtxtBoxControl");
    EXPECT_EQ(String(info->eventInterface), u"__QVtxtBoxControl");

    const std::map<String, int32_t> members = {
        {u"Text", 0},          {u"BackColor", -501}, {u"BorderStyle", -503},
        {u"Font", -512},       {u"ForeColor", -513}, {u"Enabled", -514},
        {u"Appearance", -520}, {u"Refresh", -550},   {u"ShowAboutBox", -552}};
    const std::map<String, int32_t> events = {
        {u"Change", 1},       {u"ValidationCheck", 2}, {u"Click", -600}, {u"DblClick", -601},
        {u"KeyDown", -602},   {u"KeyPress", -603},     {u"KeyUp", -604}, {u"MouseDown", -605},
        {u"MouseMove", -606}, {u"MouseUp", -607}};
    std::map<String, int32_t> published, publishedEvents;
    for (const qv::MemberId& m : info->members) published[m.name] = m.dispId;
    for (const qv::MemberId& m : info->events) publishedEvents[m.name] = m.dispId;
    EXPECT_EQ(published, members);
    EXPECT_EQ(publishedEvents, events);

    // The control's own member table uses the same identifiers, and nothing else claims them.
    const qv::MemberTable& table = QVtxtBoxControl::MemberTableOf();
    for (const auto& [name, id] : members) {
        SCOPED_TRACE(qv::ToUtf8(name));
        const qv::Member* m = table.Find(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->dispId, id);
        EXPECT_EQ(table.Find(id, m->kind), m);
    }
    for (const auto& [name, id] : events) {
        SCOPED_TRACE(qv::ToUtf8(name));
        const qv::Member* m = table.Find(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->kind, qv::MemberKind::Event);
        EXPECT_EQ(m->dispId, id);
    }
    // The default member is Text.
    EXPECT_EQ(String(table.Find(0, qv::MemberKind::Property)->name), u"Text");

    // Created through the factory, by class name.
    qv::headless::Container form;
    qv::Control& c = form.Add(u"QVtxtBoxControl", u"txtByName");
    EXPECT_NE(dynamic_cast<QVtxtBoxControl*>(&c), nullptr);
}

}  // namespace
}  // namespace txtbox_test
