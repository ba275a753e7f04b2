#pragma once
// Field values written into statements. The text forms do not depend on the user's
// locale; the general form is in general_value_text.h, this adds what each target needs.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

#include "db/values/value.h"

namespace dorvane::sql {

// A literal PostgreSQL reads back as the text itself: '...' with quotes doubled, or,
// when the text holds a backslash, E'...' with quotes and backslashes doubled (plain
// literals keep backslashes as they are).
void appendPostgresLiteral(QString& sql, QStringView text);

// Quotes doubled, then backslashes doubled.
void appendWithQuotesAndBackslashesDoubled(QString& sql, QStringView text);
void appendWithQuotesDoubled(QString& sql, QStringView text);

// True for an SQL numeric constant with an optional sign: 12, -1.5, .5, 5., 1e-3.
bool readsAsSqlNumber(QStringView text);

// True when every character is ASCII; other text needs a national literal on SQL Server.
bool isAscii(QStringView text);

// 'YYYY-MM-DDThh:mm:ss[.fff]': DATETIME takes at most three fractional digits, so the
// time is rounded to the millisecond, carrying into the seconds, minutes, ... and date.
QString sqlServerTimestampText(const db::DateTimeParts& parts);
// The text of a value for a statement towards SQL Server.
QString sqlServerValueText(const db::Value& value);
// How a column takes a value's text beyond the form every column reads.
enum class SqlServerTextForm : std::uint8_t {
    Plain,
    // DATETIME2, DATETIMEOFFSET: a timestamp with every fractional digit, not rounded to
    // DATETIME's millisecond.
    FineTime,
    // REAL: a 4-byte float with the digits of its exact value. The shortest text that reads
    // back as it may lie beyond the largest REAL (3.4028235e38), which the server refuses.
    ExactFloat,
};
QString sqlServerValueText(const db::Value& value, SqlServerTextForm form);

// What a SQL Server DATETIME column holds of a date or timestamp sent as its text: days
// from 1900-01-01 and 1/300 s from midnight, after the server's own rounding. Nothing for
// an infinity or a time outside the column's range.
struct SqlServerDatetime {
    std::int32_t days = 0;
    std::int32_t ticks = 0;
};
std::optional<SqlServerDatetime> sqlServerDatetime(const db::DateTimeParts& parts);

// Throws std::runtime_error, naming the value and the type's range, when a date or
// timestamp cannot be held by a SQL Server column of the type `targetTypeName` (as the
// driver names it, in lower case): infinities by no date or time type; datetime and
// smalldatetime judged after the server's own rounding of the text sent (to 1/300 s, to
// the minute), date, datetime2 and datetimeoffset as sent; a time of day of 24:00:00 by
// time; a float nearer 0 than the smallest normal REAL by real, which holds no subnormal
// number. Text and other types refuse nothing here.
void checkSqlServerCanHold(const db::Value& value, QStringView targetTypeName);

// Throws when a text holds a NUL character: PostgreSQL text cannot store one, and the
// statement would be cut at it.
void checkPostgresCanHold(const db::Value& value);
// What checkPostgresCanHold throws for a text holding a NUL character.
[[noreturn]] void refuseNulCharacter();

// Digits of an exact number column on SQL Server.
struct ExactSize {
    int precision = 0;
    int scale = 0;
    friend bool operator==(const ExactSize&, const ExactSize&) = default;
};
// A decimal written plainly: an optional sign, digits, and a point with digits after it
// or not. The whole part without its leading zeros, the fraction without its trailing zeros.
struct PlainDecimal {
    bool negative = false;
    QStringView whole;
    QStringView fraction;
};
// Nothing for any other text (no digit, an exponent, NaN).
std::optional<PlainDecimal> plainDecimal(QStringView text);

// Throws when an exact value has more integer or fractional digits than the column
// holds: the server would round the fraction away silently.
void checkExactValueFits(const db::Value& value, ExactSize size);

}  // namespace dorvane::sql
