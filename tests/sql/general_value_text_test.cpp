// The general text form of each value kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "db/values/padded_digits.h"
#include "db/values/value.h"
#include "sql/general_value_text.h"

namespace dorvane::sql {
namespace {

struct TextRow {
    const char* label;
    db::Value value;
    const char* expected;
};

void PrintTo(const TextRow& row, std::ostream* os) {
    *os << row.label;
}

db::DateTimeParts ymd(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ns = 0) {
    return {y, mo, d, h, mi, s, ns};
}

const TextRow kRows[] = {
    {"null", db::Value(), ""},
    {"empty_text", db::Value::text(QString()), ""},
    {"text", db::Value::text(QStringLiteral("Ωmega 中")), "Ωmega 中"},
    {"integer_min", db::Value::integer(std::numeric_limits<std::int64_t>::min()),
     "-9223372036854775808"},
    {"integer", db::Value::integer(42), "42"},
    {"decimal_as_given", db::Value::decimal(QStringLiteral("-12.3400")), "-12.3400"},
    {"single_shortest", db::Value::single(0.1f), "0.1"},
    {"single_large", db::Value::single(3.4028235e38f), "3.4028235e+38"},
    {"double_shortest", db::Value::dbl(0.1), "0.1"},
    {"double_full", db::Value::dbl(1.0 / 3.0), "0.3333333333333333"},
    {"double_whole", db::Value::dbl(-2.0), "-2"},
    {"double_inf", db::Value::dbl(std::numeric_limits<double>::infinity()), "Infinity"},
    {"single_minus_inf", db::Value::single(-std::numeric_limits<float>::infinity()), "-Infinity"},
    {"double_nan", db::Value::dbl(std::numeric_limits<double>::quiet_NaN()), "NaN"},
    {"date", db::Value::date(ymd(2024, 2, 29)), "2024-02-29"},
    {"date_early", db::Value::date(ymd(33, 1, 2)), "0033-01-02"},
    // Years before 1 AD in PostgreSQL's form: year 0 is 1 BC.
    {"date_before_year_one", db::Value::date(ymd(-5, 1, 2)), "0006-01-02 BC"},
    {"date_one_bc", db::Value::date(ymd(0, 12, 31)), "0001-12-31 BC"},
    {"date_far_future", db::Value::date(ymd(123456, 12, 31)), "123456-12-31"},
    {"date_infinity", db::Value::date(db::DateTimeParts::infinite(1)), "infinity"},
    {"date_minus_infinity", db::Value::date(db::DateTimeParts::infinite(-1)), "-infinity"},
    {"timestamp_bc", db::Value::timestamp(ymd(-1999, 1, 1, 12, 34, 56, 789000000)),
     "2000-01-01 12:34:56.789000 BC"},
    {"timestamp_past_9999", db::Value::timestamp(ymd(12000, 1, 1)), "12000-01-01 00:00:00"},
    {"timestamp_minus_infinity", db::Value::timestamp(db::DateTimeParts::infinite(-1)),
     "-infinity"},
    {"time", db::Value::time(ymd(0, 0, 0, 7, 8, 9)), "07:08:09"},
    {"time_micro", db::Value::time(ymd(0, 0, 0, 7, 8, 9, 120000)), "07:08:09.000120"},
    {"time_seven_digits", db::Value::time(ymd(0, 0, 0, 7, 8, 9, 123456700)), "07:08:09.1234567"},
    {"timestamp", db::Value::timestamp(ymd(1999, 12, 31, 23, 59, 59)), "1999-12-31 23:59:59"},
    {"timestamp_fraction", db::Value::timestamp(ymd(2000, 1, 1, 0, 0, 0, 500000000)),
     "2000-01-01 00:00:00.500000"},
    {"true", db::Value::boolean(true), "True"},
    {"false", db::Value::boolean(false), "False"},
    {"binary", db::Value::binary(QByteArray("\x00\xff\x1a", 3)), "\\x00ff1a"},
    {"binary_empty", db::Value::binary(QByteArray()), "\\x"},
    {"guid", db::Value::guid(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF")),
     "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
};

class GeneralValueText : public ::testing::TestWithParam<TextRow> {};

TEST_P(GeneralValueText, HasItsGeneralForm) {
    EXPECT_EQ(valueText(GetParam().value), QString::fromUtf8(GetParam().expected));
}

// Statements are built by appending; what is already there must stay.
TEST_P(GeneralValueText, AppendsTheSameAfterWhatIsThere) {
    QString sql = QStringLiteral("VALUES(");
    appendValueText(sql, GetParam().value);
    EXPECT_EQ(sql, QStringLiteral("VALUES(") + QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, GeneralValueText, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(GeneralValueText, ExtremeTimePartsAreWrittenWhole) {
    constexpr int kMin = std::numeric_limits<int>::min();
    const db::Value v = db::Value::timestamp(ymd(kMin, kMin, kMin, kMin, kMin, kMin, 1));
    const QString part = QString::number(kMin);
    const QString expected = QStringLiteral("2147483649-%1-%1 %1:%1:%1.0000000 BC").arg(part);
    EXPECT_EQ(valueText(v), expected);
    QString appended = QStringLiteral("x");
    appendValueText(appended, v);
    EXPECT_EQ(appended, u'x' + expected);
}

// Dates and times are written digit by digit; they must read as printf's %0Nd would.
TEST(GeneralValueText, PaddedDigitsMatchPrintf) {
    const std::int64_t values[] = {0,
                                   1,
                                   -1,
                                   7,
                                   -7,
                                   42,
                                   -42,
                                   999,
                                   1000,
                                   -1000,
                                   123456789,
                                   std::numeric_limits<int>::min(),
                                   std::numeric_limits<std::int64_t>::min(),
                                   std::numeric_limits<std::int64_t>::max()};
    for (const std::int64_t v : values) {
        for (int width : {0, 1, 2, 3, 4, 6, 7, 25}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%0*lld", width, static_cast<long long>(v));
            char written[64];
            const char* end = db::writePadded(written, v, width);
            EXPECT_EQ(std::string(static_cast<const char*>(written), end), std::string(expected))
                << v << " width " << width;
        }
    }
}

TEST(GeneralValueText, NullDiffersFromEmptyText) {
    EXPECT_NE(db::Value(), db::Value::text(QString()));
    EXPECT_TRUE(db::Value().isNull());
    EXPECT_FALSE(db::Value::text(QString()).isNull());
}

}  // namespace
}  // namespace dorvane::sql
