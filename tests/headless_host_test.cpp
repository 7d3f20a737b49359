// The headless container (lifecycle, services, clock and timers, key injection, focus, keys and
// mouse) and its in-memory property bag.
#include <gtest/gtest.h>

#include "headless_test_support.h"
#include "library/Font.h"
#include "library/MemoryPropertyBag.h"
#include "txtbox/QVtxtBoxControl.h"

namespace headless_test {
namespace {

using qv::KeyStroke;
using qv::MemoryPropertyBag;
using qv::headless::Container;

// --- Lifecycle and services ---------------------------------------------------------------------

TEST(HeadlessLifecycle, PlaceLoadSaveAndRemoveRunTheirNoticesInOrder) {
    Form form;
    Probe& a = form.Add("A");
    EXPECT_EQ(form.Take(), "A.ctor A.Initialize A.InitProperties A.Resize(1500,300)");
    MemoryPropertyBag bag;
    bag.Set(u"Value", Variant(int16_t{7}));
    Probe& b = form.Add("B", {}, &bag);
    EXPECT_EQ(form.Take(), "B.ctor B.Initialize B.ReadProperties(7) B.Resize(1500,300)");
    form.Save(b, bag);
    EXPECT_EQ(form.Take(), "B.WriteProperties");
    form.Focus(a);
    form.Take();
    form.Remove(a);
    EXPECT_EQ(form.Take(), "A.t0.LostFocus A.ExitFocus A.Terminate");
    EXPECT_EQ(form.Controls(), std::vector<qv::Control*>{&b});
    EXPECT_EQ(form.FocusedControl(), nullptr);
    EXPECT_EQ(form.FindSite(u"A"), nullptr);
}

TEST(HeadlessLifecycle, FailedPlacingIsUndoneAndDestroyingTheFormTerminatesEveryControl) {
    std::string log;
    {
        Container c;
        const auto add = [&](const char* name, qv::PropertyBag* bag) {
            c.Emplace<Probe>(qv::FromUtf8(name), bag, log, name, Probe::Options{});
        };
        MemoryPropertyBag bag;
        bag.FailReading(u"Value", 13);
        EXPECT_EQ(ErrorOf([&] { add("A", &bag); }), 13);
        EXPECT_EQ(log, "A.ctor A.Initialize A.Terminate");  // ReadProperties raised
        EXPECT_TRUE(c.Controls().empty());
        EXPECT_EQ(ErrorOf([&] { c.Add(u"NoSuchControl", u"x"); }), qv::err::CannotCreateObject);
        EXPECT_EQ(c.FindSite(u"x"), nullptr);
        add("A", nullptr);  // the name is free again, but only once
        add("B", nullptr);
        EXPECT_THROW(add("A", nullptr), std::invalid_argument);
        c.Focus(*c.Controls()[0]);
        log.clear();
    }
    EXPECT_EQ(log, "A.Terminate B.Terminate");
}

TEST(HeadlessLifecycle, NamesStayUniqueWithoutRegardToCaseAcrossManyAddsAndRemovals) {
    Container form;
    const auto name = [](int i) { return u"Box" + qv::FromUtf8(std::to_string(i)); };
    const int n = 3000;
    for (int i = 0; i < n; ++i) form.Add<qv::QVtxtBoxControl>(name(i));
    for (int i = 0; i < n; i += 2) form.Remove(*form.FindSite(name(i))->GetControl());
    ASSERT_EQ(form.Controls().size(), static_cast<size_t>(n / 2));
    size_t readded = 0;
    for (int i = 0; i < n; i += 97) {
        SCOPED_TRACE(i);
        const String upper = qv::UpperCase(name(i));
        if (i % 2 == 0) {  // removed: the name is free again, in any case, but only once
            EXPECT_EQ(form.FindSite(name(i)), nullptr);
            auto& again = form.Add<qv::QVtxtBoxControl>(upper);
            ++readded;
            EXPECT_EQ(&form.SiteOf(again), form.FindSite(name(i)));
            EXPECT_THROW(form.Add<qv::QVtxtBoxControl>(name(i)), std::invalid_argument);
        } else {  // still there: found and refused whatever the case
            ASSERT_NE(form.FindSite(upper), nullptr);
            EXPECT_EQ(form.FindSite(upper)->Name(), name(i));
            EXPECT_EQ(&form.SiteOf(*form.FindSite(upper)->GetControl()), form.FindSite(name(i)));
            EXPECT_THROW(form.Add(u"QVtxtBoxControl", upper), std::invalid_argument);
        }
    }
    EXPECT_EQ(form.Controls().size(), n / 2 + readded);
    EXPECT_EQ(form.Controls().front(), form.FindSite(name(1))->GetControl());  // tab order kept
}

TEST(HeadlessLifecycle, SizeRequestsAnswerWithResizeAtOnceOnlyWhenTheSizeChanges) {
    Form form;
    Probe& a = form.Add("A");
    auto& site = form.SiteOf(a);
    a.onNote = [&](const std::string& e) {  // the control insists on 500 twips of height
        if (e.starts_with("A.Resize") && site.ScaleHeight() < 500) site.Size(site.Width(), 500);
    };
    form.Take();
    site.Resize(2000, 100);
    EXPECT_EQ(form.Take(), "A.Resize(2000,100) A.Resize(2000,500)");
    site.Size(2000, 500);
    EXPECT_EQ(form.Take(), "");
    EXPECT_EQ(site.SizeRequests(), 2);
    EXPECT_EQ(ErrorOf([&] { site.Size(-1, 10); }), 380);
    EXPECT_EQ(site.Width(), 2000);
}

TEST(HeadlessServices, AmbientsExtenderPropertyChangesAndHiddenForms) {
    Form form;
    auto& site = form.SiteOf(form.Add("A"));
    qv::Host& host = site;
    form.AmbientFont().Size(12);
    EXPECT_EQ(host.AmbientFont().Size(), 12.0f);
    EXPECT_TRUE(host.AmbientUserMode());
    form.UserMode(false);
    EXPECT_FALSE(host.AmbientUserMode());
    form.FailAmbientFontRead(true);
    form.FailUserModeRead(true);
    EXPECT_EQ(ErrorOf([&] { host.AmbientFont(); }), qv::err::NoSuchMember);
    EXPECT_EQ(ErrorOf([&] { host.AmbientUserMode(); }), qv::err::NoSuchMember);

    EXPECT_EQ(ErrorOf([&] { host.Extender(u"ToolTipText"); }), qv::err::NoSuchMember);
    site.SetExtender(u"ToolTipText", Variant(u"hint"));
    EXPECT_EQ(host.Extender(u"tooltiptext"), Variant(u"hint"));
    site.RemoveExtender(u"TOOLTIPTEXT");
    EXPECT_EQ(ErrorOf([&] { host.Extender(u"ToolTipText"); }), qv::err::NoSuchMember);

    host.PropertyChanged(u"Text");
    ASSERT_EQ(form.PropertyChanges().size(), 1u);
    EXPECT_EQ(form.PropertyChanges()[0].control + u"." + form.PropertyChanges()[0].property,
              u"A.Text");
    {
        auto hidden = host.LoadForm(u"TextHeightTestForm");
        EXPECT_EQ(form.LoadedForms(), std::vector<String>{u"TextHeightTestForm"});
        qv::TextField& f = hidden->CreateTextField(u"t", -1, {.border = true});
        f.Height(0);
        EXPECT_EQ(f.Height(), 285);  // the minimum height
        EXPECT_EQ(ErrorOf([&] { f.SetFocus(); }), qv::err::InvalidProcedureCall);
    }
    EXPECT_TRUE(form.LoadedForms().empty());

    host.MousePointer(99);
    EXPECT_EQ(ErrorOf([&] { host.MousePointer(16); }), qv::err::InvalidPropertyValue);
    EXPECT_EQ(host.MousePointer(), 99);
}

// --- Clock and timers ---------------------------------------------------------------------------

TEST(HeadlessClock, TimersFireInDeadlineOrderWithTheClockAtTheirDeadlineAndRestartWhenChanged) {
    // clang-format off
    struct Case { const char* name; void (*script)(Probe& a, Probe& b, Container& c); const char* expected; };
    const Case cases[] = {
        {"deadline order", [](auto& a, auto& b, auto& c) { a.timer->Interval(300); b.timer->Interval(500); c.AdvanceTime(1); }, "A.Timer(300) B.Timer(500) A.Timer(600) A.Timer(900) B.Timer(1000)"},
        {"the same deadline: creation order", [](auto& a, auto& b, auto& c) { c.AdvanceTime(1); b.timer->Interval(500); a.timer->Interval(500); c.AdvanceTime(0.5); }, "A.Timer(1500) B.Timer(1500)"},
        {"interval 0", [](auto& a, auto&, auto& c) { a.timer->Interval(0); c.AdvanceTime(5); }, ""},
        {"disabled", [](auto& a, auto&, auto& c) { a.timer->Interval(100); a.timer->Enabled(false); c.AdvanceTime(1); }, ""},
        {"writing the same interval restarts", [](auto& a, auto&, auto& c) { a.timer->Interval(500); c.AdvanceTime(0.3); a.timer->Interval(500); c.AdvanceTime(0.7); }, "A.Timer(800)"},
        {"re-enabling restarts", [](auto& a, auto&, auto& c) { a.timer->Interval(400); c.AdvanceTime(0.3); a.timer->Enabled(false); c.AdvanceTime(0.3); a.timer->Enabled(true); c.AdvanceTime(0.5); }, "A.Timer(1000)"},
        {"enabling an enabled timer changes nothing", [](auto& a, auto&, auto& c) { a.timer->Interval(400); c.AdvanceTime(0.3); a.timer->Enabled(true); c.AdvanceTime(0.1); }, "A.Timer(400)"},
        {"a change in its own notice counts from then", [](auto& a, auto&, auto& c) { a.timer->Interval(100); a.onNote = [&a](auto& e) { if (e.starts_with("A.Timer")) a.timer->Interval(a.timer->Interval() * 2); }; c.AdvanceTime(1); }, "A.Timer(100) A.Timer(300) A.Timer(700)"},
        {"keys queued in a timer notice arrive before AdvanceTime returns", [](auto& a, auto&, auto& c) { c.Focus(a); a.timer->Interval(100); a.onNote = [&a](auto& e) { if (e == "A.Timer(100)") a.GetHost().SendKeys(u"+a"); }; c.AdvanceTime(0.15); }, "A.EnterFocus A.t0.GotFocus A.Timer(100) A.t0.KeyDown(65,1) A.t0.KeyPress(65) A.t0.Change A.t0.KeyUp(65,1)"},
        {"the clock wraps at midnight", [](auto& a, auto&, auto& c) { c.SetClock(86399.75); a.timer->Interval(250); c.AdvanceTime(0.5); }, "A.Timer(0) A.Timer(250)"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.timer = true});
        Probe& b = form.Add("B", {.timer = true});
        form.Take();
        k.script(a, b, form);
        EXPECT_EQ(form.Take(), k.expected);
        EXPECT_EQ(ErrorOf([&] { a.timer->Interval(-1); }), 380);
    }
}

// --- Key injection and the keyboard -------------------------------------------------------------

TEST(HeadlessSendKeys, KeysQueuedInANoticeArriveInOrderAfterItReturns) {
    Form form;
    Probe& a = form.Add("A");
    a.onKeyPress = [&](int16_t& k) {
        if (k == 'a') form.SiteOf(a).SendKeys(u"{BS}x");
    };
    form.Focus(a);
    form.Type(u"ab");  // "xab" if they came at once, "ax" if only after "b"
    EXPECT_EQ(form.FieldOf(a).Text(), u"xb");
}

TEST(HeadlessSendKeys, KeysQueuedOutsideNoticesWaitForTheNextUserCallAndSurviveAnException) {
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.FieldOf(a);
    a.onKeyPress = [](int16_t& c) {
        if (c == '!') qv::Raise(5);
    };
    form.Focus(a);
    form.SiteOf(a).SendKeys(u"h");  // batches queue in order
    form.SiteOf(a).SendKeys(u"i~");
    EXPECT_EQ(f.Text(), u"");
    form.DoEvents();
    EXPECT_EQ(f.Text(), u"hi");
    EXPECT_EQ(ErrorOf([&] { form.SiteOf(a).SendKeys(u"ok{NOPE}"); }), 5);  // queues nothing
    form.SiteOf(a).SendKeys(u"z");
    EXPECT_EQ(ErrorOf([&] { form.Type(u"!"); }), 5);  // the exception reaches the caller
    form.SiteOf(a).SendKeys(u"q");
    form.DoEvents();  // the host no longer thinks a notice is running
    EXPECT_EQ(f.Text(), u"hizq");
}

TEST(HeadlessSendKeys, KeyStringsParse) {
    // clang-format off
    struct Case { const char16_t* keys; std::vector<KeyStroke> strokes; };
    const Case cases[] = {
        {u"{BACKSPACE}{bs}{BKSP}{ENTER}~{TAB}{ESC}", {{8, 0, 8}, {8, 0, 8}, {8, 0, 8}, {13, 0, 13}, {13, 0, 13}, {9, 0, 9}, {27, 0, 27}}},
        {u"{DEL}{delete}{LEFT}{RIGHT}{UP}{DOWN}{HOME}{END}", {{46, 0, 0}, {46, 0, 0}, {37, 0, 0}, {39, 0, 0}, {38, 0, 0}, {40, 0, 0}, {36, 0, 0}, {35, 0, 0}}},
        {u"{INSERT}{F1}{F12}{LEFT 3}", {{45, 0, 0}, {112, 0, 0}, {123, 0, 0}, {37, 0, 0}, {37, 0, 0}, {37, 0, 0}}},
        {u"aA1!\u00fc", {{65, 0, u'a'}, {65, 1, u'A'}, {49, 0, u'1'}, {49, 1, u'!'}, {229, 0, u'\u00fc'}}},
        {u"+a^c%f+{TAB}", {{65, 1, u'A'}, {67, 2, 3}, {70, 4, 0}, {9, 1, 9}}},
        {u"+(ab)c", {{65, 1, u'A'}, {66, 1, u'B'}, {67, 0, u'c'}}},
        {u"{{}{}}{+}{~}{(}", {{219, 1, u'{'}, {221, 1, u'}'}, {187, 1, u'+'}, {192, 1, u'~'}, {57, 1, u'('}}},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(qv::ToUtf8(k.keys));
        EXPECT_EQ(qv::ParseKeys(k.keys), k.strokes);
    }
    for (const char16_t* bad :
         {u"{NOPE}", u"{LEFT", u"(a", u"a)", u"}", u"{F17}", u"+", u"{}", u"{LEFT x}"}) {
        SCOPED_TRACE(qv::ToUtf8(bad));
        EXPECT_EQ(ErrorOf([&] { qv::ParseKeys(bad); }), 5);
    }
}

TEST(HeadlessKeyboard, EveryPrintableAsciiCharacterTypesItself) {
    for (char16_t c = 32; c < 127; ++c) {
        const auto k = qv::StrokeForChar(c);
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_NE(k.keyCode, Key::Processed);
        EXPECT_EQ(qv::CharForKey(k.keyCode, k.shift), c);
    }
}

// --- Focus --------------------------------------------------------------------------------------

TEST(HeadlessFocus, FocusTabAndLeaveSendTheNoticesInTheContainersOrder) {
    Form form;
    Probe& a = form.Add("A");
    Probe& b = form.Add("B");
    Probe& c = form.Add("C");
    form.Take();
    form.Focus(a);
    EXPECT_EQ(form.Take(), "A.EnterFocus A.t0.GotFocus");
    form.Focus(a);
    EXPECT_EQ(form.Take(), "");
    form.Type(u"\t");  // the field sees no key
    EXPECT_EQ(form.Take(), "A.t0.LostFocus A.ExitFocus B.EnterFocus B.t0.GotFocus");
    form.SiteOf(c).TabStop(false);
    form.PressKey(Key::Tab);
    EXPECT_EQ(form.FocusedControl(), &a);  // C skipped, wrapped to A
    form.PressKey(Key::Tab, Shift::Shift);
    EXPECT_EQ(form.FocusedWidget(), &form.FieldOf(b));
    form.Type(u"x\ty");
    EXPECT_EQ(form.FieldOf(b).Text(), u"x");
    EXPECT_EQ(form.FieldOf(a).Text(), u"y");
    form.Take();
    form.Leave();
    EXPECT_EQ(form.Take(), "A.t0.LostFocus A.ExitFocus");
    EXPECT_EQ(form.FocusedControl(), nullptr);
    EXPECT_THROW(form.Type(u"a"), std::logic_error);
}

TEST(HeadlessFocus, TheTargetIsTheFirstAvailableFieldElseTheSurfaceAndSetFocusInEnterFocusWins) {
    Form form;
    Probe& a = form.Add("A", {.fields = 3});
    Probe& b = form.Add("B", {.fields = 0});
    a.fields[0]->Visible(false);
    a.fields[1]->Enabled(false);
    form.Focus(a);
    EXPECT_EQ(form.FocusedWidget(), &form.FieldOf(a, 2));
    form.Focus(b);
    EXPECT_EQ(form.FocusedWidget(), nullptr);
    form.Take();
    form.PressKey('A', Shift::Shift);
    EXPECT_EQ(form.Take(), "B.KeyDown(65,1) B.KeyPress(65) B.KeyUp(65,1)");

    a.fields[0]->Visible(true);
    a.onNote = [&](const std::string& e) {
        if (e == "A.EnterFocus") a.fields[2]->SetFocus();
    };
    form.Focus(a);
    EXPECT_EQ(form.Take(), "B.ExitFocus A.EnterFocus A.t2.GotFocus");
    a.fields[2]->Visible(false);  // the focus stays with the control's own surface
    EXPECT_EQ(form.Take(), "A.t2.LostFocus");
    EXPECT_EQ(form.FocusedWidget(), nullptr);
    EXPECT_EQ(form.FocusedControl(), &a);
    EXPECT_EQ(ErrorOf([&] { a.fields[2]->SetFocus(); }), qv::err::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { a.label->SetFocus(); }), qv::err::InvalidProcedureCall);
    a.fields[1]->Enabled(true);  // the first field to become available takes the focus back
    EXPECT_EQ(form.Take(), "A.t1.GotFocus");
    form.Type(u"x");
    EXPECT_EQ(form.FieldOf(a, 1).Text(), u"x");
    a.fields[1]->Enabled(false);
    form.Focus(b);  // once the focus has moved on, nothing takes it back
    form.Take();
    a.fields[1]->Enabled(true);
    EXPECT_EQ(form.Take(), "");
    EXPECT_EQ(form.FocusedControl(), &b);
}

// A text box focused while its fields are disabled: the focus waits on the control's surface and
// goes to the visible field once that is enabled again, as when a focused field is disabled.
TEST(HeadlessFocus, AFieldEnabledAgainTakesTheFocusOfItsControl) {
    for (const bool disableFirst : {true, false}) {
        SCOPED_TRACE(disableFirst);
        Container form;
        auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
        if (disableFirst) box.Enabled(false);
        form.Focus(box);
        if (!disableFirst) box.Enabled(false);
        EXPECT_EQ(form.FocusedControl(), &box);
        EXPECT_EQ(form.FocusedWidget(), nullptr);
        box.Enabled(true);
        EXPECT_EQ(form.FocusedWidget(), form.SiteOf(box).FindTextField(u"QVTxtBoxCC", 0));
        form.Type(u"a");
        EXPECT_EQ(box.Field(0).Text(), u"a");
        EXPECT_EQ(form.SiteOf(box).BackColor(), box.FocusColor());
    }
}

// --- Keys and mouse -----------------------------------------------------------------------------

// A widget notice may clear or replace its own slot while it runs; the large capture would be
// read after it was freed if the host ran the slot itself rather than a copy.
TEST(HeadlessKeys, NoticesMayClearOrReplaceTheirOwnSlotWhileTheyRun) {
    Form form;
    Probe& a = form.Add("A", {.timer = true});
    const std::string tag(40, 'n');
    std::string seen;
    qv::WidgetNotices& field = a.fields[0]->notices();
    field.KeyDown = [&field, &seen, tag](int16_t&, int16_t&) {
        field.KeyDown = nullptr;
        seen += tag;
    };
    a.timer->notices().Timer = [&a, &seen, tag] {
        a.timer->notices().Timer = [&seen] { seen += "+"; };
        seen += tag;
    };
    form.Focus(a);
    form.Type(u"ab");
    EXPECT_EQ(seen, tag);
    EXPECT_EQ(form.FieldOf(a).Text(), u"ab");
    a.timer->Interval(100);
    form.AdvanceTime(0.3);
    EXPECT_EQ(seen, tag + tag + "++");
}

TEST(HeadlessKeys, TypeAndPressKeyDeliverDownCharacterChangeUpWithTheValuesHandlersLeave) {
    // clang-format off
    struct Case { void (*keys)(Form&, Probe&); const char* expected; const char* text; };  // from "abc", caret at 0
    const Case cases[] = {
        {[](auto& f, auto&) { f.Type(u"Q"); }, "A.t0.KeyDown(81,1) A.t0.KeyPress(81) A.t0.Change A.t0.KeyUp(81,1)", "Qabc"},
        {[](auto& f, auto&) { f.Type(u"?"); }, "A.t0.KeyDown(191,1) A.t0.KeyPress(63) A.t0.Change A.t0.KeyUp(191,1)", "?abc"},
        {[](auto& f, auto&) { f.Type(u"\u00fc"); }, "A.t0.KeyDown(229,0) A.t0.KeyPress(252) A.t0.Change A.t0.KeyUp(229,0)", "\u00fcabc"},
        {[](auto& f, auto&) { f.Type(u"\r\n"); }, "A.t0.KeyDown(13,0) A.t0.KeyPress(13) A.t0.KeyUp(13,0)", "abc"},
        {[](auto& f, auto&) { f.PressKey(Key::End); }, "A.t0.KeyDown(35,0) A.t0.KeyUp(35,0)", "abc"},
        {[](auto& f, auto&) { f.PressKey(Key::Escape); }, "A.t0.KeyDown(27,0) A.t0.KeyPress(27) A.t0.KeyUp(27,0)", "abc"},
        {[](auto& f, auto&) { f.PressKey('Z', Shift::Ctrl); }, "A.t0.KeyDown(90,2) A.t0.KeyPress(26) A.t0.KeyUp(90,2)", "abc"},
        {[](auto& f, auto&) { f.PressKey(Key::Delete); }, "A.t0.KeyDown(46,0) A.t0.Change A.t0.KeyUp(46,0)", "bc"},
        {[](auto& f, auto& a) { a.onKeyDown = [](int16_t& k, int16_t& s) { k = s = 0; }; f.PressKey(Key::Delete, Shift::Ctrl); }, "A.t0.KeyDown(46,2) A.t0.KeyUp(46,2)", "abc"},
        {[](auto& f, auto& a) { a.onKeyPress = [](int16_t& c) { c = c == 'x' ? 0 : c - 32; }; f.Type(u"xy"); }, "A.t0.KeyDown(88,0) A.t0.KeyPress(120) A.t0.KeyUp(88,0) A.t0.KeyDown(89,0) A.t0.KeyPress(121) A.t0.Change A.t0.KeyUp(89,0)", "Yabc"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.expected);
        Form form;
        Probe& a = form.Add("A");
        form.FieldOf(a).Text(u"abc");
        form.Focus(a);
        form.Take();
        k.keys(form, a);
        EXPECT_EQ(form.Take(), k.expected);
        EXPECT_EQ(qv::ToUtf8(form.FieldOf(a).Text()), k.text);
    }
}

TEST(HeadlessMouse, GesturesReachTheTopmostAvailableWidgetInOrderInItsCoordinates) {
    // clang-format off
    struct Case { const char* name; void (*gesture)(Form&, Probe&); const char* expected; };
    const Case cases[] = {
        {"click", [](auto& c, auto& a) { c.Click(a, 160, 80); }, "A.EnterFocus A.t0.GotFocus A.t0.MouseDown(1,0,60,30) A.t0.MouseUp(1,0,60,30) A.t0.Click"},
        {"right click", [](auto& c, auto& a) { c.Click(a, 160, 80, qv::MouseButton::Right, Shift::Ctrl); }, "A.EnterFocus A.t0.GotFocus A.t0.MouseDown(2,2,60,30) A.t0.MouseUp(2,2,60,30)"},
        {"double click", [](auto& c, auto& a) { c.DoubleClick(a, 2200, 100); }, "A.EnterFocus A.t1.GotFocus A.t1.MouseDown(1,0,100,50) A.t1.MouseUp(1,0,100,50) A.t1.Click A.t1.DblClick A.t1.MouseUp(1,0,100,50)"},
        {"drag keeps the pressed widget", [](auto& c, auto& a) { c.Drag(a, 100, 50, 1700, 250, 2); }, "A.EnterFocus A.t0.GotFocus A.t0.MouseDown(1,0,0,0) A.t0.MouseMove(1,0,800,100) A.t0.MouseMove(1,0,1600,200) A.t0.MouseUp(1,0,1600,200) A.t0.Click"},
        {"move: no button, no focus", [](auto& c, auto& a) { c.MouseMove(a, 500, 450); }, "A.lbl.MouseMove(0,0,500,50)"},
        {"a label press focuses the first field", [](auto& c, auto& a) { c.Click(a, 10, 410); }, "A.EnterFocus A.t0.GotFocus A.lbl.MouseDown(1,0,10,10) A.lbl.MouseUp(1,0,10,10) A.lbl.Click"},
        {"bare surface: focus only", [](auto& c, auto& a) { c.Click(a, 5000, 5000); }, "A.EnterFocus A.t0.GotFocus"},
        {"a press moves the focus between fields", [](auto& c, auto& a) { c.Click(a, 150, 100); c.Take(); c.Click(a, 2150, 100); }, "A.t0.LostFocus A.t1.GotFocus A.t1.MouseDown(1,0,50,50) A.t1.MouseUp(1,0,50,50) A.t1.Click"},
        {"a disabled widget swallows the press", [](auto& c, auto& a) { a.fields[1]->Enabled(false); c.Click(a, 2150, 100); }, ""},
        {"a later widget lies on top", [](auto& c, auto& a) { a.label->Top(50); a.label->Left(100); c.Click(a, 150, 100); }, "A.EnterFocus A.t0.GotFocus A.lbl.MouseDown(1,0,50,50) A.lbl.MouseUp(1,0,50,50) A.lbl.Click"},
        {"a hidden one lets the press through", [](auto& c, auto& a) { a.label->Top(50); a.label->Visible(false); c.Click(a, 150, 100); }, "A.EnterFocus A.t0.GotFocus A.t0.MouseDown(1,0,50,50) A.t0.MouseUp(1,0,50,50) A.t0.Click"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.fields = 2});
        form.Take();
        k.gesture(form, a);
        EXPECT_EQ(form.Take(), k.expected);
    }
}

// --- The property bag ---------------------------------------------------------------------------

TEST(MemoryPropertyBag, KeepsEverySubtypeAndLeavesOutValuesEqualToTheirDefault) {
    const auto font = std::make_shared<qv::Font>();
    // clang-format off
    struct Case { const char* name; Variant value, defaultValue; bool omitted; };
    const Case cases[] = {
        {"Integer and Long", Variant(int16_t{5}), Variant(int32_t{5}), true}, {"Single and Double", Variant(1.5f), Variant(1.5), true},
        {"True and -1", Variant(true), Variant(int16_t{-1}), true}, {"equal strings", Variant(u"abc"), Variant(u"abc"), true},
        {"Empty and Empty", Variant(), Variant(), true}, {"different numbers", Variant(int16_t{5}), Variant(int16_t{6}), false},
        {"case differs", Variant(u"abc"), Variant(u"ABC"), false}, {"numeric string", Variant(u"5"), Variant(int32_t{5}), false},
        {"Empty and zero", Variant(), Variant(int32_t{0}), false}, {"Null and Empty", Variant::Null(), Variant(), false},
        {"Double and Single", Variant(2.25), Variant(2.25f), true}, {"dates", Variant(qv::DateValue{45000.5}), Variant(qv::DateValue{1}), false},
        {"an object, even its own default", Variant(font), Variant(font), false},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        MemoryPropertyBag bag, keepAll(false);
        bag.Set(u"Key", Variant(u"earlier"));
        bag.WriteProperty(u"Key", k.value, k.defaultValue);
        EXPECT_EQ(bag.Has(u"Key"), !k.omitted);
        keepAll.WriteProperty(u"Key", k.value, k.defaultValue);
        const Variant read = keepAll.ReadProperty(u"Key", Variant(u"absent"));
        EXPECT_EQ(read.Type(), k.value.Type());  // every subtype kept
        EXPECT_TRUE(read.IsObject() || read == k.value);
    }
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
    EXPECT_EQ(first->Size(), 12.0f);
    first->Size(30);  // nor is the reader's
    EXPECT_EQ(bag.Get(u"Font").As<qv::Font>()->Size(), 12.0f);
}

TEST(MemoryPropertyBag, KeysAreCaseSensitiveKeepTheirFirstPlaceAndCanBeMadeToFail) {
    MemoryPropertyBag bag;
    for (auto [key, n] : {std::pair{u"b", 1}, {u"a", 2}, {u"B", 3}, {u"b", 4}})
        bag.Set(key, Variant(n));
    EXPECT_EQ(bag.Keys(), (std::vector<String>{u"b", u"a", u"B"}));
    EXPECT_EQ(bag.Get(u"b"), Variant(4));
    EXPECT_TRUE(bag.Remove(u"a"));
    EXPECT_FALSE(bag.Remove(u"a"));
    EXPECT_THROW(bag.Get(u"a"), std::out_of_range);
    // Among many keys each is still found after a removal moved the later ones.
    MemoryPropertyBag many(false);
    for (int i = 0; i < 40; ++i) many.Set(u"K" + qv::FromUtf8(std::to_string(i)), Variant(i));
    EXPECT_TRUE(many.Remove(u"K3"));
    EXPECT_FALSE(many.Has(u"K3"));
    EXPECT_EQ(many.Get(u"K39").ToLong(), 39);
    many.Set(u"K3", Variant(300));    // comes back last
    many.Set(u"K20", Variant(2000));  // replaced in place
    EXPECT_EQ(many.Get(u"K3").ToLong(), 300);
    EXPECT_EQ(many.Get(u"K20").ToLong(), 2000);
    EXPECT_EQ(many.Entries().back().key, u"K3");
    EXPECT_EQ(many.Entries().size(), 40U);
    bag.Set(u"Text", Variant(u"stored"));
    bag.FailReading(u"Text");
    bag.FailReading(u"Absent", 7);
    EXPECT_EQ(ErrorOf([&] { bag.ReadProperty(u"Text", Variant(u"")); }), 13);
    EXPECT_EQ(ErrorOf([&] { bag.ReadProperty(u"Absent", Variant(u"")); }), 7);
    EXPECT_EQ(bag.ReadProperty(u"text", Variant(u"dflt")), Variant(u"dflt"));  // another key
    bag.StopFailing(u"Text");
    EXPECT_EQ(bag.ReadProperty(u"Text", Variant(u"")), Variant(u"stored"));
    EXPECT_EQ(bag.ReadLog(), (std::vector<String>{u"Text", u"Absent", u"text", u"Text"}));
}

}  // namespace
}  // namespace headless_test
