#pragma once
// One copy through the real command code: sendTablesToSqlServer or sendTablesToPostgres
// on in-memory controls, with the table selected in its list and the benchmark's
// platform watching the event loop.

#include <QString>
#include <vector>

#include "bench_platform.h"
#include "bench_servers.h"

namespace dorvane::bench {

enum class Direction { ToSqlServer, ToPostgres };

struct CopyFigures {
    long rows = 0;
    double seconds = 0;
    double cpuShare = 0;     // this process's CPU time over wall time
    double waitSeconds = 0;  // waiting on a server: statements in flight and connecting
    double peakMiB = 0;
    StallFigures stalls;
    double insertMicros = 0;           // mean time of one INSERT inside the driver
    double insertProcessorMicros = 0;  // of that, the sending thread's own processor time
    double beforeFirstMs = 0;          // from the command's start to the first INSERT
    double afterLastMs = 0;            // from the last INSERT's end to the command's end
    double betweenMicros = 0;          // from one INSERT's end to the next one's start, on average
    double stolenShare = 0;            // of the machine's processor time, taken by the hypervisor
    std::vector<QString> messages;     // anything shown means the copy failed
};

// Copies `table` from one server to the other under the same name; `fast` ticks the
// direction's "Fast copy", `natural` its "Natural types".
CopyFigures runCopy(Direction direction, const EnvProfiles& profiles, const QString& table,
                    long rows, bool fast = false, bool natural = false);

}  // namespace dorvane::bench
