// The pieces of the statements a transfer builds, at the lines of its step tables: a
// column's append at the line of the type rule that chose its type.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

#include "db/values/ado_type.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"
#include "transfer/transfer_directions.h"

namespace dorvane::testing {
namespace {

using db::AdoType;

// Notes the line each piece is numbered with, as the command's procedure would take it.
template <class Lines>
struct RecordedLines {
    const Lines& lines;
    std::vector<int> seen;
    template <class At, class Body>
    bool step(At at, Body&& body) {
        seen.push_back(lines.at(at));
        body();
        return true;
    }
    void letEventsRun() {}
};

std::vector<db::FieldInfo> fieldsOf(std::initializer_list<AdoType> types) {
    std::vector<db::FieldInfo> fields;
    for (AdoType type : types) fields.push_back({QStringLiteral("c"), type, 10, 2, QString()});
    return fields;
}

template <class Lines>
std::vector<int> toPostgresColumns(const Lines& lines, std::initializer_list<AdoType> types) {
    RecordedLines<Lines> steps{lines, {}};
    const auto fields = fieldsOf(types);
    QString sql;
    std::vector<bool> numeric;
    sql::to_postgres::appendColumnList(sql, sql::FieldList{fields}, steps, numeric);
    return steps.seen;
}

template <class Lines>
std::vector<int> toSqlServerColumns(const Lines& lines, std::initializer_list<AdoType> types) {
    RecordedLines<Lines> steps{lines, {}};
    const auto fields = fieldsOf(types);
    QString sql;
    std::vector<std::optional<sql::ExactSize>> exact;
    sql::to_sqlserver::appendColumnList(sql, sql::FieldList{fields}, steps, exact);
    return steps.seen;
}

const std::vector<db::Value> kTwoValues{db::Value::integer(1), db::Value::text("a")};

struct LinesCase {
    const char* name;
    std::vector<int> (*run)();
    std::vector<int> lines;
};

const LinesCase kCases[] = {
    {"ToPostgresAfterTheDialog",
     [] {
         return toPostgresColumns(transfer::kToPostgresCustomized,
                                  {AdoType::Integer, AdoType::VarChar});
     },
     {198, 200, 202, 224, 200, 202, 212, 246, 248}},
    {"ToPostgresWithoutTheDialog",
     [] {
         return toPostgresColumns(
             transfer::kToPostgresAutomatic,
             {AdoType::DBTimeStamp, AdoType::Currency, AdoType::LongVarBinary, AdoType::Guid});
     },
     {252, 254, 256, 262, 254, 256, 284, 254, 256, 274, 254, 256, 296, 300, 302}},
    {"ToSqlServerAfterTheDialog",
     [] {
         return toSqlServerColumns(transfer::kToSqlServerCustomized,
                                   {AdoType::BigInt, AdoType::Date});
     },
     {186, 188, 190, 208, 188, 190, 224, 238, 240}},
    {"ToSqlServerWithoutTheDialog",
     [] {
         return toSqlServerColumns(transfer::kToSqlServerAutomatic,
                                   {AdoType::Numeric, AdoType::VarChar});
     },
     {242, 244, 246, 276, 244, 246, 252, 294, 296}},
    {"ToPostgresInsert",
     [] {
         RecordedLines<transfer::InsertLines> steps{transfer::kToPostgresRows.insert, {}};
         const sql::RowValues row{kTwoValues};
         QString sql;
         sql::to_postgres::buildInsert(sql, QStringLiteral("t"), row, steps, {});
         return steps.seen;
     },
     {334, 336, 338, 342, 338, 342, 384}},
    {"ToSqlServerInsert",
     [] {
         RecordedLines<transfer::InsertLines> steps{transfer::kToSqlServerRows.insert, {}};
         const sql::RowValues row{kTwoValues};
         QString sql;
         sql::to_sqlserver::buildInsert(sql, QStringLiteral("t"), row, steps,
                                        [](int) { return false; });
         return steps.seen;
     },
     {324, 326, 328, 332, 328, 332, 344}},
};

TEST(StatementLines, EachPieceIsNumberedByItsCommandsTable) {
    for (const LinesCase& c : kCases) EXPECT_EQ(c.run(), c.lines) << c.name;
}

}  // namespace
}  // namespace dorvane::testing
