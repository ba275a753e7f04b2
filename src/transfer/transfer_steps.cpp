#include "transfer/transfer_steps.h"

#include "core/list_helpers.h"
#include "db/odbc/ado.h"
#include "sql/general_value_text.h"
#include "transfer/execute_sql.h"
#include "transfer/table_replacement.h"

namespace dorvane::transfer::transfer_steps {
namespace {

void configure(core::Procedure& p, const std::unique_ptr<db::Connection>& connection,
               int cursorLocation, int firstLine) {
    p.step(firstLine, [&] { existing(connection).setCursorLocation(cursorLocation); });
    p.step(firstLine + 2, [&] { existing(connection).setCommandTimeout(kTimeoutSeconds); });
    p.step(firstLine + 4, [&] { existing(connection).setConnectionTimeout(kTimeoutSeconds); });
}

}  // namespace

db::WhileWaiting eventsWhileWaiting(core::EventYield& yield) {
    return [&yield] { yield.whenDue(); };
}

std::unique_ptr<db::Connection> newConnection(db::WhileWaiting whileWaiting) {
    auto connection = std::make_unique<db::Connection>();
    connection->setWhileWaiting(std::move(whileWaiting));
    return connection;
}

void openPostgres(core::Procedure& p, const std::unique_ptr<db::Connection>& connection,
                  int cursorLocation, const db::ProfileSource& profiles, int firstLine) {
    configure(p, connection, cursorLocation, firstLine);
    p.step(firstLine + 6,
           [&] { existing(connection).open(db::postgresConnectionString(profiles.postgres())); });
}

std::unique_ptr<db::ConnectionOpening> startMssqlLogin(const db::ProfileSource& profiles) noexcept {
    try {
        return std::make_unique<db::ConnectionOpening>(db::mssqlConnectionString(profiles.mssql()),
                                                       kTimeoutSeconds);
    } catch (...) {
        return nullptr;  // the open step then logs in by itself, and reports what fails
    }
}

void openMssql(core::Procedure& p, const std::unique_ptr<db::Connection>& connection,
               int cursorLocation, const db::ProfileSource& profiles, int firstLine,
               db::ConnectionOpening* started) {
    configure(p, connection, cursorLocation, firstLine);
    if (p.test(firstLine + 6, [&] { return profiles.mssql().localConnection; })) {
        p.step(firstLine + 8, [&] {
            existing(connection).open(db::mssqlLocalConnectionString(profiles.mssql()), started);
        });
    } else {
        p.step(firstLine + 10, [&] {
            existing(connection).open(db::mssqlPortConnectionString(profiles.mssql()), started);
        });
    }
}

void adoptListedSpelling(core::Procedure& p, const core::ListBox& list, QString& tableName,
                         int firstLine) {
    int count = 0;
    p.step(firstLine, [&] { count = list.count(); });
    for (int i = 0; i < count; ++i) {
        if (p.test(firstLine + 2, [&] { return list.text(i).toLower() == tableName.toLower(); }))
            p.step(firstLine + 4, [&] { tableName = list.text(i); });
    }
}

int askOverwrite(core::Platform& platform, const QString& tableName) {
    return platform.messageBox(
        QStringLiteral("Would you like to overwrite ") + tableName + QStringLiteral("?"),
        core::MsgButtons::YesNo, core::MsgIcon::None, QStringLiteral("Overwrite?"));
}

namespace {

// 1234567 as "1 234 567".
QString groupedDigits(std::int64_t number) {
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > (digits.startsWith(u'-') ? 1 : 0); at -= 3) {
        digits.insert(at, u' ');
    }
    return digits;
}

}  // namespace

QString rowsSentText(const QString& table, std::int64_t sent, std::int64_t rows) {
    return table + QStringLiteral(": ") + groupedDigits(sent) + QStringLiteral(" of ") +
           groupedDigits(rows) + QStringLiteral(" rows");
}

QString rowsSentByInsertsText(const QString& table, std::int64_t sent, std::int64_t rows) {
    return rowsSentText(table, sent, rows) + QStringLiteral(" by INSERT statements");
}

void resetProgress(core::ProgressBar& bar) {
    bar.setValue(0);
    bar.setText(QStringLiteral("Progress Bar"));
}

void closeIfOpen(const std::unique_ptr<db::Connection>& connection) {
    if (existing(connection).state() != db::kStateClosed) connection->close();
}

QString removeDroppedEntry(core::ListBox& list, const QString& table, Qt::CaseSensitivity names) {
    QString entry = table;
    for (int i = 0; i < list.count(); ++i) {
        const QString text = list.text(i);
        if (text == table) {
            entry = table;
            break;
        }
        if (text.compare(table, names) == 0) entry = text;
    }
    core::listRemove(list, entry);
    return entry;
}

void checkRowsArrived(db::Connection& target, const QString& table, const QString& countSql,
                      std::int64_t sent) {
    db::Recordset counted = target.query(countSql);
    const std::int64_t arrived = sql::valueText(counted.value(0)).toLongLong();
    if (arrived != sent)
        throw std::runtime_error(
            QStringLiteral("Table %1: %2 rows were sent, but the table holds %3.")
                .arg(table, QString::number(sent), QString::number(arrived))
                .toStdString());
}

}  // namespace dorvane::transfer::transfer_steps
