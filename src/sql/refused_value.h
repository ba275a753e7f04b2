#pragma once
// A value a check refuses is reported with where it sits, so the user can find it.

#include <QString>
#include <cstdint>
#include <exception>
#include <stdexcept>

namespace dorvane::sql {

// Runs `check`; a refusal is thrown again with the table, the column and the row
// (counted from 1) before its reason.
template <class Check>
void checkValueAt(const QString& table, const QString& column, std::int64_t row, Check&& check) {
    try {
        check();
    } catch (const std::exception& refusal) {
        // One pass: a name holding "%1" is not taken for a place marker.
        throw std::runtime_error(
            QStringLiteral("Table %1, column %2, row %3: %4")
                .arg(table, column, QString::number(row), QString::fromUtf8(refusal.what()))
                .toStdString());
    }
}

}  // namespace dorvane::sql
