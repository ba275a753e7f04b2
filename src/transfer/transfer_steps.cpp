#include "transfer/transfer_steps.h"

#include "db/ado.h"

namespace dorvane::transfer_steps {
namespace {

void configure(Procedure& p, const std::unique_ptr<db::Connection>& connection, int cursorLocation,
               int firstLine) {
    p.step(firstLine, [&] { existing(connection).setCursorLocation(cursorLocation); });
    p.step(firstLine + 2, [&] { existing(connection).setCommandTimeout(kTimeoutSeconds); });
    p.step(firstLine + 4, [&] { existing(connection).setConnectionTimeout(kTimeoutSeconds); });
}

}  // namespace

void openPostgres(Procedure& p, const std::unique_ptr<db::Connection>& connection,
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

void openMssql(Procedure& p, const std::unique_ptr<db::Connection>& connection, int cursorLocation,
               const db::ProfileSource& profiles, int firstLine, db::ConnectionOpening* started) {
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

void adoptListedSpelling(Procedure& p, const ListBox& list, QString& tableName, int firstLine) {
    int count = 0;
    p.step(firstLine, [&] { count = list.count(); });
    for (int i = 0; i < count; ++i) {
        if (p.test(firstLine + 2, [&] { return list.text(i).toLower() == tableName.toLower(); }))
            p.step(firstLine + 4, [&] { tableName = list.text(i); });
        p.step(firstLine + 6, [] {});
    }
}

int askOverwrite(Platform& platform, const QString& tableName) {
    return platform.messageBox(
        QStringLiteral("Would you like to overwrite ") + tableName + QStringLiteral("?"),
        MsgButtons::YesNo, MsgIcon::None, QStringLiteral("Overwrite?"));
}

void resetProgress(ProgressBar& bar) {
    bar.setValue(0);
    bar.setText(QStringLiteral("Progress Bar"));
}

void closeIfOpen(const std::unique_ptr<db::Connection>& connection) {
    if (existing(connection).state() != db::kStateClosed) connection->close();
}

}  // namespace dorvane::transfer_steps
