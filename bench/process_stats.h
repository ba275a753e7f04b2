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

// The whole machine's processor time so far, in clock ticks (/proc/stat; zero elsewhere):
// all of it, and what the hypervisor gave to other guests while this one wanted it.
struct HostTicks {
    std::uint64_t total = 0;
    std::uint64_t stolen = 0;
    HostTicks& operator+=(const HostTicks& other);
};
HostTicks hostTicks();
HostTicks operator-(const HostTicks& later, const HostTicks& earlier);
// The stolen share of the processor time in `span`; 0 when nothing was counted.
double stolenShare(const HostTicks& span);

}  // namespace dorvane::bench
