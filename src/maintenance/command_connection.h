#pragma once
// The connection a table command makes at its first line: events run while it waits on
// its server, so the window goes on meanwhile.

#include <optional>

#include "core/platform.h"
#include "db/odbc/connection.h"

namespace dorvane::maintenance {

inline void makeConnection(std::optional<db::Connection>& connection, core::Platform& platform) {
    connection.emplace();
    connection->setWhileWaiting([&platform] { platform.processEvents(); });
}

}  // namespace dorvane::maintenance
