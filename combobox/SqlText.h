// The SQL text of a database lookup: the query template with the typed value put in place of its
// first "{DataField}" placeholder, as data. Where the placeholder stands inside a quoted literal of
// the template the value's quotes are doubled; outside quotes the value goes in as a quoted
// literal; so whatever is typed, it cannot end the literal and run SQL of its own. Inside a
// quoted identifier its double quotes are doubled; inside a comment nothing is put in; a
// backslash-escaped literal (E'...') has its backslashes doubled and a dollar-quoted one loses
// the closing tag from the value. NUL characters, which no SQL text can carry, are dropped.
#pragma once

#include "library/String.h"

namespace qv {

// `value` as it goes into the SQL text (already trimmed as the box's Trim says). An empty
// `dataField` leaves the template unchanged; a blank template gives an empty text; a template
// without the placeholder is used trimmed; otherwise the result is trimmed on both sides.
String BuildSqlText(StringView query, StringView value, StringView dataField);

}  // namespace qv
