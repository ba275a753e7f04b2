#pragma once
// What the benchmark reads about its own process on Linux: CPU time used so far and the
// peak resident set, which can be reset so each scenario reports its own peak.

#include <cstdint>

namespace dorvane::bench {

// User plus system CPU time of this process, in seconds.
double cpuSeconds();

// VmHWM in MiB: the largest resident set since start or since the last reset.
double peakResidentMiB();
// Starts a fresh peak from the current resident set (Linux 4.0+; ignored elsewhere).
void resetPeakResident();

}  // namespace dorvane::bench
