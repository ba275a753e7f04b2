#pragma once
// psqlODBC reads every date and timestamp into its own structures, and makes even its
// text of them from those: infinities, BC years and years past 9999 come out as other
// dates. The server's own text survives a cast, so a query with such columns is run
// inside one that casts them to text (read back with postgres_date_text.h).

#include <QString>
#include <vector>

#include "db/odbc/ado_types.h"

namespace dorvane::db {

// The query ready to go inside another: trailing semicolons and blanks dropped. Empty
// when it cannot: anything but a single SELECT, VALUES or TABLE statement.
QString wrappableQuery(const QString& sql);

// Runs `wrappable` for its columns only: no row is read.
QString describingQuery(const QString& wrappable);

// True when some of the columns are dates or timestamps.
bool hasDateColumns(const std::vector<FetchKind>& kinds);

// `wrappable` with its date and timestamp columns cast to text, the others as they are;
// their kinds in `kinds` change to the text ones.
QString datesAsTextQuery(const QString& wrappable, std::vector<FetchKind>& kinds);

}  // namespace dorvane::db
