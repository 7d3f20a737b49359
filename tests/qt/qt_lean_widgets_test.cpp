// What keeps the Qt widgets small must not change what they do: drawn labels still take the
// mouse, tooltips and pointers; an editor without a palette or font of its own still shows the
// control's colours and font, in either enabled state and after the form's font changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <vector>

#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"
#include "library/Font.h"
#include "scenario.h"

namespace {

using qv::qt::ToQColor;

struct Shown {
    QWidget window;
    qv::qt::NumBox* num = new qv::qt::NumBox(&window);
    qv::qt::TxtBox* txt = new qv::qt::TxtBox(&window);
    QLineEdit* other = new QLineEdit(&window);
    Shown() {
        num->setGeometry(10, 10, 150, num->height());
        txt->setGeometry(10, 60, 150, txt->height());
        other->move(10, 110);
        conformance::ShowActive(window);
    }
    QLineEdit* Editor() const {
        const auto& c = txt->box();
        return qobject_cast<QLineEdit*>(
            conformance::SurfaceOf(*txt, c.Field(c.ActiveFieldIndex())));
    }
};

// A label drawn by its control: the notices reach it with its own coordinates, a press holds it
// until the button is up (the release outside it is still its), and its tooltip and pointer show
// over it and only there.
TEST(QtDrawnItems, ALabelTakesTheMouseTooltipAndPointer) {
    Shown f;
    qv::Label& label = f.num->site().CreateLabel(u"probe", 0, {});
    label.Left(150), label.Top(30), label.Width(600), label.Height(150);  // (10, 2) 40 × 10 px
    std::vector<std::string> heard;
    const auto record = [&heard](const char* what) {
        return [&heard, what](int16_t& button, int16_t&, float& x, float& y) {
            heard.push_back(std::string(what) + " " + std::to_string(button) + " " +
                            std::to_string(static_cast<int>(x)) + "," +
                            std::to_string(static_cast<int>(y)));
        };
    };
    label.notices().MouseDown = record("down");
    label.notices().MouseUp = record("up");
    label.notices().Click = [&heard] { heard.emplace_back("click"); };
    QTest::mousePress(f.num, Qt::LeftButton, {}, QPoint(12, 4));
    QTest::mouseRelease(f.num, Qt::LeftButton, {}, QPoint(100, 20));  // off the label
    const std::vector<std::string> expected = {"down 1 30,30", "up 1 1350,270", "click"};
    EXPECT_EQ(heard, expected);

    label.ToolTipText(u"the probe");
    QHelpEvent over(QEvent::ToolTip, QPoint(20, 5), f.num->mapToGlobal(QPoint(20, 5)));
    QApplication::sendEvent(f.num, &over);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("the probe"));
    QToolTip::hideText();

    const Qt::CursorShape own = f.num->cursor().shape();
    ASSERT_NE(own, Qt::CrossCursor);
    label.MousePointer(2);  // the cross
    QTest::mouseMove(f.num, QPoint(20, 5));
    EXPECT_EQ(f.num->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(f.num, QPoint(100, 5));  // over the digits: the box's own pointer
    EXPECT_EQ(f.num->cursor().shape(), own);
}

// The editor drops its own palette while its colours are the inherited ones and takes one for a
// state colour; disabled, it compares the palette's disabled colours.
TEST(QtLeanEditor, PaletteOnlyForColoursItDoesNotInherit) {
    Shown f;
    QLineEdit* editor = f.Editor();
    ASSERT_NE(editor, nullptr);
    const auto& c = f.txt->box();
    const auto showsFieldColour = [&](const char* where) {
        const qv::TextField& field = c.Field(c.ActiveFieldIndex());
        const QPalette::ColorGroup group =
            editor->isEnabled() ? QPalette::Active : QPalette::Disabled;
        EXPECT_EQ(editor->palette().color(group, QPalette::Base), ToQColor(field.BackColor()))
            << where;
    };
    showsFieldColour("unfocused");
    EXPECT_FALSE(editor->testAttribute(Qt::WA_SetPalette)) << "plain colours are inherited";
    f.txt->setFocus();
    QApplication::processEvents();
    showsFieldColour("focused");
    EXPECT_TRUE(editor->testAttribute(Qt::WA_SetPalette));
    f.other->setFocus();
    QApplication::processEvents();
    showsFieldColour("left");
    EXPECT_FALSE(editor->testAttribute(Qt::WA_SetPalette));
    f.txt->setEnabled(false);
    QApplication::processEvents();
    showsFieldColour("disabled");
    f.txt->setEnabled(true);
    QApplication::processEvents();
    showsFieldColour("enabled again");
}

// An editor in its control widget's font inherits it; a font the application gives the control
// is the editor's own and stays when the form's font changes.
TEST(QtLeanEditor, FontInheritedOnlyWhileItIsTheControlsFont) {
    Shown f;
    QLineEdit* editor = f.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->testAttribute(Qt::WA_SetFont));
    EXPECT_EQ(editor->font(), f.txt->font());

    auto font = std::make_shared<qv::Font>(*f.txt->box().Font());
    font->Size(font->Size() + 5);
    f.txt->box().Font(*font);
    EXPECT_TRUE(editor->testAttribute(Qt::WA_SetFont));
    const qreal own = editor->font().pointSizeF();
    EXPECT_NEAR(own, font->Size(), 0.01);

    QFont form = f.window.font();
    form.setPointSizeF(form.pointSizeF() + 1);
    f.window.setFont(form);
    QApplication::processEvents();
    EXPECT_NEAR(editor->font().pointSizeF(), own, 0.01) << "the application's font stays";
}

}  // namespace
