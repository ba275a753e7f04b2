#pragma once
// What a fast copy says of rows its target refused, and whether, towards SQL Server, it may
// send them again one by one to find the row.

#include <QString>
#include <cstdint>
#include <exception>
#include <stdexcept>

#include "db/odbc/connection.h"

namespace dorvane::transfer {

// Rows the target refused: "Table t, rows ...: <refusal>", and the statement that carried
// them, as the report quotes what was in flight.
class RowsRefused : public std::runtime_error {
  public:
    RowsRefused(const QString& text, QString statement)
        : std::runtime_error(text.toStdString()), statement_(std::move(statement)) {}
    const QString& statement() const { return statement_; }

  private:
    QString statement_;
};

// The server or its driver would not take the rows by bulk load: it refused the load at its
// start, refused or misread a batch, or took fewer rows than it was sent. The table can go
// again by INSERT statements, whose refusal of a row, if any, is then the one to report.
class BulkLoadRefused : public RowsRefused {
  public:
    using RowsRefused::RowsRefused;
};

// "row 7" or "rows 1 to 1000".
QString rowsText(std::int64_t first, std::int64_t last);

// "INSERT BULK [t], rows 1 to 10000": a statement as a report quotes it, with its rows.
QString statementWithRows(const QString& statement, std::int64_t first, std::int64_t last);

enum class RefusedBy { Statement, BulkLoad };

// Throws the refusal `failure` of rows `first` to `last`, sent by `statement`, as a
// RowsRefused, or a BulkLoadRefused; a stop goes on as it is.
[[noreturn]] void throwRefusedRows(const QString& table, std::int64_t first, std::int64_t last,
                                   std::exception_ptr failure, const QString& statement,
                                   RefusedBy by = RefusedBy::Statement);

// SQLSTATE class 08: the connection is gone, and no row is to blame.
bool connectionLost(const std::exception_ptr& failure);

// True while the target's transaction can still commit (XACT_STATE() is 1). Rows are tried
// alone only then: had the server rolled the transaction back, they would take effect on
// their own.
bool transactionGoesOn(db::Connection& target);

}  // namespace dorvane::transfer
