#include "db/odbc/transaction.h"

#include <sqlext.h>

#include "db/odbc/odbc_connection.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/odbc/result_reader.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

void setAutocommit(OdbcConnection& connection, SQLULEN mode) {
    checkOdbc(SQLSetConnectAttrW(connection.handle(), SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(mode), 0),
              SQL_HANDLE_DBC, connection.handle(), "SQLSetConnectAttr(AUTOCOMMIT)");
}

}  // namespace

void beginTransaction(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds) {
    switch (kind) {
        case ServerKind::SqlServer:
            // An explicit statement: the driver's own transaction calls need requests a
            // server may not take, and this works on every version.
            executeDiscarding(connection, QStringLiteral("BEGIN TRANSACTION"), queryTimeoutSeconds);
            return;
        case ServerKind::Postgres:
            // Through the driver: psqlODBC ends a transaction begun by a statement as soon
            // as its cursor closes, when it runs in autocommit mode.
            setAutocommit(connection, SQL_AUTOCOMMIT_OFF);
            return;
        case ServerKind::Other:
            break;
    }
    throw DbError(QStringLiteral("The server gives no transactions."));
}

void endTransaction(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds,
                    bool commit) {
    switch (kind) {
        case ServerKind::SqlServer:
            executeDiscarding(connection,
                              commit ? QStringLiteral("COMMIT TRANSACTION")
                                     : QStringLiteral("ROLLBACK TRANSACTION"),
                              queryTimeoutSeconds);
            return;
        case ServerKind::Postgres:
            checkOdbc(
                SQLEndTran(SQL_HANDLE_DBC, connection.handle(), commit ? SQL_COMMIT : SQL_ROLLBACK),
                SQL_HANDLE_DBC, connection.handle(), "SQLEndTran");
            setAutocommit(connection, SQL_AUTOCOMMIT_ON);
            return;
        case ServerKind::Other:
            return;
    }
}

}  // namespace dorvane::db
