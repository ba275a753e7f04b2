#include "db/odbc/connection_checks.h"

#include "db/odbc/connection.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {
bool opens(const QString& connectionString, const WhileWaiting& whileWaiting) {
    try {
        Connection connection;
        connection.setWhileWaiting(whileWaiting);
        connection.open(connectionString);
        connection.close();
        return true;
    } catch (const DbError&) {
        return false;
    }
}
}  // namespace

bool openMssqlSucceeds(const MssqlProfile& profile, const WhileWaiting& whileWaiting) {
    return opens(mssqlConnectionString(profile), whileWaiting);
}

bool openPostgresSucceeds(const PostgresProfile& profile, const WhileWaiting& whileWaiting) {
    return opens(postgresConnectionString(profile), whileWaiting);
}

}  // namespace dorvane::db
