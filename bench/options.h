#pragma once
// The benchmark's command line.

#include <QStringList>
#include <optional>

namespace dorvane::bench {

struct Options {
    double scale = 1.0;          // rows of every copy shape times this
    QStringList shapes;          // empty: all
    bool copies = true;          // --no-copy skips them
    int repeats = 1;             // each copy and bare loop runs this often; the fastest counts
    double minSeconds = 0;       // and more often, until the copies add up to this long
    long memoryRows = 0;         // rows of the large-table read; 0 skips it
    long mssqlMemoryRows = -1;   // the same for SQL Server; -1: as memoryRows
    bool mssqlSnapshots = true;  // --no-snapshot: the SQL Server database does not allow them
    bool postgresCopy = false;   // --pg-copy: COPY FROM STDIN against INSERTs, per shape
    bool waits = false;          // --waits: the event loop while commands wait on servers
    long fastRows = 0;           // rows of the "Fast copy" comparison; 0 skips it
    bool fastOnly = false;       // --fast-only: that comparison without the copy row by row
    bool natural = false;        // --natural: and each fast copy again with "Natural types"
    bool figureLines = false;    // --figures: that comparison's rates also one per line
};

// std::nullopt after printing the usage (for --help or a wrong argument).
std::optional<Options> parseOptions(const QStringList& arguments);

}  // namespace dorvane::bench
