#pragma once
// The general, locale-independent text of a value: what PostgreSQL reads back as the value,
// and what SQL Server reads too for every kind but timestamps (see sqlServerValueText).
// Integers in decimal, exact digits as given, shortest round-trip floats, 'YYYY-MM-DD',
// 'HH:MM:SS[.ffffff]', 'YYYY-MM-DD HH:MM:SS[.ffffff]', True/False, binary as \x and
// lowercase hex. Dates and timestamps PostgreSQL alone holds are written as it reads them
// back: 'infinity', '-infinity', '2000-01-01 BC', '12000-01-01'. Null gives the empty text.

#include <QString>

#include "db/values/value.h"

namespace dorvane::sql {

QString valueText(const db::Value& value);
// Appends the same text to `out`, without a string of its own for numbers and times.
void appendValueText(QString& out, const db::Value& value);

// The most characters scalarValueChars writes.
constexpr int kScalarTextRoom = 128;
// The same text, ASCII, for a number, date, time or boolean: written into `out`, which has
// room for kScalarTextRoom characters; gives how many, or -1 for a value of another kind.
int scalarValueChars(const db::Value& value, char* out);

}  // namespace dorvane::sql
