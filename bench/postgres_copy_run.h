#pragma once
// Rows into PostgreSQL three ways, on the same rows read from a PostgreSQL table: one
// INSERT per row over ODBC, COPY ... FROM STDIN through the libpq session, and, for
// scale, the server's own COPY from a file holding the same COPY text.

#include <QString>

#include "bench_servers.h"

namespace dorvane::bench {

struct PostgresCopyFigures {
    long rows = 0;
    // Making the statements or the COPY rows, and handing them to the server (for COPY
    // FROM STDIN with the end of the copy and the commit).
    double insertBuildSeconds = 0, insertSendSeconds = 0;
    double copyBuildSeconds = 0, copySendSeconds = 0;
    double fileSeconds = 0;  // the server reading the file; negative when it may not
    QString fileRefusal;     // why it may not
};

// Copies `source` into three new tables named after it, from its rows held in memory;
// drops them again.
PostgresCopyFigures runPostgresCopy(const EnvProfiles& profiles, const QString& source);

}  // namespace dorvane::bench
