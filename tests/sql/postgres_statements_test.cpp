#include <gtest/gtest.h>

#include <vector>

#include "db/odbc/ado_types.h"
#include "recorded_pieces.h"
#include "sql/postgres_statements.h"

namespace dorvane::sql::to_postgres {
namespace {

using db::Value;

db::FieldInfo field(const char* name, db::AdoType adoType) {
    return db::FieldInfo{QString::fromUtf8(name), adoType, 0, 0, QString()};
}

TEST(TransferToPostgresStatements, SevenColumnExampleGivesTypesAndNumericList) {
    namespace ado = db::ado;
    const std::vector<db::FieldInfo> fields{
        field("id", ado::kInteger),       field("name", ado::kVarWChar),
        field("born", ado::kDBTimeStamp), field("ok", ado::kBoolean),
        field("price", ado::kCurrency),   field("day", db::AdoType::Date),
        field("score", ado::kDouble)};
    const sql::to_postgres::CreateTable create =
        sql::to_postgres::createTableStatement(QStringLiteral("t"), fields);
    EXPECT_EQ(create.sql, R"(CREATE TABLE "t"("id" NUMERIC,"name" TEXT,"born" TIMESTAMP,"ok" BOOL,)"
                          R"("price" NUMERIC,"day" DATE,"score" TEXT))");
    EXPECT_EQ(create.numericList, (std::vector<bool>{true, false, false, false, true}));
}

TEST(TransferToPostgresStatements, NamesWithDoubleQuotesAreDoubledEverywhere) {
    EXPECT_EQ(sql::to_postgres::selectStatement(QStringLiteral("my\"tab")),
              R"(SELECT * FROM "my""tab")");
    EXPECT_EQ(sql::to_postgres::columnHead(QStringLiteral("my\"tab")),
              R"(CREATE TABLE "my""tab"()");
    EXPECT_EQ(sql::to_postgres::dropStatement(QStringLiteral("my\"tab")),
              R"(DROP TABLE "my""tab")");
    const std::vector<db::FieldInfo> fields{field("a\"b", db::ado::kVarChar)};
    EXPECT_EQ(sql::to_postgres::createTableStatement(QStringLiteral("x"), fields).sql,
              R"(CREATE TABLE "x"("a""b" TEXT))");
    const std::vector<db::Value> row{db::Value::text("v")};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("my\"tab"), row, {}),
              R"(INSERT INTO "my""tab" VALUES('v'))");
    // Ordinary names are untouched.
    EXPECT_EQ(sql::to_postgres::selectStatement(QStringLiteral("Orders")),
              R"(SELECT * FROM "Orders")");
    EXPECT_EQ(sql::to_postgres::dropStatement(QStringLiteral("Orders")), R"(DROP TABLE "Orders")");
}

TEST(TransferToPostgresStatements, InsertJoinsNullsAsTheCommandAlwaysHas) {
    const std::vector<bool> firstNumeric = sql::to_postgres::unquotedColumns(u"0,", 3);
    const std::vector<db::Value> row1{db::Value::integer(7), db::Value::text("O'Brien"),
                                      db::Value()};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row1, firstNumeric),
              R"(INSERT INTO "t" VALUES(7, 'O''Brien',NULL))");

    const std::vector<db::Value> row2{db::Value(), db::Value::text("x")};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row2, {}),
              R"(INSERT INTO "t" VALUES(NULL, 'x'))");

    const std::vector<db::Value> allNull{db::Value(), db::Value(), db::Value()};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), allNull, {}),
              R"(INSERT INTO "t" VALUES(NULL,NULL,NULL))");
}

TEST(TransferToPostgresStatements, EmptyTextIsNullOnlyWhereNoNumberCouldBeWritten) {
    const std::vector<bool> unquoted = sql::to_postgres::unquotedColumns(u"1,", 3);
    const std::vector<db::Value> row{db::Value::text(""), db::Value::text(""), db::Value::text("")};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row, unquoted),
              R"(INSERT INTO "t" VALUES('',NULL, ''))");
}

TEST(TransferToPostgresStatements, BackslashesUseAnEscapeLiteral) {
    const std::vector<db::Value> row{db::Value::text(R"(C:\data)"), db::Value::text("it's"),
                                     db::Value::text(R"(a\'b)")};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row, {}),
              R"(INSERT INTO "t" VALUES(E'C:\\data', 'it''s', E'a\\''b'))");
}

TEST(TransferToPostgresStatements, ValuesAreWrittenWithoutLocale) {
    db::DateTimeParts when{2024, 2, 29, 13, 5, 9, 123456000};
    db::DateTimeParts day{1999, 12, 31};
    const std::vector<db::Value> row{db::Value::decimal("12.9900"),
                                     db::Value::single(0.1f),
                                     db::Value::dbl(-2.5e-7),
                                     db::Value::timestamp(when),
                                     db::Value::date(day),
                                     db::Value::boolean(false),
                                     db::Value::binary(QByteArray("\x01\xab", 2))};
    const std::vector<bool> unquoted = sql::to_postgres::unquotedColumns(u"0,", 7);
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row, unquoted),
              R"(INSERT INTO "t" VALUES(12.9900, '0.1', '-2.5e-07', '2024-02-29 13:05:09.123456', )"
              R"('1999-12-31', 'False', E'\\x01ab'))");
}

// Values that are not text are written in place in the statement; in a column marked
// numeric only what reads as a number goes without quotes.
TEST(TransferToPostgresStatements, OtherValuesInNumericColumnsAreQuotedUnlessNumbers) {
    db::DateTimeParts when{2024, 2, 29, 13, 5, 9, 0};
    const std::vector<db::Value> row{db::Value::integer(-5), db::Value::timestamp(when),
                                     db::Value(), db::Value::boolean(true), db::Value::dbl(1.5)};
    EXPECT_EQ(sql::to_postgres::insertStatement(
                  QStringLiteral("t"), row, sql::to_postgres::unquotedColumns(u"0,1,2,3,4,", 5)),
              R"(INSERT INTO "t" VALUES(-5, '2024-02-29 13:05:09',NULL, 'True', 1.5))");
}

TEST(TransferToPostgresStatements, NumericListIsWalkedInStepWithTheFields) {
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"0,4,", 6),
              (std::vector<bool>{true, false, false, false, true, false}));
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"", 3), (std::vector<bool>{false, false, false}));
    // Without a comma the list names nothing.
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"1", 3), (std::vector<bool>{false, false, false}));
    // The walk only moves on at the index it waits for: a later index blocks earlier ones.
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"2,0,", 3),
              (std::vector<bool>{false, false, true}));
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"x,1,", 3),
              (std::vector<bool>{false, false, false}));
    // An index named twice blocks the ones after it; blanks around an index are dropped.
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u"0,0,1,", 3),
              (std::vector<bool>{true, false, false}));
    EXPECT_EQ(sql::to_postgres::unquotedColumns(u" 0 , 2,", 3),
              (std::vector<bool>{true, false, true}));
    // Flags reach as far as the last numeric column; the fields after it are quoted.
    EXPECT_EQ(sql::to_postgres::unquotedColumns(std::vector<bool>{false, true}, 3),
              (std::vector<bool>{false, true, false}));
}

// Each piece runs as a step of its own: the column list's own pieces, and for each field
// its append at the step of the type rule that chose its type.
TEST(TransferToPostgresStatements, ColumnListRunsEachPieceAsAStep) {
    const std::vector<db::FieldInfo> fields{field("n", db::ado::kInteger),
                                            field("s", db::ado::kVarChar)};
    QString sql = QStringLiteral("x(");
    std::vector<bool> numericColumns;
    RecordedPieces<TypeRule> steps;
    appendColumnList(sql, sql::FieldList{fields}, steps, numericColumns);
    EXPECT_EQ(sql, R"(x("n" NUMERIC,"s" TEXT))");
    EXPECT_EQ(numericColumns, std::vector<bool>{true});
    using enum sql::ColumnPiece;
    using Append = sql::ColumnAppend<TypeRule>;
    EXPECT_EQ(steps.pieces, (std::vector<RecordedPieces<TypeRule>::Piece>{
                                FieldCount, Events, Field, Append{TypeRule::Int},  //
                                Events, Field, Append{TypeRule::Char}, DropComma, Close}));
}

TEST(TransferToPostgresStatements, InsertRunsEachPieceAsAStep) {
    const std::vector<db::Value> values{db::Value::integer(1), db::Value::text("a")};
    const sql::RowValues row{values};
    QString sql = QStringLiteral("left from the last row");
    RecordedPieces<TypeRule> steps;
    sql::to_postgres::buildInsert(sql, QStringLiteral("t"), row, steps, {true});
    EXPECT_EQ(sql, R"(INSERT INTO "t" VALUES(1, 'a'))");
    using enum sql::InsertPiece;
    EXPECT_EQ(steps.pieces, (std::vector<RecordedPieces<TypeRule>::Piece>{
                                Start, FieldCount, Events, Append, Events, Append, Close}));
}

TEST(TransferToPostgresStatements, RenameQuotesBothNames) {
    EXPECT_EQ(sql::to_postgres::renameStatement(QStringLiteral("a\"b"), QStringLiteral("c")),
              R"(ALTER TABLE "a""b" RENAME TO "c";)");
}

// Quotes and backslashes make a value no number: in a numeric column it still goes in
// quotes, doubled, so it can never end up read as SQL.
TEST(TransferToPostgresStatements, QuotesAndBackslashesAreDoubledInUnquotedColumnsToo) {
    const std::vector<db::Value> row{db::Value::text(R"(1'\)")};
    EXPECT_EQ(sql::to_postgres::insertStatement(QStringLiteral("t"), row,
                                                sql::to_postgres::unquotedColumns(u"0,", 1)),
              R"(INSERT INTO "t" VALUES(E'1''\\'))");
}

}  // namespace
}  // namespace dorvane::sql::to_postgres
