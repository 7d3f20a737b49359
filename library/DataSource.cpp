#include "library/DataSource.h"

#include <mutex>

namespace qv {

namespace {
bool Named(StringView name, StringView member) {
    return EqualsNoCase(name, member);
}

[[noreturn]] void Unsupported(const String& source) {
    Raise(err::InvalidProcedureCall, source,
          u"Only forward-only, read-only result sets are supported");
}

// An argument that must be omitted or hold `allowed`.
void Expect(std::span<const Variant> args, size_t i, int32_t allowed, const String& source) {
    if (i >= args.size() || args[i].IsMissing()) return;
    int32_t v = 0;
    try {
        v = args[i].ToLong();
    } catch (const RuntimeError&) {
        Unsupported(source);
    }
    if (v != allowed) Unsupported(source);
}
}  // namespace

// --- Result sets ----------------------------------------------------------------------------

struct ResultSet::State {
    std::unique_ptr<Cursor> cursor;
    String source;
    std::vector<std::shared_ptr<Object>> columns;  // made on first use, one per column

    [[noreturn]] void NoCurrentRow() const { Raise(err::DatabaseError, source, u"No current row"); }
};

// A column of the result set: its value follows the current row. It does not keep the result
// set alive (the set keeps its columns): once the set is gone, reading it is an error.
class ResultSet::Column final : public Dispatch {
  public:
    Column(std::weak_ptr<State> state, int32_t index) : state_(std::move(state)), index_(index) {}
    std::shared_ptr<Object> Clone() const override {
        return std::make_shared<Column>(state_, index_);
    }
    String TypeName() const override { return u"Field"; }
    bool Supports(StringView) const override { return false; }
    Variant Call(StringView name, std::span<const Variant> args) override {
        if (!args.empty()) Raise(err::WrongArguments);
        const std::shared_ptr<State> s = state_.lock();
        if (!s) Raise(err::DatabaseError, {}, u"The result set is closed");
        if (name.empty() || Named(name, u"Value")) {
            if (s->cursor->AtEnd()) s->NoCurrentRow();
            return s->cursor->Value(index_);
        }
        if (Named(name, u"Name")) return s->cursor->ColumnName(index_);
        Raise(err::NoSuchMember);
    }

  private:
    std::weak_ptr<State> state_;
    int32_t index_;
};

ResultSet::ResultSet(std::unique_ptr<Cursor> cursor, String source)
    : state_(std::make_shared<State>()) {
    state_->cursor = std::move(cursor);
    state_->source = std::move(source);
    state_->columns.resize(static_cast<size_t>(state_->cursor->Columns()));
}

std::shared_ptr<Object> ResultSet::Clone() const {
    // A cursor cannot be copied: a copy is the same result set.
    auto copy = std::make_shared<ResultSet>(*this);
    return copy;
}

Cursor& ResultSet::Rows() const { return *state_->cursor; }

int32_t ResultSet::ColumnIndex(StringView name) const {
    const Cursor& c = *state_->cursor;
    for (int32_t i = 0; i < c.Columns(); ++i)
        if (EqualsNoCase(c.ColumnName(i), name)) return i;
    return -1;
}

std::shared_ptr<Object> ResultSet::ColumnObject(const Variant& which) {
    State& s = *state_;
    int32_t index = -1;
    if (which.IsString()) {
        const String name = which.ToString();
        index = ColumnIndex(name);
        if (index < 0) Raise(err::DatabaseError, s.source, u"No column named " + name);
    } else {
        index = which.ToLong();
        if (index < 0 || index >= s.cursor->Columns())
            Raise(err::DatabaseError, s.source, u"No column " + which.ToString());
    }
    auto& column = s.columns[static_cast<size_t>(index)];
    if (!column) column = std::make_shared<Column>(state_, index);
    return column;
}

Variant ResultSet::Call(StringView name, std::span<const Variant> args) {
    State& s = *state_;
    if (name.empty() || Named(name, u"Fields")) {
        if (args.size() != 1) Raise(err::WrongArguments);
        // Read as a value: at the end there is no current row, so reading column i fails.
        if (s.cursor->AtEnd()) s.NoCurrentRow();
        return ColumnObject(args[0]);
    }
    if (!args.empty()) Raise(err::WrongArguments);
    if (Named(name, u"EOF")) return s.cursor->AtEnd();
    if (Named(name, u"MoveNext")) {
        if (s.cursor->AtEnd()) s.NoCurrentRow();
        s.cursor->Next();
        return {};
    }
    if (Named(name, u"Close")) {
        s.cursor->Close();
        return {};
    }
    Raise(err::NoSuchMember);
}

// --- Connections ----------------------------------------------------------------------------

bool DatabaseConnection::Supports(StringView interfaceId) const {
    switch (kind_) {
        case Kind::Remote:
            return EqualsNoCase(interfaceId, iid::RemoteConnection);
        case Kind::Database:
            return EqualsNoCase(interfaceId, iid::AccessDatabase);
        case Kind::Connection:
            return EqualsNoCase(interfaceId, iid::AccessConnection);
    }
    return false;
}

std::shared_ptr<ResultSet> DatabaseConnection::Open(const String& sql) {
    return std::make_shared<ResultSet>(Execute(sql), source_);
}

Variant DatabaseConnection::Call(StringView name, std::span<const Variant> args) {
    const bool remote = kind_ == Kind::Remote;
    if (Named(name, remote ? u"OpenResultset" : u"OpenRecordset")) {
        if (args.empty() || args.size() > 4 || args[0].IsMissing()) Raise(err::WrongArguments);
        const String sql = args[0].ToString();
        if (remote) {
            Expect(args, 1, 0, source_);  // forward-only
            Expect(args, 2, 1, source_);  // read-only
            Expect(args, 3, 0, source_);  // no options
        } else {
            Expect(args, 1, 8, source_);  // forward-only
            Expect(args, 2, 0, source_);  // no options
            Expect(args, 3, 1, source_);  // read-only
        }
        return std::shared_ptr<Object>(Open(sql));
    }
    if (Named(name, u"Description")) {
        if (!args.empty()) Raise(err::WrongArguments);
        return Description();
    }
    Raise(err::NoSuchMember);
}

// --- Making connections by description ------------------------------------------------------

namespace {
struct Scheme {
    String prefix;
    ConnectionMaker maker;
};
std::mutex& SchemesLock() {
    static std::mutex m;
    return m;
}
std::vector<Scheme>& Schemes() {
    static std::vector<Scheme> s;
    return s;
}
}  // namespace

void RegisterConnectionScheme(String prefix, ConnectionMaker maker) {
    const std::lock_guard lock(SchemesLock());
    Schemes().push_back({std::move(prefix), std::move(maker)});
}

std::shared_ptr<DatabaseConnection> OpenConnection(const String& description) {
    ConnectionMaker maker;
    {
        const std::lock_guard lock(SchemesLock());
        for (auto it = Schemes().rbegin(); it != Schemes().rend(); ++it)
            if (description.size() >= it->prefix.size() &&
                EqualsNoCase(StringView(description).substr(0, it->prefix.size()), it->prefix)) {
                maker = it->maker;
                break;
            }
    }
    if (!maker)
        Raise(err::InvalidProcedureCall, {}, u"No database engine takes \"" + description + u"\"");
    return maker(description);
}

}  // namespace qv
