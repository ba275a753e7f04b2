#include "transfer/refused_rows.h"

#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "sql/general_value_text.h"
#include "transfer/stoppable_waits.h"

namespace dorvane::transfer {

QString rowsText(std::int64_t first, std::int64_t last) {
    return first == last ? QStringLiteral("row %1").arg(first)
                         : QStringLiteral("rows %1 to %2").arg(first).arg(last);
}

QString statementWithRows(const QString& statement, std::int64_t first, std::int64_t last) {
    return statement + QStringLiteral(", ") + rowsText(first, last);
}

void throwRefusedRows(const QString& table, std::int64_t first, std::int64_t last,
                      std::exception_ptr failure, const QString& statement, RefusedBy by) {
    try {
        std::rethrow_exception(failure);
    } catch (const StoppedWhileWaiting&) {
        throw;
    } catch (const std::exception& refusal) {
        const QString text =
            QStringLiteral("Table %1, %2: %3")
                .arg(table, rowsText(first, last), QString::fromUtf8(refusal.what()));
        if (by == RefusedBy::BulkLoad) throw BulkLoadRefused(text, statement);
        throw RowsRefused(text, statement);
    }
}

bool connectionLost(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const db::DbError& e) {
        return e.sqlState().startsWith(QStringLiteral("08"));
    } catch (...) {
        return false;
    }
}

bool transactionGoesOn(db::Connection& target) {
    try {
        return sql::valueText(target.query(QStringLiteral("SELECT XACT_STATE()")).value(0))
                   .toInt() == 1;
    } catch (...) {
        return false;  // no answer: the connection is gone
    }
}

}  // namespace dorvane::transfer
