#pragma once
// The database work the two screens ask for: the silent connection tests and the
// catalogues. The windows use the ODBC one; tests may wrap it to inject failures.

#include "core/controls.h"
#include "core/platform.h"
#include "db/connection_strings.h"

namespace dorvane {

class DatabaseGateway {
  public:
    virtual ~DatabaseGateway() = default;
    virtual bool openPostgresSucceeds(const db::PostgresProfile& profile) = 0;
    virtual bool openMssqlSucceeds(const db::MssqlProfile& profile) = 0;
    virtual void listMssqlTables(const db::MssqlProfile& profile, ListBox& list,
                                 Platform& platform) = 0;
    virtual void listPostgresTables(const db::PostgresProfile& profile, ListBox& list,
                                    Platform& platform) = 0;
};

class OdbcDatabaseGateway : public DatabaseGateway {
  public:
    bool openPostgresSucceeds(const db::PostgresProfile& profile) override;
    bool openMssqlSucceeds(const db::MssqlProfile& profile) override;
    void listMssqlTables(const db::MssqlProfile& profile, ListBox& list,
                         Platform& platform) override;
    void listPostgresTables(const db::PostgresProfile& profile, ListBox& list,
                            Platform& platform) override;
};

}  // namespace dorvane
