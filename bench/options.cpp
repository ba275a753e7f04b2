#include "options.h"

#include <cstdio>

namespace dorvane::bench {
namespace {

void printUsage() {
    std::fputs(
        "usage: dorvane_bench [--scale F] [--repeat N] [--min-seconds S] [--shapes "
        "narrow,wide,text,numbers]\n"
        "                     [--no-copy] [--memory-rows N] [--mssql-memory-rows N] "
        "[--no-snapshot] [--waits]\n"
        "                     [--pg-copy] [--fast-rows N [--fast-only] [--natural] [--figures]]\n"
        "  --scale F             rows of each copy times F (0.1 for a quick try)\n"
        "  --repeat N            run each copy N times and keep the fastest (default 1)\n"
        "  --min-seconds S       more turns for short copies, until a copy's turns add up to\n"
        "                        S seconds (at most 25 turns; default 0)\n"
        "  --shapes LIST         which copies to run (default: all but numbers)\n"
        "  --no-copy             run no copies\n"
        "  --memory-rows N       read an N-row table through a recordset on each server\n"
        "  --mssql-memory-rows N the SQL Server table's rows, when they should differ\n"
        "  --no-snapshot         leave snapshot isolation off in the SQL Server database, so\n"
        "                        copies from it read the whole table before the first INSERT\n"
        "  --pg-copy             rows into PostgreSQL by COPY FROM STDIN (libpq) against one\n"
        "                        INSERT per row, and by the server's COPY from a file\n"
        "  --waits               the event loop while commands wait on a server: a DROP and a\n"
        "                        copy on tables another session holds, a 50 MiB value read\n"
        "                        (--repeat N: each N times)\n"
        "  --fast-rows N         copy N narrow rows (wide: a fifth; --shapes narrow,wide) with\n"
        "                        \"Fast copy\" and row by row, both ways\n"
        "  --fast-only           only with \"Fast copy\" (for tables too large to copy row by "
        "row)\n"
        "  --natural             each fast copy again with \"Natural types\" ticked\n"
        "  --figures             each of those rates also as a line \"figure SHAPE DIRECTION\n"
        "                        COPY ROWS/S\" (to-sqlserver, to-postgresql; fast, by-row, "
        "read)\n",
        stderr);
}

}  // namespace

std::optional<Options> parseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (name == u"--no-copy") {
            options.copies = false;
        } else if (name == u"--pg-copy") {
            options.postgresCopy = true;
        } else if (name == u"--waits") {
            options.waits = true;
        } else if (name == u"--no-snapshot") {
            options.mssqlSnapshots = false;
        } else if (name == u"--scale" && hasValue) {
            options.scale = arguments[++i].toDouble(&ok);
            ok = ok && options.scale > 0;
        } else if (name == u"--repeat" && hasValue) {
            options.repeats = arguments[++i].toInt(&ok);
            ok = ok && options.repeats > 0;
        } else if (name == u"--min-seconds" && hasValue) {
            options.minSeconds = arguments[++i].toDouble(&ok);
            ok = ok && options.minSeconds >= 0;
        } else if (name == u"--shapes" && hasValue) {
            options.shapes = arguments[++i].split(u',', Qt::SkipEmptyParts);
        } else if (name == u"--memory-rows" && hasValue) {
            options.memoryRows = arguments[++i].toLong(&ok);
        } else if (name == u"--fast-only") {
            options.fastOnly = true;
        } else if (name == u"--natural") {
            options.natural = true;
        } else if (name == u"--figures") {
            options.figureLines = true;
        } else if (name == u"--fast-rows" && hasValue) {
            options.fastRows = arguments[++i].toLong(&ok);
        } else if (name == u"--mssql-memory-rows" && hasValue) {
            options.mssqlMemoryRows = arguments[++i].toLong(&ok);
        } else {
            ok = false;
        }
        if (!ok) {
            printUsage();
            return std::nullopt;
        }
    }
    if (options.mssqlMemoryRows < 0) options.mssqlMemoryRows = options.memoryRows;
    return options;
}

}  // namespace dorvane::bench
