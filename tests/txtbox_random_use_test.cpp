// Random use of two text boxes (keys, mouse, focus, time and property writes, valid or not): no
// error but 380 escapes, and the fields stay consistent after every step.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>

#include "hosts/headless/HeadlessHost.h"
#include "library/RuntimeError.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

using namespace qv;

TEST(TxtBoxRandomUse, OnlyInvalidWritesFailAndTheFieldsStayConsistent) {
    int changes = 0;  // the walk must reach the editing paths, not just bounce off them
    for (unsigned run = 0; run < 40; ++run) {
        std::mt19937 rng(run);
        auto R = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        headless::Container form;
        QVtxtBoxControl* boxes[] = {&form.Add<QVtxtBoxControl>(u"a"),
                                    &form.Add<QVtxtBoxControl>(u"b")};
        for (QVtxtBoxControl* b : boxes) b->events.Change = [&] { ++changes; };
        for (int step = 0; step < 300; ++step) {
            SCOPED_TRACE(::testing::Message() << "run " << run << " step " << step);
            QVtxtBoxControl& box = *boxes[R(2)];
            const auto x = static_cast<float>(R(2000)), y = static_cast<float>(R(400));
            const int16_t keys[] = {8,  9,  13, 27, 35, 36, 37, 38, 39,
                                    40, 45, 46, 65, 67, 86, 88, 90};
            // clang-format off
            const std::function<void()> actions[] = {
                [&] { form.Focus(box); }, [&] { form.Leave(); },
                [&] { form.Type(String(1, static_cast<char16_t>(32 + R(95)))); },
                [&] { form.PressKey(keys[R(17)], static_cast<int16_t>(R(8))); },
                [&] { box.MultiLine(R(2) == 0); }, [&] { box.ScrollBars(static_cast<ScrollBarsEnum>(R(5))); },
                [&] { box.Text(R(3) ? Variant(String(R(5), u' ') + u"xy z ") : Variant::Null()); },
                [&] { box.SelStart(R(12) - 1); }, [&] { box.SelLength(R(12) - 1); },
                [&] { box.MaxLength(static_cast<int16_t>(R(8) - 1)); }, [&] { box.Locked(R(2) == 0); },
                [&] { box.Enabled(R(4) != 0); }, [&] { box.FontSize(static_cast<float>(R(40))); },
                [&] { form.Click(box, x, y); }, [&] { form.Drag(box, x, y, static_cast<float>(R(2000)), y); },
                [&] { form.AdvanceTime(R(1000) / 1000.0); box.Appearance(Flat3d(R(3))); }};
            // clang-format on
            try {
                actions[R(16)]();
            } catch (const RuntimeError& e) {
                ASSERT_EQ(e.Number(), err::InvalidPropertyValue);
            } catch (const std::logic_error&) {
                // Typing with nothing focused: the simulation's misuse, not the control's.
            }
            int visible = 0;
            for (int16_t i = 0; i < 3; ++i) {
                visible += box.Field(i).Visible() ? 1 : 0;
                ASSERT_TRUE(box.Field(i).GetFont().SameAttributes(*box.Font()));
            }
            ASSERT_EQ(visible, 1);
            ASSERT_FALSE(box.IsNull() && !box.Field(box.ActiveFieldIndex()).Text().empty());
            ASSERT_GE(form.SiteOf(box).Height(), box.Field(0).Height());
        }
    }
    EXPECT_GT(changes, 1000);
}

}  // namespace
