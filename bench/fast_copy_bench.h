#pragma once
// "Fast copy" against the copy row by row: the same rows, both directions, in one run.

#include "bench_servers.h"

namespace dorvane::bench {

// `rowByRow`: the copy row by row as well, on the same rows.
void benchFastCopy(const EnvProfiles& profiles, long rows, bool rowByRow);

}  // namespace dorvane::bench
