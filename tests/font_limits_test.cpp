// Font sizes are kept within what hosts draw, and every text metric is at least a pixel: a tiny
// font must not make positions collapse (a division by zero in caret placement), a huge one must
// not overflow the 32-bit sizes.
#include <gtest/gtest.h>
#include "test_support.h"

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <regex>
#include <string>

#include "formfile/FormFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/TextMetrics.h"
#include "library/Font.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

using qv::Font;
using qv::QVnumBoxControl;
using qv::QVtxtBoxControl;
using qv::String;
using qv::headless::Container;
namespace TextMetrics = qv::headless::TextMetrics;
using qv_test::ErrorOf;

constexpr float kInf = std::numeric_limits<float>::infinity();

// An accepted size is kept within what hosts draw, by the font, both controls and the fields that
// draw with it; a size outside the accepted range is refused and changes nothing.
TEST(FontLimits, SizesAreKeptWithinWhatHostsDrawAndOthersRefused) {
    // clang-format off
    const struct { float written, read; } cases[] = {  // read 0: refused
        {1e-30f, 1}, {0.5f, 1}, {1, 1}, {12.25f, 12.25f}, {1638, 1638}, {1638.5f, 1638}, {2000, 1638},
        {2160, 1638}, {0, 0}, {-0.0f, 0}, {-1, 0}, {2160.5f, 0}, {kInf, 0}, {-kInf, 0}, {std::nanf(""), 0}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        Container form;
        auto& text = form.Add<QVtxtBoxControl>(u"txt");
        auto& number = form.Add<QVnumBoxControl>(u"num");
        Font font;
        const int32_t error = c.read ? 0 : 380;
        const float read = c.read ? c.read : 10;
        for (const auto& size : std::initializer_list<std::function<void(float)>>{
                 [&](float s) { font.Size(s); }, [&](float s) { text.FontSize(s); },
                 [&](float s) { number.FontSize(s); }}) {
            size(10);
            EXPECT_EQ(ErrorOf([&] { size(c.written); }), error);
        }
        EXPECT_EQ(font.Size(), read);
        EXPECT_EQ(text.FontSize(), read);
        EXPECT_EQ(number.FontSize(), read);
        EXPECT_EQ(text.Field(1).GetFont().Size(), read);
    }
}

TEST(FontLimits, EveryMetricIsAtLeastOnePixel) {
    Font smallest;
    smallest.Size(1);  // 24 twips a line, 10 a character: less than a pixel across
    for (const float tpp : {15.0f, 12.0f, 7.5f}) {
        const int32_t pixel = static_cast<int32_t>(std::lround(std::ceil(1 / tpp) * tpp));
        EXPECT_GE(TextMetrics::LineHeight(smallest, tpp), pixel) << tpp;
        EXPECT_GE(TextMetrics::TextHeight(smallest, u"", tpp), pixel) << tpp;
        // Each character a pixel: positions in a text never coincide.
        for (int n = 1; n <= 4; ++n)
            EXPECT_GE(TextMetrics::TextWidth(smallest, String(n, u'a'), tpp), n * pixel)
                << tpp << " " << n;
    }
    Font ordinary;  // formulas unchanged where a character is wider than a pixel
    EXPECT_EQ(TextMetrics::TextWidth(ordinary, u"Hello", 15), 450);
    ordinary.Size(11);
    EXPECT_EQ(TextMetrics::TextWidth(ordinary, u"Hello", 15), 555);
}

TEST(FontLimits, HugeFontsAndLongTextsGiveTheLargestSizeInsteadOfOverflowing) {
    Font huge;
    huge.Size(2160);
    huge.Bold(true);
    EXPECT_EQ(TextMetrics::TextWidth(huge, String(200'000, u'W'), 15), INT32_MAX);
    String lines;
    for (int i = 0; i < 60'000; ++i) lines += u"x\r\n";
    EXPECT_EQ(TextMetrics::TextHeight(huge, lines, 15), INT32_MAX);
    EXPECT_GT(TextMetrics::TextWidth(huge, String(1000, u'W'), 15), 0);
}

// The multi-line field (3-D frame: at 30, 45 in the control) with three lines of a tiny font.
class TinyFontField : public ::testing::Test {
  protected:
    void SetUp() override {
        box.MultiLine(true);
        box.Text(u"a\r\nb\r\nc");
        form.Focus(box);
    }
    Container form;
    QVtxtBoxControl& box = form.Add<QVtxtBoxControl>(u"txt", 1500, 900);
};

TEST_F(TinyFontField, ClicksBelowTheFirstLinePlaceTheCaretOnTheirLine) {
    box.FontSize(1e-30f);  // kept at 1 point: lines of 2 pixels (30 twips)
    const struct {
        float y;  // in the control
        int32_t caret;
    } cases[] = {{45 + 5, 0}, {45 + 35, 3}, {45 + 65, 6}, {45 + 500, 6}, {1e30f, 6}, {kInf, 6}};
    for (const auto& c : cases) {
        form.Click(box, 31, c.y);
        EXPECT_EQ(box.SelStart(), c.caret) << c.y;
        EXPECT_EQ(box.SelLength(), 0) << c.y;
    }
}

TEST_F(TinyFontField, ATinyFontFromAFormFileLoadsAsTheSmallestSize) {
    qv::FormDocument doc;
    qv::FormControl control;
    control.className = u"QVtxtBoxControl";
    control.name = u"txtLoaded";
    form.Save(box, control.properties);
    doc.controls.push_back(std::move(control));
    const std::string saved = qv::FormToJson(doc);
    const std::string json =
        std::regex_replace(saved, std::regex(R"("size": ?9(\.0)?)"), R"("size": 1e-30)");
    ASSERT_NE(json, saved);
    const qv::FormLoadResult loaded = qv::FormFromJson(json);
    ASSERT_EQ(loaded.form.controls.size(), 1u);
    qv::MemoryPropertyBag bag = loaded.form.controls[0].properties;
    auto& copy = form.Load<QVtxtBoxControl>(u"txtLoaded", bag, 1500, 900);
    EXPECT_EQ(copy.FontSize(), 1);
    EXPECT_EQ(copy.Text().ToString(), u"A\r\nb\r\nc");
    form.Click(copy, 31, 45 + 35);
    EXPECT_EQ(copy.SelStart(), 3);
}

}  // namespace
