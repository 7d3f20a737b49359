// The combo box's database lookup on SQLite, each beside the bare SQLite loop it is judged by:
//   one lookup (Enter on a typed prefix: SQL text, open, fill of up to 50 rows) on 1,000,000
//   customers with a NOCASE index              vs  sqlite3_prepare_v2 + step loop + finalize
//   a fill of 100,000 rows into the list       vs  a step loop copying the rows into a vector
//                                                  (and, for comparison, into UTF-16 strings)
// The database is made once in the temporary folder (qv_database_bench.sqlite) and kept.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "combobox/QVcomboBoxControl.h"
#include "connections/SqliteConnection.h"
#include "hosts/headless/HeadlessHost.h"

namespace {

constexpr int kRows = 1'000'000;

std::string NameOf(std::mt19937& rng) {
    std::string s(1, static_cast<char>('A' + rng() % 26));
    for (int k = 5 + static_cast<int>(rng() % 9); k > 0; --k)
        s += static_cast<char>('a' + rng() % 26);
    return s;
}

const std::string& DatabasePath() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "qv_database_bench.sqlite";
        auto db = qv::connections::SqliteConnection::Connect(qv::FromUtf8(p.string()));
        bool ready = false;
        try {
            const std::shared_ptr<qv::Object> last(
                db->Open(u"SELECT Id FROM Customer WHERE Id = 1000000"));
            ready = !qv::CallByName(last, u"EOF").ToBool();
        } catch (const qv::RuntimeError&) {
        }
        if (!ready) {
            db->Run(
                "DROP TABLE IF EXISTS Customer; CREATE TABLE Customer (Id INTEGER PRIMARY KEY, "
                "Name TEXT COLLATE NOCASE, City TEXT); CREATE INDEX CustomerName ON Customer "
                "(Name);");
            sqlite3* h = db->Handle();
            sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
            sqlite3_stmt* insert = nullptr;
            sqlite3_prepare_v2(h, "INSERT INTO Customer VALUES (?, ?, ?)", -1, &insert, nullptr);
            std::mt19937 rng(7);
            const char* cities[] = {"Bonn", "Köln", "Wien", "Zürich", "Basel", "Ulm"};
            for (int i = 1; i <= kRows; ++i) {
                const std::string name = NameOf(rng);
                sqlite3_bind_int(insert, 1, i);
                sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, 3, cities[i % 6], -1, SQLITE_STATIC);
                sqlite3_step(insert);
                sqlite3_reset(insert);
            }
            sqlite3_finalize(insert);
            sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
        }
        return p.string();
    }();
    return path;
}

// Three-letter prefixes typed in lower case (about 60 customers each; the query takes 50).
std::vector<std::string> Prefixes() {
    std::mt19937 rng(11);
    std::vector<std::string> out;
    for (int i = 0; i < 256; ++i) {
        std::string p = NameOf(rng).substr(0, 3);
        p[0] = static_cast<char>(p[0] - 'A' + 'a');
        out.push_back(p);
    }
    return out;
}

constexpr char16_t kLookup[] =
    u"SELECT Name, Id, City FROM Customer WHERE Name LIKE '{DataField}%' ORDER BY Name LIMIT 50";

struct Form {
    qv::headless::Container form;
    qv::QVcomboBoxControl& box = form.Add<qv::QVcomboBoxControl>(u"cboCustomer", 2000, 300);
    explicit Form(const char16_t* query) {
        box.DataField(u"Name");
        box.DataIdField(u"Id");
        box.SqlQueryString(query);
        box.Connection(qv::connections::SqliteConnection::Connect(qv::FromUtf8(DatabasePath())));
        form.Focus(box);
    }
};

void ComboBoxLookup(benchmark::State& state) {
    Form f(kLookup);
    std::vector<qv::String> typed;
    for (const std::string& p : Prefixes()) typed.push_back(qv::FromUtf8(p));
    size_t i = 0, rows = 0;
    for (auto _ : state) {
        f.box.Text(qv::Variant(typed[i++ & 255]));
        f.box.StartQuery();
        rows += static_cast<size_t>(f.box.ListCount());
    }
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
}
BENCHMARK(ComboBoxLookup);

// The same SQL text on a connection of its own, the rows' three columns read; with the page
// cache the library's connection has (16 MB), so that the two differ by the box's own work.
void BareSqliteLookup(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    std::vector<std::string> sql;
    for (const std::string& p : Prefixes())
        sql.push_back("SELECT Name, Id, City FROM Customer WHERE Name LIKE '" + p +
                      "%' ORDER BY Name LIMIT 50");
    size_t i = 0, rows = 0;
    for (auto _ : state) {
        const std::string& text = sql[i++ & 255];
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &stmt, nullptr);
        std::vector<std::string> names;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            benchmark::DoNotOptimize(sqlite3_column_int(stmt, 1));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
        }
        sqlite3_finalize(stmt);
        rows += names.size();
    }
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    sqlite3_close(db);
}
BENCHMARK(BareSqliteLookup);

constexpr char16_t kFill[] =
    u"SELECT Name, Id, City FROM Customer WHERE Id <= 100000 AND Name LIKE '{DataField}%'";

void ComboBoxFill100k(benchmark::State& state) {
    Form f(kFill);
    for (auto _ : state) {
        f.box.Text(qv::Variant(qv::String(u"")));
        f.box.Text(qv::Variant(qv::String(u"%")));
        f.box.StartQuery();
        if (f.box.ListCount() != 100'000) state.SkipWithError("not 100,000 rows");
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(ComboBoxFill100k)->Unit(benchmark::kMillisecond);

// The rows into a vector: each name, id and city kept.
void BareSqliteFill100k(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    struct Row {
        std::string name;
        int id;
        std::string city;
    };
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT Name, Id, City FROM Customer WHERE Id <= 100000 AND Name LIKE '%%'", -1,
            &stmt, nullptr);
        std::vector<Row> rows;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            rows.push_back({reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                            sqlite3_column_int(stmt, 1),
                            reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))});
        sqlite3_finalize(stmt);
        if (rows.size() != 100'000) state.SkipWithError("not 100,000 rows");
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
    sqlite3_close(db);
}
BENCHMARK(BareSqliteFill100k)->Unit(benchmark::kMillisecond);

// For comparison only: the same loop into the library's string type (UTF-16), which needs the
// heap for names over 7 characters where std::string keeps 15 in place.
void BareSqliteFill100kUtf16(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    struct Row {
        std::u16string name;
        int id;
        std::u16string city;
    };
    const auto text16 = [](sqlite3_stmt* stmt, int column) {
        const auto* t = static_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
        return std::u16string(t, static_cast<size_t>(sqlite3_column_bytes16(stmt, column)) / 2);
    };
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT Name, Id, City FROM Customer WHERE Id <= 100000 AND Name LIKE '%%'", -1,
            &stmt, nullptr);
        std::vector<Row> rows;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            rows.push_back({text16(stmt, 0), sqlite3_column_int(stmt, 1), text16(stmt, 2)});
        sqlite3_finalize(stmt);
        if (rows.size() != 100'000) state.SkipWithError("not 100,000 rows");
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
    sqlite3_close(db);
}
BENCHMARK(BareSqliteFill100kUtf16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
