// Database connections as the combo box reads them, as a base each engine fills in (SQLite and
// PostgreSQL in connections/, QtSql in the Qt host). The base owns the late-bound members:
//
//   connection.OpenResultset(sql, type, lockType[, options])     the "remote" kind
//   connection.OpenRecordset(sql[, type[, options[, lockType]]]) the other two kinds
//   resultSet(column)          the column object, by index or name (case-insensitive)
//   column / column.Value      the column's value in the current row (Null for SQL NULL)
//   column.Name                the column's name
//   resultSet.EOF, .MoveNext, .Close, .Fields(column)
//
// Result sets are forward-only and read-only: type 0 (OpenResultset) or 8 (OpenRecordset), lock
// type 1, options 0 or omitted; any other value raises error 5 and opens nothing. The engine's
// errors are error 3000 with the engine's message as description and its name as source.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "library/Dispatch.h"

namespace qv {

// A forward-only cursor over the rows of a query, as an engine provides it. Opening it reads
// the first row; Next reads the following one. Errors are RuntimeErrors (DatabaseError).
class Cursor {
  public:
    virtual ~Cursor() = default;
    virtual int32_t Columns() const = 0;
    virtual String ColumnName(int32_t column) const = 0;
    // Whether the rows are used up (there is no current row).
    virtual bool AtEnd() const = 0;
    // The value of `column` (0 .. Columns()-1) in the current row; only while !AtEnd().
    virtual Variant Value(int32_t column) = 0;
    virtual void Next() = 0;
    // Releases the engine's statement; the cursor is at its end afterwards.
    virtual void Close() = 0;
};

class ResultSet final : public Dispatch {
  public:
    ResultSet(std::unique_ptr<Cursor> cursor, String source);
    std::shared_ptr<Object> Clone() const override;
    String TypeName() const override { return u"ResultSet"; }
    bool Supports(StringView) const override { return false; }
    Variant Call(StringView name, std::span<const Variant> args) override;

    // The rows directly, for readers in this library: the same values its late-bound members
    // give, without a column object for every value read.
    Cursor& Rows() const;
    // The column named `name` (without regard to ASCII case); -1 when none.
    int32_t ColumnIndex(StringView name) const;

  private:
    struct State;
    class Column;
    std::shared_ptr<Object> ColumnObject(const Variant& which);
    std::shared_ptr<State> state_;
};

class DatabaseConnection : public Dispatch {
  public:
    // Which interface the connection offers, and so which open call the combo box makes.
    enum class Kind { Remote, Database, Connection };

    explicit DatabaseConnection(Kind kind, String source)
        : kind_(kind), source_(std::move(source)) {}
    Kind ConnectionKind() const { return kind_; }
    String TypeName() const override { return u"Connection"; }
    bool Supports(StringView interfaceId) const override;
    Variant Call(StringView name, std::span<const Variant> args) override;

    // What opens this connection again (OpenConnection), without a password: form files keep it.
    virtual String Description() const = 0;
    // Opens a result set over `sql` (one statement).
    std::shared_ptr<ResultSet> Open(const String& sql);

  protected:
    virtual std::unique_ptr<Cursor> Execute(const String& sql) = 0;
    const String& Source() const { return source_; }

  private:
    Kind kind_;
    String source_;
};

// Makes a connection from its description ("sqlite:PATH", "sqlite::memory:",
// "postgresql://..." and the others the engines register); error 5 for a description no engine
// takes, the engine's error for one it cannot open.
using ConnectionMaker = std::function<std::shared_ptr<DatabaseConnection>(const String&)>;
// `prefix` is compared without regard to ASCII case; later registrations win.
void RegisterConnectionScheme(String prefix, ConnectionMaker maker);
std::shared_ptr<DatabaseConnection> OpenConnection(const String& description);

}  // namespace qv
