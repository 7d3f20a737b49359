// The combo box over a real SQLite database: lookups, values, the open call's arguments, typed
// text that tries to run SQL of its own, and connections by description.
#include <cstdio>
#include <filesystem>

#include "connections/Engines.h"
#include "connections/SqliteConnection.h"
#include "database_test_support.h"
#include "formfile/FormFile.h"

namespace {

using namespace database_test;
using combobox_test::Names;
using combobox_test::Strings;
using qv::Variant;
using qv::connections::SqliteConnection;

class SqliteLookup : public LookupTest {
  protected:
    SqliteLookup() {
        db->Run(CreateTables(false));
        UseConnection(db);
    }
    std::shared_ptr<SqliteConnection> db = SqliteConnection::Connect(u":memory:");
};

TEST_F(SqliteLookup, APrefixFillsTheListAndOneMatchIsTaken) {
    Lookup(u"an");
    EXPECT_EQ(combobox_test::ItemsOf(box), (Strings{u"Anna", u"Anton"}));
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(box.ItemData(1), 2);
    EXPECT_EQ(box.Item(u"City", 1).ToString(), u"Bonn");

    Lookup(u"Mü");
    EXPECT_EQ(FieldText(), u"Müller");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    EXPECT_EQ(box.Item(u"Id").ToLong(), 4);

    Lookup(u"nobody");
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
}

TEST_F(SqliteLookup, TypedTextThatTriesToRunSqlIsSearchedForAsText) {
    // Inside a quoted literal of the template, and outside quotes.
    ExpectPayloadsSearchedAsText(*db, kLookup);
    ExpectPayloadsSearchedAsText(*db,
                                 u"SELECT Name, Id, City FROM Customer WHERE Name = {DataField}");
}

TEST_F(SqliteLookup, ValuesKeepTheirTypesAndNullsBecomeEmptyAndZero) {
    db->Run(
        "CREATE TABLE V (Name TEXT, Id INTEGER, Big INTEGER, Real REAL, Missing TEXT);"
        "INSERT INTO V VALUES ('one', NULL, 9000000000, 2.5, NULL);"
        "INSERT INTO V VALUES (NULL, 7, 1, 0.5, NULL);");
    box.SqlQueryString(u"SELECT * FROM V ORDER BY Id");
    Lookup(u"x");
    ASSERT_EQ(box.ListCount(), 2);
    EXPECT_EQ(combobox_test::ItemsOf(box), (Strings{u"one", u""}));
    EXPECT_EQ(box.ItemData(0), 0);
    EXPECT_EQ(box.ItemData(1), 7);
    EXPECT_EQ(box.Item(u"Big", 0).Type(), qv::VarType::Double);
    EXPECT_EQ(box.Item(u"Big", 0).ToDouble(), 9000000000.0);
    EXPECT_EQ(box.Item(u"Real", 0).ToDouble(), 2.5);
    EXPECT_TRUE(box.Item(u"Missing", 0).IsNull());
    EXPECT_EQ(box.Item(u"Id", 1).Type(), qv::VarType::Long);
}

TEST_F(SqliteLookup, OnlyForwardOnlyReadOnlySetsOpenAndTheBoxRetriesWithTheDefaults) {
    const Variant refused[] = {String(u"SELECT 1"), int16_t{8}, qv::Variant::Missing(), int16_t{3}};
    EXPECT_EQ(combobox_test::ErrorOf([&] { db->Call(u"OpenRecordset", refused); }), 5);
    box.ConnectionLockType(3);  // refused by the engine: the box opens again with the defaults
    Lookup(u"Ber");
    EXPECT_EQ(FieldText(), u"Berta");
}

TEST_F(SqliteLookup, StatementsThatWriteOrComeSecondAreRefused) {
    for (const char16_t* sql : {u"DELETE FROM Customer", u"SELECT 1; DROP TABLE Customer",
                                u"SELECT 1; SELECT 2", u"DROP TABLE Secret"}) {
        EXPECT_EQ(combobox_test::ErrorOf([&] { db->Open(sql); }), 3000) << qv::ToUtf8(sql);
    }
    EXPECT_EQ(Count(*db, u"Secret"), 1);
    EXPECT_NO_THROW(db->Open(u"SELECT 1; -- a comment after it"));
    box.SqlQueryString(u"DELETE FROM Customer WHERE Name = '{DataField}'");
    Lookup(u"Anna");
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
    EXPECT_EQ(Count(*db, u"Customer"), 4 + static_cast<int64_t>(Payloads().size()));
}

TEST_F(SqliteLookup, ABrokenQueryFindsNothingAndLeavesTheBoxUsable) {
    box.SqlQueryString(u"SELECT Name FROM NoSuchTable WHERE Name LIKE '{DataField}%'");
    Lookup(u"a");
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
    box.SqlQueryString(kLookup);
    Lookup(u"Ber");
    EXPECT_EQ(FieldText(), u"Berta");
}

TEST_F(SqliteLookup, TheConnectionKeepsWorkingAfterTheBoxIsSavedAndLoaded) {
    qv::MemoryPropertyBag bag;
    form.Save(box, bag);
    db.reset();  // the application lets go of its own reference
    box.Connection(nullptr);
    auto& loaded = form.Load<qv::QVcomboBoxControl>(u"cboLoaded", bag, 2000, 300);
    ASSERT_TRUE(loaded.IsDatabaseMode());
    form.Focus(loaded);
    loaded.Text(Variant(String(u"Ber")));
    loaded.StartQuery();
    EXPECT_EQ(loaded.TextBox().Text(), u"Berta") << "the in-memory database is still there";
}

TEST(SqliteConnection, CopiesShareTheDatabaseAndDescriptionsOpenItAgain) {
    const auto path = std::filesystem::temp_directory_path() / "qv_sqlite_connection_test.sqlite";
    std::filesystem::remove(path);
    auto db = SqliteConnection::Connect(qv::FromUtf8(path.string()));
    db->Run("CREATE TABLE T (Name TEXT); INSERT INTO T VALUES ('kept');");
    auto copy = std::dynamic_pointer_cast<SqliteConnection>(db->Clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(Count(*copy, u"T"), 1);
    EXPECT_EQ(db->Description(), u"sqlite:" + qv::FromUtf8(path.string()));

    qv::connections::RegisterEngines();
    auto again = qv::OpenConnection(db->Description());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->Supports(qv::iid::AccessDatabase));
    EXPECT_EQ(Count(static_cast<SqliteConnection&>(*again), u"T"), 1);
    EXPECT_EQ(combobox_test::ErrorOf([] { qv::OpenConnection(u"oracle:somewhere"); }), 5);
    EXPECT_EQ(
        combobox_test::ErrorOf([] { SqliteConnection::Connect(u"/no/such/folder/db.sqlite"); }),
        3000);
    std::filesystem::remove(path);
}

TEST(SqliteConnection, AFormFileKeepsTheConnectionByItsDescription) {
    qv::connections::RegisterEngines();
    const auto path = std::filesystem::temp_directory_path() / "qv_sqlite_form_test.sqlite";
    std::filesystem::remove(path);
    SqliteConnection::Connect(qv::FromUtf8(path.string()))
        ->Run("CREATE TABLE T (Name TEXT); INSERT INTO T VALUES ('x');");
    qv::FormDocument form;
    form.controls.resize(2);
    form.controls[0].className = form.controls[1].className = u"QVcomboBoxControl";
    form.controls[0].name = u"cboGood";
    form.controls[1].name = u"cboGone";
    form.controls[0].properties.Set(u"Connection",
                                    SqliteConnection::Connect(qv::FromUtf8(path.string())));
    form.controls[1].properties.Set(u"Connection",
                                    SqliteConnection::Connect(u"/tmp/qv_gone.sqlite"));
    std::string json = qv::FormToJson(form);
    EXPECT_NE(json.find("\"sqlite:" + path.string() + "\""), std::string::npos) << json;
    // The second file cannot be opened by the time the form is loaded.
    std::filesystem::remove("/tmp/qv_gone.sqlite");
    const auto at = json.find("/tmp/qv_gone.sqlite");
    ASSERT_NE(at, std::string::npos);
    json.replace(at, 19, "/no/such/dir/x.sqlite");
    const qv::FormLoadResult loaded = qv::FormFromJson(json);
    ASSERT_EQ(loaded.problems.size(), 1u);
    EXPECT_NE(qv::ToUtf8(loaded.problems[0]).find("does not open"), std::string::npos);
    auto again = std::dynamic_pointer_cast<SqliteConnection>(
        loaded.form.controls.at(0).properties.Get(u"Connection").ToObject());
    ASSERT_TRUE(again);
    EXPECT_EQ(Count(*again, u"T"), 1);
    EXPECT_FALSE(loaded.form.controls.at(1).properties.Has(u"Connection"))
        << "a bad value is left out";
    std::filesystem::remove(path);
}

}  // namespace
