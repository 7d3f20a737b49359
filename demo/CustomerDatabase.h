// The demo's customers: 10,000 made-up people ("Müller, Anna" in "Bonn"), in a SQLite database in
// the user's data folder made on first run, or in a database the user names (--database): a
// "sqlite:PATH" or a PostgreSQL connection string ("postgresql://...", "postgresql:host=..."),
// whose Customer table is made when it is missing.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "library/DataSource.h"

namespace qv::demo {

inline constexpr int kCustomerCount = 10'000;
// The customer form's lookup.
inline constexpr char16_t kCustomerLookup[] =
    u"SELECT Name, Id, City FROM Customer WHERE Name LIKE '{DataField}%' ORDER BY Name";

struct Customer {
    int id;
    QString name;
    QString city;
};
// Customer `i` (0 .. kCustomerCount-1), the same on every run; its Id is i + 1.
Customer CustomerAt(int i);

// The SQLite file used without --database.
QString DefaultCustomerDatabasePath();
// Opens `description` (empty: the default file), making and filling the Customer table with its
// index when it is missing. Raises the engine's error.
std::shared_ptr<DatabaseConnection> OpenCustomerDatabase(const QString& description);
// The statements that make the table and its index and insert the customers.
std::string CustomerTableSql(bool postgres);

// The database the customer form's lookup uses: set once at start; nullptr when none opened.
std::shared_ptr<DatabaseConnection>& CustomerDatabase();

}  // namespace qv::demo
