#include "transfer/refused_rows.h"

#include <stdexcept>

#include "db/odbc/recordset.h"
#include "sql/general_value_text.h"
#include "transfer/stoppable_waits.h"

namespace dorvane::transfer {

QString rowsText(std::int64_t first, std::int64_t last) {
    return first == last ? QStringLiteral("row %1").arg(first)
                         : QStringLiteral("rows %1 to %2").arg(first).arg(last);
}

void throwRefusedRows(const QString& table, std::int64_t first, std::int64_t last,
                      std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const StoppedWhileWaiting&) {
        throw;
    } catch (const std::exception& refusal) {
        throw std::runtime_error(
            QStringLiteral("Table %1, %2: %3")
                .arg(table, rowsText(first, last), QString::fromUtf8(refusal.what()))
                .toStdString());
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
