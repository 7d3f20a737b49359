// The combo box's database lookup against recording connections of each kind: the exact calls on
// the connection and the result set, the fill of list and cache, the outcomes for 0, 1 and many
// rows, and what a failing engine leaves.
#include "combobox_test_support.h"
#include "recording_connection.h"

namespace {

using namespace combobox_test;
using qv_test::RecordingConnection;
using qv_test::Rows;
namespace iid = qv::iid;

Rows People(std::vector<std::vector<Variant>> rows) {
    return Rows{{u"Name", u"Id", u"City"}, std::move(rows), {}, SIZE_MAX, SIZE_MAX};
}

class DatabaseLookup : public ComboBoxTest {
  protected:
    std::shared_ptr<RecordingConnection> Connect(String kind, Rows rows, int failingOpens = 0) {
        auto c =
            std::make_shared<RecordingConnection>(std::move(kind), std::move(rows), failingOpens);
        box.DataField(u"Name");
        box.DataIdField(u"Id");
        box.SqlQueryString(u"SELECT Name, Id, City FROM T WHERE Name LIKE '{DataField}%'");
        box.Connection(c);
        box.MustFitDataList(false);  // leaving runs no lookup of its own
        return c;
    }
    // A fresh lookup of `typed` through StartQuery (as Enter's key-down runs it, without the
    // key-up's marking of the longest prefix while the list is dropped).
    void Lookup(qv::StringView typed) {
        Leave();
        box.Text(Variant(String()));
        TypeInto(typed);
        log.names.clear();
        box.StartQuery();
    }
};

TEST_F(DatabaseLookup, OpenCallsFollowKindLockTypeAndOption) {
    const String sql = u"\"SELECT Name, Id, City FROM T WHERE Name LIKE 'Mü%'\"";
    struct Case {
        const char16_t* kind;
        int16_t lock, option;
        String call;
    } cases[] = {
        {iid::RemoteConnection, -1, -1, u"OpenResultset(" + sql + u", 0, 1); "},
        {iid::RemoteConnection, 3, -1, u"OpenResultset(" + sql + u", 0, 3); "},
        {iid::RemoteConnection, -1, 64, u"OpenResultset(" + sql + u", 0, 1, 64); "},
        {iid::RemoteConnection, 2, 64, u"OpenResultset(" + sql + u", 0, 2, 64); "},
        {iid::AccessDatabase, -1, -1, u"OpenRecordset(" + sql + u", 8); "},
        {iid::AccessDatabase, -1, 64, u"OpenRecordset(" + sql + u", 8, 64); "},
        {iid::AccessDatabase, 3, -1, u"OpenRecordset(" + sql + u", 8, missing, 3); "},
        {iid::AccessConnection, 3, 64, u"OpenRecordset(" + sql + u", 8, 64, 3); "},
        {u"", 3, -1, u"OpenRecordset(" + sql + u", 8, missing, 3); "},
    };
    for (const Case& c : cases) {
        auto conn = Connect(c.kind, People({}));
        box.ConnectionLockType(c.lock);
        box.ConnectionOption(c.option);
        Lookup(u"Mü");
        const String log = *conn->log;
        EXPECT_EQ(qv::ToUtf8(log.substr(0, c.call.size())), qv::ToUtf8(c.call))
            << qv::ToUtf8(String(c.kind)) << " " << c.lock << " " << c.option;
    }
}

TEST_F(DatabaseLookup, AFailedOpenIsTriedOnceMoreWithTheDefaults) {
    auto rdo = Connect(iid::RemoteConnection, People({{u"Anna", 1, u"Bonn"}}), 1);
    box.ConnectionLockType(3);
    Lookup(u"A");
    EXPECT_NE(
        rdo->log->find(
            u"OpenResultset(\"SELECT Name, Id, City FROM T WHERE Name LIKE 'A%'\", 0, 3); "
            u"OpenResultset(\"SELECT Name, Id, City FROM T WHERE Name LIKE 'A%'\", 0, 1); (0)"),
        String::npos)
        << qv::ToUtf8(*rdo->log);
    EXPECT_EQ(FieldText(), u"Anna");

    auto db = Connect(iid::AccessDatabase, People({{u"Anna", 1, u"Bonn"}}), 2);
    box.ConnectionOption(64);
    Lookup(u"A");
    EXPECT_EQ(std::count(db->log->begin(), db->log->end(), u'('), 2) << "two opens, no third";
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));

    auto plain = Connect(iid::AccessDatabase, People({}), 1);
    box.ConnectionOption(-1);
    box.ConnectionLockType(-1);
    Lookup(u"A");
    EXPECT_EQ(*plain->log,
              u"OpenRecordset(\"SELECT Name, Id, City FROM T WHERE Name LIKE 'A%'\", 8); ")
        << "with the defaults already, no retry";
}

TEST_F(DatabaseLookup, TheFillReadsColumnsNamesAndRowsInOrder) {
    auto c = Connect(iid::AccessDatabase, People({{u"Anna", 7, u"Bonn"}, {u"Anton", 9, u"Köln"}}));
    Lookup(u"An");
    EXPECT_EQ(*c->log,
              u"OpenRecordset(\"SELECT Name, Id, City FROM T WHERE Name LIKE 'An%'\", 8); "
              u"(0); (1); (2); (3); (0); .Name; (1); .Name; (2); .Name; "
              u"EOF; (\"Name\"); (0); (1); (2); (\"Id\"); MoveNext; "
              u"EOF; (\"Name\"); (0); (1); (2); (\"Id\"); MoveNext; EOF; Close; ");
    EXPECT_EQ(ItemsOf(box), (Strings{u"Anna", u"Anton"}));
    EXPECT_EQ(box.ItemData(1), 9);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(box.ListIndex(), 0);
    EXPECT_EQ(Reported(), (Names{u"DropDown"})) << "the candidates are not reported yet";
    EXPECT_EQ(box.Item(u"City", 1).ToString(), u"Köln");
    EXPECT_EQ(box.Item(2, 0).ToString(), u"Bonn");
}

TEST_F(DatabaseLookup, EnterFillsAndDropsAndItsKeyUpMarksTheTypedPrefix) {
    Connect(iid::AccessDatabase, People({{u"Anna", 7, u"Bonn"}, {u"Anton", 9, u"Köln"}}));
    TypeInto(u"ant");
    log.names.clear();
    form.PressKey(Key::Return);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(box.ListIndex(), 1) << "while dropped, the item the typed text begins";
    EXPECT_EQ(FieldText(), u"ant");
    form.PressKey(Key::Return);  // chooses it
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(FieldText(), u"Anton");
    EXPECT_EQ(box.Item(u"City").ToString(), u"Köln");
    EXPECT_TRUE(box.CheckValueNow());
}

TEST_F(DatabaseLookup, OneRowIsTakenAtOnceNoneIsNotFound) {
    Connect(iid::RemoteConnection, People({{u"Berta  ", 3, u"Ulm"}}));
    Lookup(u"b");
    EXPECT_EQ(FieldText(), u"Berta");
    EXPECT_EQ(box.SelStart(), 5);
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(box.Item(u"City").ToString(), u"Ulm");

    Connect(iid::RemoteConnection, People({}));
    Lookup(u"x");
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
    EXPECT_EQ(box.Cache().Columns(), 0) << "an empty result has no columns to count";
}

TEST_F(DatabaseLookup, NullsAndAMissingIdColumnGiveEmptyTextsAndZero) {
    Connect(iid::AccessDatabase,
            People({{Variant::Null(), Variant::Null(), u"Ulm"}, {u"Bea", 4, u"Ulm"}}));
    Lookup(u"b");
    EXPECT_EQ(ItemsOf(box), (Strings{u"", u"Bea"}));
    EXPECT_EQ(box.ItemData(0), 0);
    EXPECT_EQ(box.ItemData(1), 4);

    Connect(iid::AccessDatabase, People({{u"A", 4, u"X"}, {u"B", 5, u"Y"}}));
    box.DataIdField(u"");
    Lookup(u"b");
    EXPECT_EQ(box.ItemData(0), 0);
    EXPECT_EQ(box.ItemData(1), 0);
}

TEST_F(DatabaseLookup, AFailingReadMarksItsRowAndTheFillGoesOn) {
    Rows rows = People({{u"Anna", 1, u"Bonn"}, {u"Anton", 2, u"Köln"}, {u"Arno", 3, u"Ulm"}});
    rows.failingReads = {{1, 2}};  // Anton's city
    Connect(iid::AccessDatabase, rows);
    Lookup(u"a");
    EXPECT_EQ(ItemsOf(box), (Strings{u"Anna", u"Anton", u"Arno"}));
    EXPECT_EQ(box.ItemData(1), 2);
    EXPECT_EQ(box.Item(0, 1).ToString(), u"") << "a marked row keeps no record";
    EXPECT_EQ(box.Item(u"City", 1).ToString(), u"");
    EXPECT_EQ(box.Item(u"City", 2).ToString(), u"Ulm") << "the next row has its own";
}

TEST_F(DatabaseLookup, ALostConnectionEndsTheFillWithWhatWasRead) {
    // A failing MoveNext once left the loop on the same row for ever.
    Rows rows = People({{u"Anna", 1, u"Bonn"}, {u"Anton", 2, u"Köln"}, {u"Arno", 3, u"Ulm"}});
    rows.failMoveNextAt = 1;
    auto c = Connect(iid::AccessDatabase, rows);
    Lookup(u"a");
    EXPECT_EQ(ItemsOf(box), (Strings{u"Anna", u"Anton"}));
    EXPECT_TRUE(c->log->ends_with(u"MoveNext; Close; "));
    EXPECT_TRUE(Dropped());

    Rows lost = People({{u"Anna", 1, u"Bonn"}});
    lost.failEofAt = 0;
    Connect(iid::AccessDatabase, lost);
    Lookup(u"a");
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
    form.Type(u"b");
    EXPECT_EQ(FieldText(), u"ab") << "the box stays usable";
}

TEST_F(DatabaseLookup, ConnectionsWithoutTheOpenCallFindNothingQuietly) {
    struct Plain final : qv::Object {
        std::shared_ptr<qv::Object> Clone() const override { return std::make_shared<Plain>(); }
        String TypeName() const override { return u"Plain"; }
    };
    box.DataField(u"Name");
    box.SqlQueryString(u"SELECT Name FROM T");
    box.Connection(std::make_shared<Plain>());
    ASSERT_TRUE(box.IsDatabaseMode());
    EXPECT_NO_THROW(Lookup(u"a"));
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound"}));
}

TEST_F(DatabaseLookup, TrimDecidesWhetherBlanksReachTheQuery) {
    auto c = Connect(iid::AccessDatabase, People({}));
    Lookup(u" Mü  ");
    EXPECT_TRUE(c->log->starts_with(
        u"OpenRecordset(\"SELECT Name, Id, City FROM T WHERE Name LIKE 'Mü%'\""));
    box.Trim(false);
    *c->log = u"";
    Lookup(u" Mü  ");
    EXPECT_TRUE(c->log->starts_with(
        u"OpenRecordset(\"SELECT Name, Id, City FROM T WHERE Name LIKE ' Mü  %'\""))
        << qv::ToUtf8(*c->log);
}

}  // namespace
