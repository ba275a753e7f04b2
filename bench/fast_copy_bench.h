#pragma once
// "Fast copy" against the copy row by row: the same rows, both directions, in one run.

#include <QStringList>

#include "bench_servers.h"
#include "shapes.h"

namespace dorvane::bench {

// `rowByRow`: the copy row by row as well, on the same rows. Each shape named (all when
// none is) gets its share of `narrowRows`, as its rows stand to the narrow shape's.
// `figureLines`: each rate also as a line "figure SHAPE DIRECTION COPY ROWS/S", for
// scripts (bench-compare.sh) to read.
void benchFastCopy(const EnvProfiles& profiles, long narrowRows, bool rowByRow, bool natural,
                   const QStringList& shapeNames, bool figureLines = false);
void benchFastCopy(const EnvProfiles& profiles, const Shape& shape, long rows, bool rowByRow,
                   bool natural,
                   bool figureLines = false);

}  // namespace dorvane::bench
