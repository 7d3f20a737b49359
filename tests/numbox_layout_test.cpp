// The numeric box's drawing: frame and label placement, the caret and its blinking, the highlight
// from focus entry and mouse gestures, growth with the font, the mouse pointer and tooltips.
// With the headless metrics a 9 pt digit is 90 twips wide and a line 225 twips high.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "numbox_test_support.h"

namespace numbox_test {
namespace {

using qv::Flat3d;
using qv::MousePointerEnum;
using qv::NoneFixedSingle;
namespace SystemColor = qv::SystemColor;

TEST(NumBoxLayout, FramePlacesLabelAndCaretAtTheRightEdge) {
    struct Case {
        int border, appearance, width;
        int32_t caretX, caretTop, labelTop;
        bool frame3d, frameFlat;
    };
    // clang-format off
    const Case cases[] = {
        {0, 1, 1200, 1170, 0, 0, false, false},  {1, 1, 1200, 1155, 60, 45, true, false},
        {1, 0, 1200, 1155, 45, 30, false, true},  {1, 1, 40, 0, 60, 45, true, false},
        {0, 0, 20, 0, 0, 0, false, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << c.border << " appearance " << c.appearance
                                          << " width " << c.width);
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num", c.width, 400);
        b.Appearance(Flat3d(c.appearance));
        b.BorderStyle(NoneFixedSingle(c.border));
        form.Focus(b);
        const qv::LineWidget& caret = b.Caret();
        EXPECT_TRUE(caret.Visible());
        EXPECT_EQ(caret.X1(), c.caretX);
        EXPECT_EQ(caret.X2(), c.caretX);
        EXPECT_EQ(caret.Y1(), c.caretTop);
        EXPECT_NEAR(caret.Y2() - caret.Y1(), 0.9 * 225, 1.0);
        EXPECT_EQ(b.Display().Left(), 0);
        EXPECT_EQ(b.Display().Top(), c.labelTop);
        EXPECT_EQ(b.Display().Width(), c.caretX);  // the label ends where the caret stands
        EXPECT_EQ(b.Display().Height(), 400);
        EXPECT_EQ(b.Border(0).Visible(), c.frame3d);
        EXPECT_EQ(b.Border(1).Visible(), c.frameFlat);
        for (int16_t i : {0, 1})
            EXPECT_EQ(std::tuple(b.Border(i).Left(), b.Border(i).Top(), b.Border(i).Width(),
                                 b.Border(i).Height()),
                      std::tuple(0, 0, c.width, 400));
        form.Leave();
        EXPECT_FALSE(caret.Visible());
    }
}

TEST_F(NumBoxTest, CaretBlinksEveryHalfSecondWhileFocusedAndStopsWhenDisabled) {
    EXPECT_EQ(box.CaretTimer().Interval(), 500);
    EXPECT_FALSE(box.CaretTimer().Enabled());
    form.Focus(box);
    std::vector<bool> seen;
    for (int tick = 0; tick < 4; ++tick) {
        seen.push_back(box.Caret().Visible());
        form.AdvanceTime(0.25);
        EXPECT_EQ(box.Caret().Visible(), seen.back()) << "changed between ticks";
        form.AdvanceTime(0.25);
    }
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(box.CaretOn(), box.Caret().Visible());
    ASSERT_TRUE(box.Caret().Visible());
    box.Enabled(false);
    EXPECT_EQ(form.SiteOf(box).MousePointer(), 1);
    for (int tick = 0; tick < 3; ++tick) {
        form.AdvanceTime(0.5);
        EXPECT_FALSE(box.Caret().Visible()) << "tick " << tick;
    }
    form.Leave();
    EXPECT_FALSE(box.CaretTimer().Enabled());
}

TEST(NumBoxLayout, FocusEntryHighlightsExactlyTheDisplayedText) {
    struct Case {
        int border, appearance, width;
        Variant value;
        int32_t left, top, textWidth;
    };
    // clang-format off
    const Case cases[] = {
        {1, 1, 1500, 1234.5, 750, 45, 720},  // "1.234,50": 8 digits of 90 twips
        {0, 1, 1500, 1234.5, 765, 0, 720},   {1, 0, 1500, 5, 1110, 30, 360},
        {1, 1, 500, 1234.5, 0, 45, 720}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << c.border << " width " << c.width);
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num", c.width, 300);
        b.Appearance(Flat3d(c.appearance));
        b.BorderStyle(NoneFixedSingle(c.border));
        b.Value(c.value);
        EXPECT_FALSE(b.IsHighlighted());  // positioned only, without the focus
        EXPECT_EQ(b.Display().ForeColor(), b.ForeColor());
        form.Focus(b);
        const qv::ShapeWidget& h = b.Highlight();
        EXPECT_TRUE(h.Visible());
        EXPECT_EQ(std::tuple(h.Left(), h.Top(), h.Width(), h.Height()),
                  std::tuple(c.left, c.top, c.textWidth, 225));
        EXPECT_EQ(b.Display().ForeColor(), SystemColor::HighlightText);
        form.Leave();
        EXPECT_FALSE(h.Visible());
        EXPECT_EQ(b.Display().ForeColor(), b.ForeColor());
    }
}

TEST_F(NumBoxTest, WritesWhileFocusedHighlightTheNewValueUnlessSelectionOnFocusIsOff) {
    form.Focus(box);
    Press(form, u"{ESC}");
    box.Value(5);
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(box.Highlight().Width(), 360);  // "5,00"
    Press(form, u"{ESC}");
    box.SelectedOnGotFocus(false);
    box.Text(u"12");
    EXPECT_FALSE(box.IsHighlighted());
    form.Leave();
    form.Focus(box);
    EXPECT_FALSE(box.IsHighlighted());
}

TEST(NumBoxMouse, DragSelectsAllOnlyWhenLongerThan250Twips) {
    struct Case {
        float from, to;
        bool selects;
    };
    const Case cases[] = {
        {1000, 1250, false}, {1000, 1251, true}, {1251, 1000, true}, {1250, 1000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to);
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        b.Value(1234.5);
        EventLog events;
        events.Attach(b);
        std::vector<std::tuple<int32_t, int32_t, bool>> during;
        b.events.MouseMove = [&](int16_t&, int16_t&, float&, float&) {
            during.emplace_back(b.Highlight().Left(), b.Highlight().Width(), b.IsHighlighted());
        };
        form.Drag(b, c.from, 100, c.to, 100, 1);
        EXPECT_EQ(events.names,
                  (Names{u"ValidationCheck", u"MouseDown", u"MouseMove", u"MouseUp", u"Click"}));
        ASSERT_EQ(during.size(), 1u);
        EXPECT_EQ(during[0], std::tuple(int32_t(std::min(c.from, c.to)),
                                        int32_t(std::abs(c.to - c.from)), true));
        EXPECT_EQ(b.IsHighlighted(), c.selects);
        EXPECT_EQ(b.Display().ForeColor(), c.selects ? SystemColor::HighlightText : b.ForeColor());
        if (c.selects) {
            EXPECT_EQ(std::tuple(b.Highlight().Left(), b.Highlight().Width()),
                      std::tuple(750, 720));
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
    const auto selected = std::tuple(750, 720);
    EXPECT_EQ(std::tuple(box.Highlight().Left(), box.Highlight().Width()), selected);

    // The label's own notices: a double click whose button stays down while the mouse moves.
    qv::WidgetNotices& n = box.Display().notices;
    int16_t button = qv::MouseButton::Left, shift = 0;
    float x = 300, y = 50;
    n.MouseDown(button, shift, x, y);
    n.MouseUp(button, shift, x, y);
    n.Click();
    n.DblClick();
    x = 0;
    n.MouseMove(button, shift, x, y);
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(std::tuple(box.Highlight().Left(), box.Highlight().Width()), selected);
    n.MouseUp(button, shift, x, y);
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(std::tuple(box.Highlight().Left(), box.Highlight().Width()), selected);
    // A plain click afterwards selects nothing.
    form.Click(box, 300, 100);
    EXPECT_FALSE(box.IsHighlighted());
}

TEST(NumBoxLayout, LargerFontMakesTheControlTallerAndSmallerNeverShrinksIt) {
    struct Case {
        int border;
        float size;
        int32_t height;  // 300 at the start
    };
    // clang-format off
    const Case cases[] = {
        {1, 20, 540},  // 480 for the line, 60 for a 3-D border
        {0, 20, 480}, {1, 9, 300}, {1, 11, 330}, {0, 12, 300}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << c.border << " size " << c.size);
        Container form;
        auto& b = form.Add<QVnumBoxControl>(u"num");
        b.BorderStyle(NoneFixedSingle(c.border));
        b.FontSize(c.size);
        EXPECT_EQ(b.Display().GetFont().Size(), c.size);
        EXPECT_EQ(form.SiteOf(b).Height(), c.height);
        EXPECT_EQ(b.Display().Height(), c.height);
        b.FontSize(8);
        EXPECT_EQ(form.SiteOf(b).Height(), c.height);
        form.SiteOf(b).Resize(1500, 100);  // the container cannot make it lower than the font needs
        EXPECT_EQ(form.SiteOf(b).Height(), c.border ? 255 : 195);
    }
}

TEST_F(NumBoxTest, MousePointerIsAnIBeamByDefaultAndAnArrowWhenDisabled) {
    const qv::headless::Site& site = form.SiteOf(box);
    EXPECT_EQ(site.MousePointer(), 3);
    box.MousePointer(MousePointerEnum::Cross);
    EXPECT_EQ(site.MousePointer(), 2);
    box.Enabled(false);
    EXPECT_EQ(site.MousePointer(), 1);
    box.Enabled(true);
    EXPECT_EQ(site.MousePointer(), 2);
    box.MousePointer(MousePointerEnum::Default);
    EXPECT_EQ(site.MousePointer(), 3);
}

TEST_F(NumBoxTest, MouseMoveMirrorsTheContainersTooltipControlTipWinning) {
    qv::headless::Site& site = form.SiteOf(box);
    EXPECT_EQ(ErrorOf([&] { form.MouseMove(box, 500, 100); }), 0);  // neither member exists
    EXPECT_EQ(box.Display().ToolTipText(), u"");
    site.SetExtender(u"ToolTipText", u"from the form");
    form.MouseMove(box, 500, 100);
    EXPECT_EQ(box.Display().ToolTipText(), u"from the form");
    site.SetExtender(u"ControlTipText", u"from the page");
    form.MouseMove(box, 500, 100);
    EXPECT_EQ(box.Display().ToolTipText(), u"from the page");
    site.RemoveExtender(u"ToolTipText");
    site.RemoveExtender(u"ControlTipText");
    form.MouseMove(box, 500, 100);
    EXPECT_EQ(box.Display().ToolTipText(), u"from the page");
}

}  // namespace
}  // namespace numbox_test
