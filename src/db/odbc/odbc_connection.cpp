#include "db/odbc/odbc_connection.h"

#include <sqlext.h>

#include <cstdint>

#include "db/odbc/freetds_bulk_copy_switch.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/values/driver_connection_string.h"

namespace dorvane::db {
namespace {

SQLPOINTER integerAttribute(std::intptr_t value) {
    return reinterpret_cast<SQLPOINTER>(value);
}

// A connection attribute some drivers do not know; they say so with HYC00 or HY092.
void setOptionalConnectAttr(SQLHDBC dbc, SQLINTEGER attribute, std::intptr_t value) {
    const SQLRETURN rc = SQLSetConnectAttrW(dbc, attribute, integerAttribute(value), 0);
    if (SQL_SUCCEEDED(rc)) return;
    const QString state = firstSqlState(SQL_HANDLE_DBC, dbc);
    if (rc == SQL_ERROR && (state == u"HYC00" || state == u"HY092")) return;
    checkOdbc(rc, SQL_HANDLE_DBC, dbc, "SQLSetConnectAttr");
}

}  // namespace

OdbcConnection::OdbcConnection(const QString& connectionString, int loginTimeoutSeconds)
    : env_(SQL_HANDLE_ENV, SQL_NULL_HANDLE) {
    checkOdbc(SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION, integerAttribute(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, env_.get(), "SQLSetEnvAttr");
    dbc_ = OdbcHandle(SQL_HANDLE_DBC, env_.get());
    checkOdbc(SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                 integerAttribute(loginTimeoutSeconds), 0),
              SQL_HANDLE_DBC, dbc_.get(), "SQLSetConnectAttr(LOGIN_TIMEOUT)");
    setOptionalConnectAttr(dbc_.get(), SQL_ATTR_CONNECTION_TIMEOUT, loginTimeoutSeconds);
    // Bulk load can only be asked for before the login; it changes nothing else.
    if (namesFreeTds(connectionString))
        setOptionalConnectAttr(dbc_.get(), freetds_bcp::kEnableAttribute, freetds_bcp::kBcpOn);

    std::u16string text = connectionString.toStdU16String();
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(
        dbc_.get(), nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
        static_cast<SQLSMALLINT>(text.size()), nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        throw diagnosticsError(SQL_HANDLE_DBC, dbc_.get(),
                               QStringLiteral("Cannot connect to the data source."));
    }
}

OdbcConnection::~OdbcConnection() {
    // A disconnect failure cannot be reported from here; the handles are freed anyway.
    SQLDisconnect(dbc_.get());
}

OdbcHandle OdbcConnection::newStatement(int queryTimeoutSeconds) {
    OdbcHandle statement(dbc_.get(), live_);
    checkOdbc(SQLSetStmtAttrW(statement.get(), SQL_ATTR_QUERY_TIMEOUT,
                              integerAttribute(queryTimeoutSeconds), 0),
              SQL_HANDLE_STMT, statement.get(), "SQLSetStmtAttr(QUERY_TIMEOUT)");
    return statement;
}

}  // namespace dorvane::db
