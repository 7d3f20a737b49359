// The numeric box at the keyboard: keys in, display, value and beeps out; the clipboard and undo
// keys; what leaving the box does; the events and notices typing raises.
#include "numbox_test_support.h"

namespace numbox_test {
namespace {

TEST(NumBoxTyping, KeysBuildTheDisplayFromTheRightAndRefusedKeysBeep) {
    // clang-format off
    struct Case { bool minus; int16_t post; bool highlighted; const char16_t *keys, *display;
                  int beeps; const char16_t* value; };
    const Case cases[] = {  // minus allowed, fraction digits, 1.234,50 highlighted at the start
        {0, 2, 0, u"1234", u"1.234", 0, u"1234"}, {0, 2, 0, u"1234,56", u"1.234,56", 0, u"1234.56"},
        {0, 2, 0, u"1234,567", u"1.234,56", 1, u"1234.56"},
        {0, 2, 0, u"1234567,8", u"1.234.567,8", 0, u"1234567.8"},
        {0, 2, 0, u"12345678", u"1.234.567", 1, u"1234567"},
        {0, 4, 0, u"1,23456", u"1,234.5", 1, u"1.2345"}, {0, 2, 0, u",", u"0,", 0, u"0"},
        {0, 2, 0, u"1.5", u"1,5", 0, u"1.5"}, {0, 2, 0, u"1,,", u"1,", 1, u"1"},
        {0, 0, 0, u"1,.", u"1", 2, u"1"}, {0, 2, 0, u"05", u"5", 0, u"5"},
        {1, 2, 0, u"-05", u"-5", 0, u"-5"}, {1, 2, 0, u"12-", u"-12", 0, u"-12"},
        {1, 2, 0, u"12--", u"12", 0, u"12"}, {0, 2, 0, u"12-", u"12", 1, u"12"},
        {0, 2, 0, u"1234{BS}", u"123", 0, u"123"}, {1, 2, 0, u"-5{BS}", u"-", 0, u"0"},
        {1, 2, 0, u"-5{BS}{BS}", u"", 0, u"<Null>"}, {0, 2, 0, u"{BS}", u"", 1, u"0"},
        {0, 2, 0, u"1234{LEFT}", u"123", 0, u"123"},
        {0, 2, 0, u"1234+{LEFT}", u"1.234", 0, u"1234"}, {0, 2, 0, u"12{DEL}", u"12", 0, u"12"},
        {0, 2, 0, u"a 1x", u"1", 3, u"1"}, {0, 2, 0, u"~", u"", 1, u"0"},
        // A highlighted value is replaced by the next keystroke, even a refused one.
        {0, 2, 1, u"7", u"7", 0, u"7"}, {0, 2, 1, u"a", u"", 0, u"<Null>"},
        {1, 2, 1, u"-", u"-", 0, u"0"}, {0, 2, 1, u"{DEL}", u"", 0, u"<Null>"},
        {0, 2, 1, u"{END}{BS}", u"1.234,5", 0, u"1234.5"},
        {0, 2, 1, u"{ESC}{BS}", u"1.234,5", 1, u"1234.5"},
        {0, 2, 1, u"{HOME}5", u"1.234,50", 1, u"1234.5"},
        {0, 2, 1, u"{END}+{HOME}5", u"5", 0, u"5"},
        {0, 2, 1, u"{DOWN}{BS}9", u"1.234,59", 0, u"1234.59"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys) + (c.highlighted ? " on a highlighted value" : ""));
        Boxed t({.post = c.post, .allowMinus = c.minus}, c.highlighted ? 1234.5 : Variant(), true);
        ASSERT_TRUE(t.b.IsHighlighted());
        Press(t.form, c.keys);
        EXPECT_EQ(t.b.DisplayText(), c.display);
        EXPECT_EQ(t.form.Beeps(), c.beeps);
        EXPECT_EQ(Show(t.b.Value()), c.value);
        EXPECT_EQ(t.b.IsNegative(), t.b.DisplayText().starts_with(u"-"));
        EXPECT_FALSE(t.b.IsHighlighted());
    }
}

TEST(NumBoxTyping, ClipboardKeysCopyCutAndPasteThroughValue) {
    // clang-format off
    struct Case { bool empty; const char16_t *clipboardBefore, *keys, *display, *value,
                  *clipboardAfter; int beeps; bool highlighted; };
    // Not empty: 1.234,50 highlighted. The keys' control characters are refused like any other
    // (a beep each), but for a cut's, which clears a highlighted value instead.
    const Case cases[] = {
        {0, u"old", u"^c", u"1.234,50", u"1234.5", u"1234.5", 1, true},  // stays highlighted
        {0, u"old", u"^x", u"", u"<Null>", u"1234.5", 0, false},
        {0, u"old", u"{ESC}^x", u"1.234,50", u"1234.5", u"1234.5", 2, false},  // only a highlight
        {1, u"old", u"^c", u"", u"<Null>", u"", 1, true},  // not the value it held before
        {0, u"12.5", u"^v", u"12,50", u"12.5", u"12.5", 1, true},
        {0, u" 7.25 ", u"{ESC}^v", u"7,25", u"7.25", u" 7.25 ", 2, true},
        {0, u"abc", u"^v", u"1.234,50", u"1234.5", u"abc", 1, true},
        {0, u"12345678", u"^v", u"1.234,50", u"1234.5", u"12345678", 1, true},
        {0, u"12345678", u"{ESC}^v", u"1.234,50", u"1234.5", u"12345678", 2, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys) + " with \"" + qv::ToUtf8(c.clipboardBefore) + "\"");
        Boxed t({}, c.empty ? Variant::Null() : Variant(1234.5), true);
        t.form.Clipboard() = c.clipboardBefore;
        EXPECT_EQ(ErrorOf([&] { Press(t.form, c.keys); }), 0);
        EXPECT_EQ(t.b.DisplayText(), c.display);
        EXPECT_EQ(t.form.Clipboard(), c.clipboardAfter);
        EXPECT_EQ(t.form.Beeps(), c.beeps);
        EXPECT_EQ(t.b.IsHighlighted(), c.highlighted);
        EXPECT_EQ(Show(t.b.Value()), c.value);
    }
}

TEST(NumBoxTyping, UndoEmptiesTheBoxUntilTheFocusHasLeftThenSwapsValues) {
    Boxed t({}, 5, true);
    Press(t.form, u"^z");  // nothing to go back to yet but an empty box
    EXPECT_EQ(StateOf(t.b), " | <Null> | <Null> null");
    t.form.Leave();  // the undo value is now null
    t.b.Value(5);
    t.form.Focus(t.b);
    Press(t.form, u"^z");
    EXPECT_TRUE(t.b.Value().IsNull());
    t.form.Leave();  // ...and now null again; write 5 and leave to keep it
    t.b.Value(5);
    t.form.Focus(t.b);
    t.form.Leave();
    t.form.Focus(t.b);
    Press(t.form, u"7^z");
    EXPECT_EQ(StateOf(t.b), "5,00 | 5,00 | 5");
    EXPECT_TRUE(t.b.IsHighlighted());
    Press(t.form, u"^z");
    EXPECT_EQ(StateOf(t.b), "7,00 | 7,00 | 7");
}

TEST(NumBoxFocus, LeavingFormatsWhatWasTyped) {
    // clang-format off
    struct Case { bool minus; const char16_t *keys, *display, *value; };
    const Case cases[] = {
        {false, u"1234,5", u"1.234,50", u"1234.5"}, {false, u"5", u"5,00", u"5"},
        {false, u"1,", u"1,00", u"1"},              {true, u"-5", u"-5,00", u"-5"},
        {true, u"-", u"-0,00", u"0"},               {false, u"1{BS}", u"", u"<Null>"},
        {false, u"", u"", u"<Null>"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.keys));
        Boxed t({.allowMinus = c.minus}, {}, true);
        Press(t.form, c.keys);
        t.form.Leave();
        EXPECT_EQ(t.b.DisplayText(), c.display);
        EXPECT_EQ(Show(t.b.Value()), c.value);
        EXPECT_FALSE(t.b.IsHighlighted());
    }
}

// Errors of the formatting on leaving stay inside the box: the focus moves on regardless.
TEST(NumBoxFocus, LeavingWithAValueBeyondTheLimitsKeepsTheDisplayAndMovesOn) {
    Container form;
    auto& box = form.Add<QVnumBoxControl>(u"num");
    auto& other = form.Add<QVnumBoxControl>(u"numOther");
    form.Focus(box);
    Press(form, u"12345");
    box.PreDecimalNumbers(3);  // stored; the display waits for the next formatting
    EXPECT_EQ(ErrorOf([&] { form.Focus(other); }), 0);
    EXPECT_EQ(form.FocusedControl(), &other);
    EXPECT_FALSE(box.IsHighlighted());
    EXPECT_EQ(box.DisplayText(), u"12.345");
    EXPECT_EQ(RaisedBy([&] { (void)box.TextFormatted(); }), kTooManyPre);
    EXPECT_EQ(RaisedBy([&] { box.PostDecimalNumbers(3); }), kTooManyPre);
    EXPECT_EQ(box.PostDecimalNumbers(), 2);
}

TEST_F(NumBoxTest, TypingRaisesItsEventsAndNoticesInOrder) {
    log.Attach(box);
    form.Focus(box);
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});
    const auto step = [&](auto act) {
        log.Clear();
        form.ClearPropertyChanges();
        act();
    };
    step([&] { Press(form, u"1"); });
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(log.firstArgs,
              (std::vector<Variant>{int16_t{'1'}, int16_t{'1'}, true, {}, int16_t{'1'}}));
    EXPECT_EQ(Notices(form), (Names{u"Text", u"Value"}));
    step([&] { Press(form, u"x"); });  // refused: no change, a beep
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"KeyUp"}));
    EXPECT_TRUE(Notices(form).empty());
    EXPECT_EQ(form.Beeps(), 1);
    step([&] { form.Leave(); });  // "1" becomes "1,00": one Change, then the verdict
    EXPECT_EQ(log.names, (Names{u"Change", u"ValidationCheck"}));
    EXPECT_EQ(Notices(form), Names{u"Text"});
    form.Focus(box);
    step([&] { Press(form, u"{DEL}"); });  // clears the highlighted value
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
    box.Enabled(false);
    log.Attach(box);
    Press(form, u"7{DEL}^x");
    EXPECT_TRUE(log.names.empty());
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
