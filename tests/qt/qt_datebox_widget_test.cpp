// qv::qt::DateBox as a Qt developer uses it: DDate as the user property of a QDataWidgetMapper
// form (no date both ways, a date it cannot show kept), refused writes, Qt-style signals and the
// widget factory.
#include <gtest/gtest.h>

#include <QDataWidgetMapper>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "hosts/qt/ControlWidgetFactory.h"
#include "scenario.h"

namespace {

using qv::qt::DateBox;

TEST(QtDateBox, MapperKeepsDatesTheUserDidNotChange) {
    QStandardItemModel model(3, 1);
    model.setData(model.index(0, 0), QDate(2024, 12, 5));
    model.setData(model.index(1, 0), QDate(1850, 1, 1));  // before the box's first year
    model.setData(model.index(2, 0), QVariant());         // NULL
    QWidget window;
    auto* box = new DateBox;
    auto* next = new QPushButton(QStringLiteral("Next"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(next);
    QStringList notShown;
    QObject::connect(box, &DateBox::dateNotShown, [&](const QDate& d, int number, const QString&) {
        notShown << d.toString(Qt::ISODate) + " " + QString::number(number);
    });
    QDataWidgetMapper mapper;
    mapper.setModel(&model);
    mapper.setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    mapper.addMapping(box, 0);
    conformance::ShowActive(window);
    mapper.toFirst();
    EXPECT_EQ(box->Text(), QStringLiteral("05.12.2024"));

    const auto focus = [](QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    };
    focus(box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1.1.2000"));
    focus(next);
    mapper.toNext();
    QApplication::processEvents();
    EXPECT_EQ(model.index(0, 0).data().toDate(), QDate(2000, 1, 1));

    // Row 1: the box empties instead of keeping row 0's date, and says why.
    EXPECT_EQ(box->Text(), QString());
    EXPECT_EQ(box->unshownDate(), QDate(1850, 1, 1));
    EXPECT_EQ(notShown, QStringList{QStringLiteral("1850-01-01 380")});
    focus(box);
    focus(next);
    mapper.toNext();
    QApplication::processEvents();
    focus(box);
    focus(next);
    mapper.submit();
    EXPECT_EQ(model.index(1, 0).data().toDate(), QDate(1850, 1, 1));
    EXPECT_FALSE(model.index(2, 0).data().toDate().isValid()) << "a NULL became a date";
}

TEST(QtDateBox, RefusedWritesReturnFalseAndChangeNothing) {
    DateBox box;
    ASSERT_TRUE(box.setDDate(QDate(2024, 2, 29)));
    QSignalSpy refused(&box, &DateBox::propertyWriteRefused);
    EXPECT_FALSE(box.setDDate(QDate(2150, 1, 1)));
    EXPECT_FALSE(box.setProperty("DateFormat", 3));
    EXPECT_FALSE(box.setSmallestValue(QDate(1899, 12, 31)));
    EXPECT_FALSE(box.setDateDMY(QStringLiteral("31.04.2024")));
    EXPECT_EQ(refused.count(), 4);
    EXPECT_EQ(box.DDate(), QDate(2024, 2, 29));
    EXPECT_EQ(box.DateFormat(), 0);
    EXPECT_EQ(box.SmallestValue(), QDate(1900, 1, 1));
    // No date reads as an invalid QDate and an invalid QVariant; writing those clears.
    ASSERT_TRUE(box.setDDate(QDate()));
    EXPECT_FALSE(box.DDate().isValid());
    EXPECT_FALSE(box.DateYMD().isValid());
    ASSERT_TRUE(box.setProperty("DateYMD", QStringLiteral("2024-12-05")));
    EXPECT_EQ(box.Text(), QStringLiteral("05.12.2024"));
    EXPECT_EQ(box.property("DateMDY").toString(), QStringLiteral("12/05/2024"));
}

TEST(QtDateBox, SignalsAndFactory) {
    QWidget window;
    std::unique_ptr<qv::qt::ControlWidget> made(
        qv::qt::CreateControlWidget(u"QVDateBoxControl", &window, nullptr));
    auto* box = qobject_cast<DateBox*>(made.get());
    ASSERT_NE(box, nullptr);
    conformance::ShowActive(window);
    QSignalSpy dates(box, &DateBox::dateChanged);
    QSignalSpy texts(box, &DateBox::textChanged);
    box->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0512202x4"));
    EXPECT_EQ(box->Text(), QStringLiteral("05.12.2024"));
    EXPECT_EQ(texts.count(), 8) << "one per accepted key";
    ASSERT_EQ(dates.count(), 8);
    EXPECT_FALSE(dates.at(6).at(0).toDate().isValid());
    EXPECT_EQ(dates.last().at(0).toDate(), QDate(2024, 12, 5));
    EXPECT_EQ(QApplication::focusWidget()->parentWidget(), box);
    EXPECT_TRUE(box->hasFocus());
}

}  // namespace
