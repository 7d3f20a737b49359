// Shared pieces of the tests against real database engines: a combo box in database mode over a
// Customer table, and the texts a hostile user might type.
#pragma once

#include <string>
#include <vector>

#include "combobox_test_support.h"
#include "library/DataSource.h"

namespace database_test {

using combobox_test::ComboBoxTest;
using qv::String;

inline constexpr char16_t kLookup[] =
    u"SELECT Name, Id, City FROM Customer WHERE Name LIKE '{DataField}%' ORDER BY Name";

// Texts that would run SQL of their own were they pasted into the query as they are.
inline std::vector<String> Payloads() {
    return {
        u"x' OR '1'='1",
        u"'; DROP TABLE Customer; --",
        u"x'; DELETE FROM Secret; --",
        u"' UNION SELECT Word, 1, Word FROM Secret --",
        u"a'' OR ''1''=''1",
        u"-- comment",
        u"/* open comment",
        u"semi;colon;",
        u"back\\slash\\' OR 1=1 --",
        u"\\'; DROP TABLE Secret; --",
        u"Zoë Ærøskøbing Łódź 東京",
        String(u"nul\0' OR '1'='1", 15),
        String(3000, u'\'') + u"long",
    };
}

// The text a row holds for `payload`: what can be stored (no NUL).
inline String Stored(const String& payload) {
    String s;
    for (char16_t c : payload)
        if (c != u'\0') s += c;
    return s;
}

// A single-quoted SQL literal of `text`, for setting the tables up.
inline std::string Literal(const String& text) {
    std::string out = "'";
    for (char c : qv::ToUtf8(text)) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

// The set-up script: Customer (the payload rows and a few people) and Secret (one row).
inline std::string CreateTables(bool postgres) {
    std::string sql = std::string("DROP TABLE IF EXISTS Customer; DROP TABLE IF EXISTS Secret; ") +
                      "CREATE TABLE Customer (Id INTEGER PRIMARY KEY, Name TEXT" +
                      (postgres ? "" : " COLLATE NOCASE") + ", City TEXT); " +
                      "CREATE TABLE Secret (Word TEXT); INSERT INTO Secret VALUES ('hidden'); ";
    int id = 1;
    for (const char16_t* name : {u"Anna", u"Anton", u"Berta", u"Müller"})
        sql += "INSERT INTO Customer VALUES (" + std::to_string(id++) + ", " + Literal(name) +
               ", 'Bonn'); ";
    for (const String& p : Payloads())
        sql += "INSERT INTO Customer VALUES (" + std::to_string(id++) + ", " + Literal(Stored(p)) +
               ", 'Payload'); ";
    return sql;
}

// The rows of `table`.
inline int64_t Count(qv::DatabaseConnection& db, const char16_t* table) {
    auto set = db.Open(String(u"SELECT COUNT(*) FROM ") + table);
    const qv::Variant column[] = {int16_t{0}};
    return qv::ValueOf(set->Call(u"", column)).ToLong();
}

// A combo box in database mode over the Customer table of a connection.
class LookupTest : public ComboBoxTest {
  protected:
    void UseConnection(const std::shared_ptr<qv::DatabaseConnection>& db) {
        box.DataField(u"Name");
        box.DataIdField(u"Id");
        box.SqlQueryString(kLookup);
        box.MustFitDataList(false);
        box.Connection(db);
    }
    // A fresh lookup of `typed`, pasted into the field (it takes any text).
    void Lookup(const String& typed) {
        Leave();
        box.Text(qv::Variant(String()));
        form.Focus(box);
        box.Text(qv::Variant(typed));
        log.names.clear();
        box.StartQuery();
    }
    // Every payload looked up with `query`: both tables intact, no row listed that does not hold
    // a payload, and the payload's own row found (NULs are dropped: no SQL text carries one).
    void ExpectPayloadsSearchedAsText(qv::DatabaseConnection& db, const char16_t* query) {
        box.SqlQueryString(query);
        for (const String& payload : Payloads()) {
            const std::string what = qv::ToUtf8(payload).substr(0, 40) + " in " + qv::ToUtf8(query);
            Lookup(payload);
            EXPECT_EQ(Count(db, u"Customer"), 4 + static_cast<int64_t>(Payloads().size())) << what;
            EXPECT_EQ(Count(db, u"Secret"), 1) << what;
            bool found = false;
            for (int32_t i = 0; i < box.ListCount(); ++i) {
                EXPECT_EQ(box.Item(u"City", i).ToString(), u"Payload") << what << ": an extra row";
                found |= box.List(i) == qv::TrimBlanks(Stored(payload));
            }
            EXPECT_TRUE(found) << what;
        }
    }
};

}  // namespace database_test
