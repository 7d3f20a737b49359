#include "connections/Engines.h"

#include <mutex>

#include "connections/PostgresConnection.h"
#include "connections/SqliteConnection.h"

namespace qv::connections {

void RegisterEngines() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterConnectionScheme(
            u"sqlite:", [](const String& d) { return SqliteConnection::Connect(d.substr(7)); });
        RegisterConnectionScheme(u"postgresql:", [](const String& d) {
            return PostgresConnection::Connect(d.substr(11));
        });
        for (const char16_t* uri : {u"postgresql://", u"postgres://"})
            RegisterConnectionScheme(
                uri, [](const String& d) { return PostgresConnection::Connect(d); });
    });
}

}  // namespace qv::connections
