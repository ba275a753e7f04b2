#pragma once
// Turns ODBC return codes into DbError with the driver's diagnostic records.

#include <sql.h>

#include <QString>

#include "db/values/db_error.h"

namespace dorvane::db {

// All diagnostic records of the handle, texts joined by line breaks; SQLSTATE and native
// code of the first. `fallback` is the text when the driver left no record.
DbError diagnosticsError(SQLSMALLINT handleType, SQLHANDLE handle, const QString& fallback);

// The SQLSTATE of the first diagnostic record, empty when there is none.
QString firstSqlState(SQLSMALLINT handleType, SQLHANDLE handle);

// Throws for SQL_ERROR, SQL_INVALID_HANDLE and any code a plain call must not give;
// success, success with info and SQL_NO_DATA pass (callers test for SQL_NO_DATA).
void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* action);

}  // namespace dorvane::db
