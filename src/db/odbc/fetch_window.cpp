#include "db/odbc/fetch_window.h"

#include <sqlext.h>

#include <algorithm>

#include "db/odbc/odbc_connection.h"
#include "db/values/driver_connection_string.h"

namespace dorvane::db {
namespace {

// psqlODBC's connection attribute for its window (SQL_ATTR_PGOPT_FETCH).
constexpr SQLINTEGER kPsqlOdbcFetchRows = 65541;

}  // namespace

std::int32_t FetchWindow::rowsFor(std::size_t rowBytes) {
    const std::size_t rows = kWindowBytes / std::max<std::size_t>(rowBytes, 1);
    return static_cast<std::int32_t>(
        std::clamp<std::size_t>(rows, 1, static_cast<std::size_t>(kPostgresFetchRows)));
}

FetchWindow::FetchWindow(OdbcConnection& connection, ServerKind kind) {
    // Only PostgreSQL's driver is asked: another driver may give the same attribute
    // number another meaning.
    if (kind != ServerKind::Postgres) return;
    SQLINTEGER current = 0;
    if (!SQL_SUCCEEDED(SQLGetConnectAttrW(connection.handle(), kPsqlOdbcFetchRows, &current,
                                          sizeof current, nullptr)) ||
        current <= 0)
        return;  // a PostgreSQL driver without the window setting
    connection_ = connection.handle();
    connectionRows_ = current;
    set(kFirstRows);
}

FetchWindow::~FetchWindow() {
    if (connection_ != SQL_NULL_HDBC) set(connectionRows_);
}

void FetchWindow::rowRead(std::size_t rowBytes) {
    if (connection_ == SQL_NULL_HDBC) return;
    largestSinceSet_ = std::max(largestSinceSet_, rowBytes);
    ++rowsSinceSet_;
    const std::int32_t wanted = rowsFor(largestSinceSet_);
    // Shrinks at once for a wide row; grows once a window's rows have been seen.
    if (wanted < rows_ || (rowsSinceSet_ >= rows_ && wanted != rows_)) set(wanted);
}

void FetchWindow::set(std::int32_t rows) {
    const SQLRETURN rc =
        SQLSetConnectAttrW(connection_, kPsqlOdbcFetchRows,
                           reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(rows)), SQL_IS_INTEGER);
    if (!SQL_SUCCEEDED(rc)) {
        connection_ = SQL_NULL_HDBC;  // the driver's own window stays; nothing worse
        rows_ = 0;
        return;
    }
    rows_ = rows;
    rowsSinceSet_ = 0;
    largestSinceSet_ = 0;
}

}  // namespace dorvane::db
