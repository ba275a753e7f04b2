// Values no ordinary table holds: the far ends of the date range, parts out of any
// range, numeric columns holding text, and NUL characters.

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "sql/general_value_text.h"
#include "sql/postgres_statements.h"
#include "sql/value_text.h"

namespace dorvane {
namespace {

using db::DateTimeParts;
using db::Value;

TEST(HostileTimestamps, DatesFarFromTodayKeepTheirYearTowardsSqlServer) {
    // Counting these in nanoseconds since 1970 overflows and wraps to other dates.
    EXPECT_EQ(sql::sqlServerTimestampText({9999, 12, 31, 23, 59, 59, 997'000'000}),
              "9999-12-31T23:59:59.997");
    EXPECT_EQ(sql::sqlServerTimestampText({1753, 1, 1, 0, 0, 0, 0}), "1753-01-01T00:00:00");
    EXPECT_EQ(sql::sqlServerTimestampText({1, 1, 1, 0, 0, 0, 400'000}), "0001-01-01T00:00:00");
    EXPECT_EQ(sql::sqlServerTimestampText({3000, 6, 15, 12, 0, 0, 999'600'000}),
              "3000-06-15T12:00:01");
}

TEST(HostileTimestamps, PartsOutOfEveryRangeStillGiveTheirWholeText) {
    const db::DateTimeParts worst{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN};
    // Year 1 - n is n BC, so the lowest year reads as one past the largest int.
    EXPECT_EQ(sql::valueText(db::Value::date(worst)), "2147483649--2147483648--2147483648 BC");
    EXPECT_EQ(sql::valueText(db::Value::time(worst)),
              "-2147483648:-2147483648:-2147483648.-21474836");
    EXPECT_EQ(sql::valueText(db::Value::timestamp(worst)).size(), 34 + 1 + 45 + 3);
}

TEST(HostileNumericColumns, TextInAColumnMarkedNumericStaysInQuotes) {
    // The customization dialog may mark any column as numeric.
    const std::vector<bool> unquoted{true, true, true, true};
    const std::vector<db::Value> row{db::Value::text(QStringLiteral("1); DROP TABLE x; --")),
                                     db::Value::boolean(false), db::Value::dbl(-1.5e-7),
                                     db::Value::text(QStringLiteral("NaN"))};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row, unquoted),
              "INSERT INTO \"t\" VALUES('1); DROP TABLE x; --', 'False', -1.5e-07, 'NaN')");
}

TEST(HostileNumericColumns, OnlySqlNumbersReadAsNumbers) {
    for (const char* number : {"0", "-12", "+3.25", ".5", "5.", "1e5", "-1.5E-07", "007"})
        EXPECT_TRUE(sql::readsAsSqlNumber(QString::fromLatin1(number))) << number;
    for (const char* other :
         {"", "-", ".", "e5", "1e", "1e+", "1.2.3", "0x10", "1 ", "1;", "Infinity", "--1", "1-"})
        EXPECT_FALSE(sql::readsAsSqlNumber(QString::fromLatin1(other))) << other;
}

TEST(HostileText, NulIsRefusedForPostgresAndNothingElseIs) {
    const QString withNul = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after");
    EXPECT_THROW(sql::checkPostgresCanHold(db::Value::text(withNul)), std::runtime_error);
    EXPECT_THROW(sql::checkPostgresCanHold(db::Value::guid(withNul)), std::runtime_error);
    EXPECT_NO_THROW(
        sql::checkPostgresCanHold(db::Value::text(QStringLiteral("\\0 '\"\U0001F600"))));
    EXPECT_NO_THROW(sql::checkPostgresCanHold(db::Value::binary(QByteArray("\0\0", 2))));
    EXPECT_NO_THROW(sql::checkPostgresCanHold(db::Value()));
}

}  // namespace
}  // namespace dorvane
