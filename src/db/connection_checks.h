#pragma once
// Whether a connection profile opens, for the connection screen's test buttons.

#include "db/connection_strings.h"

namespace dorvane::db {

// True when a connection opens with the profile's string; any failure gives false and
// shows nothing. The connection is closed again before returning.
bool openMssqlSucceeds(const MssqlProfile& profile);
bool openPostgresSucceeds(const PostgresProfile& profile);

}  // namespace dorvane::db
