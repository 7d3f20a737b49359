// The text box used as a form user would: typing, leaving and clicking, with the events the
// application sees and the colours the user sees.
#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::QVtxtBoxControl;
namespace Key = qv::headless::Key;

using TxtBoxScenarioTest = TxtBoxTest;
using Names = std::vector<String>;

TEST_F(TxtBoxScenarioTest, OneTypedCharacterRaisesItsEventsInTheFieldsOrder) {
    form.Focus(box);
    log.Attach(box);
    form.Type(u"a");
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(log.firstArgs[0], Variant(int16_t{'A'}));  // the key's code
    EXPECT_EQ(log.firstArgs[1], Variant(int16_t{'a'}));  // the character
    EXPECT_EQ(log.firstArgs[2], Variant(true));          // the control's verdict
    EXPECT_EQ(Background(), box.FocusColor());

    log.Clear();
    form.Type(u"\b");  // empties the text: the value is missing now
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(log.firstArgs[2], Variant(false));
    EXPECT_EQ(Background(), box.ErrorColor());
}

TEST_F(TxtBoxScenarioTest, DroppedCharacterRaisesNoChange) {
    box.ForbiddenCharacters(u"%");
    box.events.KeyPress = [](int16_t& KeyAscii) {
        if (KeyAscii == u'!') KeyAscii = 0;
    };
    form.Focus(box);
    log.Attach(box);
    form.Type(u"%!");
    EXPECT_EQ(log.names,
              (Names{u"KeyDown", u"KeyPress", u"KeyUp", u"KeyDown", u"KeyPress", u"KeyUp"}));
    EXPECT_EQ(box.Field(0).Text(), u"");
    EXPECT_EQ(Background(), box.ErrorColor());
}

TEST_F(TxtBoxScenarioTest, KeyHandlersChangesReachTheField) {
    form.Focus(box);
    form.Type(u"abc");
    box.events.KeyDown = [](int16_t& KeyCode, int16_t&) {
        if (KeyCode == Key::Left) KeyCode = 0;  // the application keeps the caret where it is
    };
    form.PressKey(Key::Left);
    EXPECT_EQ(box.SelStart(), 3);
    box.events.KeyDown = nullptr;
    form.PressKey(Key::Left);
    EXPECT_EQ(box.SelStart(), 2);
}

TEST_F(TxtBoxScenarioTest, FocusEntryOnlyJudgesTheValue) {
    log.Attach(box);
    form.Focus(box);
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});
    EXPECT_EQ(Background(), box.ErrorColor());
}

TEST_F(TxtBoxScenarioTest, LeavingTrimsCapitalisesAndShowsTheRestingColour) {
    form.Focus(box);
    form.Type(u"  anna maria  ");
    EXPECT_EQ(Background(), box.FocusColor());
    log.Attach(box);
    form.Leave();
    EXPECT_EQ(Show(box.Text()), u"Anna maria");
    EXPECT_EQ(Texts(), All(u"Anna maria"));
    EXPECT_EQ(log.Count(u"Change"), 1);
    ASSERT_FALSE(log.names.empty());
    EXPECT_EQ(log.names.back(), u"ValidationCheck");  // the focus exit judges once more
    EXPECT_EQ(Background(), box.BackColor());
}

struct LeaveCase {
    const char16_t* typed;
    bool useWarningColor;
    bool warned;
};

TEST_F(TxtBoxScenarioTest, LeavingAnInvalidValueWarnsOnlyWhenAsked) {
    const LeaveCase cases[] = {
        {u"", true, true}, {u"  ", true, true}, {u"", false, false}, {u"x", true, false}};
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "'" << qv::ToUtf8(c.typed) << "' " << c.useWarningColor);
        qv::headless::Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.UseWarningColor(c.useWarningColor);
        f.Focus(b);
        f.Type(c.typed);
        f.Leave();
        EXPECT_EQ(f.SiteOf(b).BackColor(), c.warned ? b.WarningColor() : b.BackColor());
    }
}

TEST_F(TxtBoxScenarioTest, TabMovesOnFormattingTheControlLeftBehind) {
    auto& next = form.Add<QVtxtBoxControl>(u"txtNext");
    EventLog nextLog;
    nextLog.Attach(next);
    form.Focus(box);
    form.Type(u"x ");
    form.PressKey(Key::Tab);
    EXPECT_EQ(form.FocusedControl(), &next);
    EXPECT_EQ(Texts(), All(u"X"));
    EXPECT_EQ(Background(), box.BackColor());
    EXPECT_FALSE(box.HasFocus());
    EXPECT_TRUE(next.HasFocus());
    EXPECT_EQ(form.SiteOf(next).BackColor(), next.ErrorColor());  // empty, must have a value
    EXPECT_EQ(nextLog.Count(u"KeyDown"), 0);  // the Tab belongs to the control it left
}

TEST_F(TxtBoxScenarioTest, ClicksRaiseMouseDownMouseUpClickAndDoubleClick) {
    form.Focus(box);
    log.Attach(box);
    form.Click(box, 300, 100);
    EXPECT_EQ(log.names, (Names{u"MouseDown", u"MouseUp", u"Click"}));
    log.Clear();
    form.DoubleClick(box, 300, 100);
    EXPECT_EQ(log.Count(u"DblClick"), 1);
}

}  // namespace
}  // namespace txtbox_test
