// The combo box over a real PostgreSQL server (QV_TEST_POSTGRES, a libpq connection string; the
// tests skip without one: `eval "$(tools/pg-cluster start)"` sets one up). Lookups, typed text
// that tries to run SQL of its own, and the faults: a lost connection, a statement over its time,
// a failing row, the server stopping (QV_TEST_POSTGRES_STOP, the command that stops it).
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "connections/Engines.h"
#include "connections/PostgresConnection.h"
#include "database_test_support.h"

namespace {

using namespace database_test;
using combobox_test::Names;
using combobox_test::Strings;
using qv::Variant;
using qv::connections::PostgresConnection;
using Clock = std::chrono::steady_clock;

const char* Server() {
    return std::getenv("QV_TEST_POSTGRES");
}

#define REQUIRE_SERVER()                                                                 \
    if (!Server() || !*Server())                                                         \
    GTEST_SKIP() << "QV_TEST_POSTGRES is not set: no PostgreSQL server to test against " \
                    "(eval \"$(tools/pg-cluster start)\" sets one up)"

class PostgresLookup : public LookupTest {
  protected:
    void SetUp() override {
        REQUIRE_SERVER();
        conninfo = qv::FromUtf8(Server());
        // A schema of its own: tests run in parallel on one server.
        std::string schema = "qv_";
        for (char c : std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))
            schema += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        PostgresConnection::Run(
            conninfo, "DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema +
                          "; SET search_path = " + schema + "; " + CreateTables(true));
        db = PostgresConnection::Connect(conninfo + u" options='-c search_path=" +
                                         qv::FromUtf8(schema) + u" -c statement_timeout=10000'");
        UseConnection(db);
    }
    String conninfo;
    std::shared_ptr<PostgresConnection> db;
};

TEST_F(PostgresLookup, APrefixFillsTheListAndOneMatchIsTaken) {
    EXPECT_TRUE(db->Supports(qv::iid::RemoteConnection));
    Lookup(u"An");
    EXPECT_EQ(combobox_test::ItemsOf(box), (Strings{u"Anna", u"Anton"}));
    EXPECT_EQ(box.ItemData(1), 2);
    EXPECT_EQ(box.Item(u"city", 1).ToString(), u"Bonn") << "PostgreSQL folds names to lower case";
    Lookup(u"Mü");
    EXPECT_EQ(FieldText(), u"Müller");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
}

TEST_F(PostgresLookup, TypedTextThatTriesToRunSqlIsSearchedForAsText) {
    // Inside a quoted literal of the template, and outside quotes.
    ExpectPayloadsSearchedAsText(*db,
                                 u"SELECT Name, Id, City FROM Customer WHERE Name LIKE "
                                 u"'{DataField}%' ESCAPE '' ORDER BY Name");
    ExpectPayloadsSearchedAsText(*db,
                                 u"SELECT Name, Id, City FROM Customer WHERE Name = {DataField}");
}

TEST_F(PostgresLookup, TheSessionRunsOneStatementThatOnlyReads) {
    for (const char16_t* sql :
         {u"DELETE FROM Customer", u"SELECT 1; DROP TABLE Customer", u"DROP TABLE Secret"})
        EXPECT_EQ(combobox_test::ErrorOf([&] { db->Open(sql); }), 3000) << qv::ToUtf8(sql);
    EXPECT_EQ(Count(*db, u"Secret"), 1);
    EXPECT_EQ(Count(*db, u"Customer"), 4 + static_cast<int64_t>(Payloads().size()));
}

TEST_F(PostgresLookup, ValuesKeepTheirTypes) {
    box.SqlQueryString(
        u"SELECT 'one' AS Name, 7 AS Id, 9000000000::int8 AS Big, 2.5::float8 AS Real, "
        u"NULL::text AS Missing, true AS Yes UNION ALL SELECT NULL, NULL, 1, 0.5, NULL, false");
    Lookup(u"x");
    ASSERT_EQ(box.ListCount(), 2);
    EXPECT_EQ(combobox_test::ItemsOf(box), (Strings{u"one", u""}));
    EXPECT_EQ(box.ItemData(0), 7);
    EXPECT_EQ(box.ItemData(1), 0);
    EXPECT_EQ(box.Item(u"big", 0).ToDouble(), 9000000000.0);
    EXPECT_EQ(box.Item(u"real", 0).ToDouble(), 2.5);
    EXPECT_TRUE(box.Item(u"missing", 0).IsNull());
    EXPECT_EQ(box.Item(u"yes", 0).Type(), qv::VarType::Boolean);
}

TEST_F(PostgresLookup, AFailingRowEndsTheFillWithTheRowsBeforeIt) {
    box.SqlQueryString(
        u"SELECT 'n' || g AS Name, g AS Id, 10 / (g - 50) AS City "
        u"FROM generate_series(1, 100) g WHERE 'n' LIKE '{DataField}%'");
    Lookup(u"n");
    EXPECT_EQ(box.ListCount(), 49);
    EXPECT_TRUE(Dropped());
    Lookup(u"n");  // the connection is still good
    EXPECT_EQ(box.ListCount(), 49);
}

TEST_F(PostgresLookup, AStatementOverItsTimeFindsNothing) {
    auto slow = PostgresConnection::Connect(conninfo + u" options='-c statement_timeout=200'");
    box.Connection(slow);
    box.SqlQueryString(u"SELECT 'x' AS Name, pg_sleep(5) AS Id WHERE 'x' LIKE '{DataField}%'");
    const auto start = Clock::now();
    Lookup(u"x");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
}

TEST_F(PostgresLookup, ALostConnectionEndsTheFillAndTheNextLookupConnectsAgain) {
    box.SqlQueryString(
        u"SELECT 'n' || g AS Name, g AS Id, pg_sleep(0.02)::text AS City "
        u"FROM generate_series(1, 200) g WHERE 'n' LIKE '{DataField}%'");
    const int pid = db->BackendPid();
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        PostgresConnection::Run(conninfo,
                                "SELECT pg_terminate_backend(" + std::to_string(pid) + ")");
    });
    const auto start = Clock::now();
    EXPECT_NO_THROW(Lookup(u"n"));
    killer.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3))
        << "the fill stops when the server goes";
    EXPECT_LT(box.ListCount(), 200);

    box.SqlQueryString(kLookup);
    Lookup(u"Ber");
    EXPECT_EQ(FieldText(), u"Berta");
}

TEST(PostgresConnection, TheDescriptionKeepsNoPasswordAndOpensAgain) {
    REQUIRE_SERVER();
    const String conninfo = qv::FromUtf8(Server());
    auto db = PostgresConnection::Connect(conninfo + u" password=secret");  // trust: not checked
    EXPECT_EQ(db->Description().find(u"secret"), String::npos) << qv::ToUtf8(db->Description());
    qv::connections::RegisterEngines();
    auto again = qv::OpenConnection(db->Description());
    EXPECT_TRUE(again->Supports(qv::iid::RemoteConnection));
    EXPECT_EQ(combobox_test::ErrorOf(
                  [] { PostgresConnection::Connect(u"host=127.0.0.1 port=1 connect_timeout=2"); }),
              3000);
}

// Stops the server in the middle of a fill: the lookup ends, and the next one finds nothing.
TEST(PostgresServerStop, AServerThatStopsEndsTheFillAndNothingHangs) {
    REQUIRE_SERVER();
    const char* stop = std::getenv("QV_TEST_POSTGRES_STOP");
    if (!stop || !*stop)
        GTEST_SKIP() << "QV_TEST_POSTGRES_STOP (the command that stops the server) is not set";
    const String conninfo = qv::FromUtf8(Server());
    qv::headless::Container form;
    form.SetClock(36000);
    auto& box = form.Add<qv::QVcomboBoxControl>(u"cboTest", 2000, 300);
    box.DataField(u"Name");
    box.SqlQueryString(
        u"SELECT 'n' || g AS Name, pg_sleep(0.02)::text AS Pause "
        u"FROM generate_series(1, 300) g WHERE 'n' LIKE '{DataField}%'");
    box.Connection(PostgresConnection::Connect(conninfo));
    form.Focus(box);
    box.Text(Variant(String(u"n")));
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_EQ(std::system(stop), 0);
    });
    const auto start = Clock::now();
    EXPECT_NO_THROW(box.StartQuery());
    stopper.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_LT(box.ListCount(), 300);
    const auto again = Clock::now();
    EXPECT_NO_THROW(box.StartQuery());
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_LT(Clock::now() - again, std::chrono::seconds(6));
}

}  // namespace
