// Every SQL Server column type a user meets, copied to PostgreSQL through "Send Table/s To
// PostgreSQL", at the edges of each type's range: each value arrives as the target column
// holds it. docs/type-matrix.md tells users the same.

#include <gtest/gtest.h>

#include "matrix_row.h"

namespace dorvane::testing {
namespace {

// Longer than the 8000 bytes of a column without (max).
const std::string kLongText(9000, 'x');
std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}
const std::string kLongNational = repeated("😀", 3000);

// A char(n) column's text without its padding.
const std::vector<Arrival> kUnpadded = {
    {"'ab'", "ab"}, {"''", ""}, {"'été'", "été"}, {"NULL", nullptr}};

const MatrixRow kRows[] = {
    {"bit", "bit", Compare::Exact, {{"0", "false"}, {"1", "true"}, {"NULL", nullptr}}},
    {"tinyint", "tinyint", Compare::Number, {{"0", "0"}, {"255", "255"}, {"NULL", nullptr}}},
    {"smallint",
     "smallint",
     Compare::Number,
     {{"-32768", "-32768"}, {"32767", "32767"}, {"NULL", nullptr}}},
    {"int",
     "int",
     Compare::Number,
     {{"-2147483648", "-2147483648"}, {"2147483647", "2147483647"}, {"NULL", nullptr}}},
    {"bigint",
     "bigint",
     Compare::Number,
     {{"-9223372036854775808", "-9223372036854775808"},
      {"9223372036854775807", "9223372036854775807"},
      {"NULL", nullptr}}},
    {"decimal_38_10",
     "decimal(38,10)",
     Compare::Number,
     {{"-9999999999999999999999999999.9999999999", "-9999999999999999999999999999.9999999999"},
      {"9999999999999999999999999999.9999999999", "9999999999999999999999999999.9999999999"},
      {"12.5", "12.5"},
      {"NULL", nullptr}}},
    {"numeric_38_0",
     "numeric(38,0)",
     Compare::Number,
     {{"-99999999999999999999999999999999999999", "-99999999999999999999999999999999999999"},
      {"99999999999999999999999999999999999999", "99999999999999999999999999999999999999"}}},
    {"numeric_38_38",
     "numeric(38,38)",
     Compare::Number,
     {{"-0.99999999999999999999999999999999999999", "-0.99999999999999999999999999999999999999"},
      {"0.00000000000000000000000000000000000001", "0.00000000000000000000000000000000000001"}}},
    {"money",
     "money",
     Compare::Number,
     {{"-922337203685477.5808", "-922337203685477.5808"},
      {"922337203685477.5807", "922337203685477.5807"},
      {"NULL", nullptr}}},
    {"smallmoney",
     "smallmoney",
     Compare::Number,
     {{"-214748.3648", "-214748.3648"}, {"214748.3647", "214748.3647"}, {"NULL", nullptr}}},
    {"real",
     "real",
     Compare::Float4,
     {{"-3.4028234663852886E38", "-3.4028235E38"},
      {"3.4028234663852886E38", "3.4028235E38"},
      {"1.17549435E-38", "1.17549435E-38"},
      {"0.1", "0.1"},
      {"NULL", nullptr}}},
    {"float",
     "float",
     Compare::Float8,
     {{"-1.7976931348623157E308", "-1.7976931348623157E308"},
      {"1.7976931348623157E308", "1.7976931348623157E308"},
      {"2.2250738585072014E-308", "2.2250738585072014E-308"},
      {"0.1", "0.1"},
      {"NULL", nullptr}}},
    {"char_10",
     "char(10)",
     Compare::Exact,
     {{"'ab'", "ab        "}, {"''", "          "}, {"'été'", "été       "}, {"NULL", nullptr}},
     {},
     // Natural: char(10), whose text form drops the padding.
     kUnpadded},
    {"varchar_20",
     "varchar(20)",
     Compare::Exact,
     {{"'plain'", "plain"}, {"''", ""}, {"'été € Œ œ'", "été € Œ œ"}, {"NULL", nullptr}}},
    {"text", "text", Compare::Exact, {{"'plain'", "plain"}, {"''", ""}, {"NULL", nullptr}}},
    {"nchar_5",
     "nchar(5)",
     Compare::Exact,
     {{"N'Ωμ'", "Ωμ   "}, {"N''", "     "}, {"NULL", nullptr}},
     {},
     std::vector<Arrival>{{"N'Ωμ'", "Ωμ"}, {"N''", ""}, {"N'中文😀'", "中文😀"}, {"NULL", nullptr}}},
    {"nvarchar_40",
     "nvarchar(40)",
     Compare::Exact,
     {{"N'Ωμέγα 中文 😀 été'", "Ωμέγα 中文 😀 été"}, {"N''", ""}, {"NULL", nullptr}}},
    {"ntext",
     "ntext",
     Compare::Exact,
     {{"N'Ωμέγα 中文 😀 été'", "Ωμέγα 中文 😀 été"}, {"N''", ""}, {"NULL", nullptr}}},
    {"varchar_max",
     "varchar(max)",
     Compare::Exact,
     {{"'" + kLongText + "'", kLongText.c_str()}, {"''", ""}, {"NULL", nullptr}}},
    {"nvarchar_max",
     "nvarchar(max)",
     Compare::Exact,
     {{"N'" + kLongNational + "'", kLongNational.c_str()}, {"N''", ""}, {"NULL", nullptr}}},
    {"varbinary_max",
     "varbinary(max)",
     Compare::Exact,
     {{"0x00FF", R"(\x00ff)"}, {"0x", R"(\x)"}, {"NULL", nullptr}}},
    {"binary_4",
     "binary(4)",
     Compare::Exact,
     {{"0xDEADBEEF", R"(\xdeadbeef)"}, {"0x01", R"(\x01000000)"}, {"NULL", nullptr}}},
    {"varbinary_10",
     "varbinary(10)",
     Compare::Exact,
     {{"0x00FF", R"(\x00ff)"}, {"0x", R"(\x)"}, {"NULL", nullptr}}},
    {"image", "image", Compare::Exact, {{"0x00FF", R"(\x00ff)"}, {"NULL", nullptr}}},
    {"date",
     "date",
     Compare::Exact,
     {{"'0001-01-01'", "0001-01-01"}, {"'9999-12-31'", "9999-12-31"}, {"NULL", nullptr}}},
    // Goes to a text column, which keeps every digit.
    {"time_7",
     "time(7)",
     Compare::Moment,
     {{"'00:00:00'", "00:00:00"},
      {"'23:59:59.9999999'", "23:59:59.9999999"},
      {"'12:34:56.1234567'", "12:34:56.1234567"},
      {"NULL", nullptr}},
     {},
     // Natural: time(6), rounded to the microsecond (PostgreSQL's time holds 24:00:00).
     std::vector<Arrival>{{"'00:00:00'", "00:00:00"},
                          {"'23:59:59.9999999'", "24:00:00"},
                          {"'23:59:59.9999994'", "23:59:59.999999"},
                          {"'12:34:56.1234567'", "12:34:56.123457"},
                          {"NULL", nullptr}}},
    {"datetime",
     "datetime",
     Compare::Moment,
     {{"'1753-01-01T00:00:00'", "1753-01-01 00:00:00"},
      {"'9999-12-31T23:59:59.997'", "9999-12-31 23:59:59.997"},
      {"'2024-01-02T03:04:05.123'", "2024-01-02 03:04:05.123"},
      {"NULL", nullptr}}},
    // PostgreSQL rounds to the microsecond, carrying into the date (and past 9999).
    {"datetime2_7",
     "datetime2(7)",
     Compare::Moment,
     {{"'0001-01-01T00:00:00'", "0001-01-01 00:00:00"},
      {"'9999-12-31T23:59:59.9999999'", "10000-01-01 00:00:00"},
      {"'2024-01-02T03:04:05.1234567'", "2024-01-02 03:04:05.123457"},
      {"'2024-01-02T03:04:05.1234561'", "2024-01-02 03:04:05.123456"},
      {"'2024-02-29T23:59:59.9999996'", "2024-03-01 00:00:00"},
      {"NULL", nullptr}}},
    {"smalldatetime",
     "smalldatetime",
     Compare::Moment,
     {{"'1900-01-01T00:00:00'", "1900-01-01 00:00:00"},
      {"'2079-06-06T23:59:00'", "2079-06-06 23:59:00"},
      {"NULL", nullptr}}},
    // Goes to a text column, offset and every digit included.
    {"datetimeoffset_7",
     "datetimeoffset(7)",
     Compare::Moment,
     {{"'0001-01-01T00:00:00+00:00'", "0001-01-01 00:00:00 +00:00"},
      {"'9999-12-31T23:59:59.9999999+00:00'", "9999-12-31 23:59:59.9999999 +00:00"},
      {"'2024-06-30T12:00:00.5+05:30'", "2024-06-30 12:00:00.5 +05:30"},
      {"NULL", nullptr}},
     {},
     // Natural: timestamptz(6), which keeps the instant rounded to the microsecond, not the
     // offset.
     std::vector<Arrival>{{"'0001-01-01T00:00:00+00:00'", "0001-01-01 00:00:00+00"},
                          {"'9999-12-31T23:59:59.999999+00:00'", "9999-12-31 23:59:59.999999+00"},
                          {"'2024-06-30T12:00:00.5+05:30'", "2024-06-30 06:30:00.5+00"},
                          {"'2024-06-30T12:00:00.1234567-08:00'", "2024-06-30 20:00:00.123457+00"},
                          {"NULL", nullptr}},
     std::nullopt,
     Compare::Instant},
    {"uniqueidentifier",
     "uniqueidentifier",
     Compare::CaseBlind,
     {{"'6F9619FF-8B86-D011-B42D-00C04FC964FF'", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
      {"NULL", nullptr}}},
    {"xml",
     "xml",
     Compare::Exact,
     {{R"('<a b="1">x &amp; y</a>')", R"(<a b="1">x &amp; y</a>)"},
      {"N'<a>Ωμέγα</a>'", "<a>Ωμέγα</a>"},
      {"NULL", nullptr}}},
};

class SqlServerTypeToPostgres : public ::testing::TestWithParam<MatrixCase> {};

// Row by row and with "Fast copy", with the default column types and with "Natural types":
// the same arrivals and refusals in both copies of one kind of column.
TEST_P(SqlServerTypeToPostgres, ArrivesAsTheTargetHoldsItOrIsRefusedWhereItSits) {
    checkMatrixRow(std::get<0>(GetParam()), Server::SqlServer, std::get<1>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Matrix, SqlServerTypeToPostgres,
                         ::testing::Combine(::testing::ValuesIn(kRows),
                                            ::testing::Values(CopyMode::RowByRow, CopyMode::Fast,
                                                              CopyMode::Natural,
                                                              CopyMode::NaturalFast)),
                         [](const auto& info) { return matrixCaseName(info.param); });

}  // namespace
}  // namespace dorvane::testing
