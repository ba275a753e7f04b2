#pragma once
// The statements of a copy from SQL Server to PostgreSQL, built piece by piece as the
// command goes through its steps (see statement_pieces.h), and the ones the table
// commands send to PostgreSQL. Names stand between double quotes.

#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/postgres_type_map.h"
#include "sql/statement_pieces.h"

namespace dorvane::sql::to_postgres {

// Read on the SQL Server connection.
QString selectStatement(const QString& sourceTable);
// "CREATE TABLE "t"(": what the column list is appended to, and what the dialog gets.
QString columnHead(const QString& table);
// Appends the column's quoted name, its type and a comma.
void appendColumn(QString& sql, const QString& fieldName, const CopyColumn& copy);
QString dropStatement(const QString& table);
// The rows the target table holds, to compare with the rows sent.
QString countStatement(const QString& table);
QString renameStatement(const QString& oldName, const QString& newName);

// PostgreSQL keeps only the first 63 bytes of a name and drops the rest silently.
constexpr int kMaxNameBytes = 63;
// Throws when `name` (of a table or a column) is longer than PostgreSQL keeps.
void checkNameFits(QStringView name);

// Which fields a numeric column list, as the customization dialog hands it over ("0,4,"
// for fields 0 and 4), leaves unquoted. The list is read in step with the fields: an
// index counts only when it is the next one the list names.
std::vector<bool> unquotedColumns(QStringView numericList, int fieldCount);
// The same for numeric column flags: one flag per field.
std::vector<bool> unquotedColumns(const std::vector<bool>& numericList, int fieldCount);

void startInsert(QString& sql, const QString& table);
// Appends one value and ", ". A database null is NULL; an empty text is NULL in an
// unquoted column (no number reads as empty) and '' in a quoted one. A value of an
// unquoted column that is not a number is quoted after all.
void appendValue(QString& sql, const db::Value& value, bool unquoted, bool firstColumn);
// Replaces the ", " after the last value by ")".
void closeInsert(QString& sql);

// Appends the columns of `fields` to a columnHead and closes the list; flags each numeric
// column in `numericColumns`, whose values then go without quotes.
template <class Steps, class Fields>
void appendColumnList(QString& sql, const Fields& fields, Steps& steps,
                      std::vector<bool>& numericColumns) {
    sql::appendColumnList(sql, fields, steps, targetTypes(), u")",
                          [&](int i, const db::FieldInfo& field, const CopyColumn& copy) {
                              appendColumn(sql, field.name, copy);
                              if (copy.detail == Values::Unquoted) flag(numericColumns, i);
                          });
}

// The INSERT of one row into `sql`, whose capacity is kept from row to row.
template <class Steps, class Row>
void buildInsert(QString& sql, const QString& table, Row& row, Steps& steps,
                 const std::vector<bool>& unquoted) {
    steps.step(InsertPiece::Start, [&] { startInsert(sql, table); });
    appendRowValues(row, steps, [&](int j, const db::Value& value) {
        appendValue(sql, value, isFlagged(unquoted, j), j == 0);
    });
    steps.step(InsertPiece::Close, [&] { closeInsert(sql); });
}

// After rows copied into an identity column: its next value past the largest of them.
QString identityRestartStatement(const QString& table, const QString& column);

// Whole statements, built at once.
struct CreateTable {
    QString sql;
    std::vector<bool> numericList;  // one flag per field, as far as the last numeric one
};
CreateTable createTableStatement(const QString& table, std::span<const db::FieldInfo> fields);
QString insertStatement(const QString& table, std::span<const db::Value> row,
                        const std::vector<bool>& unquoted);

}  // namespace dorvane::sql::to_postgres
