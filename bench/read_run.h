#pragma once
// Memory while reading a large table: a Recordset opened on it and walked to the end,
// as a copy reads its source.

#include <QString>

#include "db/odbc/connection.h"

namespace dorvane::bench {

struct ReadFigures {
    long rows = 0;
    double openSeconds = 0;  // the open reads every row
    double seconds = 0;      // open and walk
    double cpuShare = 0;     // this process's CPU time over wall time
    double peakMiB = 0;
    double spilledMiB = 0;  // the size of the recordset's temporary file, 0 when none
};

ReadFigures readThrough(db::Connection& connection, const QString& select);

}  // namespace dorvane::bench
