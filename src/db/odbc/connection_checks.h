#pragma once
// Whether a connection profile opens, for the connection screen's test buttons.

#include "db/odbc/waiting_call.h"
#include "db/values/connection_strings.h"

namespace dorvane::db {

// True when a connection opens with the profile's string; any failure gives false and
// shows nothing. The connection is closed again before returning. `whileWaiting` runs
// while the server is waited for (see Connection::setWhileWaiting).
bool openMssqlSucceeds(const MssqlProfile& profile, const WhileWaiting& whileWaiting = {});
bool openPostgresSucceeds(const PostgresProfile& profile, const WhileWaiting& whileWaiting = {});

}  // namespace dorvane::db
