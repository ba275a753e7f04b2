#pragma once
// An open ODBC connection: its own environment and connection handle, disconnected
// and freed on destruction.

#include <QString>

#include "db/odbc/live_statements.h"
#include "db/odbc/odbc_handle.h"

namespace dorvane::db {

class OdbcConnection {
  public:
    // Connects with the string as given (already adapted to the driver).
    OdbcConnection(const QString& connectionString, int loginTimeoutSeconds);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // A new statement that gives up after `queryTimeoutSeconds` (0: never).
    OdbcHandle newStatement(int queryTimeoutSeconds);
    SQLHDBC handle() const { return dbc_.get(); }
    // From any thread: cuts short what the connection's statements wait for on the server.
    void cancelStatements() noexcept { live_.cancelAll(); }

  private:
    OdbcHandle env_;
    OdbcHandle dbc_;
    LiveStatements live_;  // after dbc_: emptied before the connection is freed
};

}  // namespace dorvane::db
