// The text box as a Qt widget: properties through Qt's property system, signals, key handling
// by real key events, focus notices in the container's order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "hosts/qt/TxtBox.h"

namespace {

using qv::qt::TxtBox;

struct Form {
    QWidget window;
    Form() {
        window.resize(400, 200);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }
};

TEST(QtTxtBox, RefusedPropertyWriteReturnsFalseAndChangesNothing) {
    Form form;
    auto* box = new TxtBox(&form.window);
    ASSERT_TRUE(box->setProperty("MaxLength", 12));
    EXPECT_EQ(box->MaxLength(), 12);
    int refusals = 0;
    QObject::connect(box, &TxtBox::propertyWriteRefused,
                     [&](const QString& name, int number, const QString&) {
                         EXPECT_EQ(name, "MaxLength");
                         EXPECT_EQ(number, 380);
                         ++refusals;
                     });
    EXPECT_FALSE(box->setProperty("MaxLength", -1));
    EXPECT_FALSE(box->setProperty("MaxLength", 70000));
    EXPECT_EQ(box->MaxLength(), 12);
    EXPECT_EQ(refusals, 2);
    EXPECT_THROW(box->setMaxLength(-1), qv::RuntimeError);
    EXPECT_EQ(box->MaxLength(), 12);
}

TEST(QtTxtBox, TypedKeysGoThroughTheControl) {
    Form form;
    auto* box = new TxtBox(&form.window);
    box->setAllUcase(true);
    box->show();
    box->setFocus();
    QApplication::processEvents();
    int changes = 0;
    QObject::connect(box, &TxtBox::Change, [&] { ++changes; });
    QObject::connect(box, &TxtBox::KeyPress, [](qint16& ascii) {
        if (ascii == 'x') ascii = 0;
        if (ascii == 'q') ascii = 'k';
    });
    QTest::keyClicks(QApplication::focusWidget(), "axbq");
    EXPECT_EQ(box->Text(), "ABK");
    EXPECT_EQ(changes, 3);
}

}  // namespace
