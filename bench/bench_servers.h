#pragma once
// The servers scripts/with-servers.sh started, from the DORVANE_PG_* and DORVANE_MSSQL_*
// variables it exports, and the few statements the benchmark runs on them directly.

#include <QString>

#include "db/odbc/connection.h"
#include "db/values/connection_strings.h"

namespace dorvane::bench {

class EnvProfiles : public db::ProfileSource {
  public:
    EnvProfiles();  // throws std::runtime_error when a variable is missing
    db::PostgresProfile postgres() const override { return pg_; }
    db::MssqlProfile mssql() const override { return ms_; }

  private:
    db::PostgresProfile pg_;
    db::MssqlProfile ms_;
};

db::Connection openPostgres(const EnvProfiles& profiles);
db::Connection openMssql(const EnvProfiles& profiles);

// Drops the table if it is there; other failures are thrown.
void dropPostgresTable(const EnvProfiles& profiles, const QString& table);
void dropMssqlTable(const EnvProfiles& profiles, const QString& table);

long postgresRowCount(const EnvProfiles& profiles, const QString& table);

}  // namespace dorvane::bench
