#pragma once
// What the fast copy towards SQL Server says of rows the server refused, and whether it may
// send them again one by one to find the row.

#include <QString>
#include <cstdint>
#include <exception>

#include "db/odbc/connection.h"

namespace dorvane::transfer {

// "row 7" or "rows 1 to 1000".
QString rowsText(std::int64_t first, std::int64_t last);

// Throws the refusal `failure` as "Table t, rows ...: <refusal>"; a stop goes on as it is.
[[noreturn]] void throwRefusedRows(const QString& table, std::int64_t first, std::int64_t last,
                                   std::exception_ptr failure);

// True while the target's transaction can still commit (XACT_STATE() is 1). Rows are tried
// alone only then: had the server rolled the transaction back, they would take effect on
// their own.
bool transactionGoesOn(db::Connection& target);

}  // namespace dorvane::transfer
