#pragma once
// "Fast copy" against the copy row by row: the same rows, both directions, in one run.

#include <QStringList>

#include "bench_servers.h"
#include "shapes.h"

namespace dorvane::bench {

// `rowByRow`: the copy row by row as well, on the same rows. Each shape named (all when
// none is) gets its share of `narrowRows`, as its rows stand to the narrow shape's.
void benchFastCopy(const EnvProfiles& profiles, long narrowRows, bool rowByRow,
                   const QStringList& shapeNames);
void benchFastCopy(const EnvProfiles& profiles, const Shape& shape, long rows, bool rowByRow);

}  // namespace dorvane::bench
