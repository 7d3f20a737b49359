#include "demo/CustomerDatabase.h"

#include <QDir>
#include <QStandardPaths>

#include "connections/Engines.h"
#include "connections/PostgresConnection.h"
#include "connections/SqliteConnection.h"
#include "hosts/qt/QtConvert.h"

namespace qv::demo {

namespace {

constexpr const char* kLastNames[] = {
    "Adams",    "Albrecht", "Andersen", "Bauer",     "Becker",   "Berger",    "Blanc",
    "Brandt",   "Braun",    "Brown",    "Castillo",  "Costa",    "Dąbrowski", "Dietrich",
    "Dubois",   "Eriksson", "Ernst",    "Fischer",   "Fontaine", "Frank",     "Fuchs",
    "García",   "Graf",     "Gruber",   "Günther",   "Haas",     "Hahn",      "Hansen",
    "Hartmann", "Hoffmann", "Horváth",  "Huber",     "Jansen",   "Jäger",     "Johansson",
    "Kaiser",   "Keller",   "Klein",    "Koch",      "König",    "Kovač",     "Krause",
    "Kuhn",     "Lang",     "Lange",    "Larsen",    "Lehmann",  "Lorenz",    "Ludwig",
    "Maier",    "Martin",   "Mayer",    "Meier",     "Meyer",    "Moreau",    "Müller",
    "Nagy",     "Neumann",  "Nielsen",  "Nowak",     "Olsen",    "Otto",      "Peters",
    "Pohl",     "Rossi",    "Roth",     "Russo",     "Sánchez",  "Sauer",     "Schäfer",
    "Schmid",   "Schmidt",  "Schmitt",  "Schneider", "Scholz",   "Schreiber", "Schröder",
    "Schubert", "Schulz",   "Schwarz",  "Seidel",    "Silva",    "Simon",     "Sommer",
    "Stein",    "Svoboda",  "Thomas",   "Vogel",     "Vogt",     "Wagner",    "Walter",
    "Weber",    "Weiß",     "Werner",   "Winkler",   "Wolf",     "Wolff",     "Zimmermann",
    "Ziegler",  "Zimmer",
};
constexpr const char* kFirstNames[] = {
    "Ada",   "Agnes", "Alba",   "Albert", "Alma",   "Anna",  "Anton", "Arne",   "Astrid", "Ben",
    "Berta", "Björn", "Carla",  "Carl",   "Chiara", "Clara", "Dario", "David",  "Dora",   "Edith",
    "Elias", "Elif",  "Ella",   "Emil",   "Emma",   "Erik",  "Eva",   "Felix",  "Finn",   "Frida",
    "Greta", "Hanna", "Hans",   "Ida",    "Ilse",   "Ines",  "Ivan",  "Jakob",  "Jan",    "Jana",
    "Jonas", "Josef", "Julia",  "Karin",  "Karl",   "Kurt",  "Lara",  "Lea",    "Lena",   "Leo",
    "Lina",  "Linus", "Lotte",  "Luca",   "Luis",   "Maja",  "Marie", "Mark",   "Marta",  "Max",
    "Mia",   "Mila",  "Moritz", "Nele",   "Nico",   "Nils",  "Noah",  "Nora",   "Olga",   "Oskar",
    "Otto",  "Paul",  "Paula",  "Peter",  "Pia",    "Rosa",  "Ruth",  "Sara",   "Simon",  "Sofia",
    "Sven",  "Theo",  "Tilda",  "Tim",    "Tom",    "Ute",   "Vera",  "Viktor", "Walter", "Wanda",
    "Xaver", "Yara",  "Yusuf",  "Zoë",    "Zora",   "Ali",   "Amir",  "Chen",   "Mei",    "Ravi",
};
constexpr const char* kCities[] = {
    "Aachen",    "Basel",     "Berlin",   "Bern",    "Bonn",     "Bremen",  "Dresden",
    "Erfurt",    "Essen",     "Freiburg", "Genève",  "Graz",     "Hamburg", "Hannover",
    "Innsbruck", "Kassel",    "Kiel",     "Köln",    "Leipzig",  "Linz",    "Lübeck",
    "Luzern",    "Mainz",     "München",  "Münster", "Nürnberg", "Potsdam", "Rostock",
    "Salzburg",  "Stuttgart", "Ulm",      "Wien",    "Zürich",
};
static_assert(std::size(kLastNames) * std::size(kFirstNames) >= kCustomerCount);

std::string Literal(const QString& s) {
    std::string out = "'";
    for (char c : s.toStdString()) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

}  // namespace

Customer CustomerAt(int i) {
    const size_t n = std::size(kFirstNames);
    const auto at = static_cast<size_t>(i);
    return {i + 1,
            QString::fromUtf8(kLastNames[at / n]) + QStringLiteral(", ") +
                QString::fromUtf8(kFirstNames[at % n]),
            QString::fromUtf8(kCities[(at * 7 + at / n) % std::size(kCities)])};
}

std::string CustomerTableSql(bool postgres) {
    std::string sql =
        postgres ? "CREATE TABLE Customer (Id INTEGER PRIMARY KEY, Name TEXT NOT NULL, City TEXT);"
                   "CREATE INDEX CustomerName ON Customer (Name text_pattern_ops);"
                 : "BEGIN; CREATE TABLE Customer (Id INTEGER PRIMARY KEY, "
                   "Name TEXT NOT NULL COLLATE NOCASE, City TEXT);"
                   "CREATE INDEX CustomerName ON Customer (Name COLLATE NOCASE);";
    sql.reserve(sql.size() + size_t{kCustomerCount} * 48);
    for (int i = 0; i < kCustomerCount; i += 500) {
        sql += "INSERT INTO Customer (Id, Name, City) VALUES ";
        for (int k = i; k < std::min(i + 500, kCustomerCount); ++k) {
            const Customer c = CustomerAt(k);
            if (k > i) sql += ',';
            sql += '(' + std::to_string(c.id) + ',' + Literal(c.name) + ',' + Literal(c.city) + ')';
        }
        sql += ';';
    }
    if (!postgres) sql += "COMMIT;";
    return sql;
}

QString DefaultCustomerDatabasePath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir.isEmpty() ? QDir::tempPath() : dir)
        .filePath(QStringLiteral("customers.sqlite"));
}

std::shared_ptr<DatabaseConnection> OpenCustomerDatabase(const QString& description) {
    connections::RegisterEngines();
    std::shared_ptr<DatabaseConnection> db;
    if (description.isEmpty()) {
        const QString path = DefaultCustomerDatabasePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        db = connections::SqliteConnection::Connect(qt::FromQString(path));
    } else {
        db = OpenConnection(qt::FromQString(description));
    }
    try {
        (void)db->Open(u"SELECT Id, Name, City FROM Customer WHERE Id = 1");
        return db;
    } catch (const RuntimeError&) {
    }
    // No Customer table yet: made here, then opened again.
    if (auto* sqlite = dynamic_cast<connections::SqliteConnection*>(db.get())) {
        sqlite->Run(CustomerTableSql(false));
    } else if (dynamic_cast<connections::PostgresConnection*>(db.get())) {
        String conninfo = qt::FromQString(description);
        if (conninfo.starts_with(u"postgresql:") && !conninfo.starts_with(u"postgresql://"))
            conninfo = conninfo.substr(11);
        connections::PostgresConnection::Run(conninfo, CustomerTableSql(true));
    }
    (void)db->Open(u"SELECT Id, Name, City FROM Customer WHERE Id = 1");
    return db;
}

std::shared_ptr<DatabaseConnection>& CustomerDatabase() {
    static std::shared_ptr<DatabaseConnection> db;
    return db;
}

}  // namespace qv::demo
