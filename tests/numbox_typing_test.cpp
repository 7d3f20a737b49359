// The numeric box at the keyboard: keys in, display, value and beeps out; the clipboard and undo
// keys; what leaving the box does; the events and notices typing raises.
#include "numbox_test_support.h"

namespace numbox_test {
namespace {

// A new box with the given start value (Empty: as placed, showing nothing), focused.
struct Typed {
    Container form;
    QVnumBoxControl& box;
    Typed(bool allowMinus, int16_t post, const Variant& start)
        : box(form.Add<QVnumBoxControl>(u"num")) {
        box.AllowMinus(allowMinus);
        box.PostDecimalNumbers(post);
        if (!start.IsEmpty()) box.Value(start);
        form.Focus(box);
    }
};

TEST(NumBoxTyping, KeysBuildTheDisplayFromTheRightAndRefusedKeysBeep) {
    struct Case {
        bool minus;
        int16_t post;
        Variant start;  // highlighted after focus entry unless Empty
        const char16_t *keys, *display;
        int beeps;
        const char16_t* value;  // nullptr: not checked
    };
    const Variant v = 1234.5;  // shown as "1.234,50"
    // clang-format off
    const Case cases[] = {
        {false, 2, {}, u"1234", u"1.234", 0, u"1234"},
        {false, 2, {}, u"1234,56", u"1.234,56", 0, u"1234.56"},
        {false, 2, {}, u"1234,567", u"1.234,56", 1, u"1234.56"},
        {false, 2, {}, u"1234567,8", u"1.234.567,8", 0, u"1234567.8"},
        {false, 2, {}, u"12345678", u"1.234.567", 1, u"1234567"},
        {false, 4, {}, u"1,23456", u"1,234.5", 1, u"1.2345"},
        {false, 2, {}, u",", u"0,", 0, u"0"},
        {false, 2, {}, u".", u"0,", 0, nullptr},
        {false, 2, {}, u"1.5", u"1,5", 0, u"1.5"},
        {false, 2, {}, u"1,,", u"1,", 1, nullptr},
        {false, 0, {}, u"1,.", u"1", 2, u"1"},
        {false, 2, {}, u"05", u"5", 0, u"5"},
        {true, 2, {}, u"-05", u"-5", 0, u"-5"},
        {true, 2, {}, u"12-", u"-12", 0, u"-12"},
        {true, 2, {}, u"12--", u"12", 0, u"12"},
        {false, 2, {}, u"12-", u"12", 1, u"12"},
        {false, 2, {}, u"1234{BS}", u"123", 0, u"123"},
        {true, 2, {}, u"-5{BS}", u"-", 0, nullptr},
        {true, 2, {}, u"-5{BS}{BS}", u"", 0, u"<Null>"},
        {false, 2, {}, u"{BS}", u"", 1, nullptr},
        {false, 2, {}, u"1234{LEFT}", u"123", 0, u"123"},
        {false, 2, {}, u"1234+{LEFT}", u"1.234", 0, u"1234"},
        {false, 2, {}, u"12{DEL}", u"12", 0, u"12"},
        {false, 2, {}, u"a 1x", u"1", 3, u"1"},
        {false, 2, {}, u"~", u"", 1, nullptr},
        {false, 2, {}, u"{ESC}", u"", 1, nullptr},
        // A highlighted value is replaced by the next keystroke, even a refused one.
        {false, 2, v, u"7", u"7", 0, u"7"},
        {false, 2, v, u"~", u"", 0, u"<Null>"},
        {false, 2, v, u"a", u"", 0, u"<Null>"},
        {true, 2, v, u"-", u"-", 0, nullptr},
        {false, 2, v, u"{LEFT}", u"", 0, u"<Null>"},
        {false, 2, v, u"{DEL}", u"", 0, u"<Null>"},
        {false, 2, v, u"{DEL}{DEL}", u"", 0, u"<Null>"},
        {false, 2, v, u"{END}{BS}", u"1.234,5", 0, u"1234.5"},
        {false, 2, v, u"{ESC}{BS}", u"1.234,5", 1, u"1234.5"},
        {false, 2, v, u"{HOME}5", u"1.234,50", 1, u"1234.5"},
        {false, 2, v, u"{END}+{HOME}5", u"5", 0, u"5"},
        {false, 2, v, u"{DOWN}{BS}9", u"1.234,59", 0, u"1234.59"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys) + (c.start.IsEmpty() ? "" : " on a highlighted value"));
        Typed t(c.minus, c.post, c.start);
        ASSERT_TRUE(t.box.IsHighlighted());
        Press(t.form, c.keys);
        EXPECT_EQ(t.box.DisplayText(), c.display);
        EXPECT_EQ(t.form.Beeps(), c.beeps);
        if (c.value) {
            EXPECT_EQ(Show(t.box.Value()), c.value);
        }
        EXPECT_EQ(t.box.IsNegative(), t.box.DisplayText().starts_with(u"-"));
        EXPECT_FALSE(t.box.IsHighlighted());
    }
}

TEST(NumBoxTyping, ClipboardKeysCopyCutAndPasteThroughValue) {
    struct Case {
        Variant start;  // Null: an empty box
        const char16_t *clipboardBefore, *keys, *display, *clipboardAfter;
        int beeps;
        bool highlighted;
    };
    const Variant v = 1234.5, none = Variant::Null();
    // clang-format off
    const Case cases[] = {
        {v, u"old", u"^c", u"1.234,50", u"1234.5", 1, true},   // the copy stays highlighted
        {v, u"old", u"^x", u"", u"1234.5", 0, false},
        {v, u"old", u"{ESC}^x", u"1.234,50", u"1234.5", 2, false},  // cuts only a highlight
        {none, u"old", u"^c", u"", u"", 1, true},
        {none, u"old", u"^x", u"", u"", 1, false},
        {v, u"12.5", u"^v", u"12,50", u"12.5", 1, true},
        {v, u" 7.25 ", u"{ESC}^v", u"7,25", u" 7.25 ", 2, true},
        {v, u"abc", u"^v", u"1.234,50", u"abc", 1, true},
        {v, u"12345678", u"^v", u"1.234,50", u"12345678", 1, true},
        {v, u"-3", u"^v", u"1.234,50", u"-3", 1, true},
        {v, u"12345678", u"{ESC}^v", u"1.234,50", u"12345678", 2, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys) + " with \"" + qv::ToUtf8(c.clipboardBefore) + "\"");
        Typed t(false, 2, c.start);
        t.form.Clipboard() = c.clipboardBefore;
        const String valueBefore = Show(t.box.Value());
        EXPECT_EQ(ErrorOf([&] { Press(t.form, c.keys); }), 0);
        EXPECT_EQ(t.box.DisplayText(), c.display);
        EXPECT_EQ(t.form.Clipboard(), c.clipboardAfter);
        EXPECT_EQ(t.form.Beeps(), c.beeps);
        EXPECT_EQ(t.box.IsHighlighted(), c.highlighted);
        if (c.display == String(u"1.234,50")) {
            EXPECT_EQ(Show(t.box.Value()), valueBefore);
        }
    }
}

TEST(NumBoxTyping, UndoEmptiesTheBoxUntilTheFocusHasLeftThenSwapsValues) {
    Typed t(false, 2, 5);
    Press(t.form, u"^z");
    EXPECT_EQ(StateOf(t.box), (State{u"", u"<Null>", u"<Null>", true}));
    t.form.Leave();  // the undo value is now null
    t.box.Value(5);
    t.form.Focus(t.box);
    Press(t.form, u"^z");
    EXPECT_TRUE(t.box.Value().IsNull());
    t.form.Leave();  // ...and now null again; write 5 and leave to keep it
    t.box.Value(5);
    t.form.Focus(t.box);
    t.form.Leave();
    t.form.Focus(t.box);
    Press(t.form, u"7");
    Press(t.form, u"^z");
    EXPECT_EQ(StateOf(t.box), (State{u"5,00", u"5,00", u"5", false}));
    EXPECT_TRUE(t.box.IsHighlighted());
    Press(t.form, u"^z");
    EXPECT_EQ(StateOf(t.box), (State{u"7,00", u"7,00", u"7", false}));
}

TEST(NumBoxFocus, LeavingFormatsWhatWasTyped) {
    struct Case {
        bool minus;
        const char16_t *keys, *display, *value;
    };
    // clang-format off
    const Case cases[] = {
        {false, u"1234,5", u"1.234,50", u"1234.5"}, {false, u"5", u"5,00", u"5"},
        {false, u"1,", u"1,00", u"1"},              {true, u"-5", u"-5,00", u"-5"},
        {true, u"-", u"-0,00", nullptr},               {false, u"1{BS}", u"", u"<Null>"},
        {false, u"", u"", u"<Null>"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys));
        Typed t(c.minus, 2, {});
        Press(t.form, c.keys);
        t.form.Leave();
        EXPECT_EQ(t.box.DisplayText(), c.display);
        if (c.value) {
            EXPECT_EQ(Show(t.box.Value()), c.value);
        }
        EXPECT_EQ(t.box.Value().IsNull(), t.box.Text().IsNull());
        EXPECT_FALSE(t.box.IsHighlighted());
    }
}

// Errors of the formatting on leaving stay inside the box: the focus moves on regardless.
TEST(NumBoxFocus, LeavingWithAValueBeyondTheLimitsKeepsTheDisplayAndMovesOn) {
    for (bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "typed" : "written");
        Container form;
        auto& box = form.Add<QVnumBoxControl>(u"num");
        auto& other = form.Add<QVnumBoxControl>(u"numOther");
        if (!typed) box.Value(12345);
        form.Focus(box);
        if (typed) Press(form, u"12345");
        const String shown = box.DisplayText();
        box.PreDecimalNumbers(3);
        EXPECT_EQ(ErrorOf([&] { form.Focus(other); }), 0);
        EXPECT_EQ(form.FocusedControl(), &other);
        EXPECT_FALSE(box.HasFocus());
        EXPECT_FALSE(box.CaretTimer().Enabled());
        EXPECT_FALSE(box.IsHighlighted());
        EXPECT_EQ(box.DisplayText(), shown);
        EXPECT_EQ(RaisedBy([&] { (void)box.TextFormatted(); }), kTooManyPre);
        EXPECT_EQ(RaisedBy([&] { box.PostDecimalNumbers(3); }), kTooManyPre);
    }
    // A fraction count that overflows fails at the write; leaving then keeps the old count.
    Container form;
    auto& box = form.Add<QVnumBoxControl>(u"num");
    box.PreDecimalNumbers(3);
    box.PostDecimalNumbers(3);
    form.Focus(box);
    Press(form, u"999,999");
    EXPECT_EQ(RaisedBy([&] { box.PostDecimalNumbers(2); }), kTooManyPre);
    EXPECT_EQ(box.PostDecimalNumbers(), 3);
    EXPECT_EQ(ErrorOf([&] { form.Leave(); }), 0);
    EXPECT_EQ(box.DisplayText(), u"999,999");
}

TEST_F(NumBoxTest, TypingRaisesItsEventsAndNoticesInOrder) {
    log.Attach(box);
    form.Focus(box);
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});
    log.Clear();
    form.ClearPropertyChanges();
    Press(form, u"1");
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(log.firstArgs,
              (std::vector<Variant>{int16_t{'1'}, int16_t{'1'}, true, {}, int16_t{'1'}}));
    EXPECT_EQ(Notices(form), (Names{u"Text", u"Value"}));
    log.Clear();
    form.ClearPropertyChanges();
    Press(form, u"x");  // refused: no change, a beep
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"KeyUp"}));
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_EQ(form.Beeps(), 1);
    log.Clear();
    form.Leave();  // "1" becomes "1,00": one Change, then the verdict without the focus
    EXPECT_EQ(log.names, (Names{u"Change", u"ValidationCheck"}));
    EXPECT_EQ(Notices(form), Names{u"Text"});
    log.Clear();
    form.Focus(box);
    Press(form, u"{DEL}");  // clears the highlighted value
    EXPECT_EQ(log.Count(u"Change"), 1);
    EXPECT_TRUE(box.Value().IsNull());
}

TEST_F(NumBoxTest, KeyPressHandlerCanReplaceACharacterAndKeyDownHandlerSeesEveryKey) {
    box.events.KeyPress = [](int16_t& k) { k = k == 'a' ? '1' : k == 'b' ? 0 : k; };
    std::vector<int16_t> downs;
    box.events.KeyDown = [&](int16_t& code, int16_t&) { downs.push_back(code); };
    form.Focus(box);
    Press(form, u"ab2");
    EXPECT_EQ(box.DisplayText(), u"12");
    EXPECT_EQ(form.Beeps(), 1);  // the cancelled character is refused
    EXPECT_EQ(downs, (std::vector<int16_t>{'A', 'B', '2'}));
}

TEST_F(NumBoxTest, DisabledBoxIgnoresKeysAndLockedOneOnlyReportsThem) {
    box.Value(5);
    form.Focus(box);
    log.Attach(box);
    box.Enabled(false);
    log.Clear();
    Press(form, u"7{DEL}^x");
    EXPECT_TRUE(log.names.empty());
    EXPECT_EQ(box.DisplayText(), u"5,00");
    box.Enabled(true);
    box.Locked(true);
    log.Clear();
    Press(form, u"7");
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"KeyUp"}));
    Press(form, u"{DEL}^x");
    EXPECT_EQ(box.DisplayText(), u"5,00");
    EXPECT_EQ(form.Beeps(), 0);
}

}  // namespace
}  // namespace numbox_test
