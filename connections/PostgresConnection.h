// qv::connections::PostgresConnection: a PostgreSQL server over libpq as the combo box's
// connection (the kind that opens with OpenResultset).
//
//     auto pg = qv::connections::PostgresConnection::Connect(u"postgresql://app@db.example/shop");
//     box.Connection(pg);
//
// The connection string is libpq's (a URI or "host=... dbname=..."); the password comes from
// libpq's password file or PGPASSWORD, and the description a form file keeps never holds one.
// Connecting gives up after 5 s (connect_timeout) and a statement after 10 s (statement_timeout)
// unless the string says otherwise; the session only reads (default_transaction_read_only) and
// takes backslashes literally (standard_conforming_strings). Rows arrive one at a time, so a
// lookup reads what it needs and a server that goes away ends it with error 3000.
#pragma once

#include <memory>

#include "library/DataSource.h"

namespace qv::connections {

class PostgresConnection final : public DatabaseConnection {
  public:
    // Connects; error 3000 with libpq's message when it cannot.
    static std::shared_ptr<PostgresConnection> Connect(const String& conninfo);

    std::shared_ptr<Object> Clone() const override;
    // The connection string without its password ("postgresql:" before a keyword form).
    String Description() const override;
    // Runs statements that return no rows on a session of its own that may write (set-up):
    // error 3000 on failure.
    static void Run(const String& conninfo, const std::string& sqlUtf8);
    // The server process of this session (for pg_terminate_backend in tests).
    int BackendPid() const;

  protected:
    std::unique_ptr<Cursor> Execute(const String& sql) override;

  private:
    struct Session;
    PostgresConnection(std::shared_ptr<Session> session, String description);
    std::shared_ptr<Session> session_;
    String description_;
};

}  // namespace qv::connections
