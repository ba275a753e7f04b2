#pragma once
// One ODBC handle (environment, connection or statement), freed when it goes out of
// scope. Move-only.

#include <sql.h>

namespace dorvane::db {

class LiveStatements;

class OdbcHandle {
  public:
    OdbcHandle() = default;
    // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment);
    // throws DbError when the driver manager refuses.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    // A statement handle under `connection`, kept in `live` until freed; `live` outlives it,
    // as the connection does.
    OdbcHandle(SQLHDBC connection, LiveStatements& live);
    ~OdbcHandle();
    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

  private:
    void release() noexcept;

    SQLSMALLINT type_ = 0;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
    LiveStatements* live_ = nullptr;
};

}  // namespace dorvane::db
