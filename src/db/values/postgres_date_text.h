#pragma once
// Dates and timestamps in the text PostgreSQL writes for them in its ISO DateStyle
// (psqlODBC's date structures lose infinities, BC years and years past 9999).

#include <string_view>

#include "db/values/value.h"

namespace dorvane::db {

// "YYYY-MM-DD[ BC]" (four or more year digits), "infinity" or "-infinity"; throws
// DbError for anything else, such as the text of another DateStyle.
DateTimeParts parsePostgresDate(std::string_view text);

// "YYYY-MM-DD HH:MM:SS[.fraction][offset][ BC]", "infinity" or "-infinity". A
// timestamptz's offset (+HH[:MM[:SS]]) is dropped: the parts are the session's local
// time, as the driver gives them. Throws DbError for anything else.
DateTimeParts parsePostgresTimestamp(std::string_view text);

}  // namespace dorvane::db
