// Every PostgreSQL column type a user meets, copied to SQL Server through "Send Table/s To
// SQL Server": each value arrives as the target column holds it, or is refused with a
// report naming table, column and row. docs/type-matrix.md tells users the same.

#include <gtest/gtest.h>

#include "matrix_row.h"

namespace dorvane::testing {
namespace {

const std::string kText8000(8000, 'x');

// Text the automatic VARCHAR column cannot hold in code page 1252, the usual default (and
// the stand-in's).
const std::vector<Refusal> kBeyondCodePage = {
    {"'Ωμέγα'", "NVARCHAR", 1252}, {"'中文'", "NVARCHAR", 1252}, {"'😀'", "NVARCHAR", 1252}};

// Outside DATETIME's 1753-01-01 to 9999-12-31, or no calendar date at all.
const std::vector<Refusal> kBeyondDatetime = {
    {"'infinity'"}, {"'-infinity'"}, {"'2000-01-01 BC'"}, {"'19990-07-04'"}, {"'12000-01-01'"}};

const std::vector<Refusal> kNoFloat = {{"'NaN'"}, {"'Infinity'"}, {"'-Infinity'"}};

const MatrixRow kRows[] = {
    {"int2",
     "int2",
     Compare::Float8,
     {{"-32768", "-32768"}, {"32767", "32767"}, {"NULL", nullptr}}},
    {"int4",
     "int4",
     Compare::Float8,
     {{"-2147483648", "-2147483648"}, {"2147483647", "2147483647"}, {"NULL", nullptr}}},
    {"int8",
     "int8",
     Compare::Number,
     {{"-9223372036854775808", "-9223372036854775808"},
      {"9223372036854775807", "9223372036854775807"},
      {"NULL", nullptr}}},
    // Without (p,s) the column gets 22 integer and 16 fractional digits; more is refused,
    // never rounded.
    {"numeric",
     "numeric",
     Compare::Number,
     {{"1234567890123456789012.1234567890123456", "1234567890123456789012.1234567890123456"},
      {"-0.0000000000000001", "-0.0000000000000001"},
      {"NULL", nullptr}},
     {{"12345678901234567890123"},
      {"0.00000000000000001"},
      {"'NaN'"},
      {"'Infinity'"},
      {"'-Infinity'"}}},
    {"numeric_10_2",
     "numeric(10,2)",
     Compare::Number,
     {{"-99999999.99", "-99999999.99"}, {"99999999.99", "99999999.99"}, {"NULL", nullptr}}},
    {"numeric_38_0",
     "numeric(38,0)",
     Compare::Number,
     {{"-99999999999999999999999999999999999999", "-99999999999999999999999999999999999999"},
      {"99999999999999999999999999999999999999", "99999999999999999999999999999999999999"}}},
    {"float4",
     "real",
     Compare::Float4,
     {{"3.4028235e38", "3.4028235e38"},
      {"-3.4028235e38", "-3.4028235e38"},
      {"1.1754944e-38", "1.1754944e-38"},
      {"1e-45", "1e-45"},
      {"0.1", "0.1"},
      {"NULL", nullptr}},
     kNoFloat},
    {"float8",
     "double precision",
     Compare::Float8,
     {{"1.7976931348623157e308", "1.7976931348623157e308"},
      {"-1.7976931348623157e308", "-1.7976931348623157e308"},
      {"2.2250738585072014e-308", "2.2250738585072014e-308"},
      {"0.1", "0.1"},
      {"NULL", nullptr}},
     kNoFloat},
    {"money",
     "money",
     Compare::Number,
     {{"'-92233720368547758.08'", "-92233720368547758.08"},
      {"'92233720368547758.07'", "92233720368547758.07"},
      {"NULL", nullptr}}},
    {"bool", "bool", Compare::Exact, {{"true", "True"}, {"false", "False"}, {"NULL", nullptr}}},
    {"char_5",
     "char(5)",
     Compare::Exact,
     {{"'ab'", "ab   "}, {"''", "     "}, {"NULL", nullptr}},
     {kBeyondCodePage[0]}},
    {"varchar_20",
     "varchar(20)",
     Compare::Exact,
     {{"'plain'", "plain"}, {"''", ""}, {"'été € Œ œ'", "été € Œ œ"}, {"NULL", nullptr}},
     kBeyondCodePage},
    {"text",
     "text",
     Compare::Exact,
     {{"'plain'", "plain"},
      {"''", ""},
      {"'" + kText8000 + "'", kText8000.c_str()},
      {"NULL", nullptr}},
     {kBeyondCodePage[0], kBeyondCodePage[1], kBeyondCodePage[2], {"'" + kText8000 + "x'"}}},
    {"bytea",
     "bytea",
     Compare::Exact,
     {{R"('\x00ff')", R"(\x00ff)"}, {R"('\x')", R"(\x)"}, {"NULL", nullptr}}},
    {"date",
     "date",
     Compare::Moment,
     {{"'1753-01-01'", "1753-01-01 00:00:00"},
      {"'9999-12-31'", "9999-12-31 00:00:00"},
      {"NULL", nullptr}},
     {{"'1752-12-31'"},
      kBeyondDatetime[0],
      kBeyondDatetime[1],
      kBeyondDatetime[2],
      kBeyondDatetime[3],
      kBeyondDatetime[4]}},
    // DATETIME keeps 1/300 s: .xx0/.xx1 go to .xx0, .xx2 to .xx4 to .xx3, .xx5 to .xx8 to .xx7.
    {"timestamp",
     "timestamp",
     Compare::Moment,
     {{"'1753-01-01 00:00:00'", "1753-01-01 00:00:00"},
      {"'9999-12-31 23:59:59.997'", "9999-12-31 23:59:59.997"},
      {"'2024-01-02 03:04:05.123456'", "2024-01-02 03:04:05.123"},
      {"'2024-01-02 03:04:05.125'", "2024-01-02 03:04:05.127"},
      {"'2024-01-02 03:04:05.001'", "2024-01-02 03:04:05"},
      {"'2024-12-31 23:59:59.9995'", "2025-01-01 00:00:00"},
      {"NULL", nullptr}},
     {{"'1752-12-31 23:59:59.997'"},
      {"'9999-12-31 23:59:59.999'"},
      kBeyondDatetime[0],
      kBeyondDatetime[1],
      kBeyondDatetime[2],
      kBeyondDatetime[3],
      kBeyondDatetime[4]}},
    // Written without an offset: it arrives as the same wall-clock time whatever the
    // server's time zone.
    {"timestamptz",
     "timestamptz",
     Compare::Moment,
     {{"'2024-06-30 12:00:00.5'", "2024-06-30 12:00:00.5"}, {"NULL", nullptr}},
     {kBeyondDatetime[0], kBeyondDatetime[1], kBeyondDatetime[2], kBeyondDatetime[4]}},
    {"time",
     "time",
     Compare::Moment,
     {{"'00:00:00'", "00:00:00"},
      {"'23:59:59.999999'", "23:59:59.999999"},
      {"'12:34:56.5'", "12:34:56.5"},
      {"'24:00:00'", "24:00:00"},
      {"NULL", nullptr}}},
    {"timetz",
     "timetz",
     Compare::Moment,
     {{"'12:34:56.5+05:30'", "12:34:56.5+05:30"},
      {"'00:00:00+00'", "00:00:00+00"},
      {"NULL", nullptr}}},
    {"interval",
     "interval",
     Compare::Exact,
     {{"'1 year 2 mons 3 days 04:05:06.5'", "1 year 2 mons 3 days 04:05:06.5"},
      {"'-1 second'", "-00:00:01"},
      {"'178000000 years'", "178000000 years"},
      {"NULL", nullptr}}},
    {"uuid",
     "uuid",
     Compare::CaseBlind,
     {{"'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'", "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
      {"NULL", nullptr}}},
    {"json",
     "json",
     Compare::Exact,
     {{R"('{"a": [1, 2.50, null], "b": "x"}')", R"({"a": [1, 2.50, null], "b": "x"})"},
      {"NULL", nullptr}}},
    {"jsonb",
     "jsonb",
     Compare::Exact,
     {{R"('{"b":"x","a":[1,2.50,null]}')", R"({"a": [1, 2.50, null], "b": "x"})"},
      {"NULL", nullptr}}},
    {"int4_array", "int4[]", Compare::Exact, {{"'{1,2,NULL}'", "{1,2,NULL}"}, {"NULL", nullptr}}},
    {"text_array", "text[]", Compare::Exact, {{R"('{"a b",c,""}')", R"({"a b",c,""})"}}},
    {"bit_5",
     "bit(5)",
     Compare::Exact,
     {{"B'10000'", "10000"}, {"B'00001'", "00001"}, {"NULL", nullptr}}},
    {"varbit",
     "varbit",
     Compare::Exact,
     {{"B'101100'", "101100"}, {"B'1'", "1"}, {"NULL", nullptr}}},
    {"inet",
     "inet",
     Compare::Exact,
     {{"'192.168.0.1'", "192.168.0.1"}, {"'10.0.0.0/8'", "10.0.0.0/8"}, {"'::1'", "::1"}}},
    {"xml",
     "xml",
     Compare::Exact,
     {{R"('<a b="1">x &amp; y</a>')", R"(<a b="1">x &amp; y</a>)"}, {"NULL", nullptr}}},
};

class PostgresTypeToSqlServer : public ::testing::TestWithParam<MatrixRow> {};

TEST_P(PostgresTypeToSqlServer, ArrivesAsTheTargetHoldsItOrIsRefusedWhereItSits) {
    checkMatrixRow(GetParam(), Server::Postgres);
}

// The same values with "Fast copy": the same arrivals and the same refusals.
TEST_P(PostgresTypeToSqlServer, ArrivesTheSameWithFastCopy) {
    checkMatrixRow(GetParam(), Server::Postgres, CopyMode::Fast);
}

INSTANTIATE_TEST_SUITE_P(Matrix, PostgresTypeToSqlServer, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dorvane::testing
