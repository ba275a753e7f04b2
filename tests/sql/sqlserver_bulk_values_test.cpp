// Bulk load's forms of values must make a SQL Server column hold what the server makes of
// the INSERT's text, or give no form at all so that the INSERT goes instead.

#include <gtest/gtest.h>

#include <cstring>

#include "sql/general_value_text.h"
#include "sql/sqlserver_bulk_values.h"

namespace dorvane {
namespace {

using db::BulkForm;
using db::Value;
using sql::to_sqlserver::BulkCell;
using sql::to_sqlserver::BulkColumn;

struct Encoded {
    BulkCell cell;
    QByteArray bytes;
};

Encoded encode(const Value& value, BulkColumn column) {
    Encoded e;
    e.cell = sql::to_sqlserver::bulkValue(value, column, e.bytes);
    return e;
}

template <class T>
T decoded(const QByteArray& bytes) {
    T value{};
    EXPECT_EQ(bytes.size(), static_cast<qsizetype>(sizeof value));
    std::memcpy(&value, bytes.constData(), std::min<std::size_t>(sizeof value, bytes.size()));
    return value;
}

TEST(SqlServerBulkValues, DecimalsGoOnlyWhereTheColumnNeedsNoRounding) {
    const BulkColumn column{BulkForm::Numeric, 5, 2};
    EXPECT_EQ(encode(Value::decimal("123.45"), column).bytes, "123.45");
    EXPECT_EQ(encode(Value::decimal("-.1"), column).bytes, "-0.10");
    EXPECT_EQ(encode(Value::decimal("-0.00"), column).bytes, "0.00");
    EXPECT_EQ(encode(Value::decimal("+007.500"), column).bytes, "7.50");
    EXPECT_EQ(encode(Value::integer(-999), column).bytes, "-999.00");
    const BulkColumn widest{BulkForm::Numeric, 38, 0};
    const QByteArray nines(38, '9');
    EXPECT_EQ(encode(Value::decimal(QString::fromLatin1(nines)), widest).bytes, nines);
    for (const char* rounded : {"1.234", "1234", "1e2", "NaN", "", "-", "1.2.3", "١"})
        EXPECT_EQ(encode(Value::decimal(QString::fromUtf8(rounded)), column).cell, BulkCell::None)
            << rounded;
}

TEST(SqlServerBulkValues, IntegersGoOnlyAsTheirDigitsInTheColumnsRange) {
    EXPECT_EQ(decoded<std::int32_t>(encode(Value::integer(-2147483648LL), {BulkForm::Int}).bytes),
              -2147483648LL);
    EXPECT_EQ(decoded<std::int64_t>(encode(Value::dbl(12.0), {BulkForm::BigInt}).bytes), 12);
    EXPECT_EQ(decoded<std::uint8_t>(encode(Value::integer(255), {BulkForm::TinyInt}).bytes), 255);
    EXPECT_EQ(decoded<std::int16_t>(encode(Value::text("+12"), {BulkForm::SmallInt}).bytes), 12);
    const Value outside[] = {Value::integer(256),  Value::integer(-1), Value::decimal("1.0"),
                             Value::boolean(true), Value::text(" 1"),  Value::text("")};
    for (const Value& value : outside)
        EXPECT_EQ(encode(value, {BulkForm::TinyInt}).cell, BulkCell::None)
            << sql::valueText(value).toStdString();
}

TEST(SqlServerBulkValues, FloatsAreTheNumbersTheirTextsName) {
    // A real's text names 0.1, which the server reads as the double nearest 0.1.
    EXPECT_EQ(decoded<double>(encode(Value::single(0.1f), {BulkForm::Float}).bytes), 0.1);
    EXPECT_EQ(decoded<double>(encode(Value::dbl(-1.5e-300), {BulkForm::Float}).bytes), -1.5e-300);
    EXPECT_EQ(decoded<double>(encode(Value::decimal("2.50"), {BulkForm::Float}).bytes), 2.5);
    EXPECT_EQ(encode(Value::dbl(std::nan("")), {BulkForm::Float}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::boolean(true), {BulkForm::Float}).cell, BulkCell::None);
}

TEST(SqlServerBulkValues, DatetimesAreHeldInTheServersStepsOfAThreeHundredthSecond) {
    const auto held = [](const db::DateTimeParts& parts) {
        const QByteArray bytes = encode(Value::timestamp(parts), {BulkForm::Datetime}).bytes;
        const auto days = decoded<std::int64_t>(bytes);
        return std::pair<std::int32_t, std::int32_t>(static_cast<std::int32_t>(days),
                                                     static_cast<std::int32_t>(days >> 32));
    };
    using Held = std::pair<std::int32_t, std::int32_t>;
    EXPECT_EQ(held({1900, 1, 1, 0, 0, 0, 0}), Held(0, 0));
    EXPECT_EQ(held({1900, 1, 1, 0, 0, 1, 2'000'000}), Held(0, 301));  // .002 is held as .003
    EXPECT_EQ(held({1900, 1, 2, 0, 0, 0, 6'000'000}), Held(1, 2));    // .006 as .007
    EXPECT_EQ(held({1753, 1, 1, 0, 0, 0, 0}), Held(-53690, 0));
    EXPECT_EQ(held({2000, 2, 29, 23, 59, 59, 999'000'000}), Held(36584, 0));  // .999 carries
    EXPECT_EQ(held({9999, 12, 31, 23, 59, 59, 997'000'000}), Held(2958463, 25919999));
    EXPECT_EQ(encode(Value::date({1752, 12, 31}), {BulkForm::Datetime}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::text("2020-01-01"), {BulkForm::Datetime}).cell, BulkCell::None);
}

TEST(SqlServerBulkValues, NullsTextsBytesAndBitsKeepTheINSERTsMeaning) {
    EXPECT_EQ(encode(Value(), {BulkForm::Int}).cell, BulkCell::Null);
    EXPECT_EQ(encode(Value(), {BulkForm::Text, 0, 0, false}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::text(""), {BulkForm::Text}).bytes, QByteArray(""));
    EXPECT_EQ(encode(Value::text(""), {BulkForm::Text}).cell, BulkCell::Value);
    EXPECT_EQ(encode(Value::text("été 😀"), {BulkForm::Text}).bytes, QByteArray("été 😀"));
    EXPECT_EQ(encode(Value::timestamp({2020, 1, 2, 3, 4, 5, 6'000'000}), {BulkForm::Text}).bytes,
              QByteArray("2020-01-02T03:04:05.006"));
    EXPECT_EQ(encode(Value::binary(QByteArray("\0\1", 2)), {BulkForm::Bytes}).bytes,
              QByteArray("\0\1", 2));
    EXPECT_EQ(encode(Value::text("00"), {BulkForm::Bytes}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::boolean(false), {BulkForm::Bit}).bytes, QByteArray(1, '\0'));
    // The driver converts text for a varchar column to the code page of the column's own
    // collation, and overruns its 4 KB buffer with a longer value.
    BulkColumn varcharColumn{BulkForm::Text};
    varcharColumn.asciiOnly = true;
    EXPECT_EQ(encode(Value::text("plain"), varcharColumn).cell, BulkCell::Value);
    EXPECT_EQ(encode(Value::text("été"), varcharColumn).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::text(QString(2000, QChar(0xE9))), {BulkForm::Text}).cell,
              BulkCell::Value);
    EXPECT_EQ(encode(Value::text(QString(2001, u'x')), {BulkForm::Text}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::binary(QByteArray(4000, 'x')), {BulkForm::Bytes}).cell,
              BulkCell::Value);
    EXPECT_EQ(encode(Value::binary(QByteArray(4001, 'x')), {BulkForm::Bytes}).cell, BulkCell::None);
    EXPECT_EQ(encode(Value::integer(1), {BulkForm::Bit}).bytes, QByteArray(1, '\1'));
    EXPECT_EQ(encode(Value::integer(2), {BulkForm::Bit}).cell, BulkCell::None);
}

TEST(SqlServerBulkValues, OnlyColumnsTakenAsTheyAreHaveABulkForm) {
    const auto form = [](const char* type, int precision = 0) {
        db::FieldInfo field;
        field.typeName = QString::fromLatin1(type);
        field.precision = precision;
        return sql::to_sqlserver::bulkColumn(field);
    };
    EXPECT_EQ(form("DECIMAL", 12)->form, BulkForm::Numeric);
    EXPECT_TRUE(form("varchar", 8000)->asciiOnly);
    EXPECT_FALSE(form("nvarchar", 10)->asciiOnly);
    EXPECT_EQ(form("varbinary")->form, BulkForm::Bytes);
    for (const char* padded : {"char", "nchar", "binary", "text", "ntext", "image", "real", "money",
                               "datetime2", "uniqueidentifier", "sql_variant"})
        EXPECT_FALSE(form(padded)) << padded;
}

TEST(SqlServerBulkValues, TablesWhoseColumnsBulkLoadWouldFillOtherwiseTakeINSERTs) {
    EXPECT_TRUE(sql::to_sqlserver::bulkLoadLikeInserts(
        u"CREATE TABLE [t] ([n] FLOAT, [d] DECIMAL(12,3), [check] VARCHAR(8000), [as a]]] INT);"));
    EXPECT_TRUE(
        sql::to_sqlserver::bulkLoadLikeInserts(u"CREATE TABLE [t] ([n] INT NOT NULL PRIMARY KEY, "
                                               u"[c] VARCHAR(10) COLLATE Latin1_General_CI_AS)"));
    for (const char16_t* unlike :
         {u"CREATE TABLE [t] ([n] INT IDENTITY(1,1), [m] INT)",
          u"CREATE TABLE [t] ([n] INT default 5)", u"CREATE TABLE [t] ([n] INT CHECK ([n] > 0))",
          u"CREATE TABLE [t] ([n] INT, [m] AS [n] * 2)",
          u"CREATE TABLE [t] ([n] INT REFERENCES [u]([n]))"})
        EXPECT_FALSE(sql::to_sqlserver::bulkLoadLikeInserts(unlike))
            << QString::fromUtf16(unlike).toStdString();
}

}  // namespace
}  // namespace dorvane
