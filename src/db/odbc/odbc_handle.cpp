#include "db/odbc/odbc_handle.h"

#include <utility>

#include "db/odbc/live_statements.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/values/db_error.h"

namespace dorvane::db {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (SQL_SUCCEEDED(rc)) return;
    handle_ = SQL_NULL_HANDLE;
    // The reason of a failed allocation is kept on the parent handle.
    if (parent != SQL_NULL_HANDLE) {
        const SQLSMALLINT parentType = type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
        throw diagnosticsError(parentType, parent,
                               QStringLiteral("Cannot allocate an ODBC handle."));
    }
    throw DbError(QStringLiteral("Cannot allocate an ODBC environment."));
}

OdbcHandle::OdbcHandle(SQLHDBC connection, LiveStatements& live)
    : OdbcHandle(SQL_HANDLE_STMT, connection) {
    live.add(handle_);
    live_ = &live;
}

OdbcHandle::~OdbcHandle() {
    release();
}

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept
    : type_(other.type_),
      handle_(std::exchange(other.handle_, SQLHANDLE{})),
      live_(std::exchange(other.live_, nullptr)) {}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        release();
        type_ = other.type_;
        handle_ = std::exchange(other.handle_, SQLHANDLE{});
        live_ = std::exchange(other.live_, nullptr);
    }
    return *this;
}

void OdbcHandle::release() noexcept {
    if (handle_ != SQL_NULL_HANDLE) {
        if (live_)
            live_->free(handle_);
        else
            SQLFreeHandle(type_, handle_);
    }
    handle_ = SQL_NULL_HANDLE;
    live_ = nullptr;
}

}  // namespace dorvane::db
