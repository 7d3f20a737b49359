// The combo box over a Qt SQL database (the QSQLITE driver): lookups, typed text that tries to
// run SQL, statements that would write, and descriptions.
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "connections/SqliteConnection.h"
#include "database_test_support.h"
#include "hosts/qt/QtConvert.h"
#include "hosts/qt/QtSqlConnection.h"

namespace {

using namespace database_test;
using combobox_test::Names;
using combobox_test::Strings;
using qv::Variant;
using qv::qt::QtSqlConnection;

class QtSqlLookup : public LookupTest {
  protected:
    QtSqlLookup() {
        file = dir.filePath(QStringLiteral("shop.sqlite"));
        qv::connections::SqliteConnection::Connect(qv::qt::FromQString(file))
            ->Run(CreateTables(false));
        db = QtSqlConnection::Connect(QStringLiteral("QSQLITE"), file);
        UseConnection(db);
    }
    QTemporaryDir dir;
    QString file;
    std::shared_ptr<QtSqlConnection> db;
};

TEST_F(QtSqlLookup, APrefixFillsTheListAndOneMatchIsTaken) {
    EXPECT_TRUE(db->Supports(qv::iid::AccessConnection));
    Lookup(u"an");
    EXPECT_EQ(combobox_test::ItemsOf(box), (Strings{u"Anna", u"Anton"}));
    EXPECT_EQ(box.Item(u"City", 1).ToString(), u"Bonn");
    Lookup(u"Mü");
    EXPECT_EQ(FieldText(), u"Müller");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
}

TEST_F(QtSqlLookup, TypedTextThatTriesToRunSqlIsSearchedForAsText) {
    // Inside a quoted literal of the template, and outside quotes.
    ExpectPayloadsSearchedAsText(*db, kLookup);
}

TEST_F(QtSqlLookup, AStatementThatWritesIsRefusedAndUndone) {
    EXPECT_EQ(combobox_test::ErrorOf([&] { db->Open(u"DELETE FROM Secret"); }), 3000);
    EXPECT_EQ(Count(*db, u"Secret"), 1);
    box.SqlQueryString(u"DELETE FROM Customer WHERE Name LIKE '{DataField}%'");
    Lookup(u"A");
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
    EXPECT_EQ(Count(*db, u"Customer"), 4 + static_cast<int64_t>(Payloads().size()));
}

TEST_F(QtSqlLookup, DescriptionsAndTheApplicationsOwnDatabaseServeToo) {
    qv::qt::RegisterQtSql();
    EXPECT_EQ(db->Description(), u"qtsql:QSQLITE:" + qv::qt::FromQString(file));
    auto again = qv::OpenConnection(db->Description());
    EXPECT_EQ(Count(*again, u"Secret"), 1);
    {
        QSqlDatabase own =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("own"));
        own.setDatabaseName(file);
        ASSERT_TRUE(own.open());
        auto used = QtSqlConnection::Use(own);
        box.Connection(used);
        Lookup(u"Ber");
        EXPECT_EQ(FieldText(), u"Berta");
        box.Connection(nullptr);
    }
    EXPECT_TRUE(QSqlDatabase::database(QStringLiteral("own"), false).isOpen())
        << "it stays the application's";
    QSqlDatabase::removeDatabase(QStringLiteral("own"));
    EXPECT_EQ(combobox_test::ErrorOf(
                  [] { QtSqlConnection::Connect(QStringLiteral("QNOSUCH"), QStringLiteral("x")); }),
              3000);
}

}  // namespace
