#include "screens/database_gateway.h"

#include "db/odbc/connection_checks.h"
#include "db/odbc/table_catalogues.h"

namespace dorvane::screens {

bool OdbcDatabaseGateway::openPostgresSucceeds(const db::PostgresProfile& profile,
                                               const db::WhileWaiting& whileWaiting) {
    return db::openPostgresSucceeds(profile, whileWaiting);
}

bool OdbcDatabaseGateway::openMssqlSucceeds(const db::MssqlProfile& profile,
                                            const db::WhileWaiting& whileWaiting) {
    return db::openMssqlSucceeds(profile, whileWaiting);
}

QStringList OdbcDatabaseGateway::mssqlTableNames(const db::MssqlProfile& profile,
                                                 const db::WhileWaiting& whileWaiting) {
    return db::mssqlTableNames(profile, whileWaiting);
}

QStringList OdbcDatabaseGateway::postgresTableNames(const db::PostgresProfile& profile,
                                                    const db::WhileWaiting& whileWaiting) {
    return db::postgresTableNames(profile, whileWaiting);
}

void showTableNames(core::ListBox& list, const QStringList& names, core::Platform& platform) {
    list.clear();
    for (const QString& name : names) {
        platform.processEvents();
        list.add(name);
    }
}

}  // namespace dorvane::screens
