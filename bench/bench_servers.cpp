#include "bench_servers.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "sql/sql_quoting.h"

namespace dorvane::bench {
namespace {

QString env(const char* name) {
    const char* value = std::getenv(name);
    if (!value)
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the benchmark through scripts/bench.sh");
    return QString::fromUtf8(value);
}

}  // namespace

EnvProfiles::EnvProfiles()
    : pg_{env("DORVANE_PG_HOST"), env("DORVANE_PG_PORT"), env("DORVANE_PG_USER"),
          env("DORVANE_PG_PASSWORD"), env("DORVANE_PG_DATABASE")},
      ms_{env("DORVANE_MSSQL_HOST"), env("DORVANE_MSSQL_PORT"), env("DORVANE_MSSQL_USER"),
          env("DORVANE_MSSQL_PASSWORD"), env("DORVANE_MSSQL_DATABASE")} {}

db::Connection openPostgres(const EnvProfiles& profiles) {
    db::Connection c;
    c.open(db::postgresConnectionString(profiles.postgres()));
    return c;
}

db::Connection openMssql(const EnvProfiles& profiles) {
    db::Connection c;
    c.open(db::mssqlConnectionString(profiles.mssql()));
    return c;
}

void dropPostgresTable(const EnvProfiles& profiles, const QString& table) {
    openPostgres(profiles).execute(QStringLiteral("DROP TABLE IF EXISTS ") +
                                   sql::doubleQuotedName(table));
}

void dropMssqlTable(const EnvProfiles& profiles, const QString& table) {
    try {
        openMssql(profiles).execute(QStringLiteral("DROP TABLE ") + sql::bracketedName(table));
    } catch (const db::DbError& e) {
        if (e.nativeError() != 3701) throw;  // it does not exist
    }
}

long postgresRowCount(const EnvProfiles& profiles, const QString& table) {
    db::Connection c = openPostgres(profiles);
    db::Recordset count =
        c.query(QStringLiteral("SELECT count(*) FROM ") + sql::doubleQuotedName(table));
    return static_cast<long>(count.value(0).asInteger());
}

}  // namespace dorvane::bench
