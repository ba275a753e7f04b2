#include "screens/database_gateway.h"

#include "db/table_catalogues.h"
#include "db/connection_checks.h"

namespace dorvane {

bool OdbcDatabaseGateway::openPostgresSucceeds(const db::PostgresProfile& profile) {
    return db::openPostgresSucceeds(profile);
}

bool OdbcDatabaseGateway::openMssqlSucceeds(const db::MssqlProfile& profile) {
    return db::openMssqlSucceeds(profile);
}

void OdbcDatabaseGateway::listMssqlTables(const db::MssqlProfile& profile, ListBox& list,
                                          Platform& platform) {
    db::listMssqlTables(profile, list, platform);
}

void OdbcDatabaseGateway::listPostgresTables(const db::PostgresProfile& profile, ListBox& list,
                                             Platform& platform) {
    db::listPostgresTables(profile, list, platform);
}

}  // namespace dorvane
