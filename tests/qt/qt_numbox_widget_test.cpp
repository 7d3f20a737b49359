// The numeric box as a Qt widget: its Qt properties, and the Qt widgets of its label, frames,
// highlight and caret following what the control sets, stacked and painted as the control means.
// Its typing is in the conformance table.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QMetaProperty>

#include "hosts/qt/ControlWidgetFactory.h"
#include "hosts/qt/NumBox.h"
#include "scenario.h"
#include "test_support.h"

namespace {

using conformance::SurfaceOf;
using qv::qt::NumBox;
using qv::qt::ToQColor;
using qv_test::ErrorOf;

// Every property of the control's member table is a Qt property of the same name, writable
// exactly when the member is; Value and Text carry Null as an invalid QVariant; refusals make
// setProperty() return false and change nothing.
TEST(QtNumBox, PropertiesThroughQtsPropertySystem) {
    std::unique_ptr<qv::qt::ControlWidget> made(
        qv::qt::CreateControlWidget(u"QVnumBoxControl", nullptr));
    auto* box = qobject_cast<NumBox*>(made.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qv::qt::ClassNameOf(*box), u"QVnumBoxControl");
    const QMetaObject* meta = box->metaObject();
    for (const qv::Member& m : box->control().Members().All()) {
        if (m.kind != qv::MemberKind::Property || m.name == std::u16string_view(u"MouseIcon"))
            continue;
        const int index = meta->indexOfProperty(qv::ToUtf8(m.name).c_str());
        ASSERT_GE(index, 0) << qv::ToUtf8(m.name);
        EXPECT_EQ(meta->property(index).isWritable(), !m.readOnly) << qv::ToUtf8(m.name);
    }
    EXPECT_STREQ(meta->userProperty().name(), "Value");

    int refusals = 0;
    QObject::connect(box, &NumBox::propertyWriteRefused, [&] { ++refusals; });
    ASSERT_TRUE(box->setProperty("Value", 1234.5));
    EXPECT_EQ(box->property("Value"), QVariant(1234.5));
    EXPECT_EQ(box->property("Text"), QVariant(QStringLiteral("1.234,50")));
    EXPECT_FALSE(box->setValue(QStringLiteral("12e3")));  // no exponents
    EXPECT_FALSE(box->setProperty("PreDecimalNumbers", 0));
    EXPECT_FALSE(box->setProperty("PostDecimalNumbers", 70000));  // beyond 16 bits
    EXPECT_EQ(refusals, 3);
    EXPECT_EQ(box->property("Value"), QVariant(1234.5));
    EXPECT_EQ(box->PostDecimalNumbers(), 2);

    // A limit lowered under the value: the Qt property reads null, the typed call raises.
    ASSERT_TRUE(box->setProperty("PreDecimalNumbers", 3));
    EXPECT_TRUE(box->property("TextFormatted").toString().isNull());
    EXPECT_EQ(ErrorOf([&] { (void)box->box().TextFormatted(); }), 380);

    ASSERT_TRUE(box->setProperty("Value", QVariant()));
    EXPECT_TRUE(box->isNull());
    EXPECT_FALSE(box->property("Value").isValid());
    EXPECT_FALSE(box->property("Text").isValid());
    ASSERT_TRUE(box->setProperty("Text", QStringLiteral(" 7,5 ")));
    EXPECT_EQ(box->property("Value"), QVariant(7.5));
}

struct ShownNumBox {
    QWidget window;
    NumBox* box = new NumBox(&window);
    QLineEdit* other = new QLineEdit(&window);
    ShownNumBox() {
        box->setGeometry(10, 10, 150, box->height());
        other->move(10, 60);
        conformance::ShowActive(window);
    }
    QRect Of(const auto& constituent) const { return conformance::GeometryOf(*box, constituent); }
};

// What the Qt host shows follows the control. The box draws its frames, highlight, label and
// caret itself (in that order, from the bottom): it has no Qt widgets of its own.
void ExpectLayoutFollowsTheControl(const ShownNumBox& f, const std::string& where) {
    conformance::ExpectShowsModel(*f.box, where);
    EXPECT_TRUE(f.box->findChildren<QWidget*>().isEmpty()) << where;
}

TEST(QtNumBox, LabelsHighlightAndCaretFollowTheControlAndPaintThroughTheLabel) {
    ShownNumBox f;
    const qv::QVnumBoxControl& c = f.box->box();
    f.box->setValue(1234.5);
    ExpectLayoutFollowsTheControl(f, "unfocused");
    f.box->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(c.IsHighlighted() && c.Caret().Visible());
    ExpectLayoutFollowsTheControl(f, "focused, highlighted");

    // The transparent label lets the highlight and the control's background show around its
    // digits; the frame is drawn.
    const QImage shot = f.box->grab().toImage();
    const QRect shape = f.Of(c.Highlight());
    EXPECT_EQ(shot.pixelColor(shape.left() + 1, shape.top()), ToQColor(qv::SystemColor::Highlight));
    const QColor back = ToQColor(c.GetHost().BackColor());
    EXPECT_EQ(back, ToQColor(c.FocusColor()));
    EXPECT_EQ(shot.pixelColor(6, shot.height() / 2), back);
    EXPECT_NE(shot.pixelColor(0, shot.height() / 2), back);
    EXPECT_EQ(dynamic_cast<qv::qt::QtLabel&>(*conformance::ItemOf(*f.box, c.Display())).TextColor(),
              ToQColor(qv::SystemColor::HighlightText));

    QTest::keyClick(f.box, Qt::Key_7);
    ASSERT_FALSE(c.IsHighlighted());
    ExpectLayoutFollowsTheControl(f, "typed");
    f.box->resize(220, f.box->height());
    f.box->setAppearance(0);
    ExpectLayoutFollowsTheControl(f, "wider, flat");
    f.other->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(c.Caret().Visible());
    ExpectLayoutFollowsTheControl(f, "left");
    // Lines and shapes take no mouse: the label under them gets it.
    f.box->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(c.Caret().Visible());
    const qv::qt::QtWidgetStore& drawn = f.box->site().Widgets();
    EXPECT_EQ(drawn.DrawnItemAt(f.Of(c.Highlight()).center()),
              conformance::ItemOf(*f.box, c.Display()));
    EXPECT_NE(dynamic_cast<qv::qt::QtLabel*>(drawn.DrawnItemAt(f.Of(c.Caret()).center())), nullptr);
}

// A line is drawn end point to end point whichever way it runs; a shape refuses a negative size.
TEST(QtNumBox, LinesRunEitherWayAndShapesRefuseNegativeSizes) {
    ShownNumBox f;
    qv::LineWidget& line = f.box->site().CreateLine(u"diagonal");
    line.BorderColor(0x0000FF);
    line.X1(300), line.Y1(150), line.X2(0), line.Y2(0);
    QApplication::processEvents();
    EXPECT_EQ(f.Of(line), QRect(0, 0, 21, 11));
    const QImage shot = f.box->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(20, 10), QColor(Qt::red));
    line.Visible(false);
    EXPECT_FALSE(conformance::ShownOn(*f.box, line));
    EXPECT_NE(f.box->grab().toImage().pixelColor(20, 10), QColor(Qt::red));

    qv::ShapeWidget& shape = f.box->site().CreateShape(u"block");
    shape.Width(300);
    EXPECT_EQ(ErrorOf([&] { shape.Width(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { shape.Height(-1); }), 380);
    EXPECT_EQ(shape.Width(), 300);
    // The measuring form (hidden, reused) hands out the line it already has under that name.
    auto form = f.box->site().LoadForm(u"TextHeightTestForm");
    EXPECT_EQ(&form->CreateLine(u"l"), &form->CreateLine(u"L"));
}

}  // namespace
