// The text box as a Qt widget: property writes through Qt's property system. Its typing, signals
// and focus notices are in the conformance table and the host tests.
#include <gtest/gtest.h>

#include "hosts/qt/TxtBox.h"

namespace {

using qv::qt::TxtBox;

TEST(QtTxtBox, RefusedPropertyWriteReturnsFalseAndChangesNothing) {
    TxtBox box;
    ASSERT_TRUE(box.setProperty("MaxLength", 12));
    EXPECT_EQ(box.MaxLength(), 12);
    QStringList refusals;
    QObject::connect(&box, &TxtBox::propertyWriteRefused,
                     [&](const QString& name, int number, const QString&) {
                         refusals << name + " " + QString::number(number);
                     });
    EXPECT_FALSE(box.setProperty("MaxLength", -1));
    EXPECT_FALSE(box.setProperty("MaxLength", 70000));
    EXPECT_EQ(box.MaxLength(), 12);
    EXPECT_EQ(refusals, QStringList({"MaxLength 380", "MaxLength 380"}));
    // Typed setters follow Qt's convention: false, no exception; the control itself still raises.
    EXPECT_FALSE(box.setMaxLength(-1));
    EXPECT_EQ(refusals.size(), 3);
    EXPECT_EQ(box.MaxLength(), 12);
    EXPECT_THROW(box.box().MaxLength(-1), qv::RuntimeError);
}

}  // namespace
