// The database engines of this folder by description, for OpenConnection (form files, the demo's
// --database): "sqlite:PATH" (":memory:" too), "postgresql://..." / "postgres://..." (a libpq
// URI) and "postgresql:KEYWORDS" (libpq's keyword form).
#pragma once

namespace qv::connections {

// Registers the engines with OpenConnection; more calls change nothing.
void RegisterEngines();

}  // namespace qv::connections
