// Money and time texts as the drivers hand them over.
#include <gtest/gtest.h>

#include <utility>

#include "db/values/db_error.h"
#include "db/values/money_text.h"
#include "db/values/time_text.h"

namespace dorvane::db {
namespace {

struct MoneyRow {
    const char* given;
    const char* expected;
};

class DbMoneyText : public ::testing::TestWithParam<MoneyRow> {};

TEST_P(DbMoneyText, BecomesPlainDigits) {
    EXPECT_EQ(db::normaliseMoneyText(QString::fromUtf8(GetParam().given)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DbMoneyText,
    ::testing::Values(MoneyRow{"$1,234.56", "1234.56"}, MoneyRow{"-$1,234.56", "-1234.56"},
                      MoneyRow{"($92,233,720,368,547,758.08)", "-92233720368547758.08"},
                      MoneyRow{"$0.00", "0.00"}, MoneyRow{"-$0.01", "-0.01"},
                      MoneyRow{"1234.5600", "1234.5600"}, MoneyRow{"-214748.3648", "-214748.3648"},
                      MoneyRow{".5000", "0.5000"}, MoneyRow{"€ 12.00", "12.00"}));

struct TimeRow {
    const char* given;
    db::DateTimeParts expected;
};

class DbTimeText : public ::testing::TestWithParam<TimeRow> {};

TEST_P(DbTimeText, GivesParts) {
    EXPECT_EQ(db::parseTimeText(GetParam().given), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DbTimeText,
    ::testing::Values(TimeRow{"00:00:00", {0, 0, 0, 0, 0, 0, 0}},
                      TimeRow{"23:59:58", {0, 0, 0, 23, 59, 58, 0}},
                      TimeRow{"13:14:15.5", {0, 0, 0, 13, 14, 15, 500000000}},
                      TimeRow{"13:14:15.123456", {0, 0, 0, 13, 14, 15, 123456000}},
                      TimeRow{"13:14:15.1234567", {0, 0, 0, 13, 14, 15, 123456700}}));

TEST(DbTimeText, RejectsWhatIsNoTime) {
    for (const char* bad : {"", "1:02:03", "12:34", "12:34:56.", "12:34:56+02", "ab:cd:ef"})
        EXPECT_THROW(db::parseTimeText(bad), db::DbError) << bad;
}

TEST(DbOffsetTimestampText, GetsAFourDigitYear) {
    const std::pair<const char*, const char*> rows[] = {
        {"1-01-01 00:00:00.0000000 +00:00", "0001-01-01 00:00:00.0000000 +00:00"},
        {"753-06-30 12:00:00 -05:30", "0753-06-30 12:00:00 -05:30"},
        {"2024-06-30 12:00:00.5 +05:30", "2024-06-30 12:00:00.5 +05:30"},
        {"", ""},
        {"12:00", "12:00"}};
    for (const auto& [given, expected] : rows)
        EXPECT_EQ(db::fourDigitYear(given), expected) << given;
}

}  // namespace
}  // namespace dorvane::db
