#include "db/odbc/snapshot_transaction.h"

#include <sqlext.h>

#include <array>
#include <cstdint>

#include "db/odbc/odbc_connection.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/odbc/result_reader.h"
#include "db/odbc/transaction.h"
#include "db/values/db_error.h"

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
            executeDiscarding(connection,
                              QStringLiteral("SET TRANSACTION ISOLATION LEVEL SNAPSHOT"),
                              queryTimeoutSeconds);
            break;
        case ServerKind::Postgres:
            setConnectAttr(connection, SQL_ATTR_TXN_ISOLATION, SQL_TXN_REPEATABLE_READ,
                           "SQLSetConnectAttr(TXN_ISOLATION)");
            break;
        case ServerKind::Other:
            throw DbError(QStringLiteral("The server gives no snapshot transactions."));
    }
    beginTransaction(connection, kind, queryTimeoutSeconds);
}

void endSnapshot(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds,
                 bool commit) {
    if (kind == ServerKind::Other) return;
    endTransaction(connection, kind, queryTimeoutSeconds, commit);
    if (kind == ServerKind::SqlServer)
        executeDiscarding(connection,
                          QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"),
                          queryTimeoutSeconds);
    else
        setConnectAttr(connection, SQL_ATTR_TXN_ISOLATION, SQL_TXN_READ_COMMITTED,
                       "SQLSetConnectAttr(TXN_ISOLATION)");
}

QString countStatement(ServerKind kind, const QString& query) {
    const QString counter =
        kind == ServerKind::SqlServer ? QStringLiteral("COUNT_BIG(*)") : QStringLiteral("count(*)");
    return QStringLiteral("SELECT ") + counter + QStringLiteral(" FROM (") + query +
           QStringLiteral(") AS counted_rows");
}

}  // namespace dorvane::db
