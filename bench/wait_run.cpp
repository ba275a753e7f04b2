#include "wait_run.h"

#include <chrono>
#include <future>
#include <thread>

#include "command_screen.h"
#include "core/event_yield.h"
#include "db/odbc/recordset.h"
#include "maintenance/table_maintenance.h"
#include "sql/sql_quoting.h"
#include "statement_clock.h"
#include "transfer/send_tables.h"

namespace dorvane::bench {
namespace {

db::Connection openOn(Server server, const EnvProfiles& profiles) {
    return server == Server::Postgres ? openPostgres(profiles) : openMssql(profiles);
}

QString quotedOn(Server server, const QString& table) {
    return server == Server::Postgres ? sql::doubleQuotedName(table) : sql::bracketedName(table);
}

// Another session drops the table in a transaction and rolls it back after kHoldSeconds:
// meanwhile the table is held against readers and other DROPs alike, on both servers.
class HeldTable {
  public:
    HeldTable(Server server, const EnvProfiles& profiles, const QString& table) {
        std::promise<void> held;
        std::future<void> heldYet = held.get_future();
        thread_ = std::thread([&profiles, server, table, held = std::move(held)]() mutable {
            try {
                db::Connection session = openOn(server, profiles);
                session.beginTransaction();
                session.execute(QStringLiteral("DROP TABLE ") + quotedOn(server, table));
                held.set_value();
                std::this_thread::sleep_for(std::chrono::seconds(kHoldSeconds));
                session.endTransaction(false);
            } catch (...) {
                try {
                    held.set_exception(std::current_exception());
                } catch (const std::future_error&) {  // already held: nothing to tell
                }
            }
        });
        try {
            heldYet.get();
        } catch (...) {
            thread_.join();
            throw;
        }
    }
    ~HeldTable() { thread_.join(); }
    HeldTable(const HeldTable&) = delete;
    HeldTable& operator=(const HeldTable&) = delete;

  private:
    std::thread thread_;
};

template <class Command>
WaitFigures measure(BenchPlatform& platform, Command&& command) {
    const Clock::time_point started = Clock::now();
    platform.begin();
    command();
    WaitFigures figures;
    figures.stalls = platform.end();
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.messages = platform.messages();
    return figures;
}

void makeTable(Server server, const EnvProfiles& profiles, const QString& table) {
    openOn(server, profiles)
        .execute(QStringLiteral("CREATE TABLE %1(n INT)").arg(quotedOn(server, table)));
    openOn(server, profiles)
        .execute(QStringLiteral("INSERT INTO %1 VALUES(1)").arg(quotedOn(server, table)));
}

}  // namespace

WaitFigures deleteHeldTable(Server server, const EnvProfiles& profiles, const QString& table) {
    makeTable(server, profiles, table);
    CommandScreen screen(profiles);
    const bool postgres = server == Server::Postgres;
    selectOnly(postgres ? screen.postgresTables : screen.mssqlTables, table);
    const HeldTable held(server, profiles, table);
    return measure(screen.platform, [&] {
        postgres ? maintenance::deletePostgresTables(screen.context)
                 : maintenance::deleteMssqlTables(screen.context);
    });
}

WaitFigures copyHeldSource(Server source, const EnvProfiles& profiles, const QString& table) {
    const bool fromPostgres = source == Server::Postgres;
    makeTable(source, profiles, table);
    fromPostgres ? dropMssqlTable(profiles, table) : dropPostgresTable(profiles, table);
    CommandScreen screen(profiles);
    selectOnly(fromPostgres ? screen.postgresTables : screen.mssqlTables, table);
    const HeldTable held(source, profiles, table);
    WaitFigures figures = measure(screen.platform, [&] {
        fromPostgres ? transfer::sendTablesToSqlServer(screen.context)
                     : transfer::sendTablesToPostgres(screen.context);
    });
    dropPostgresTable(profiles, table);
    dropMssqlTable(profiles, table);
    return figures;
}

WaitFigures readLargeValue(Server server, const EnvProfiles& profiles, const QString& table) {
    BenchPlatform platform;
    core::EventYield yield(platform, core::YieldPolicy{});
    QString step;  // where the command is, to place the longest gap
    platform.describe = [&step] { return step; };
    return measure(platform, [&] {
        db::Connection connection;
        connection.setWhileWaiting([&yield] { yield.whenDue(); });
        connection.setReadAhead(true);
        step = QStringLiteral("opening the connection");
        connection.open(server == Server::Postgres
                            ? db::postgresConnectionString(profiles.postgres())
                            : db::mssqlConnectionString(profiles.mssql()));
        step = QStringLiteral("opening the recordset");
        db::Recordset rows =
            connection.query(QStringLiteral("SELECT * FROM ") + quotedOn(server, table));
        step = QStringLiteral("reading the value");
        if (rows.eof() || rows.value(1).isNull())
            platform.messageBox(QStringLiteral("the large value did not arrive"),
                                core::MsgButtons::Ok, core::MsgIcon::None, QString());
        step = QStringLiteral("closing the recordset");
        rows.close();
        step = QStringLiteral("closing the connection");
        connection.close();
        step = QStringLiteral("the end");
    });
}

}  // namespace dorvane::bench
