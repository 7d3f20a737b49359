// QVcomboBoxControl: the database lookup. The typed text becomes an SQL text, the connection
// opens a result set over it, and its rows fill the list and the row cache.
//
// Everything the connection and the result set do is the application's or the engine's: their
// errors never leave the lookup. A failed open finds nothing; an error reading a row marks the
// row (it keeps no record); an error moving on or testing the end ends the fill with what was
// read, so a lost connection can neither loop over the same row nor escape into the notice.
#include <algorithm>
#include <array>

#include "combobox/QVcomboBoxControl.h"
#include "combobox/SqlText.h"
#include "library/DataSource.h"
#include "library/Dispatch.h"
#include "library/Global.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
// The engine's errors and a connection's own (anything it throws) are the same to the lookup.
template <class F>
bool Trapped(F&& step) {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

Variant Column(const std::shared_ptr<Object>& set, const Variant& which) {
    const std::array<Variant, 1> arg{which};
    return ValueOf(CallByName(set, u"", arg));
}
}  // namespace

String QVcomboBoxControl::ConnectionKind() const {
    if (Supports(mConnection, iid::RemoteConnection)) return u"rdo";
    if (Supports(mConnection, iid::AccessDatabase)) return u"db";
    if (Supports(mConnection, iid::AccessConnection)) return u"con";
    return {};
}

String QVcomboBoxControl::SqlText() const {
    const String value = mTrim ? TrimBlanks(ccText.Text()) : ccText.Text();
    return BuildSqlText(mSqlQueryString, value, mDataField);
}

std::shared_ptr<Object> QVcomboBoxControl::OpenResultSet() {
    const bool remote = ConnectionKind() == u"rdo";
    const String sql = SqlText();
    const auto open = [&](std::span<const Variant> args) {
        std::shared_ptr<Object> set;
        const bool ok = Trapped([&] {
            set = CallByName(mConnection, remote ? u"OpenResultset" : u"OpenRecordset", args)
                      .ToObject();
        });
        return ok ? set : nullptr;
    };
    std::vector<Variant> args{sql};
    if (remote) {
        args.push_back(int16_t{0});  // forward-only
        args.push_back(mLockType == -1 ? int16_t{1} : mLockType);
        if (mOption != -1) args.push_back(mOption);
    } else {
        args.push_back(int16_t{8});  // forward-only
        if (mOption != -1 || mLockType != -1)
            args.push_back(mOption != -1 ? Variant(mOption) : Variant::Missing());
        if (mLockType != -1) args.push_back(mLockType);
    }
    std::shared_ptr<Object> set = open(args);
    if (!set && (mLockType != -1 || mOption != -1)) {
        // Once more with the defaults.
        std::vector<Variant> plain{sql, remote ? int16_t{0} : int16_t{8}};
        if (remote) plain.push_back(int16_t{1});
        set = open(plain);
    }
    return set;
}

void QVcomboBoxControl::FillFrom(const std::shared_ptr<Object>& set) {
    if (const auto* own = dynamic_cast<const ResultSet*>(set.get())) return FillFromRows(*own);
    // The columns: read from the first row until a read fails.
    int32_t columns = 0;
    while (columns < 256 && Trapped([&] { (void)Column(set, static_cast<int16_t>(columns)); }))
        ++columns;
    std::vector<String> names(static_cast<size_t>(columns));
    for (int32_t c = 0; c < columns; ++c)
        Trapped([&] {
            const std::array<Variant, 1> arg{static_cast<int16_t>(c)};
            names[static_cast<size_t>(c)] =
                CallByName(CallByName(set, u"", arg), u"Name", {}).ToString();
        });
    mCache.SetColumns(std::move(names));

    const bool withId = !TrimBlanks(mDataIdField).empty();
    const Variant textColumn(mDataField), idColumn(mDataIdField);
    std::vector<Variant> row(static_cast<size_t>(columns));
    for (;;) {
        bool atEnd = true;
        if (!Trapped([&] { atEnd = CallByName(set, u"EOF", {}).ToBool(); }) || atEnd) break;
        bool marked = false;
        String text;
        marked |= !Trapped([&] {
            text = Global::NullToEmptyString(Column(set, textColumn));
            text = mTrim ? TrimBlanks(text) : TrimRightBlanks(text);
        });
        const int32_t item = Items().Insert(std::move(text));
        for (int32_t c = 0; c < columns; ++c)
            marked |= !Trapped(
                [&] { row[static_cast<size_t>(c)] = Column(set, static_cast<int16_t>(c)); });
        // Item i owns row i; a marked row keeps no record.
        if (columns > 0) mCache.AppendRow(marked ? std::span<Variant>() : std::span<Variant>(row));
        if (withId)
            Trapped(
                [&] { Items().SetData(item, Global::NullToZero(Column(set, idColumn)).ToLong()); });
        if (!Trapped([&] { CallByName(set, u"MoveNext", {}); })) break;
    }
    Trapped([&] { CallByName(set, u"Close", {}); });
}

// A result set of this library's connections, read directly: the same calls in effect, in the
// same order of rows, without a column object and a name search for every value.
void QVcomboBoxControl::FillFromRows(const ResultSet& set) {
    Cursor& rows = set.Rows();
    const int32_t columns = rows.AtEnd() ? 0 : std::min(rows.Columns(), 256);
    std::vector<String> names;
    names.reserve(static_cast<size_t>(columns));
    for (int32_t c = 0; c < columns; ++c) names.push_back(rows.ColumnName(c));
    mCache.SetColumns(std::move(names));

    const int32_t textColumn = set.ColumnIndex(mDataField);
    const int32_t idColumn = TrimBlanks(mDataIdField).empty() ? -2 : set.ColumnIndex(mDataIdField);
    // The value of `column` in the current row: from the row read, or read on its own.
    std::vector<Variant> row(static_cast<size_t>(columns));
    Variant other;
    const auto value = [&](int32_t column) -> const Variant& {
        if (column < 0) Raise(err::DatabaseError);  // no such column: the read fails
        if (column < columns) return row[static_cast<size_t>(column)];
        other = rows.Value(column);
        return other;
    };
    const auto itemText = [&](const Variant& v) {
        if (const String* s = v.StringIf()) return mTrim ? TrimBlanks(*s) : TrimRightBlanks(*s);
        const String s = Global::NullToEmptyString(v);
        return mTrim ? TrimBlanks(s) : TrimRightBlanks(s);
    };
    while (!rows.AtEnd()) {
        bool marked = false;
        for (int32_t c = 0; c < columns; ++c) {
            Variant& cell = row[static_cast<size_t>(c)];
            if (!Trapped([&] { cell = rows.Value(c); })) {
                cell = Variant();
                marked = true;
            }
        }
        String text;
        marked |= !Trapped([&] { text = itemText(value(textColumn)); });
        const int32_t item = Items().Insert(std::move(text));
        if (idColumn != -2)
            Trapped([&] { Items().SetData(item, Global::NullToZero(value(idColumn)).ToLong()); });
        if (columns > 0) mCache.AppendRow(marked ? std::span<Variant>() : std::span<Variant>(row));
        if (!Trapped([&] { rows.Next(); })) break;
    }
    Trapped([&] { rows.Close(); });
}

void QVcomboBoxControl::RunDatabaseQuery() {
    Items().Clear();
    mCache.Clear();
    if (const std::shared_ptr<Object> set = OpenResultSet()) FillFrom(set);

    const int32_t count = Items().Count();
    if (count == 0) {
        Recolour();
        RaiseItemNotFound();
    } else if (count == 1) {
        Items().Select(0);  // the list click handling takes it: ItemFound, then ListClick
        CaretToEnd();
        Recolour();
    } else {
        DropList();
        SelectQuietly(0);
    }
}

}  // namespace qv
