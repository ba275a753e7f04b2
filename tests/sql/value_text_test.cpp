#include <gtest/gtest.h>

#include "sql/general_value_text.h"
#include "sql/value_text.h"

namespace dorvane {
namespace {

QString timestampText(int y, int mo, int d, int h, int mi, int s, int ns) {
    return sql::sqlServerTimestampText({y, mo, d, h, mi, s, ns});
}

TEST(TransferValueText, SqlServerTimestampsRoundToTheMillisecondAndCarry) {
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 9, 0), "2024-03-05T07:08:09");
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 9, 123456000), "2024-03-05T07:08:09.123");
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 9, 123500000), "2024-03-05T07:08:09.124");
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 9, 499999), "2024-03-05T07:08:09");
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 9, 500000), "2024-03-05T07:08:09.001");
    EXPECT_EQ(timestampText(2024, 3, 5, 7, 8, 59, 999600000), "2024-03-05T07:09:00");
    EXPECT_EQ(timestampText(1999, 12, 31, 23, 59, 59, 999999999), "2000-01-01T00:00:00");
    EXPECT_EQ(timestampText(2024, 2, 28, 23, 59, 59, 999500000), "2024-02-29T00:00:00");
    EXPECT_EQ(timestampText(2023, 2, 28, 23, 59, 59, 999500000), "2023-03-01T00:00:00");
    EXPECT_EQ(timestampText(1753, 1, 1, 0, 0, 0, 10000000), "1753-01-01T00:00:00.010");
}

TEST(TransferValueText, SqlServerTextOfOtherKindsIsTheGeneralForm) {
    EXPECT_EQ(sql::sqlServerValueText(db::Value::date({2020, 1, 2})), "2020-01-02");
    EXPECT_EQ(sql::sqlServerValueText(db::Value::single(0.1f)), "0.1");
    EXPECT_EQ(sql::sqlServerValueText(db::Value::integer(-42)), "-42");
}

TEST(TransferValueText, PostgresLiteralsEscapeOnlyWhatNeedsIt) {
    auto literal = [](const char* text) {
        QString sql;
        sql::appendPostgresLiteral(sql, QString::fromUtf8(text));
        return sql;
    };
    EXPECT_EQ(literal("plain"), "'plain'");
    EXPECT_EQ(literal(""), "''");
    EXPECT_EQ(literal("O'Brien"), "'O''Brien'");
    EXPECT_EQ(literal(R"(C:\data)"), R"(E'C:\\data')");
    EXPECT_EQ(literal(R"(\'\)"), R"(E'\\''\\')");
}

// Short and long texts are searched in two different ways; a quote, backslash or NUL
// in the last place must be found by both.
TEST(TransferValueText, CharactersToEscapeAreFoundAtAnyLength) {
    for (const qsizetype length : {1, 63, 64, 65, 200, 100000}) {
        const QString prefix(length - 1, u'a');
        QString sql;
        sql::appendPostgresLiteral(sql, prefix + u'\'');
        EXPECT_EQ(sql, QStringLiteral("'") + prefix + QStringLiteral("'''")) << length;
        sql.clear();
        sql::appendPostgresLiteral(sql, prefix + u'\\');
        EXPECT_EQ(sql, QStringLiteral("E'") + prefix + QStringLiteral("\\\\'")) << length;
        sql.clear();
        sql::appendPostgresLiteral(sql, prefix + u'b');
        EXPECT_EQ(sql, QStringLiteral("'") + prefix + QStringLiteral("b'")) << length;
        EXPECT_THROW(sql::checkPostgresCanHold(db::Value::text(prefix + QChar(u'\0'))),
                     std::runtime_error)
            << length;
        EXPECT_NO_THROW(sql::checkPostgresCanHold(db::Value::text(prefix + u'b'))) << length;
    }
}

TEST(TransferValueText, AsciiTest) {
    EXPECT_TRUE(sql::isAscii(u"abc ~\x7f"));
    EXPECT_TRUE(sql::isAscii(u""));
    EXPECT_FALSE(sql::isAscii(u"caf\u00e9"));
    EXPECT_FALSE(sql::isAscii(QString::fromUtf8("\xF0\x9F\x98\x80")));
}

TEST(TransferValueText, ExactValuesThatWouldBeRoundedAreRefused) {
    const sql::ExactSize size{10, 2};
    auto fits = [&](const char* digits) {
        try {
            sql::checkExactValueFits(db::Value::decimal(QString::fromLatin1(digits)), size);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    EXPECT_TRUE(fits("12345678.99"));
    EXPECT_TRUE(fits("-12345678.99"));
    EXPECT_TRUE(fits("0.10000"));  // trailing zeros lose nothing
    EXPECT_TRUE(fits("00000012.5"));
    EXPECT_TRUE(fits("0"));
    EXPECT_FALSE(fits("123456789.5"));
    EXPECT_FALSE(fits("1.001"));
    EXPECT_FALSE(fits("-0.005"));
    EXPECT_TRUE(fits("NaN"));  // the server decides
    EXPECT_NO_THROW(sql::checkExactValueFits(db::Value::text("1.23456"), size));
}

// Each SQL Server date and time type against the edges of its range, after the rounding
// the server applies to the text it is sent.
TEST(TransferValueText, SqlServerRefusesDatesOutsideTheTargetTypesRange) {
    using P = db::DateTimeParts;
    const auto ts = [](P p) { return db::Value::timestamp(p); };
    const auto date = [](P p) { return db::Value::date(p); };
    struct Row {
        db::Value value;
        const char16_t* typeName;
        bool held;
    };
    const Row rows[] = {
        {ts(P::infinite(1)), u"datetime2", false},
        {date(P::infinite(-1)), u"date", false},
        {ts(P::infinite(1)), u"time", false},
        {ts(P::infinite(1)), u"nvarchar", true},  // text targets take the text as it is
        {date({-1999, 1, 1}), u"varchar", true},
        {ts({1753, 1, 1}), u"datetime", true},
        {ts({1752, 12, 31, 23, 59, 59, 998000000}), u"datetime", false},
        {ts({1752, 12, 31, 23, 59, 59, 999600000}), u"datetime", true},  // sent as 1753-01-01
        {ts({9999, 12, 31, 23, 59, 59, 998000000}), u"datetime", true},  // held as .997
        {ts({9999, 12, 31, 23, 59, 59, 999000000}), u"datetime", false},
        {date({9999, 12, 31}), u"datetime", true},
        {ts({1900, 1, 1}), u"smalldatetime", true},
        {ts({1899, 12, 31, 23, 59, 29, 999000000}), u"smalldatetime", true},  // rounds up
        {ts({1899, 12, 31, 23, 59, 29, 998000000}), u"smalldatetime", false},
        {ts({2079, 6, 6, 23, 59, 29, 998000000}), u"smalldatetime", true},
        {ts({2079, 6, 6, 23, 59, 29, 999000000}), u"smalldatetime", false},
        {date({2079, 6, 7}), u"smalldatetime", false},
        {date({1, 1, 1}), u"date", true},
        {date({0, 12, 31}), u"date", false},  // 1 BC
        {ts({-1999, 1, 1}), u"datetime2", false},
        {ts({9999, 12, 31, 23, 59, 59, 999400000}), u"datetime2", true},
        // Sent with every digit, not rounded into the year 10000.
        {ts({9999, 12, 31, 23, 59, 59, 999600000}), u"datetimeoffset", true},
        {date({10000, 1, 1}), u"datetimeoffset", false},
        {date({5874897, 1, 1}), u"date", false},
        {ts({12000, 1, 1}), u"time", true},  // the server judges its own conversion
    };
    for (const Row& row : rows) {
        const QStringView type(row.typeName);
        try {
            sql::checkSqlServerCanHold(row.value, type);
            EXPECT_TRUE(row.held) << sql::valueText(row.value).toStdString() << " into "
                                  << type.toString().toStdString();
        } catch (const std::runtime_error& e) {
            EXPECT_FALSE(row.held) << e.what();
            EXPECT_NE(std::string(e.what()).find(sql::valueText(row.value).toStdString()),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(TransferValueText, SqlServerTextOfHeldDatesIsUnchanged) {
    EXPECT_EQ(sql::sqlServerValueText(db::Value::timestamp({9999, 12, 31, 23, 59, 59, 998000000})),
              "9999-12-31T23:59:59.998");
    EXPECT_EQ(sql::sqlServerValueText(db::Value::timestamp(db::DateTimeParts::infinite(-1))),
              "-infinity");
}

}  // namespace
}  // namespace dorvane
