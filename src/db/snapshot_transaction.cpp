#include "db/snapshot_transaction.h"

#include <sqlext.h>

#include <array>
#include <cstdint>

#include "db/db_error.h"
#include "db/odbc_connection.h"
#include "db/odbc_diagnostics.h"
#include "db/result_reader.h"

namespace dorvane::db {
namespace {

void setConnectAttr(OdbcConnection& connection, SQLINTEGER attribute, std::intptr_t value,
                    const char* what) {
    checkOdbc(
        SQLSetConnectAttrW(connection.handle(), attribute, reinterpret_cast<SQLPOINTER>(value), 0),
        SQL_HANDLE_DBC, connection.handle(), what);
}

}  // namespace

ServerKind serverKindOf(OdbcConnection& connection) {
    std::array<SQLWCHAR, 128> name{};
    SQLSMALLINT bytes = 0;
    checkOdbc(SQLGetInfoW(connection.handle(), SQL_DBMS_NAME, name.data(),
                          static_cast<SQLSMALLINT>(sizeof name), &bytes),
              SQL_HANDLE_DBC, connection.handle(), "SQLGetInfo(DBMS_NAME)");
    const auto length = std::min<qsizetype>(bytes / sizeof(SQLWCHAR), name.size() - 1);
    const QString dbms = QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()), length);
    if (dbms.contains(u"PostgreSQL", Qt::CaseInsensitive)) return ServerKind::Postgres;
    if (dbms.contains(u"SQL Server", Qt::CaseInsensitive)) return ServerKind::SqlServer;
    return ServerKind::Other;
}

bool offersSnapshots(ServerKind kind) {
    return kind != ServerKind::Other;
}

void beginSnapshot(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds) {
    switch (kind) {
        case ServerKind::SqlServer:
            // Explicit statements: the driver's own transaction calls need requests a
            // server may not take, and these work on every version.
            executeDiscarding(connection,
                              QStringLiteral("SET TRANSACTION ISOLATION LEVEL SNAPSHOT"),
                              queryTimeoutSeconds);
            executeDiscarding(connection, QStringLiteral("BEGIN TRANSACTION"), queryTimeoutSeconds);
            return;
        case ServerKind::Postgres:
            // Through the driver: psqlODBC ends a transaction begun by a statement as soon
            // as its cursor closes, when it runs in autocommit mode.
            setConnectAttr(connection, SQL_ATTR_TXN_ISOLATION, SQL_TXN_REPEATABLE_READ,
                           "SQLSetConnectAttr(TXN_ISOLATION)");
            setConnectAttr(connection, SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF,
                           "SQLSetConnectAttr(AUTOCOMMIT)");
            return;
        case ServerKind::Other:
            break;
    }
    throw DbError(QStringLiteral("The server gives no snapshot transactions."));
}

void endSnapshot(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds,
                 bool commit) {
    switch (kind) {
        case ServerKind::SqlServer:
            executeDiscarding(connection,
                              commit ? QStringLiteral("COMMIT TRANSACTION")
                                     : QStringLiteral("ROLLBACK TRANSACTION"),
                              queryTimeoutSeconds);
            executeDiscarding(connection,
                              QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"),
                              queryTimeoutSeconds);
            return;
        case ServerKind::Postgres:
            checkOdbc(
                SQLEndTran(SQL_HANDLE_DBC, connection.handle(), commit ? SQL_COMMIT : SQL_ROLLBACK),
                SQL_HANDLE_DBC, connection.handle(), "SQLEndTran");
            setConnectAttr(connection, SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_ON,
                           "SQLSetConnectAttr(AUTOCOMMIT)");
            setConnectAttr(connection, SQL_ATTR_TXN_ISOLATION, SQL_TXN_READ_COMMITTED,
                           "SQLSetConnectAttr(TXN_ISOLATION)");
            return;
        case ServerKind::Other:
            return;
    }
}

QString countStatement(ServerKind kind, const QString& query) {
    const QString counter =
        kind == ServerKind::SqlServer ? QStringLiteral("COUNT_BIG(*)") : QStringLiteral("count(*)");
    return QStringLiteral("SELECT ") + counter + QStringLiteral(" FROM (") + query +
           QStringLiteral(") AS counted_rows");
}

}  // namespace dorvane::db
