#pragma once
// Connection details of the servers the integration tests use, read from the
// environment that scripts/with-servers.sh sets. A missing variable fails the test:
// a server never drops out of the run silently.

#include <QString>
#include <vector>

#include "core/settings_store.h"
#include "db/values/connection_strings.h"

namespace dorvane::testing {

db::PostgresProfile postgresProfile();
db::MssqlProfile mssqlProfile();

// Both profiles in the settings store, as a user would have typed them.
void storeServerProfiles(core::SettingsStore& store);

// Profiles as the connection screen would hold them.
class EnvProfiles : public db::ProfileSource {
  public:
    db::PostgresProfile postgres() const override { return pg; }
    db::MssqlProfile mssql() const override { return ms; }
    db::PostgresProfile pg = postgresProfile();
    db::MssqlProfile ms = mssqlProfile();
};

// Runs statements directly for test setup, failing the test on error.
void execPostgres(const QString& sql);
void execMssql(const QString& sql);

// Whether a table of exactly this name exists (SQL Server: as the server resolves it).
bool postgresTableExists(const QString& name);
bool mssqlTableExists(const QString& name);
// Number of rows of a table.
long long postgresRowCount(const QString& name);
long long mssqlRowCount(const QString& name);

// A name unique to this test run, for tables a test creates.
QString uniqueName(const QString& stem);

// Drops the tables of these names on both servers, where they exist, when it goes out of
// scope: a test leaves no table behind, however it ends.
class TablesDroppedAtEnd {
  public:
    TablesDroppedAtEnd() = default;
    explicit TablesDroppedAtEnd(const QString& table) { tables_.push_back(table); }
    TablesDroppedAtEnd(const TablesDroppedAtEnd&) = delete;
    TablesDroppedAtEnd& operator=(const TablesDroppedAtEnd&) = delete;
    ~TablesDroppedAtEnd();

    void add(const QString& table) { tables_.push_back(table); }

  private:
    std::vector<QString> tables_;
};

}  // namespace dorvane::testing
