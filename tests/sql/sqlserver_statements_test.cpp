#include <gtest/gtest.h>

#include <vector>

#include "db/odbc/ado_types.h"
#include "recorded_pieces.h"
#include "sql/sqlserver_statements.h"

namespace dorvane::sql::to_sqlserver {
namespace {

using db::Value;

db::FieldInfo field(const char* name, db::AdoType adoType, int precision = 0, int scale = 0) {
    return db::FieldInfo{QString::fromUtf8(name), adoType, precision, scale, QString()};
}

TEST(TransferToSqlServerStatements, TwoColumnExample) {
    const std::vector<db::FieldInfo> fields{field("id", db::ado::kInteger),
                                            field("name", db::ado::kVarWChar)};
    EXPECT_EQ(sql::to_sqlserver::createTableStatement(QStringLiteral("t"), fields),
              "CREATE TABLE [t]([id] FLOAT,[name] VARCHAR(8000));");
}

TEST(TransferToSqlServerStatements, ExactColumnsKeepTheSourceDigits) {
    const std::vector<db::FieldInfo> fields{
        field("price", db::ado::kNumeric, 10, 2),  field("huge", db::ado::kNumeric, 1000, 20),
        field("unknown", db::ado::kNumeric, 0, 6), field("undeclared", db::ado::kNumeric, 28, 6),
        field("bad", db::ado::kNumeric, 5, 9),     field("n", db::ado::kBigInt)};
    EXPECT_EQ(sql::to_sqlserver::createTableStatement(QStringLiteral("t"), fields),
              "CREATE TABLE [t]([price] NUMERIC(10,2),[huge] NUMERIC(38,20),"
              "[unknown] NUMERIC(38,16),[undeclared] NUMERIC(38,16),[bad] NUMERIC(5,5),"
              "[n] BIGINT);");
}

TEST(TransferToSqlServerStatements, ClosingBracketsInNamesAreDoubled) {
    EXPECT_EQ(sql::to_sqlserver::columnHead(QStringLiteral("a]b")), "CREATE TABLE [a]]b](");
    EXPECT_EQ(sql::to_sqlserver::dropStatement(QStringLiteral("a]b")), "DROP TABLE [a]]b]");
    EXPECT_EQ(sql::to_sqlserver::selectStatement(QStringLiteral("a\"b]")),
              R"(SELECT * FROM "a""b]")");
    const std::vector<db::FieldInfo> fields{field("c]d", db::ado::kInteger)};
    EXPECT_EQ(sql::to_sqlserver::createTableStatement(QStringLiteral("x"), fields),
              "CREATE TABLE [x]([c]]d] FLOAT);");
    const std::vector<db::Value> row{db::Value::text("v")};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("a]b"), row),
              "INSERT INTO [a]]b] VALUES('v')");
    EXPECT_EQ(sql::to_sqlserver::dropStatement(QStringLiteral("Orders")), "DROP TABLE [Orders]");
}

// Each piece runs as a step of its own: the column list's own pieces, and for each field
// its append at the step of the type rule that chose its type.
TEST(TransferToSqlServerStatements, ColumnListRunsEachPieceAsAStep) {
    const std::vector<db::FieldInfo> fields{field("d", db::ado::kNumeric, 9, 2),
                                            field("s", db::ado::kVarChar)};
    QString sql = QStringLiteral("x(");
    std::vector<std::optional<sql::ExactSize>> exactColumns{sql::ExactSize{1, 0},
                                                            sql::ExactSize{1, 0}};
    RecordedPieces<TypeRule> steps;
    appendColumnList(sql, sql::FieldList{fields}, steps, exactColumns);
    EXPECT_EQ(sql, "x([d] NUMERIC(9,2),[s] VARCHAR(8000));");
    EXPECT_EQ(exactColumns, (std::vector<std::optional<sql::ExactSize>>{sql::ExactSize{9, 2}, {}}));
    using enum sql::ColumnPiece;
    using Append = sql::ColumnAppend<TypeRule>;
    EXPECT_EQ(steps.pieces, (std::vector<RecordedPieces<TypeRule>::Piece>{
                                FieldCount, Events, Field, Append{TypeRule::Numeric},  //
                                Events, Field, Append{TypeRule::Char}, DropComma, Close}));
}

// Bytes go as a constant only into a column that keeps bytes; elsewhere as their text.
TEST(TransferToSqlServerStatements, BinaryValuesAreConstantsWhereTheColumnKeepsBytes) {
    const std::vector<db::Value> values{db::Value::binary(QByteArray("\x01\xab", 2)),
                                        db::Value::binary(QByteArray("\x01", 1)), db::Value()};
    const sql::RowValues row{values};
    QString sql;
    sql::PiecesAtOnce steps;
    sql::to_sqlserver::buildInsert(sql, QStringLiteral("t"), row, steps,
                                   [](int column) { return column != 1; });
    EXPECT_EQ(sql,
              "INSERT INTO [t] VALUES(0x01ab, '" + sql::sqlServerValueText(values[1]) + "', NULL)");
}

TEST(TransferToSqlServerStatements, RenameQuotesBothNames) {
    EXPECT_EQ(sql::to_sqlserver::renameStatement(QStringLiteral("a'b"), QStringLiteral("c")),
              "sp_rename 'a''b', 'c'");
}

TEST(TransferToSqlServerStatements, InsertExamples) {
    const std::vector<db::Value> row1{db::Value::text("a"), db::Value(),
                                      db::Value::text("O'Brien")};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row1),
              "INSERT INTO [t] VALUES('a', NULL, 'O''Brien')");
    const std::vector<db::Value> row2{db::Value(), db::Value()};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row2),
              "INSERT INTO [t] VALUES(NULL, NULL)");
    // Only a database null is NULL; an empty text stays a text.
    const std::vector<db::Value> row3{db::Value::text(""), db::Value(), db::Value::text("")};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row3),
              "INSERT INTO [t] VALUES('', NULL, '')");
    // Backslashes mean nothing to SQL Server.
    const std::vector<db::Value> row4{db::Value::text(R"(C:\data)")};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row4),
              R"(INSERT INTO [t] VALUES('C:\data'))");
}

TEST(TransferToSqlServerStatements, TextBeyondAsciiIsNational) {
    const std::vector<db::Value> row{db::Value::text(QString::fromUtf8("Αθήνα")),
                                     db::Value::text("plain"),
                                     db::Value::text(QString::fromUtf8("l'été")), db::Value()};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row),
              QString::fromUtf8("INSERT INTO [t] VALUES(N'Αθήνα', 'plain', N'l''été', NULL)"));
}

TEST(TransferToSqlServerStatements, ValuesAreWrittenWithoutLocale) {
    const std::vector<db::Value> row{
        db::Value::integer(9007199254740993), db::Value::decimal("12.99"), db::Value::dbl(0.1),
        db::Value::timestamp({2024, 2, 29, 13, 5, 9, 123456000}), db::Value::boolean(true)};
    EXPECT_EQ(sql::to_sqlserver::insertStatement(QStringLiteral("t"), row),
              "INSERT INTO [t] VALUES('9007199254740993', '12.99', '0.1', "
              "'2024-02-29T13:05:09.123', 'True')");
}

}  // namespace
}  // namespace dorvane::sql::to_sqlserver
