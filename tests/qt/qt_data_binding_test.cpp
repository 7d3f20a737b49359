// The control widgets bound to a model with QDataWidgetMapper (auto-submit), on an item model and
// on a SQL table over SQLite: an edit is committed when the user leaves the box and navigates,
// nothing the user did not change is written back (formatting, NULLs, values a box cannot show),
// and a refused write from a slot never aborts the application.
#include <gtest/gtest.h>

#include <QDataWidgetMapper>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>

#include "scenario.h"

namespace {

using qv::qt::NumBox;
using qv::qt::TxtBox;

// Dark pixels inside the frame: the digits, or the marks of a value not shown.
int DarkPixelsInside(QWidget& w) {
    const QImage image = w.grab().toImage();
    int dark = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            dark += image.pixelColor(x, y).lightness() < 100;
    return dark;
}

struct Record {
    QVariant name, amount;
};

// A form with a name box, an amount box and a "Next" button, mapped onto `model`.
struct BoundForm {
    QStringList notShown;  // first: outlives the widgets
    QWidget window;
    TxtBox* name = new TxtBox;
    NumBox* amount = new NumBox;
    QPushButton* next = new QPushButton(QStringLiteral("Next"));
    QDataWidgetMapper mapper;
    BoundForm(QAbstractItemModel& model, int firstColumn) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(name);
        layout->addWidget(amount);
        layout->addWidget(next);
        mapper.setModel(&model);
        mapper.setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
        mapper.addMapping(name, firstColumn);
        mapper.addMapping(amount, firstColumn + 1);
        QObject::connect(amount, &NumBox::valueNotShown,
                         [this](const QVariant& v, int number, const QString& description) {
                             notShown << v.toString() + " " + QString::number(number) + " " +
                                             description;
                         });
        conformance::ShowActive(window);
        mapper.toFirst();
    }
    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    // Selects all first, then types: the keys replace the value.
    void Type(QWidget* box, const QString& keys) {
        Focus(box);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), keys);
    }
    // As a user does: the focus goes to the button, then the mapper moves on.
    void Next() {
        Focus(next);
        mapper.toNext();
        QApplication::processEvents();
    }
};

// Edits row 0, passes through rows 1 and 2 (visiting both boxes), submits, and checks what the
// model holds afterwards through `read`.
template <class Read>
void EditNavigateSubmit(QAbstractItemModel& model, int firstColumn, Read read) {
    BoundForm f(model, firstColumn);
    EXPECT_EQ(f.name->Text(), QStringLiteral("Anna"));
    f.Type(f.name, QStringLiteral("bel"));
    f.Type(f.amount, QStringLiteral("99"));
    f.Next();
    EXPECT_EQ(read(0).name.toString(), QStringLiteral("Bel"));  // as the box formats an edit
    EXPECT_EQ(read(0).amount.toDouble(), 99.0);

    // Row 1: an amount with more integer digits than the box allows, a name the box would trim.
    EXPECT_TRUE(f.amount->isNull()) << "the previous record's amount stays on show";
    EXPECT_TRUE(f.amount->unshownValue().isValid());
    ASSERT_EQ(f.notShown.size(), 1);
    EXPECT_TRUE(f.notShown[0].startsWith(QStringLiteral("123456789 380 Too many pre decimal")))
        << f.notShown[0].toStdString();
    EXPECT_GT(DarkPixelsInside(*f.amount), 0) << "no marks where the digits would be";
    f.Focus(f.name);
    f.Focus(f.amount);
    f.Next();
    f.Focus(f.name);  // row 2: a NULL name
    f.Focus(f.amount);
    f.mapper.submit();
    f.Focus(f.next);

    EXPECT_EQ(read(1).name.toString(), QStringLiteral("  bob "));
    EXPECT_EQ(read(1).amount.toDouble(), 123456789.0);
    EXPECT_TRUE(read(2).name.isNull()) << "a NULL turned into an empty text";
    EXPECT_EQ(read(2).amount.toDouble(), 7.0);

    // Back to row 1 and typing a new amount: the box shows and writes it.
    f.mapper.toPrevious();
    f.Type(f.amount, QStringLiteral("5"));
    EXPECT_FALSE(f.amount->unshownValue().isValid());
    f.Focus(f.next);
    EXPECT_EQ(read(1).amount.toDouble(), 5.0);
}

TEST(QtDataBinding, ItemModelKeepsWhatTheUserDidNotChange) {
    QStandardItemModel model(3, 2);
    const Record rows[] = {
        {QStringLiteral("Anna"), 12.5}, {QStringLiteral("  bob "), 123456789.0}, {QVariant(), 7}};
    for (int r = 0; r < 3; ++r) {
        model.setData(model.index(r, 0), rows[r].name);
        model.setData(model.index(r, 1), rows[r].amount);
    }
    EditNavigateSubmit(model, 0, [&](int r) {
        return Record{model.index(r, 0).data(Qt::EditRole), model.index(r, 1).data(Qt::EditRole)};
    });
}

TEST(QtDataBinding, SqlTableOverSqliteKeepsWhatTheUserDidNotChangeAfterReload) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "binding");
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        ASSERT_TRUE(
            q.exec("CREATE TABLE customer (id INTEGER PRIMARY KEY, name TEXT, amount REAL)"));
        ASSERT_TRUE(
            q.exec("INSERT INTO customer VALUES (1, 'Anna', 12.5), (2, '  bob ', "
                   "123456789), (3, NULL, 7)"));
        QSqlTableModel model(nullptr, db);
        model.setTable(QStringLiteral("customer"));
        model.setEditStrategy(QSqlTableModel::OnFieldChange);
        ASSERT_TRUE(model.select());
        // Read back from the database itself, not from the model's cache.
        const auto stored = [&db](int r) {
            QSqlQuery read(db);
            read.exec(QStringLiteral("SELECT name, amount FROM customer WHERE id = %1").arg(r + 1));
            read.next();
            return Record{read.value(0), read.value(1)};
        };
        EditNavigateSubmit(model, 1, stored);
        ASSERT_TRUE(model.select());  // reloaded, every row as stored
        EXPECT_EQ(stored(0).name.toString(), QStringLiteral("Bel"));
        EXPECT_TRUE(stored(2).name.isNull());
    }
    QSqlDatabase::removeDatabase("binding");
}

// A setter refused inside a slot (Qt's event loop) returns false and reports; nothing aborts.
TEST(QtDataBinding, ARefusedWriteFromASlotReturnsFalseAndReports) {
    conformance::QtFormOf<NumBox> f;
    ASSERT_TRUE(f.a->setValue(12.5));
    QSignalSpy refused(f.a, &NumBox::propertyWriteRefused);
    bool result = true;
    QTimer::singleShot(0, f.a, [&] { result = f.a->setValue(123456789.0); });
    QTest::qWait(20);
    EXPECT_FALSE(result);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.at(0).at(0).toString(), QStringLiteral("Value"));
    EXPECT_EQ(refused.at(0).at(1).toInt(), 380);
    EXPECT_EQ(refused.at(0).at(2).toString(), QStringLiteral("Too many pre decimal numbers!"));
    EXPECT_EQ(f.a->Value(), QVariant(12.5));  // a typed write changes nothing
    EXPECT_FALSE(f.a->unshownValue().isValid());
    EXPECT_EQ(f.a->lastRefusedWrite()->Number(), 380);
    // The control class keeps its contract.
    EXPECT_THROW(f.a->box().Value(123456789.0), qv::RuntimeError);
}

}  // namespace
