#pragma once
// The database work the two screens ask for: the silent connection tests and the
// catalogues. The windows use the ODBC one; tests may wrap it to inject failures.

#include <QStringList>

#include "core/controls.h"
#include "core/platform.h"
#include "db/connection_strings.h"

namespace dorvane::screens {

class DatabaseGateway {
  public:
    virtual ~DatabaseGateway() = default;
    virtual bool openPostgresSucceeds(const db::PostgresProfile& profile) = 0;
    virtual bool openMssqlSucceeds(const db::MssqlProfile& profile) = 0;
    virtual QStringList mssqlTableNames(const db::MssqlProfile& profile) = 0;
    virtual QStringList postgresTableNames(const db::PostgresProfile& profile) = 0;
};

class OdbcDatabaseGateway : public DatabaseGateway {
  public:
    bool openPostgresSucceeds(const db::PostgresProfile& profile) override;
    bool openMssqlSucceeds(const db::MssqlProfile& profile) override;
    QStringList mssqlTableNames(const db::MssqlProfile& profile) override;
    QStringList postgresTableNames(const db::PostgresProfile& profile) override;
};

// Replaces the list's entries with the names, letting the event loop run before each
// one is added.
void showTableNames(core::ListBox& list, const QStringList& names, core::Platform& platform);

}  // namespace dorvane::screens
