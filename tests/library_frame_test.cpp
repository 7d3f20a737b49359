// The library frame: class registry and entry points, event raising, ambient font adoption, the
// measuring form.
#include <gtest/gtest.h>
#include "test_support.h"

#include <span>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/AmbientFont.h"
#include "library/ClassRegistry.h"
#include "library/RuntimeError.h"
#include "library/TextHeightTestForm.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

using qv::headless::Container;

using qv_test::ErrorOf;

TEST(ClassRegistry, KnowsTheFourClassesWithTheirInterfacesAndCreatesTheAvailableOnes) {
    const char16_t* names[] = {u"QVtxtBoxControl", u"QVnumBoxControl", u"QVDateBoxControl",
                               u"QVcomboBoxControl"};
    ASSERT_EQ(qv::AllClasses().size(), 4u);
    for (const char16_t* name : names) {
        const qv::ClassInfo* c = qv::FindClass(name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(std::u16string(c->defaultInterface), u"_" + std::u16string(name));
        EXPECT_EQ(std::u16string(c->eventInterface), u"__" + std::u16string(name));
    }
    EXPECT_EQ(qv::FindClass(u"qvtxtboxcontrol"), qv::FindClass(u"QVtxtBoxControl"));
    EXPECT_EQ(qv::FindClass(u"Nothing"), nullptr);
    // The factory creates the available classes and refuses the others clearly.
    Container form;
    EXPECT_EQ(form.Add(u"QVtxtBoxControl", u"txt").Class().name,
              std::u16string(u"QVtxtBoxControl"));
    EXPECT_EQ(form.Add(u"qvnumboxcontrol", u"num").Class().name,
              std::u16string(u"QVnumBoxControl"));
    EXPECT_EQ(form.Add(u"QVDateBoxControl", u"dt").Class().name,
              std::u16string(u"QVDateBoxControl"));
    EXPECT_EQ(form.Add(u"QVCOMBOBOXCONTROL", u"cbo").Class().name,
              std::u16string(u"QVcomboBoxControl"));
    EXPECT_EQ(ErrorOf([&] { form.Add(u"Foo", u"x"); }), qv::err::CannotCreateObject);
    EXPECT_EQ(form.Controls().size(), 4u);
}

TEST(ClassRegistry, RegistrationAndUnloadingFollowTheInstances) {
    qv::RegisterServer();
    EXPECT_TRUE(qv::IsRegistered(u"QVcomboBoxControl"));
    qv::UnregisterServer();
    EXPECT_FALSE(qv::IsRegistered(u"QVtxtBoxControl"));

    EXPECT_TRUE(qv::CanUnloadNow());
    {
        Container form;
        form.Add<qv::QVtxtBoxControl>(u"txt");
        EXPECT_FALSE(qv::CanUnloadNow());
    }
    EXPECT_TRUE(qv::CanUnloadNow());
}

TEST(ClassRegistry, EachClassHasItsOwnSixteenColourToolboxBitmap) {
    std::vector<std::vector<uint8_t>> seen;
    for (const qv::ClassInfo& c : qv::AllClasses()) {
        auto bmp = qv::ToolboxBitmap(c);
        ASSERT_EQ(bmp->Width(), 16);
        ASSERT_EQ(bmp->Height(), 15);
        const auto& d = bmp->Data();
        ASSERT_EQ(d.size(), 14u + 40 + 64 + 15 * 8);  // headers, 16-entry palette, 4-bit rows
        EXPECT_EQ(d[0], 'B');
        EXPECT_EQ(d[28], 4);  // bits per pixel
        for (const auto& other : seen) EXPECT_NE(other, d);
        seen.push_back(d);
    }
}

// A handler that clears or replaces its own slot while it runs (a one-shot handler) must finish
// on intact captures. The captured tag is too large to be stored inside std::function, so a slot
// destroyed under its running handler would be read after it was freed.
template <class Box>
void HandlersMayClearOrReplaceTheirOwnSlot() {
    const std::string tag(40, 't');
    // clang-format off
    using Arm = void (*)(Box& box, std::string& seen, const std::string& tag);
    struct Case { const char* name; Arm arm; const char* keys; std::string expected; const char* text; };
    const Case cases[] = {
        {"one-shot Change", [](auto& box, auto& seen, auto& tag) {
             box.events.Change = [&box, &seen, tag] { box.events.Change = nullptr; seen += tag; }; },
         "123", tag, "123"},
        {"Change that replaces itself", [](auto& box, auto& seen, auto& tag) {
             box.events.Change = [&box, &seen, tag] { box.events.Change = [&seen] { seen += "+"; }; seen += tag; }; },
         "123", tag + "++", "123"},
        {"one-shot KeyPress that still changes the key", [](auto& box, auto& seen, auto& tag) {
             box.events.KeyPress = [&box, &seen, tag](int16_t& KeyAscii) {
                 box.events.KeyPress = nullptr; seen += tag; KeyAscii = tag.size() == 40 ? '4' : '0'; }; },
         "1", tag, "4"},
        {"one-shot event listener", [](auto& box, auto& seen, auto& tag) {
             box.SetEventListener([&box, &seen, tag](qv::StringView, std::span<const qv::Variant>) {
                 box.SetEventListener(nullptr); seen += tag; }); },
         "12", tag, "12"}};
    // clang-format on
    for (const Case& c : cases) {
        Container form;
        Box& box = form.Add<Box>(u"box");
        SCOPED_TRACE(std::string(c.name) + " on " + qv::ToUtf8(box.Class().name));
        std::string seen;
        c.arm(box, seen, tag);
        form.Focus(box);
        form.Type(qv::FromUtf8(c.keys));
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(qv::ToUtf8(box.Text().ToString()), c.text);  // and every key went in
    }
}

TEST(ControlEvents, HandlersMayClearOrReplaceTheirOwnSlotWhileTheyRun) {
    HandlersMayClearOrReplaceTheirOwnSlot<qv::QVtxtBoxControl>();
    HandlersMayClearOrReplaceTheirOwnSlot<qv::QVnumBoxControl>();
}

TEST(CopyAmbientFont, CopiesInOrderAndSkipsAnAttributeThatFails) {
    Container form;
    form.AmbientFont().Name(u"Courier"), form.AmbientFont().Size(14),
        form.AmbientFont().Italic(true);
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");

    qv::Font target;
    std::vector<std::u16string> order;
    target.OnChanged([&](const qv::String& name) {
        order.push_back(name);
        if (name == u"Name") qv::Raise(qv::err::InvalidPropertyValue);  // the owner refuses
    });
    qv::CopyAmbientFont(form.SiteOf(box), target);
    EXPECT_EQ(order, (std::vector<std::u16string>{u"Bold", u"Charset", u"Italic", u"Name", u"Size",
                                                  u"Strikethrough", u"Underline", u"Weight"}));
    EXPECT_EQ(target.Size(), 14.0f);  // copied after the failing attribute
    EXPECT_TRUE(target.Italic());

    form.FailAmbientFontRead(true);
    qv::Font untouched;
    qv::CopyAmbientFont(form.SiteOf(box), untouched);
    EXPECT_TRUE(untouched.SameAttributes(qv::Font()));
}

TEST(TextHeightTestForm, IsLoadedForOneOperationAndSharedByNestedLoans) {
    Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    box.FontSize(30);  // the layout measures on the form
    EXPECT_FALSE(qv::TextHeightTestForm::IsLoaded());
    EXPECT_TRUE(form.LoadedForms().empty());
    {
        auto outer = qv::TextHeightTestForm::Load(form.SiteOf(box));
        auto inner = qv::TextHeightTestForm::Load(form.SiteOf(box));
        EXPECT_EQ(&*outer, &*inner);
        EXPECT_EQ(form.LoadedForms(), std::vector<qv::String>{u"TextHeightTestForm"});
        // The drop-down list keeps the height its font sets: 315 twips at 9 pt, 525 at 18 pt.
        qv::ListWidget& list = outer->ccFontTestCombo;
        list.Height(1000);
        EXPECT_EQ(list.Height(), 315);
        qv::Font big;
        big.Size(18);
        list.SetFont(big);
        EXPECT_EQ(list.Height(), 525);
    }
    EXPECT_FALSE(qv::TextHeightTestForm::IsLoaded());
    EXPECT_TRUE(form.LoadedForms().empty());
}

}  // namespace
