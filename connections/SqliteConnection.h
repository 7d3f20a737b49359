// qv::connections::SqliteConnection: an embedded SQLite database as the combo box's connection
// (the kind that opens with OpenRecordset).
//
//     auto db = qv::connections::SqliteConnection::Connect(u"customers.sqlite");
//     box.Connection(db);   // box.SqlQueryString(u"SELECT Name, Id FROM Customer WHERE ...")
//
// Lookups run one statement that only reads: anything else (a second statement, an INSERT, a
// DROP) is refused with error 3000 before it runs. Copies of the connection (the property store
// keeps copies) share the one open database.
#pragma once

#include <memory>

#include "library/DataSource.h"

struct sqlite3;

namespace qv::connections {

class SqliteConnection final : public DatabaseConnection {
  public:
    // Opens (and creates, unless `readOnly`) the database file `path`, or a private in-memory
    // database for ":memory:". Error 3000 with SQLite's message when it cannot.
    static std::shared_ptr<SqliteConnection> Connect(const String& path, bool readOnly = false);

    std::shared_ptr<Object> Clone() const override;
    // "sqlite:" and the path.
    String Description() const override { return u"sqlite:" + path_; }
    // Runs statements that return no rows, for the application's own set-up (error 3000).
    void Run(const std::string& sqlUtf8);
    sqlite3* Handle() const;

  protected:
    std::unique_ptr<Cursor> Execute(const String& sql) override;

  private:
    struct Session;
    SqliteConnection(std::shared_ptr<Session> session, String path);
    std::shared_ptr<Session> session_;
    String path_;
};

}  // namespace qv::connections
