#include "connections/PostgresConnection.h"

#include <libpq-fe.h>

#include <climits>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace qv::connections {

namespace {

constexpr char16_t kSource[] = u"PostgreSQL";

String Message(const char* m) {
    String s = FromUtf8(m ? m : "");
    while (!s.empty() && (s.back() == u'\n' || s.back() == u' ')) s.pop_back();
    return s;
}

[[noreturn]] void Fail(const char* message) {
    Raise(err::DatabaseError, kSource, Message(message));
}

// The session's settings: backslashes taken literally (so a doubled quote is the only escape a
// literal knows), and for lookups a session that only reads.
void Configure(PGconn* conn, bool readOnly) {
    const char* settings = readOnly ? "SET standard_conforming_strings = on; "
                                      "SET default_transaction_read_only = on;"
                                    : "SET standard_conforming_strings = on;";
    PGresult* r = PQexec(conn, settings);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    if (!ok) Fail(PQerrorMessage(conn));
}

// Connects with our defaults before the caller's string, which overrides them.
PGconn* OpenSession(const std::string& conninfo, bool readOnly) {
    const char* keys[] = {"connect_timeout",
                          "keepalives",
                          "keepalives_idle",
                          "keepalives_interval",
                          "keepalives_count",
                          "client_encoding",
                          "options",
                          "dbname",
                          nullptr};
    const char* values[] = {
        "5", "1", "10", "5", "3", "UTF8", "-c statement_timeout=10000", conninfo.c_str(), nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn) Fail("out of memory");
    try {
        if (PQstatus(conn) != CONNECTION_OK) Fail(PQerrorMessage(conn));
        Configure(conn, readOnly);
    } catch (...) {
        PQfinish(conn);
        throw;
    }
    return conn;
}

// The connection string as a form file may keep it: without a password.
String WithoutPassword(const std::string& conninfo) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        PQfreemem(error);
        return FromUtf8(conninfo);
    }
    bool hasPassword = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::string_view(o->keyword) == "password" && o->val && *o->val) hasPassword = true;
    if (!hasPassword) {
        PQconninfoFree(options);
        return FromUtf8(conninfo);
    }
    // Rebuilt in keyword form, quoting every value.
    std::string out;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (!o->val || !*o->val || std::string_view(o->keyword) == "password") continue;
        if (!out.empty()) out += ' ';
        out += o->keyword;
        out += "='";
        for (const char* c = o->val; *c; ++c) {
            if (*c == '\'' || *c == '\\') out += '\\';
            out += *c;
        }
        out += '\'';
    }
    PQconninfoFree(options);
    return FromUtf8(out);
}

Variant ValueOf(const PGresult* r, int column) {
    if (PQgetisnull(r, 0, column)) return Variant::Null();
    const char* text = PQgetvalue(r, 0, column);
    const int length = PQgetlength(r, 0, column);
    switch (PQftype(r, column)) {
        case 16:  // bool
            return text[0] == 't';
        case 20:    // int8
        case 21:    // int2
        case 23: {  // int4
            const long long v = std::strtoll(text, nullptr, 10);
            if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int32_t>(v);
            return static_cast<double>(v);
        }
        case 700:   // float4
        case 701:   // float8
        case 1700:  // numeric
            return std::strtod(text, nullptr);
        default:
            return FromUtf8(std::string_view(text, static_cast<size_t>(length)));
    }
}

class PostgresCursor final : public Cursor {
  public:
    PostgresCursor(std::shared_ptr<void> keep, PGconn* conn)
        : keep_(std::move(keep)), conn_(conn) {}
    ~PostgresCursor() override { Close(); }

    // Reads the first result: a row, or the end with the columns.
    void Start() {
        Next();
        if (row_) {
            columns_ = PQnfields(row_);
            for (int i = 0; i < columns_; ++i) names_.push_back(FromUtf8(PQfname(row_, i)));
        }
    }
    int32_t Columns() const override { return columns_; }
    String ColumnName(int32_t column) const override {
        return column >= 0 && column < columns_ ? names_[static_cast<size_t>(column)] : String();
    }
    bool AtEnd() const override { return done_; }
    Variant Value(int32_t column) override { return ValueOf(row_, column); }
    void Next() override {
        if (done_) return;
        Clear();
        PGresult* r = PQgetResult(conn_);
        switch (PQresultStatus(r)) {
            case PGRES_SINGLE_TUPLE:
                row_ = r;
                return;
            case PGRES_TUPLES_OK:  // the end: the columns come with it
                row_ = r;
                Finish();
                return;
            default: {
                const String why = Message(r ? PQresultErrorMessage(r) : PQerrorMessage(conn_));
                PQclear(r);
                Finish();
                Raise(err::DatabaseError, kSource,
                      why.empty() ? u"The server closed the connection" : why);
            }
        }
    }
    void Close() override {
        if (!done_ && PQstatus(conn_) == CONNECTION_OK) {
            // Stops the server sending the rest, then reads what is on its way.
            if (PGcancel* cancel = PQgetCancel(conn_)) {
                char buffer[256];
                PQcancel(cancel, buffer, sizeof buffer);
                PQfreeCancel(cancel);
            }
        }
        if (!done_) Finish();
        Clear();
    }

  private:
    void Clear() {
        if (row_) PQclear(row_);
        row_ = nullptr;
    }
    // Reads the results up to the end of the query, keeping the last row result (the columns).
    void Finish() {
        done_ = true;
        while (PGresult* r = PQgetResult(conn_)) PQclear(r);
    }
    std::shared_ptr<void> keep_;
    PGconn* conn_;
    PGresult* row_ = nullptr;
    bool done_ = false;
    int columns_ = 0;
    std::vector<String> names_;
};

}  // namespace

struct PostgresConnection::Session {
    PGconn* conn = nullptr;
    ~Session() { PQfinish(conn); }
};

PostgresConnection::PostgresConnection(std::shared_ptr<Session> session, String description)
    : DatabaseConnection(Kind::Remote, kSource),
      session_(std::move(session)),
      description_(std::move(description)) {}

std::shared_ptr<PostgresConnection> PostgresConnection::Connect(const String& conninfo) {
    const std::string info = ToUtf8(conninfo);
    auto session = std::make_shared<Session>();
    session->conn = OpenSession(info, true);
    return std::shared_ptr<PostgresConnection>(
        new PostgresConnection(std::move(session), WithoutPassword(info)));
}

std::shared_ptr<Object> PostgresConnection::Clone() const {
    return std::shared_ptr<PostgresConnection>(new PostgresConnection(session_, description_));
}

String PostgresConnection::Description() const {
    const StringView d = description_;
    if (d.starts_with(u"postgresql://") || d.starts_with(u"postgres://")) return description_;
    return u"postgresql:" + description_;
}

int PostgresConnection::BackendPid() const {
    return PQbackendPID(session_->conn);
}

void PostgresConnection::Run(const String& conninfo, const std::string& sqlUtf8) {
    PGconn* conn = OpenSession(ToUtf8(conninfo), false);
    PGresult* r = PQexec(conn, sqlUtf8.c_str());
    const ExecStatusType status = PQresultStatus(r);
    const String why = Message(PQresultErrorMessage(r));
    PQclear(r);
    PQfinish(conn);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        Raise(err::DatabaseError, kSource, why);
}

std::unique_ptr<Cursor> PostgresConnection::Execute(const String& sql) {
    PGconn* conn = session_->conn;
    if (PQstatus(conn) != CONNECTION_OK) {
        // Lost since the last lookup: one attempt to get it back.
        PQreset(conn);
        if (PQstatus(conn) != CONNECTION_OK) Fail(PQerrorMessage(conn));
        Configure(conn, true);
    }
    // The extended protocol runs exactly one statement, whatever the text holds.
    const std::string text = ToUtf8(sql);
    if (!PQsendQueryParams(conn, text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0))
        Fail(PQerrorMessage(conn));
    if (!PQsetSingleRowMode(conn)) {
        while (PGresult* r = PQgetResult(conn)) PQclear(r);
        Fail("single-row mode refused");
    }
    auto cursor = std::make_unique<PostgresCursor>(session_, conn);
    cursor->Start();
    return cursor;
}

}  // namespace qv::connections
