// The text box's appearance: which field shows, the frame, where the fields sit and how the
// control grows to fit its font.
#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::Flat3d;
using qv::NoneFixedSingle;
using qv::QVtxtBoxControl;
using qv::ScrollBarsEnum;
using qv::headless::Container;

using TxtBoxLayoutTest = TxtBoxTest;

struct ActiveCase {
    bool multiLine;
    int32_t scrollBars;
    int16_t active;
};

TEST_F(TxtBoxLayoutTest, ExactlyOneFieldShowsChosenByMultiLineAndVerticalScrollBars) {
    const ActiveCase cases[] = {{false, 0, 0}, {false, 2, 0}, {true, 0, 1}, {true, 1, 1},
                                {true, 2, 2},  {true, 3, 1},  {true, 7, 1}, {false, 7, 0}};
    for (const ActiveCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.multiLine << " / " << c.scrollBars);
        box.ScrollBars(static_cast<ScrollBarsEnum>(c.scrollBars));
        box.MultiLine(c.multiLine);
        EXPECT_EQ(static_cast<int32_t>(box.ScrollBars()), c.scrollBars);  // any value is kept
        EXPECT_EQ(box.ActiveFieldIndex(), c.active);
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).Visible(), i == c.active) << i;
    }
}

struct MarginCase {
    int32_t borderStyle, appearance;
    float twipsPerPixel;
    bool frame3d, frameFlat;
    int32_t left, top, width, height;
};

TEST(TxtBoxLayout, FieldsSitInsideTheFrameWithItsMargins) {
    const MarginCase cases[] = {
        {1, 1, 15, true, false, 30, 45, 1440, 225}, {1, 0, 15, false, true, 15, 30, 1470, 255},
        {0, 1, 15, false, false, 0, 0, 1500, 300},  {0, 0, 15, false, false, 0, 0, 1500, 300},
        {1, 1, 12, true, false, 24, 36, 1452, 240}, {1, 0, 10, false, true, 10, 20, 1480, 270},
    };
    for (const MarginCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "border " << c.borderStyle << " appearance "
                                          << c.appearance << " tpp " << c.twipsPerPixel);
        Container f;
        f.TwipsPerPixel(c.twipsPerPixel, c.twipsPerPixel);
        auto& b = f.Add<QVtxtBoxControl>(u"txt", 1500, 300);
        b.BorderStyle(static_cast<NoneFixedSingle>(c.borderStyle));
        b.Appearance(static_cast<Flat3d>(c.appearance));
        EXPECT_EQ(b.Border(0).Visible(), c.frame3d);
        EXPECT_EQ(b.Border(1).Visible(), c.frameFlat);
        for (int16_t i = 0; i < 2; ++i) {
            const qv::Label& frame = b.Border(i);
            EXPECT_EQ(frame.Left(), 0);
            EXPECT_EQ(frame.Top(), 0);
            EXPECT_EQ(frame.Width(), 1500);
            EXPECT_EQ(frame.Height(), 300);
        }
        for (int16_t i = 0; i < 3; ++i) {  // laid out whether visible or not
            SCOPED_TRACE(i);
            const qv::TextField& field = b.Field(i);
            EXPECT_EQ(field.Left(), c.left);
            EXPECT_EQ(field.Top(), c.top);
            EXPECT_EQ(field.Width(), c.width);
            EXPECT_EQ(field.Height(), c.height);
        }
        EXPECT_EQ(f.SiteOf(b).Height(), 300);
    }
}

TEST_F(TxtBoxLayoutTest, ContainerResizeLaysOutAgain) {
    form.SiteOf(box).Resize(2000, 400);
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(box.Field(i).Width(), 1940);
        EXPECT_EQ(box.Field(i).Height(), 325);
    }
    EXPECT_EQ(box.Border(0).Width(), 2000);
    EXPECT_EQ(box.Border(0).Height(), 400);
}

TEST_F(TxtBoxLayoutTest, ControlNarrowerThanItsMarginsGivesFieldsNoWidth) {
    form.SiteOf(box).Resize(20, 300);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).Width(), 0);
}

TEST_F(TxtBoxLayoutTest, WideControlLaysOutBeyondThe16BitRange) {
    EXPECT_EQ(ErrorOf([&] { form.SiteOf(box).Resize(40000, 300); }), 0);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).Width(), 39940);
    EXPECT_EQ(box.Border(0).Width(), 40000);
}

// 24 pt: a line of 24 × 20 × 1.2 = 576 twips, 39 whole pixels = 585, and the bordered
// measuring field adds 2 pixels above and below: 645.
TEST_F(TxtBoxLayoutTest, LargerFontGrowsTheControlAndSmallerFontNeverShrinksIt) {
    auto& site = form.SiteOf(box);
    box.FontSize(24);
    EXPECT_EQ(site.Height(), 645);
    EXPECT_EQ(site.Width(), 1500);
    EXPECT_EQ(box.Border(0).Height(), 645);
    EXPECT_EQ(box.Field(1).Height(), 645 - 75);
    const int32_t requests = site.SizeRequests();
    box.FontSize(8);
    EXPECT_EQ(site.Height(), 645);
    EXPECT_EQ(site.SizeRequests(), requests);
    site.Resize(1500, 1000);
    EXPECT_EQ(site.Height(), 1000);
    EXPECT_TRUE(form.LoadedForms().empty());  // the measuring form is unloaded again
}

TEST_F(TxtBoxLayoutTest, FlatFrameGrowsByTheSameMeasure) {
    box.Appearance(Flat3d::qvFlat);
    box.FontSize(24);
    EXPECT_EQ(form.SiteOf(box).Height(), 645);
}

TEST_F(TxtBoxLayoutTest, NewControlLowerThanItsFontNeedsGrowsAtOnce) {
    auto& low = form.Add<QVtxtBoxControl>(u"txtLow", 1500, 100);
    EXPECT_EQ(form.SiteOf(low).Height(), 285);  // 9 pt: 225 + 2 × 2 pixels of frame
    EXPECT_EQ(low.Field(1).Height(), 285 - 75);
}

// Without a frame no measuring happens: the visible field's own minimum height decides.
TEST_F(TxtBoxLayoutTest, UnframedControlGrowsToTheVisibleFieldsMinimumHeight) {
    auto& site = form.SiteOf(box);
    box.BorderStyle(NoneFixedSingle::None);
    site.Resize(1500, 150);
    EXPECT_EQ(site.Height(), 225);  // a 9 pt line: 216 twips, rounded up to 15 pixels
    box.FontSize(24);
    EXPECT_EQ(site.Height(), 585);
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).Top(), 0);

    auto& multi = form.Add<QVtxtBoxControl>(u"txtMulti", 1500, 300);
    multi.MultiLine(true);
    multi.BorderStyle(NoneFixedSingle::None);
    form.SiteOf(multi).Resize(1500, 150);  // a multi-line field takes any height
    EXPECT_EQ(form.SiteOf(multi).Height(), 150);
    EXPECT_EQ(multi.Field(1).Height(), 150);
}

}  // namespace
}  // namespace txtbox_test
