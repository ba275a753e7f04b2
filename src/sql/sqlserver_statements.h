#pragma once
// The statements of a copy from PostgreSQL to SQL Server, built piece by piece as the
// command goes through its steps (see statement_pieces.h), and the ones the table
// commands send to SQL Server. Names stand between brackets on SQL Server and
// between double quotes in the SELECT on PostgreSQL.

#include <QString>
#include <QStringView>
#include <optional>
#include <span>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/sqlserver_type_map.h"
#include "sql/statement_pieces.h"
#include "sql/value_text.h"

namespace dorvane::sql::to_sqlserver {

// The size of an exact column: what the source reports, within SQL Server's 38 digits.
ExactSize exactSizeOf(const db::FieldInfo& field);

// Read on the PostgreSQL connection.
QString selectStatement(const QString& sourceTable);
// "CREATE TABLE [t](": what the column list is appended to, and what the dialog gets.
QString columnHead(const QString& table);
// Appends the column; gives the size of an exact column so its values can be checked.
std::optional<ExactSize> appendColumn(QString& sql, const db::FieldInfo& field,
                                      const CopyColumn& copy);
QString dropStatement(const QString& table);
// The rows the target table holds, to compare with the rows sent.
QString countStatement(const QString& table);
// No rows, but the target table's columns as the server made them.
QString columnsStatement(const QString& table);
// The code page of the target database's char and varchar columns.
QString codePageStatement();
QString renameStatement(const QString& oldName, const QString& newName);

// "INSERT INTO [t] VALUES": a statement of one row or of many; `columns`, when given, the
// list of its columns, "([a], [b])", which an identity column's own values need.
void startInsertHead(QString& sql, const QString& table, QStringView columns = {});
// Opens a row's values; every row after the first is joined to the one before by a comma.
void startRow(QString& sql, bool firstRow);
// The head and the first row's opening.
void startInsert(QString& sql, const QString& table, QStringView columns = {});
// Appends one quoted value and ", '". A database null is NULL; text with characters
// beyond ASCII is a national literal N'...'. `form`: as the value's column takes it.
void appendValue(QString& sql, const db::Value& value,
                 SqlServerTextForm form = SqlServerTextForm::Plain);
// Bytes for a binary column, as a constant: the server converts no text into bytes.
void appendBinaryConstant(QString& sql, const QByteArray& bytes);
// Replaces the ", '" after the last value by ")".
void closeInsert(QString& sql);

// Appends the columns of `fields` to a columnHead and closes the list; each exact
// column's size goes to `exactColumns` (one entry per field), to check its values by.
template <class Steps, class Fields>
void appendColumnList(QString& sql, const Fields& fields, Steps& steps,
                      std::vector<std::optional<ExactSize>>& exactColumns) {
    exactColumns.clear();
    sql::appendColumnList(sql, fields, steps, targetTypes(), u");",
                          [&](int i, const db::FieldInfo& field, const CopyColumn& copy) {
                              const std::optional<ExactSize> size = appendColumn(sql, field, copy);
                              if (exactColumns.size() <= static_cast<std::size_t>(i))
                                  exactColumns.resize(i + 1);
                              exactColumns[i] = size;
                          });
}

// Every column takes the plain text of its values.
struct PlainTextForms {
    SqlServerTextForm operator()(int) const { return SqlServerTextForm::Plain; }
};

// The values of one row, opened and closed, as an INSERT holds them; formOf(column) says
// how a column takes a value's text.
template <class Steps, class Row, class HoldsBytes, class FormOf = PlainTextForms>
void appendRow(QString& sql, Row& row, Steps& steps, const HoldsBytes& holdsBytes,
               const FormOf& formOf = {}) {
    appendRowValues(row, steps, [&](int j, const db::Value& value) {
        if (value.kind() == db::Value::Kind::Binary && holdsBytes(j))
            appendBinaryConstant(sql, value.asBinary());
        else
            appendValue(sql, value, formOf(j));
    });
    steps.step(InsertPiece::Close, [&] { closeInsert(sql); });
}

// The INSERT of one row into `sql`, whose capacity is kept from row to row. A binary
// value goes as a constant where holdsBytes(column) says its column keeps bytes.
template <class Steps, class Row, class HoldsBytes, class FormOf = PlainTextForms>
void buildInsert(QString& sql, const QString& table, Row& row, Steps& steps,
                 const HoldsBytes& holdsBytes, QStringView columns = {},
                 const FormOf& formOf = {}) {
    steps.step(InsertPiece::Start, [&] { startInsert(sql, table, columns); });
    appendRow(sql, row, steps, holdsBytes, formOf);
}

// One more row of an INSERT of many rows begun with startInsertHead: the same values,
// written as the INSERT of that row alone writes them. SQL Server takes at most
// kMaxInsertRows rows in one INSERT.
constexpr int kMaxInsertRows = 1000;
template <class Row, class HoldsBytes, class FormOf = PlainTextForms>
void appendInsertRow(QString& sql, Row& row, bool firstRow, const HoldsBytes& holdsBytes,
                     const FormOf& formOf = {}) {
    startRow(sql, firstRow);
    PiecesAtOnce steps;
    appendRow(sql, row, steps, holdsBytes, formOf);
}

// "SET TIME ZONE 'UTC'", on the PostgreSQL source of a copy with natural types: its
// timestamptz values then arrive as UTC times, which DATETIMEOFFSET takes as +00:00.
QString naturalSessionZoneStatement();
// SET IDENTITY_INSERT [t] ON (or OFF): the identity column takes the values copied.
QString identityInsertStatement(const QString& table, bool on);
// "([a], [b])": the column list of an INSERT.
QString insertColumnList(const std::vector<QString>& columns);

// Whole statements, built at once.
QString createTableStatement(const QString& table, std::span<const db::FieldInfo> fields);
// No column is taken to keep bytes: a binary value goes as its text.
QString insertStatement(const QString& table, std::span<const db::Value> row);

}  // namespace dorvane::sql::to_sqlserver
