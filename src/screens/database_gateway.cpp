#include "screens/database_gateway.h"

#include "db/connection_checks.h"
#include "db/table_catalogues.h"

namespace dorvane::screens {

bool OdbcDatabaseGateway::openPostgresSucceeds(const db::PostgresProfile& profile) {
    return db::openPostgresSucceeds(profile);
}

bool OdbcDatabaseGateway::openMssqlSucceeds(const db::MssqlProfile& profile) {
    return db::openMssqlSucceeds(profile);
}

QStringList OdbcDatabaseGateway::mssqlTableNames(const db::MssqlProfile& profile) {
    return db::mssqlTableNames(profile);
}

QStringList OdbcDatabaseGateway::postgresTableNames(const db::PostgresProfile& profile) {
    return db::postgresTableNames(profile);
}

void showTableNames(core::ListBox& list, const QStringList& names, core::Platform& platform) {
    list.clear();
    for (const QString& name : names) {
        platform.processEvents();
        list.add(name);
    }
}

}  // namespace dorvane::screens
