// The headless container: lifecycle, clock and timers, key injection, focus, keys and mouse.
#include <gtest/gtest.h>

#include "headless_test_support.h"
#include "hosts/headless/MemoryPropertyBag.h"

namespace headless_test {
namespace {

namespace Key = qv::headless::Key;
namespace Shift = qv::ShiftState;

// --- Lifecycle ------------------------------------------------------------------------------

TEST(HeadlessLifecycle, PlacingLoadingSavingAndRemovingRunTheNoticesInOrder) {
    Form form;
    Probe& a = form.Add("A");
    EXPECT_EQ(form.Take(),
              (Log{"A.ctor", "A.Initialize", "A.InitProperties", "A.Resize(1500,300)"}));

    qv::headless::MemoryPropertyBag bag;
    bag.Set(u"Value", Variant(int16_t{7}));
    Probe& b = form.Add("B", {}, &bag);
    EXPECT_EQ(form.Take(),
              (Log{"B.ctor", "B.Initialize", "B.ReadProperties", "B.Resize(1500,300)"}));
    EXPECT_EQ(b.readValue, Variant(int16_t{7}));

    qv::headless::MemoryPropertyBag out;
    form.container.Save(b, out);
    EXPECT_EQ(form.Take(), Log{"B.WriteProperties"});
    EXPECT_EQ(out.Get(u"Value"), Variant(int16_t{7}));

    form.container.Focus(a);
    form.Take();
    form.container.Remove(a);
    EXPECT_EQ(form.Take(), (Log{"A.txt0.LostFocus", "A.ExitFocus", "A.Terminate"}));
    EXPECT_EQ(form.container.Controls(), std::vector<qv::Control*>{&b});
    EXPECT_EQ(form.container.FocusedControl(), nullptr);
    EXPECT_EQ(form.container.FindSite(u"A"), nullptr);
}

TEST(HeadlessLifecycle, DestroyingTheContainerTerminatesEveryControl) {
    Log log;
    {
        qv::headless::Container c;
        c.Emplace<Probe>(u"A", nullptr, log, "A", Probe::Options{});
        c.Emplace<Probe>(u"B", nullptr, log, "B", Probe::Options{});
        c.Focus(*c.Controls()[0]);
        log.clear();
    }
    EXPECT_EQ(log, (Log{"A.Terminate", "B.Terminate"}));
}

TEST(HeadlessLifecycle, AControlThatFailsToLoadIsTerminatedAndRemoved) {
    Form form;
    qv::headless::MemoryPropertyBag bag;
    bag.FailReading(u"Value", 13);
    EXPECT_EQ(ErrorOf([&] { form.Add("A", {}, &bag); }), 13);
    EXPECT_EQ(form.Take(), (Log{"A.ctor", "A.Initialize", "A.ReadProperties", "A.Terminate"}));
    EXPECT_TRUE(form.container.Controls().empty());
    form.Add("A");  // the name is free again
    EXPECT_EQ(form.container.Controls().size(), 1u);
    EXPECT_THROW(form.Add("A"), std::invalid_argument);
}

TEST(HeadlessLifecycle, AnUnknownClassNameIsError429AndLeavesNoSite) {
    qv::headless::Container c;
    EXPECT_EQ(ErrorOf([&] { c.Add(u"NoSuchControl", u"x"); }), qv::err::CannotCreateObject);
    EXPECT_EQ(c.FindSite(u"x"), nullptr);
}

TEST(HeadlessLifecycle, SizeRequestsAnswerWithResizeAtOnceOnlyWhenTheSizeChanges) {
    Form form;
    Probe& a = form.Add("A");
    auto& site = form.SiteOf(a);
    // The control insists on at least 500 twips of height, from inside its Resize notice.
    a.onResize = [&] {
        if (site.ScaleHeight() < 500) site.Size(site.ScaleWidth(), 500);
    };
    form.Take();
    site.Resize(2000, 100);
    EXPECT_EQ(form.Take(), (Log{"A.Resize(2000,100)", "A.Resize(2000,500)"}));
    EXPECT_EQ(site.Height(), 500);
    EXPECT_EQ(site.SizeRequests(), 1);
    site.Size(2000, 500);  // same size: counted, no notice
    EXPECT_EQ(site.SizeRequests(), 2);
    EXPECT_TRUE(form.Take().empty());
    EXPECT_EQ(ErrorOf([&] { site.Size(-1, 10); }), 380);
    EXPECT_EQ(site.Width(), 2000);
}

// --- Ambient, extender and services -------------------------------------------------------------

TEST(HeadlessServices, AmbientReadsExtenderAndPropertyChanges) {
    Form form;
    Probe& a = form.Add("A");
    qv::Host& host = form.SiteOf(a);
    auto& c = form.container;

    c.AmbientFont().Size(12);
    EXPECT_EQ(host.AmbientFont().Size(), 12.0f);
    c.FailAmbientFontRead(true);
    EXPECT_NE(ErrorOf([&] { host.AmbientFont(); }), 0);

    EXPECT_TRUE(host.AmbientUserMode());
    c.UserMode(false);
    EXPECT_FALSE(host.AmbientUserMode());
    c.FailUserModeRead(true);
    EXPECT_NE(ErrorOf([&] { host.AmbientUserMode(); }), 0);

    EXPECT_EQ(ErrorOf([&] { host.Extender(u"ToolTipText"); }), qv::err::NoSuchMember);
    form.SiteOf(a).SetExtender(u"ToolTipText", Variant(u"hint"));
    EXPECT_EQ(host.Extender(u"tooltiptext"), Variant(u"hint"));
    form.SiteOf(a).RemoveExtender(u"TOOLTIPTEXT");
    EXPECT_EQ(ErrorOf([&] { host.Extender(u"ToolTipText"); }), qv::err::NoSuchMember);

    host.PropertyChanged(u"Text");
    host.PropertyChanged(u"Font");
    ASSERT_EQ(c.PropertyChanges().size(), 2u);
    EXPECT_EQ(c.PropertyChanges()[1].control, u"A");
    EXPECT_EQ(c.PropertyChanges()[1].property, u"Font");

    EXPECT_EQ(host.TwipsPerPixelX(), 15.0f);
    host.ClipboardSetText(u"clip");
    EXPECT_EQ(host.ClipboardGetText(), u"clip");
    host.ClipboardClear();
    EXPECT_EQ(c.Clipboard(), u"");
    host.Beep();
    EXPECT_EQ(c.Beeps(), 1);
    host.ShowAboutDialog({u"qvControls", u"0.1.0", u"about"});
    ASSERT_EQ(c.AboutDialogs().size(), 1u);
    EXPECT_EQ(c.AboutDialogs()[0].version, u"0.1.0");
}

TEST(HeadlessServices, HiddenFormsAreListedWhileLoadedAndTheirFieldsKeepTheMinimumHeight) {
    Form form;
    qv::Host& host = form.SiteOf(form.Add("A"));
    {
        auto hidden = host.LoadForm(u"TextHeightTestForm");
        EXPECT_EQ(form.container.LoadedForms(), std::vector<String>{u"TextHeightTestForm"});
        qv::TextField& f = hidden->CreateTextField(u"t", -1, {.border = true});
        f.Height(0);
        EXPECT_EQ(f.Height(), 285);
        EXPECT_EQ(ErrorOf([&] { f.SetFocus(); }), qv::err::InvalidProcedureCall);
    }
    EXPECT_TRUE(form.container.LoadedForms().empty());
}

// --- Clock and timers
// -----------------------------------------------------------------------------

TEST(HeadlessClock, StartsAtMidnightAdvancesAndWraps) {
    Form form;
    qv::Host& host = form.SiteOf(form.Add("A"));
    auto& c = form.container;
    EXPECT_EQ(c.Clock(), 0.0);
    c.SetClock(86399.5);
    c.AdvanceTime(1.25);
    EXPECT_DOUBLE_EQ(c.Clock(), 0.75);
    EXPECT_FLOAT_EQ(host.Timer(), 0.75f);
    EXPECT_EQ(c.RunningTime(), 1'250'000);
    EXPECT_THROW(c.SetClock(86400), std::invalid_argument);
    EXPECT_THROW(c.AdvanceTime(-1), std::invalid_argument);
}

TEST(HeadlessClock, TimersFireInDeadlineOrderWithTheClockAtTheirDeadline) {
    Form form;
    Probe& a = form.Add("A", {.timer = true});
    Probe& b = form.Add("B", {.timer = true});
    a.timer->Interval(300);
    b.timer->Interval(500);
    form.Take();
    form.container.AdvanceTime(1.0);
    EXPECT_EQ(form.Take(), (Log{"A.Timer@0.300000", "B.Timer@0.500000", "A.Timer@0.600000",
                                "A.Timer@0.900000", "B.Timer@1.000000"}));
    // Same deadline: creation order.
    a.timer->Interval(500);
    b.timer->Interval(500);
    form.container.AdvanceTime(0.5);
    EXPECT_EQ(form.Take(), (Log{"A.Timer@1.500000", "B.Timer@1.500000"}));
}

TEST(HeadlessClock, ChangingIntervalOrReenablingRestartsAndDisabledOrZeroNeverFires) {
    struct Case {
        const char* name;
        std::function<void(qv::TimerWidget&, qv::headless::Container&)> script;
        Log expected;
    };
    const Case cases[] = {
        {"interval 0 never fires", [](auto& t, auto& c) { t.Interval(0), c.AdvanceTime(5); }, {}},
        {"disabled never fires",
         [](auto& t, auto& c) {
             t.Interval(100);
             t.Enabled(false);
             c.AdvanceTime(1);
         },
         {}},
        {"interval change restarts",
         [](auto& t, auto& c) {
             t.Interval(500);
             c.AdvanceTime(0.3);
             t.Interval(500);
             c.AdvanceTime(0.7);
         },
         {"A.Timer@0.800000"}},
        {"re-enabling restarts",
         [](auto& t, auto& c) {
             t.Interval(400);
             c.AdvanceTime(0.3);
             t.Enabled(false);
             c.AdvanceTime(0.3);
             t.Enabled(true);
             c.AdvanceTime(0.5);
         },
         {"A.Timer@1.000000"}},
        {"enabling an enabled timer changes nothing",
         [](auto& t, auto& c) {
             t.Interval(400);
             c.AdvanceTime(0.3);
             t.Enabled(true);
             c.AdvanceTime(0.1);
         },
         {"A.Timer@0.400000"}},
        {"fires across midnight",
         [](auto& t, auto& c) {
             c.SetClock(86399.75);
             t.Interval(250);
             c.AdvanceTime(0.5);
         },
         {"A.Timer@0.000000", "A.Timer@0.250000"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.timer = true});
        form.Take();
        k.script(*a.timer, form.container);
        EXPECT_EQ(form.Take(), k.expected);
    }
    EXPECT_EQ(ErrorOf([] {
                  Form form;
                  form.Add("A", {.timer = true}).timer->Interval(-1);
              }),
              380);
}

TEST(HeadlessClock, ATimerChangedInItsOwnNoticeCountsFromThatMoment) {
    Form form;
    Probe& a = form.Add("A", {.timer = true});
    a.timer->Interval(100);
    a.onTimer = [&] { a.timer->Interval(a.timer->Interval() * 2); };
    form.Take();
    form.container.AdvanceTime(1.0);
    // 0.1, then +0.2, then +0.4; the next (+0.8) lies beyond 1.0.
    EXPECT_EQ(form.Take(), (Log{"A.Timer@0.100000", "A.Timer@0.300000", "A.Timer@0.700000"}));
    EXPECT_DOUBLE_EQ(form.container.Clock(), 1.0);
}

// --- Key injection ------------------------------------------------------------------------------

TEST(HeadlessSendKeys, InjectedKeysArriveAfterTheCurrentNoticeReturnsInOrder) {
    Form form;
    Probe& a = form.Add("A");
    qv::Host& host = form.SiteOf(a);
    a.onKeyPress = [&](int16_t& k) {
        if (k == 'a') host.SendKeys(u"{BS}x");
    };
    form.container.Focus(a);
    form.Take();
    form.container.Type(u"ab");
    const Log expected{
        "A.txt0.KeyDown(65,0)", "A.txt0.KeyPress(97)",  "A.txt0.Change", "A.txt0.KeyUp(65,0)",
        "A.txt0.KeyDown(8,0)",  "A.txt0.KeyPress(8)",   "A.txt0.Change", "A.txt0.KeyUp(8,0)",
        "A.txt0.KeyDown(88,0)", "A.txt0.KeyPress(120)", "A.txt0.Change", "A.txt0.KeyUp(88,0)",
        "A.txt0.KeyDown(66,0)", "A.txt0.KeyPress(98)",  "A.txt0.Change", "A.txt0.KeyUp(66,0)"};
    EXPECT_EQ(form.Take(), expected);
    EXPECT_EQ(form.Field(a).Text(), u"xb");
}

TEST(HeadlessSendKeys, KeysQueuedByATimerArriveBeforeAdvanceTimeReturns) {
    Form form;
    Probe& a = form.Add("A", {.timer = true});
    a.timer->Interval(100);
    a.onTimer = [&] {
        a.timer->Enabled(false);
        form.SiteOf(a).SendKeys(u"+(ab)");
        EXPECT_EQ(form.Field(a).Text(), u"");  // not yet
    };
    form.container.Focus(a);
    form.container.AdvanceTime(0.2);
    EXPECT_EQ(form.Field(a).Text(), u"AB");
}

TEST(HeadlessSendKeys, KeysQueuedOutsideAnyNoticeWaitForDoEvents) {
    Form form;
    Probe& a = form.Add("A");
    form.container.Focus(a);
    form.SiteOf(a).SendKeys(u"hi~");
    EXPECT_EQ(form.Field(a).Text(), u"");
    form.container.DoEvents();
    EXPECT_EQ(form.Field(a).Text(), u"hi");  // Enter inserts nothing in a single-line field

    EXPECT_EQ(ErrorOf([&] { form.SiteOf(a).SendKeys(u"ok{NOPE}"); }), 5);
    form.container.DoEvents();
    EXPECT_EQ(form.Field(a).Text(), u"hi");  // nothing of the malformed string was queued
}

TEST(HeadlessSendKeys, KeyStringsParse) {
    using qv::headless::KeyStroke;
    struct Case {
        const char16_t* keys;
        std::vector<KeyStroke> strokes;
    };
    const Case cases[] = {
        {u"{BACKSPACE}{bs}{BKSP}", {{8, 0, 8}, {8, 0, 8}, {8, 0, 8}}},
        {u"{DEL}{delete}{LEFT}{RIGHT}{UP}{DOWN}{HOME}{END}",
         {{46, 0, 0},
          {46, 0, 0},
          {37, 0, 0},
          {39, 0, 0},
          {38, 0, 0},
          {40, 0, 0},
          {36, 0, 0},
          {35, 0, 0}}},
        {u"{ENTER}~{TAB}{ESC}{INSERT}{F1}{F12}",
         {{13, 0, 13}, {13, 0, 13}, {9, 0, 9}, {27, 0, 27}, {45, 0, 0}, {112, 0, 0}, {123, 0, 0}}},
        {u"aA1!", {{65, 0, u'a'}, {65, 1, u'A'}, {49, 0, u'1'}, {49, 1, u'!'}}},
        {u"+a^c%f", {{65, 1, u'A'}, {67, 2, 3}, {70, 4, 0}}},
        {u"+(ab)c", {{65, 1, u'A'}, {66, 1, u'B'}, {67, 0, u'c'}}},
        {u"{LEFT 3}", {{37, 0, 0}, {37, 0, 0}, {37, 0, 0}}},
        {u"{{}{}}{+}{~}{(}",
         {{219, 1, u'{'}, {221, 1, u'}'}, {187, 1, u'+'}, {192, 1, u'~'}, {57, 1, u'('}}},
        {u"\u00fc", {{229, 0, u'\u00fc'}}},
        {u"+{TAB}", {{9, 1, 9}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(qv::ToUtf8(k.keys));
        EXPECT_EQ(qv::headless::ParseKeys(k.keys), k.strokes);
    }
    for (const char16_t* bad :
         {u"{NOPE}", u"{LEFT", u"(a", u"a)", u"}", u"{F17}", u"+", u"{}", u"{LEFT x}"}) {
        SCOPED_TRACE(qv::ToUtf8(bad));
        EXPECT_EQ(ErrorOf([&] { qv::headless::ParseKeys(bad); }), 5);
    }
}

TEST(HeadlessKeyboard, EveryPrintableAsciiCharacterTypesItself) {
    for (char16_t c = 32; c < 127; ++c) {
        const auto k = qv::headless::StrokeForChar(c);
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_NE(k.keyCode, Key::Processed);
        EXPECT_EQ(qv::headless::CharForKey(k.keyCode, k.shift), c);
    }
    EXPECT_EQ(qv::headless::CharForKey('C', Shift::Ctrl | Shift::Shift), 3);
    EXPECT_EQ(qv::headless::CharForKey('C', Shift::Alt), 0);
    EXPECT_EQ(qv::headless::CharForKey(Key::Left, 0), 0);
}

// --- Focus
// ----------------------------------------------------------------------------------------

TEST(HeadlessFocus, NoticesComeInTheContainersOrder) {
    Form form;
    Probe& a = form.Add("A");
    Probe& b = form.Add("B");
    auto& c = form.container;
    form.Take();
    c.Focus(a);
    EXPECT_EQ(form.Take(), (Log{"A.EnterFocus", "A.txt0.GotFocus"}));
    c.Focus(a);
    EXPECT_TRUE(form.Take().empty());
    c.Focus(b);
    EXPECT_EQ(form.Take(),
              (Log{"A.txt0.LostFocus", "A.ExitFocus", "B.EnterFocus", "B.txt0.GotFocus"}));
    EXPECT_EQ(c.FocusedWidget(), &form.Field(b));
    c.Leave();
    EXPECT_EQ(form.Take(), (Log{"B.txt0.LostFocus", "B.ExitFocus"}));
    EXPECT_EQ(c.FocusedControl(), nullptr);
}

TEST(HeadlessFocus, TheTargetIsTheFirstVisibleEnabledFieldElseTheSurface) {
    Form form;
    Probe& a = form.Add("A", {.fields = 3});
    Probe& b = form.Add("B", {.fields = 0});
    a.fields[0]->Visible(false);
    a.fields[1]->Enabled(false);
    form.container.Focus(a);
    EXPECT_EQ(form.container.FocusedWidget(), &form.Field(a, 2));

    form.container.Focus(b);
    EXPECT_EQ(form.container.FocusedWidget(), nullptr);
    form.Take();
    form.container.PressKey('A', Shift::Shift);
    EXPECT_EQ(form.Take(), (Log{"B.KeyDown(65,1)", "B.KeyPress(65)", "B.KeyUp(65,1)"}));
}

TEST(HeadlessFocus, SetFocusInsideEnterFocusWinsAndHidingTheFocusedFieldLeavesTheSurface) {
    Form form;
    Probe& a = form.Add("A", {.fields = 2});
    a.onEnterFocus = [&] { a.fields[1]->SetFocus(); };
    form.Take();
    form.container.Focus(a);
    EXPECT_EQ(form.Take(), (Log{"A.EnterFocus", "A.txt1.GotFocus"}));
    EXPECT_EQ(form.container.FocusedWidget(), &form.Field(a, 1));

    a.fields[1]->Visible(false);
    EXPECT_EQ(form.Take(), Log{"A.txt1.LostFocus"});
    EXPECT_EQ(form.container.FocusedWidget(), nullptr);
    EXPECT_EQ(form.container.FocusedControl(), &a);
    EXPECT_EQ(ErrorOf([&] { a.fields[1]->SetFocus(); }), qv::err::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { a.label->SetFocus(); }), qv::err::InvalidProcedureCall);
}

TEST(HeadlessFocus, TabMovesThroughTheTabStopsAndTheFieldSeesNoKey) {
    Form form;
    Probe& a = form.Add("A");
    Probe& b = form.Add("B");
    Probe& c = form.Add("C");
    auto& ct = form.container;
    ct.Focus(a);
    form.Take();
    ct.Type(u"\t");
    EXPECT_EQ(form.Take(),
              (Log{"A.txt0.LostFocus", "A.ExitFocus", "B.EnterFocus", "B.txt0.GotFocus"}));
    ct.SiteOf(c).TabStop(false);
    ct.PressKey(Key::Tab);
    EXPECT_EQ(ct.FocusedControl(), &a);  // C skipped, wrapped to A
    ct.PressKey(Key::Tab, Shift::Shift);
    EXPECT_EQ(ct.FocusedControl(), &b);
    ct.Type(u"x\ty");
    EXPECT_EQ(form.Field(b).Text(), u"x");
    EXPECT_EQ(form.Field(a).Text(), u"y");
}

// --- Keys
// -----------------------------------------------------------------------------------------

TEST(HeadlessKeys, TypeAndPressKeyDeliverDownCharacterChangeUp) {
    struct Case {
        const char* name;
        std::function<void(qv::headless::Container&)> input;
        Log expected;
    };
    const Case cases[] = {
        {"upper-case letter",
         [](auto& c) { c.Type(u"Q"); },
         {"A.txt0.KeyDown(81,1)", "A.txt0.KeyPress(81)", "A.txt0.Change", "A.txt0.KeyUp(81,1)"}},
        {"punctuation needing Shift",
         [](auto& c) { c.Type(u"?"); },
         {"A.txt0.KeyDown(191,1)", "A.txt0.KeyPress(63)", "A.txt0.Change", "A.txt0.KeyUp(191,1)"}},
        {"a character without a key",
         [](auto& c) { c.Type(u"\u00fc"); },
         {"A.txt0.KeyDown(229,0)", "A.txt0.KeyPress(252)", "A.txt0.Change", "A.txt0.KeyUp(229,0)"}},
        {"navigation key: no character",
         [](auto& c) { c.PressKey(Key::Home); },
         {"A.txt0.KeyDown(36,0)", "A.txt0.KeyUp(36,0)"}},
        {"Escape makes 27 and changes nothing",
         [](auto& c) { c.PressKey(Key::Escape); },
         {"A.txt0.KeyDown(27,0)", "A.txt0.KeyPress(27)", "A.txt0.KeyUp(27,0)"}},
        {"Ctrl+letter makes a control code",
         [](auto& c) { c.PressKey('Z', Shift::Ctrl); },
         {"A.txt0.KeyDown(90,2)", "A.txt0.KeyPress(26)", "A.txt0.KeyUp(90,2)"}},
        {"Enter in a single-line field changes nothing",
         [](auto& c) { c.Type(u"\r\n"); },
         {"A.txt0.KeyDown(13,0)", "A.txt0.KeyPress(13)", "A.txt0.KeyUp(13,0)"}},
        {"Delete changes the text in the key-down phase",
         [](auto& c) { c.PressKey(Key::Delete); },
         {"A.txt0.KeyDown(46,0)", "A.txt0.Change", "A.txt0.KeyUp(46,0)"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A");
        form.Field(a).Text(u"abc");
        form.container.Focus(a);
        form.Take();
        k.input(form.container);
        EXPECT_EQ(form.Take(), k.expected);
    }
}

TEST(HeadlessKeys, HandlersCanCancelOrReplaceKeysAndTheFieldGoesOnWithTheirValues) {
    Form form;
    Probe& a = form.Add("A");
    auto& f = form.Field(a);
    a.onKeyDown = [](int16_t& k, int16_t&) {
        if (k == Key::Delete) k = 0;
    };
    a.onKeyPress = [](int16_t& ascii) {
        if (ascii == 'x') ascii = 0;
        if (ascii >= 'a' && ascii <= 'z') ascii = static_cast<int16_t>(ascii - 32);
    };
    form.container.Focus(a);
    form.container.Type(u"axb");
    EXPECT_EQ(f.Text(), u"AB");
    f.SelStart(0);
    form.Take();
    form.container.PressKey(Key::Delete);
    EXPECT_EQ(f.Text(), u"AB");
    // Key up is a notice of its own: it reports the key as pressed.
    EXPECT_EQ(form.Take(), (Log{"A.txt0.KeyDown(46,0)", "A.txt0.KeyUp(46,0)"}));
    EXPECT_THROW(
        {
            form.container.Leave();
            form.container.Type(u"a");
        },
        std::logic_error);
}

TEST(HeadlessKeys, ExceptionsFromControlCodeReachTheTestAndTheHostKeepsWorking) {
    Form form;
    Probe& a = form.Add("A");
    a.onKeyPress = [](int16_t& ascii) {
        if (ascii == '!') qv::Raise(5);
    };
    form.container.Focus(a);
    form.SiteOf(a).SendKeys(u"z");  // waits: no notice is running
    EXPECT_EQ(ErrorOf([&] { form.container.Type(u"!"); }), 5);
    form.container.Type(u"y");  // the host's notice count recovered: queued keys still arrive
    EXPECT_EQ(form.Field(a).Text(), u"zy");
}

// --- Mouse
// ----------------------------------------------------------------------------------------

TEST(HeadlessMouse, GesturesDeliverTheirNoticesInOrderInTheWidgetsCoordinates) {
    struct Case {
        const char* name;
        std::function<void(qv::headless::Container&, qv::Control&)> gesture;
        Log expected;
    };
    const Case cases[] = {
        {"click",
         [](auto& c, auto& a) { c.Click(a, 160, 80); },
         {"A.EnterFocus", "A.txt0.GotFocus", "A.txt0.MouseDown(1,0,60,30)",
          "A.txt0.MouseUp(1,0,60,30)", "A.txt0.Click"}},
        {"right click: no Click",
         [](auto& c, auto& a) { c.Click(a, 160, 80, qv::MouseButton::Right, Shift::Ctrl); },
         {"A.EnterFocus", "A.txt0.GotFocus", "A.txt0.MouseDown(2,2,60,30)",
          "A.txt0.MouseUp(2,2,60,30)"}},
        {"double click",
         [](auto& c, auto& a) { c.DoubleClick(a, 2200, 100); },
         {"A.EnterFocus", "A.txt1.GotFocus", "A.txt1.MouseDown(1,0,100,50)",
          "A.txt1.MouseUp(1,0,100,50)", "A.txt1.Click", "A.txt1.DblClick",
          "A.txt1.MouseUp(1,0,100,50)"}},
        {"drag keeps the pressed widget",
         [](auto& c, auto& a) { c.Drag(a, 100, 50, 1700, 250, 2); },
         {"A.EnterFocus", "A.txt0.GotFocus", "A.txt0.MouseDown(1,0,0,0)",
          "A.txt0.MouseMove(1,0,800,100)", "A.txt0.MouseMove(1,0,1600,200)",
          "A.txt0.MouseUp(1,0,1600,200)", "A.txt0.Click"}},
        {"move without a button, no focus",
         [](auto& c, auto& a) { c.MouseMove(a, 500, 450); },
         {"A.lbl.MouseMove(0,0,500,50)"}},
        {"label press focuses the first field",
         [](auto& c, auto& a) { c.Click(a, 10, 410); },
         {"A.EnterFocus", "A.txt0.GotFocus", "A.lbl.MouseDown(1,0,10,10)",
          "A.lbl.MouseUp(1,0,10,10)", "A.lbl.Click"}},
        {"bare surface: focus only",
         [](auto& c, auto& a) { c.Click(a, 5000, 5000); },
         {"A.EnterFocus", "A.txt0.GotFocus"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.fields = 2});
        form.Take();
        k.gesture(form.container, a);
        EXPECT_EQ(form.Take(), k.expected);
    }
}

TEST(HeadlessMouse, PressesMoveFocusBetweenFieldsAndDisabledOrHiddenWidgetsAreSkipped) {
    Form form;
    Probe& a = form.Add("A", {.fields = 2});
    auto& c = form.container;
    c.Click(a, 150, 100);
    form.Take();
    c.Click(a, 2150, 100);
    EXPECT_EQ(form.Take(),
              (Log{"A.txt0.LostFocus", "A.txt1.GotFocus", "A.txt1.MouseDown(1,0,50,50)",
                   "A.txt1.MouseUp(1,0,50,50)", "A.txt1.Click"}));
    a.fields[1]->Enabled(false);
    form.Take();
    c.Click(a, 2150, 100);
    EXPECT_TRUE(form.Take().empty());
    // A later widget lies on top; hidden, it lets the press through.
    a.label->Top(50);
    a.label->Left(100);
    c.Click(a, 150, 100);
    EXPECT_EQ(form.Take(),
              (Log{"A.lbl.MouseDown(1,0,50,50)", "A.lbl.MouseUp(1,0,50,50)", "A.lbl.Click"}));
    a.label->Visible(false);
    c.Click(a, 150, 100);
    EXPECT_EQ(form.Take(), (Log{"A.txt0.GotFocus", "A.txt0.MouseDown(1,0,50,50)",
                                "A.txt0.MouseUp(1,0,50,50)", "A.txt0.Click"}));
}

}  // namespace
}  // namespace headless_test
