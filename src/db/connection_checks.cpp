#include "db/connection_checks.h"

#include "db/connection.h"
#include "db/db_error.h"

namespace dorvane::db {
namespace {
bool opens(const QString& connectionString) {
    try {
        Connection connection;
        connection.open(connectionString);
        connection.close();
        return true;
    } catch (const DbError&) {
        return false;
    }
}
}  // namespace

bool openMssqlSucceeds(const MssqlProfile& profile) {
    return opens(mssqlConnectionString(profile));
}

bool openPostgresSucceeds(const PostgresProfile& profile) {
    return opens(postgresConnectionString(profile));
}

}  // namespace dorvane::db
