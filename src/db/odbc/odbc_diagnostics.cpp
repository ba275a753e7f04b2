#include "db/odbc/odbc_diagnostics.h"

#include <sqlext.h>

#include <algorithm>
#include <vector>

namespace dorvane::db {
namespace {
QString fromWide(const SQLWCHAR* text, SQLSMALLINT length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}
}  // namespace

DbError diagnosticsError(SQLSMALLINT handleType, SQLHANDLE handle, const QString& fallback) {
    QString description, sqlState;
    SQLINTEGER firstNative = 0;
    std::vector<SQLWCHAR> message(1024);
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(length + 1);
            rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) break;
        length = std::min<SQLSMALLINT>(length, static_cast<SQLSMALLINT>(message.size() - 1));
        if (record == 1) {
            sqlState = fromWide(state, 5);
            firstNative = native;
        } else {
            description += u'\n';
        }
        description += fromWide(message.data(), length);
    }
    if (description.isEmpty() && sqlState.isEmpty()) return DbError(fallback);
    return DbError(description, sqlState, static_cast<int>(firstNative));
}

QString firstSqlState(SQLSMALLINT handleType, SQLHANDLE handle) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLWCHAR message[8];
    const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, 1, state, &native, message, 8, &length);
    return SQL_SUCCEEDED(rc) ? fromWide(state, 5) : QString();
}

void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* action) {
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) return;
    const QString fallback =
        QStringLiteral("%1 failed (ODBC return code %2).").arg(QString::fromLatin1(action)).arg(rc);
    if (rc == SQL_INVALID_HANDLE) throw DbError(fallback);
    throw diagnosticsError(handleType, handle, fallback);
}

}  // namespace dorvane::db
