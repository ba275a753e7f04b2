#pragma once
// The database work the two screens ask for: the silent connection tests and the
// catalogues. The windows use the ODBC one; tests may wrap it to inject failures. Each
// runs `whileWaiting` while it waits on the server (see db::Connection::setWhileWaiting).

#include <QStringList>

#include "core/controls.h"
#include "core/platform.h"
#include "db/odbc/waiting_call.h"
#include "db/values/connection_strings.h"

namespace dorvane::screens {

class DatabaseGateway {
  public:
    virtual ~DatabaseGateway() = default;
    virtual bool openPostgresSucceeds(const db::PostgresProfile& profile,
                                      const db::WhileWaiting& whileWaiting) = 0;
    virtual bool openMssqlSucceeds(const db::MssqlProfile& profile,
                                   const db::WhileWaiting& whileWaiting) = 0;
    virtual QStringList mssqlTableNames(const db::MssqlProfile& profile,
                                        const db::WhileWaiting& whileWaiting) = 0;
    virtual QStringList postgresTableNames(const db::PostgresProfile& profile,
                                           const db::WhileWaiting& whileWaiting) = 0;
};

class OdbcDatabaseGateway : public DatabaseGateway {
  public:
    bool openPostgresSucceeds(const db::PostgresProfile& profile,
                              const db::WhileWaiting& whileWaiting) override;
    bool openMssqlSucceeds(const db::MssqlProfile& profile,
                           const db::WhileWaiting& whileWaiting) override;
    QStringList mssqlTableNames(const db::MssqlProfile& profile,
                                const db::WhileWaiting& whileWaiting) override;
    QStringList postgresTableNames(const db::PostgresProfile& profile,
                                   const db::WhileWaiting& whileWaiting) override;
};

// Replaces the list's entries with the names, letting the event loop run before each
// one is added.
void showTableNames(core::ListBox& list, const QStringList& names, core::Platform& platform);

}  // namespace dorvane::screens
