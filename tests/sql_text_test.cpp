// The SQL text of a database lookup: the template's first placeholder replaced by the typed
// value as data, wherever the placeholder stands.
#include <gtest/gtest.h>

#include "combobox/SqlText.h"

namespace {

using qv::BuildSqlText;
using qv::String;

TEST(SqlText, TheTemplateRulesHold) {
    struct Case {
        const char16_t* query;
        const char16_t* value;
        const char16_t* dataField;
        const char16_t* sql;
    } cases[] = {
        {u"SELECT Name, Id FROM T WHERE Name LIKE '{DataField}%'", u"Mü", u"Name",
         u"SELECT Name, Id FROM T WHERE Name LIKE 'Mü%'"},
        {u"  SELECT * FROM T  ", u"x", u"Name", u"SELECT * FROM T"},  // no placeholder
        {u"  SELECT * FROM T  ", u"x", u"", u"  SELECT * FROM T  "},  // no data field
        {u"   ", u"x", u"Name", u""},                                 // blank template
        {u" SELECT '{DataField}' , '{DataField}' ", u"a", u"N", u"SELECT 'a' , '{DataField}'"},
        {u"SELECT * FROM T WHERE Name = {DataField}", u"Anna", u"N",
         u"SELECT * FROM T WHERE Name = 'Anna'"},  // outside quotes
        {u"SELECT * FROM T WHERE Name LIKE '{DataField}%'", u" Mü  ", u"N",
         u"SELECT * FROM T WHERE Name LIKE ' Mü  %'"},  // blanks inside stay
        {u"SELECT * FROM T WHERE {datafield}", u"x", u"N", u"SELECT * FROM T WHERE {datafield}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildSqlText(c.query, c.value, c.dataField), String(c.sql))
            << qv::ToUtf8(c.query) << " / " << qv::ToUtf8(c.value);
}

TEST(SqlText, TypedTextArrivesAsDataWhereverThePlaceholderStands) {
    struct Case {
        const char16_t* query;
        const char16_t* value;
        const char16_t* sql;
    } cases[] = {
        {u"SELECT * FROM T WHERE N LIKE '{DataField}%'", u"x' OR '1'='1",
         u"SELECT * FROM T WHERE N LIKE 'x'' OR ''1''=''1%'"},
        {u"SELECT * FROM T WHERE N LIKE '{DataField}%'", u"'; DROP TABLE Customer; --",
         u"SELECT * FROM T WHERE N LIKE '''; DROP TABLE Customer; --%'"},
        {u"SELECT * FROM T WHERE N = {DataField} AND 1=1", u"0 OR 1=1",
         u"SELECT * FROM T WHERE N = '0 OR 1=1' AND 1=1"},
        {u"SELECT * FROM T WHERE N = {DataField}", u"it's", u"SELECT * FROM T WHERE N = 'it''s'"},
        // A quote earlier in the template, doubled or in another literal, is followed.
        {u"SELECT 'it''s' AS a, N FROM T WHERE N LIKE '{DataField}%'", u"'",
         u"SELECT 'it''s' AS a, N FROM T WHERE N LIKE '''%'"},
        {u"SELECT 'a' || N FROM T WHERE N = {DataField}", u"'",
         u"SELECT 'a' || N FROM T WHERE N = ''''"},
        // Backslash-escaped literals double the backslashes too.
        {u"SELECT * FROM T WHERE N LIKE E'{DataField}%'", u"\\' OR 1=1 --",
         u"SELECT * FROM T WHERE N LIKE E'\\\\'' OR 1=1 --%'"},
        {u"SELECT * FROM T WHERE N LIKE '{DataField}%'", u"a\\",
         u"SELECT * FROM T WHERE N LIKE 'a\\%'"},
        // Quoted identifiers, comments and dollar quotes.
        {u"SELECT \"{DataField}\" FROM T", u"a\" FROM T; DROP TABLE T; --",
         u"SELECT \"a\"\" FROM T; DROP TABLE T; --\" FROM T"},
        {u"SELECT * FROM T -- {DataField}\nWHERE 1=1", u"x\nDROP TABLE T",
         u"SELECT * FROM T -- \nWHERE 1=1"},
        {u"SELECT * FROM T /* {DataField} */ WHERE 1=1", u"*/ DROP TABLE T /*",
         u"SELECT * FROM T /*  */ WHERE 1=1"},
        {u"SELECT * FROM T WHERE N = $q${DataField}$q$", u"x$q$; DROP TABLE T; --",
         u"SELECT * FROM T WHERE N = $q$x; DROP TABLE T; --$q$"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qv::ToUtf8(BuildSqlText(c.query, c.value, u"Name")), qv::ToUtf8(c.sql))
            << qv::ToUtf8(c.value);
    // A NUL would cut the SQL text short in the engine: it is dropped.
    EXPECT_EQ(
        BuildSqlText(u"SELECT * FROM T WHERE N LIKE '{DataField}%'", String(u"a\0b", 3), u"N"),
        u"SELECT * FROM T WHERE N LIKE 'ab%'");
}

}  // namespace
