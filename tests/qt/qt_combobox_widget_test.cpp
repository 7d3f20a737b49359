// qv::qt::ComboBox as a Qt developer and a user meet it: a click in the dropped list chooses,
// Text as the user property of a QDataWidgetMapper form, and the second button.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "scenario.h"

namespace {

using qv::qt::ComboBox;

struct Form {
    QWidget window;
    ComboBox* box = new ComboBox;
    QPushButton* next = new QPushButton(QStringLiteral("Next"));
    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(next);
        box->addItems({QStringLiteral("Anna"), QStringLiteral("Anton"), QStringLiteral("Berta")});
    }
    static void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void ClickButton1() {
        QTest::mouseClick(box, Qt::LeftButton, {},
                          conformance::GeometryOf(*box, box->box().Button1()).center());
    }
};

TEST(QtComboBox, AClickInTheDroppedListChoosesTheItem) {
    Form f;
    conformance::ShowActive(f.window);
    Form::Focus(f.box);
    QSignalSpy clicks(f.box, &ComboBox::ListClick);
    QSignalSpy drops(f.box, &ComboBox::DropDown);
    f.ClickButton1();
    QApplication::processEvents();  // the list shows before the user clicks in it
    ASSERT_TRUE(f.box->ListBoxDropped());
    EXPECT_EQ(drops.count(), 1);
    auto* list = f.box->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible()) << "the list shows as a popup";
    EXPECT_GE(view->mapToGlobal(QPoint(0, 0)).y(),
              f.box->mapToGlobal(QPoint(0, f.box->height() - 1)).y())
        << "the list opens below the box";

    const QRect berta = view->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, berta.center());
    QApplication::processEvents();
    EXPECT_EQ(f.box->ListIndex(), 2);
    EXPECT_EQ(f.box->Text(), QStringLiteral("Berta"));
    EXPECT_FALSE(f.box->ListBoxDropped());
    EXPECT_FALSE(view->isVisible());
    EXPECT_GE(clicks.count(), 1);
    EXPECT_TRUE(f.box->hasFocus() || f.box->isAncestorOf(QApplication::focusWidget()))
        << "the focus comes back to the box";
}

TEST(QtComboBox, MapperWritesBackWhatTheUserDidNotChangeAndWhatTheyTyped) {
    QStandardItemModel model(3, 1);
    model.setData(model.index(0, 0), QStringLiteral("  Anna  "));  // the box trims what it shows
    model.setData(model.index(1, 0), QVariant(QMetaType::fromType<QString>()));  // SQL's NULL
    model.setData(model.index(2, 0), QStringLiteral("Berta"));
    Form f;
    f.box->setProperty("Trim", true);
    QDataWidgetMapper mapper;
    mapper.setModel(&model);
    mapper.setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    mapper.addMapping(f.box, 0);
    conformance::ShowActive(f.window);

    mapper.toFirst();
    Form::Focus(f.box);
    Form::Focus(f.next);  // passed through, not edited
    mapper.toNext();
    EXPECT_EQ(model.index(0, 0).data(), QVariant(QStringLiteral("  Anna  ")));

    EXPECT_EQ(f.box->Text(), QString());
    Form::Focus(f.box);
    Form::Focus(f.next);
    mapper.toNext();
    EXPECT_TRUE(model.index(1, 0).data().isNull()) << "a NULL stays NULL";

    EXPECT_EQ(f.box->Text(), QStringLiteral("Berta"));
    Form::Focus(f.box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ant"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // completes from the list
    EXPECT_EQ(f.box->Text(), QStringLiteral("Anton"));
    Form::Focus(f.next);
    mapper.toFirst();
    EXPECT_EQ(model.index(2, 0).data(), QVariant(QStringLiteral("Anton")));
}

TEST(QtComboBox, TheSecondButtonShowsClicksAndGoes) {
    Form f;
    conformance::ShowActive(f.window);
    QSignalSpy second(f.box, &ComboBox::Button2Click);
    QSignalSpy first(f.box, &ComboBox::Button1Click);
    ASSERT_TRUE(f.box->setProperty("Button2Visible", true));
    const qv::ButtonWidget* b2 = f.box->box().Button2();
    ASSERT_NE(b2, nullptr);
    ASSERT_TRUE(conformance::ShownOn(*f.box, *b2));
    const QRect r1 = conformance::GeometryOf(*f.box, f.box->box().Button1());
    const QRect r2 = conformance::GeometryOf(*f.box, *b2);
    EXPECT_FALSE(r1.intersects(r2)) << "the buttons lie side by side";
    EXPECT_LE(r2.right(), f.box->width());
    QTest::mouseClick(f.box, Qt::LeftButton, {}, r2.center());
    EXPECT_EQ(second.count(), 1);
    EXPECT_EQ(first.count(), 0);

    const int fieldWidth = conformance::GeometryOf(*f.box, f.box->box().TextBox()).width();
    ASSERT_TRUE(f.box->setProperty("Button2Visible", false));
    f.box->resize(f.box->width() + 15, f.box->height());  // takes effect at the next layout
    EXPECT_EQ(f.box->box().Button2(), nullptr);
    EXPECT_GT(conformance::GeometryOf(*f.box, f.box->box().TextBox()).width(), fieldWidth)
        << "the field takes the room of the button that went";
    QTest::mouseClick(f.box, Qt::LeftButton, {}, r2.center());
    EXPECT_EQ(second.count(), 1) << "a removed button hears no click";
}

}  // namespace
