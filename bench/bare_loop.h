#pragma once
// The reference a copy is held against: the same INSERT statements, made by the same
// statement builders from the same source rows, sent one at a time over the same
// driver with nothing else around them. Statements are built in chunks before each
// chunk is timed, so only sending counts.

#include <QString>

#include "bench_servers.h"
#include "copy_run.h"

namespace dorvane::bench {

struct BareFigures {
    long rows = 0;
    double seconds = 0;                // sending only
    double insertMicros = 0;           // mean time of one INSERT inside the driver
    double insertProcessorMicros = 0;  // of that, the sending thread's own processor time
    double betweenMicros = 0;          // the rest of the sending time, per INSERT
    double stolenShare = 0;            // of the machine's processor time while sending
};

// Reads `source` from the direction's source server and inserts its rows into a new
// table `target` on the other server.
BareFigures runBareLoop(Direction direction, const EnvProfiles& profiles, const QString& source,
                        const QString& target);

}  // namespace dorvane::bench
