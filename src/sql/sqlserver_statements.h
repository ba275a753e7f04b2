#pragma once
// The statements of a copy from PostgreSQL to SQL Server, built piece by piece as the
// command goes through its numbered lines. Names stand between brackets on SQL Server
// and between double quotes in the SELECT on PostgreSQL.

#include <QString>
#include <QStringView>
#include <optional>
#include <span>
#include <vector>

#include "db/recordset.h"
#include "db/value.h"
#include "sql/sqlserver_type_map.h"
#include "sql/value_text.h"

namespace dorvane::to_sqlserver {

// The size of an exact column: what the source reports, within SQL Server's 38 digits.
ExactSize exactSizeOf(const db::FieldInfo& field);

// Read on the PostgreSQL connection.
QString selectStatement(const QString& sourceTable);
// "CREATE TABLE [t](": what the column list is appended to, and what the dialog gets.
QString columnHead(const QString& table);
// Appends the column; gives the size of an exact column so its values can be checked.
std::optional<ExactSize> appendColumn(QString& sql, const db::FieldInfo& field,
                                      const ColumnRule& rule);
// Replaces the comma after the last column by ");".
void closeColumnList(QString& sql);
QString dropStatement(const QString& table);
// The rows the target table holds, to compare with the rows sent.
QString countStatement(const QString& table);
// No rows, but the target table's columns as the server made them.
QString columnsStatement(const QString& table);
// The code page of the target database's char and varchar columns.
QString codePageStatement();

void startInsert(QString& sql, const QString& table);
// Appends one quoted value and ", '". A database null is NULL; text with characters
// beyond ASCII is a national literal N'...'.
void appendValue(QString& sql, const db::Value& value);
// Replaces the ", '" after the last value by ")".
// Bytes for a binary column, as a constant: the server converts no text into bytes.
void appendBinaryConstant(QString& sql, const QByteArray& bytes);
void closeInsert(QString& sql);

// Whole statements from the pieces above.
QString createTableStatement(const QString& table, std::span<const db::FieldInfo> fields);
QString insertStatement(const QString& table, std::span<const db::Value> row);

}  // namespace dorvane::to_sqlserver
