#pragma once
// The statements of a copy from SQL Server to PostgreSQL, built piece by piece as the
// command goes through its numbered lines. Names stand between double quotes.

#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "db/recordset.h"
#include "db/value.h"
#include "sql/postgres_type_map.h"

namespace dorvane::to_postgres {

// Read on the SQL Server connection.
QString selectStatement(const QString& sourceTable);
// "CREATE TABLE "t"(": what the column list is appended to, and what the dialog gets.
QString columnHead(const QString& table);
void appendColumn(QString& sql, const QString& fieldName, const ColumnRule& rule);
// Field indexes written without quotes: "0,4," for fields 0 and 4.
void appendNumericIndex(QString& numericList, int fieldIndex);
// Replaces the comma after the last column by ")".
void closeColumnList(QString& sql);
QString dropStatement(const QString& table);
// The rows the target table holds, to compare with the rows sent.
QString countStatement(const QString& table);

// PostgreSQL keeps only the first 63 bytes of a name and drops the rest silently.
constexpr int kMaxNameBytes = 63;
// Throws when `name` (of a table or a column) is longer than PostgreSQL keeps.
void checkNameFits(QStringView name);

// Which fields a numeric column list leaves unquoted. The list is read in step with the
// fields: an index counts only when it is the next one the list names.
std::vector<bool> unquotedColumns(QStringView numericList, int fieldCount);

void startInsert(QString& sql, const QString& table);
// Appends one value and ", ". A database null is NULL; an empty text is NULL in an
// unquoted column (no number reads as empty) and '' in a quoted one. A value of an
// unquoted column that is not a number is quoted after all.
void appendValue(QString& sql, const db::Value& value, bool unquoted, bool firstColumn);
// Replaces the ", " after the last value by ")".
void closeInsert(QString& sql);

// Whole statements from the pieces above.
struct CreateTable {
    QString sql;
    QString numericList;
};
CreateTable createTableStatement(const QString& table, std::span<const db::FieldInfo> fields);
QString insertStatement(const QString& table, std::span<const db::Value> row,
                        const std::vector<bool>& unquoted);

}  // namespace dorvane::to_postgres
