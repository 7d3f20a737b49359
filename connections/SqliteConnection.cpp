#include "connections/SqliteConnection.h"

#include <sqlite3.h>

#include <climits>
#include <cmath>

namespace qv::connections {

namespace {

constexpr char16_t kSource[] = u"SQLite";

[[noreturn]] void Fail(sqlite3* db) {
    Raise(err::DatabaseError, kSource, FromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
}

[[noreturn]] void Refuse(const char16_t* why) {
    Raise(err::DatabaseError, kSource, why);
}

// Whether `tail` holds another statement (blanks, semicolons and comments do not count).
bool AnotherStatement(sqlite3* db, const char* tail) {
    while (tail && *tail) {
        sqlite3_stmt* next = nullptr;
        const char* rest = nullptr;
        if (sqlite3_prepare_v2(db, tail, -1, &next, &rest) != SQLITE_OK) return true;
        if (next) {
            sqlite3_finalize(next);
            return true;
        }
        if (rest == tail) break;
        tail = rest;
    }
    return false;
}

class SqliteCursor final : public Cursor {
  public:
    SqliteCursor(std::shared_ptr<void> keep, sqlite3* db, sqlite3_stmt* stmt)
        : keep_(std::move(keep)), db_(db), stmt_(stmt), columns_(sqlite3_column_count(stmt)) {
        for (int i = 0; i < columns_; ++i) {
            const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(stmt_, i));
            names_.emplace_back(name ? name : u"");
        }
    }
    ~SqliteCursor() override { Close(); }
    int32_t Columns() const override { return columns_; }
    String ColumnName(int32_t column) const override {
        return column >= 0 && column < static_cast<int32_t>(names_.size())
                   ? names_[static_cast<size_t>(column)]
                   : String();
    }
    bool AtEnd() const override { return !stmt_ || done_; }
    Variant Value(int32_t column) override {
        switch (sqlite3_column_type(stmt_, column)) {
            case SQLITE_NULL:
                return Variant::Null();
            case SQLITE_INTEGER: {
                const sqlite3_int64 v = sqlite3_column_int64(stmt_, column);
                if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int32_t>(v);
                return static_cast<double>(v);
            }
            case SQLITE_FLOAT:
                return sqlite3_column_double(stmt_, column);
            default: {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
                const int bytes = sqlite3_column_bytes(stmt_, column);
                return FromUtf8(std::string_view(text ? text : "", static_cast<size_t>(bytes)));
            }
        }
    }
    void Next() override {
        if (!stmt_) return;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return;
        done_ = true;
        if (rc != SQLITE_DONE) Fail(db_);
    }
    void Close() override {
        if (stmt_) sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }

  private:
    std::shared_ptr<void> keep_;  // the database stays open while a cursor is
    sqlite3* db_;
    sqlite3_stmt* stmt_;
    int columns_;
    bool done_ = false;
    std::vector<String> names_;
};

}  // namespace

struct SqliteConnection::Session {
    sqlite3* db = nullptr;
    ~Session() { sqlite3_close_v2(db); }
};

SqliteConnection::SqliteConnection(std::shared_ptr<Session> session, String path)
    : DatabaseConnection(Kind::Database, kSource),
      session_(std::move(session)),
      path_(std::move(path)) {}

std::shared_ptr<SqliteConnection> SqliteConnection::Connect(const String& path, bool readOnly) {
    auto session = std::make_shared<Session>();
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;  // one thread at a time, as controls are
    const std::string name = ToUtf8(path);
    if (sqlite3_open_v2(name.c_str(), &session->db, flags, nullptr) != SQLITE_OK) Fail(session->db);
    sqlite3_busy_timeout(session->db, 2000);  // another writer: wait a little, never for ever
    // Lookups come one after another over the same index: 16 MB of pages stay in memory
    // instead of the default 2 MB being read again from the file.
    sqlite3_exec(session->db, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    return std::shared_ptr<SqliteConnection>(new SqliteConnection(std::move(session), path));
}

std::shared_ptr<Object> SqliteConnection::Clone() const {
    return std::shared_ptr<SqliteConnection>(new SqliteConnection(session_, path_));
}

sqlite3* SqliteConnection::Handle() const {
    return session_->db;
}

void SqliteConnection::Run(const std::string& sqlUtf8) {
    char* message = nullptr;
    if (sqlite3_exec(session_->db, sqlUtf8.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const String why = FromUtf8(message ? message : sqlite3_errmsg(session_->db));
        sqlite3_free(message);
        Raise(err::DatabaseError, kSource, why);
    }
}

std::unique_ptr<Cursor> SqliteConnection::Execute(const String& sql) {
    const std::string text = ToUtf8(sql);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(session_->db, text.c_str(), static_cast<int>(text.size()), &stmt,
                           &tail) != SQLITE_OK)
        Fail(session_->db);
    if (!stmt) Refuse(u"The query is empty");
    if (!sqlite3_stmt_readonly(stmt) || AnotherStatement(session_->db, tail)) {
        sqlite3_finalize(stmt);
        Refuse(u"A lookup runs one statement that only reads");
    }
    auto cursor = std::make_unique<SqliteCursor>(session_, session_->db, stmt);
    cursor->Next();  // the first row
    return cursor;
}

}  // namespace qv::connections
