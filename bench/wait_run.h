#pragma once
// The event loop while a command waits on a server: Delete Tables and a copy, each on a
// table that another session holds for a few seconds, and one 50 MB value read through a
// recordset as a copy reads its source. The longest gap between two event processings
// counts the time a statement is in flight.

#include <QString>
#include <vector>

#include "bench_platform.h"
#include "bench_servers.h"

namespace dorvane::bench {

enum class Server { Postgres, SqlServer };

struct WaitFigures {
    double seconds = 0;
    StallFigures stalls;
    std::vector<QString> messages;  // anything shown means the command failed
};

// How long the other session holds the table.
constexpr int kHoldSeconds = 3;

// "Delete Table/s" on `table`, which another session has dropped in a transaction it
// rolls back after kHoldSeconds: the command's DROP waits until then.
WaitFigures deleteHeldTable(Server server, const EnvProfiles& profiles, const QString& table);
// A copy of `table` from `source` to the other server while another session holds it as
// above: reading the source waits.
WaitFigures copyHeldSource(Server source, const EnvProfiles& profiles, const QString& table);
// Opens a connection, reads the one row of `table` (an integer and a large text) ahead as a
// copy does, and closes.
WaitFigures readLargeValue(Server server, const EnvProfiles& profiles, const QString& table);

}  // namespace dorvane::bench
