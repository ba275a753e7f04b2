// PostgreSQL's own text of dates and timestamps, and the queries that ask for it.
#include <gtest/gtest.h>

#include "db/odbc/postgres_date_query.h"
#include "db/values/db_error.h"
#include "db/values/postgres_date_text.h"

namespace dorvane::db {
namespace {

using P = db::DateTimeParts;

struct ParseRow {
    const char* text;
    bool timestamp;
    P expected;
};

TEST(DbPostgresDateText, ReadsTheIsoFormsWithEraAndInfinity) {
    const ParseRow rows[] = {
        {"2024-02-29", false, {2024, 2, 29}},
        {"0001-01-01 BC", false, {0, 1, 1}},
        {"4713-11-24 BC", false, {-4712, 11, 24}},
        {"5874897-12-31", false, {5874897, 12, 31}},
        {"infinity", false, P::infinite(1)},
        {"-infinity", true, P::infinite(-1)},
        {"2024-02-29 13:14:15", true, {2024, 2, 29, 13, 14, 15}},
        {"2024-02-29 13:14:15.5", true, {2024, 2, 29, 13, 14, 15, 500000000}},
        {"2024-02-29 13:14:15.000001+05:30", true, {2024, 2, 29, 13, 14, 15, 1000}},
        {"1900-01-01 00:00:00-00:53:28 BC", true, {-1899, 1, 1}},
        {"294276-12-31 23:59:59.999999+00", true, {294276, 12, 31, 23, 59, 59, 999999000}},
    };
    for (const ParseRow& row : rows) {
        const P got =
            row.timestamp ? db::parsePostgresTimestamp(row.text) : db::parsePostgresDate(row.text);
        EXPECT_EQ(got, row.expected) << row.text;
    }
}

TEST(DbPostgresDateText, RefusesOtherDateStylesAndDamagedText) {
    for (const char* date : {"29.02.2024", "02/29/2024", "2024-2-29", "224-02-29", "2024-02-29 AD",
                             "2024-02-29 13:14:15", "", "Infinity"})
        EXPECT_THROW(db::parsePostgresDate(date), db::DbError) << date;
    for (const char* ts : {"Thu Feb 29 13:14:15 2024", "2024-02-29 13:14", "2024-02-29T13:14:15",
                           "2024-02-29 13:14:15.", "2024-02-29 13:14:15+", "2024-02-29"})
        EXPECT_THROW(db::parsePostgresTimestamp(ts), db::DbError) << ts;
}

// Only a query that runs unchanged inside another may be wrapped: anything else might
// run twice, or do something else.
TEST(DbPostgresDateQuery, WrapsOnlyASingleQuery) {
    const std::pair<const char*, const char*> rows[] = {
        {"SELECT * FROM t", "SELECT * FROM t"},
        {"  select * from t ;; ", "select * from t"},
        {"(SELECT 1) UNION (SELECT 2)", "(SELECT 1) UNION (SELECT 2)"},
        {"VALUES (1)", "VALUES (1)"},
        {"TABLE t", "TABLE t"},
        {"SELECT 1; DELETE FROM t", ""},
        {"SELECT ';'", ""},
        {"WITH d AS (DELETE FROM t RETURNING *) SELECT * FROM d", ""},
        {"INSERT INTO t VALUES (1) RETURNING *", ""},
        {"SELECTED", ""},
    };
    for (const auto& [sql, wrappable] : rows)
        EXPECT_EQ(db::wrappableQuery(QString::fromLatin1(sql)), QString::fromLatin1(wrappable))
            << sql;
}

TEST(DbPostgresDateQuery, CastsOnlyDatesAndTimestampsByPosition) {
    std::vector<db::FetchKind> kinds{db::FetchKind::Integer, db::FetchKind::Date,
                                     db::FetchKind::Time, db::FetchKind::Timestamp};
    EXPECT_TRUE(db::hasDateColumns(kinds));
    EXPECT_EQ(db::datesAsTextQuery(QStringLiteral("SELECT * FROM t -- x"), kinds),
              QStringLiteral("SELECT c1, c2::text, c3, c4::text FROM (\nSELECT * FROM t -- x\n) "
                             "AS read_rows(c1, c2, c3, c4)"));
    EXPECT_EQ(kinds,
              (std::vector<db::FetchKind>{db::FetchKind::Integer, db::FetchKind::PostgresDate,
                                          db::FetchKind::Time, db::FetchKind::PostgresTimestamp}));
    EXPECT_FALSE(db::hasDateColumns(kinds));
}

}  // namespace
}  // namespace dorvane::db
