// The numeric box's drawing: frame and label placement, the caret and its blinking, the highlight
// from focus entry and mouse gestures, growth with the font and tooltips.
// With the headless metrics a 9 pt digit is 90 twips wide and a line 225 twips high.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "numbox_test_support.h"

namespace numbox_test {
namespace {

// A widget's left, top, width and height.
template <class Widget>
std::tuple<int32_t, int32_t, int32_t, int32_t> Rect(const Widget& w) {
    return {w.Left(), w.Top(), w.Width(), w.Height()};
}

TEST(NumBoxLayout, FramePlacesLabelCaretAndFocusHighlightAtTheRightEdge) {
    // clang-format off
    struct Case { int border, appearance, width; int32_t caretX, caretTop, labelTop,
                  highlightLeft; };
    const Case cases[] = {
        {0, 1, 1200, 1170, 0, 0, 465}, {1, 1, 1200, 1155, 60, 45, 450},
        {1, 0, 1200, 1155, 45, 30, 450}, {1, 1, 40, 0, 60, 45, 0}, {0, 0, 20, 0, 0, 0, 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << c.border << " appearance " << c.appearance
                                          << " width " << c.width);
        Boxed t;
        t.b.Appearance(qv::Flat3d(c.appearance));
        t.b.BorderStyle(qv::NoneFixedSingle(c.border));
        t.form.SiteOf(t.b).Resize(c.width, 400);
        t.b.Value(1234.5);                  // "1.234,50": 8 characters of 90 twips
        EXPECT_FALSE(t.b.IsHighlighted());  // positioned only, without the focus
        t.form.Focus(t.b);
        const qv::LineWidget& caret = t.b.Caret();
        EXPECT_EQ(std::tuple(caret.Visible(), caret.X1(), caret.X2(), caret.Y1()),
                  std::tuple(true, c.caretX, c.caretX, c.caretTop));
        EXPECT_NEAR(caret.Y2() - caret.Y1(), 0.9 * 225, 1.0);
        const qv::Label& label = t.b.Display();  // it ends where the caret stands
        EXPECT_EQ(Rect(label), std::tuple(0, c.labelTop, c.caretX, 400));
        const qv::ShapeWidget& h = t.b.Highlight();
        EXPECT_TRUE(h.Visible());
        EXPECT_EQ(Rect(h), std::tuple(c.highlightLeft, c.labelTop, 720, 225));
        EXPECT_EQ(label.ForeColor(), qv::SystemColor::HighlightText);
        EXPECT_EQ(std::pair(t.b.Border(0).Visible(), t.b.Border(1).Visible()),  // 3-D, flat
                  std::pair(c.border && c.appearance, c.border && !c.appearance));
        for (int16_t i : {0, 1}) EXPECT_EQ(Rect(t.b.Border(i)), std::tuple(0, 0, c.width, 400));
        t.form.Leave();
        EXPECT_EQ(std::tuple(caret.Visible(), h.Visible(), label.ForeColor()),
                  std::tuple(false, false, t.b.ForeColor()));
    }
}

TEST_F(NumBoxTest, CaretBlinksEveryHalfSecondWhileFocusedAndStopsWhenDisabled) {
    EXPECT_FALSE(box.CaretTimer().Enabled());
    form.Focus(box);
    for (bool shown : {true, false, true, false}) {  // and shown again when disabled
        EXPECT_EQ(box.Caret().Visible(), shown);
        form.AdvanceTime(0.5);
    }
    box.Enabled(false);
    for (int tick = 0; tick < 3; ++tick) {
        form.AdvanceTime(0.5);
        EXPECT_FALSE(box.Caret().Visible()) << "tick " << tick;
    }
    form.Leave();
    EXPECT_FALSE(box.CaretTimer().Enabled());
}

TEST_F(NumBoxTest, WritesWhileFocusedHighlightTheNewValueUnlessSelectionOnFocusIsOff) {
    form.Focus(box);
    Press(form, u"{ESC}");
    box.Value(5);
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(box.Highlight().Width(), 360);  // "5,00"
    Press(form, u"{ESC}");
    box.Text(u"12a");  // ignored, but selected all the same
    EXPECT_EQ(box.DisplayText(), u"5,00");
    EXPECT_TRUE(box.IsHighlighted());
    Press(form, u"{ESC}");
    box.SelectedOnGotFocus(false);
    box.Text(u"12");
    EXPECT_FALSE(box.IsHighlighted());
    form.Leave();
    form.Focus(box);
    EXPECT_FALSE(box.IsHighlighted());
}

TEST(NumBoxMouse, DragSelectsAllOnlyWhenLongerThan250Twips) {
    const std::tuple<float, float, bool> cases[] = {
        {1000, 1250, false}, {1000, 1251, true}, {1251, 1000, true}, {1250, 1000, false}};
    for (const auto& [from, to, selects] : cases) {
        SCOPED_TRACE(::testing::Message() << from << " -> " << to);
        Boxed t;
        t.b.Value(1234.5);
        EventLog events;
        events.Attach(t.b);
        std::vector<std::tuple<int32_t, int32_t, bool>> during;
        t.b.events.MouseMove = [&](int16_t&, int16_t&, float&, float&) {
            during.emplace_back(t.b.Highlight().Left(), t.b.Highlight().Width(),
                                t.b.IsHighlighted());
        };
        t.form.Drag(t.b, from, 100, to, 100, 1);
        EXPECT_EQ(events.names,
                  (Names{u"ValidationCheck", u"MouseDown", u"MouseMove", u"MouseUp", u"Click"}));
        EXPECT_EQ(during, (std::vector{std::tuple(int32_t(std::min(from, to)),
                                                  int32_t(std::abs(to - from)), true)}));
        EXPECT_EQ(t.b.IsHighlighted(), selects);
        EXPECT_EQ(t.b.Display().ForeColor(),
                  selects ? qv::SystemColor::HighlightText : t.b.ForeColor());
        if (selects) {
            EXPECT_EQ(Rect(t.b.Highlight()), std::tuple(750, 45, 720, 225));
        }
    }
}

TEST_F(NumBoxTest, DoubleClickSelectsAllAndAButtonHeldAfterwardsDoesNotMoveIt) {
    box.Value(1234.5);
    log.Attach(box);
    form.DoubleClick(box, 300, 100);
    EXPECT_EQ(log.names, (Names{u"ValidationCheck", u"MouseDown", u"MouseUp", u"Click", u"DblClick",
                                u"MouseUp"}));
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(Rect(box.Highlight()), std::tuple(750, 45, 720, 225));

    // The label's own notices: a double click whose button stays down while the mouse moves.
    qv::Label& n = box.Display();
    int16_t button = qv::MouseButton::Left, shift = 0;
    float x = 300, y = 50;
    n.NotifyMouseDown(button, shift, x, y);
    n.NotifyMouseUp(button, shift, x, y);
    n.NotifyClick();
    n.NotifyDblClick();
    x = 0;
    n.NotifyMouseMove(button, shift, x, y);
    n.NotifyMouseUp(button, shift, x, y);
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(Rect(box.Highlight()), std::tuple(750, 45, 720, 225));
    form.Click(box, 300, 100);  // a plain click afterwards selects nothing
    EXPECT_FALSE(box.IsHighlighted());
}

TEST(NumBoxLayout, LargerFontMakesTheControlTallerAndSmallerNeverShrinksIt) {
    // Border, font size, height (300 at the start); 20 pt needs 480 for the line, 60 for a border.
    const std::tuple<int, float, int32_t> cases[] = {
        {1, 20, 540}, {0, 20, 480}, {1, 9, 300}, {1, 11, 330}, {0, 12, 300}};
    for (const auto& [border, size, height] : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << border << " size " << size);
        Boxed t;
        t.b.BorderStyle(qv::NoneFixedSingle(border));
        t.b.FontSize(size);
        EXPECT_EQ(t.b.Display().GetFont().Size(), size);
        EXPECT_EQ(t.form.SiteOf(t.b).Height(), height);
        EXPECT_EQ(t.b.Display().Height(), height);
        t.b.FontSize(8);
        EXPECT_EQ(t.form.SiteOf(t.b).Height(), height);
        t.form.SiteOf(t.b).Resize(1500, 100);  // no lower than the font needs
        EXPECT_EQ(t.form.SiteOf(t.b).Height(), border ? 255 : 195);
    }
}

TEST_F(NumBoxTest, MouseMoveMirrorsTheContainersTooltipControlTipWinning) {
    qv::headless::Site& site = form.SiteOf(box);
    const auto shownAfterMove = [&] {
        form.MouseMove(box, 500, 100);
        return box.Display().ToolTipText();
    };
    EXPECT_EQ(shownAfterMove(), u"");  // neither member exists
    site.SetExtender(u"ToolTipText", u"from the form");
    EXPECT_EQ(shownAfterMove(), u"from the form");
    site.SetExtender(u"ControlTipText", u"from the page");
    EXPECT_EQ(shownAfterMove(), u"from the page");
    site.RemoveExtender(u"ToolTipText");
    site.RemoveExtender(u"ControlTipText");
    EXPECT_EQ(shownAfterMove(), u"from the page");
}

}  // namespace
}  // namespace numbox_test
