// Figures for the two copies and for reading large tables; see docs/benchmarks.md.
// Run through scripts/bench.sh, which starts the servers.

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <vector>

#include "bare_loop.h"
#include "copy_run.h"
#include "fast_copy_bench.h"
#include "options.h"
#include "postgres_copy_run.h"
#include "read_run.h"
#include "shapes.h"
#include "standin_fill.h"
#include "wait_run.h"

namespace dorvane::bench {
namespace {

const char* directionName(Direction d) {
    return d == Direction::ToSqlServer ? "to SQL Server" : "to PostgreSQL";
}

struct Turn {
    double ratio = 0;         // copy rate over bare rate
    double ownSideRatio = 0;  // the same, with the copy's INSERTs timed as the bare loop's
    double copyStolen = 0, bareStolen = 0;
};

// The copy's rate had each of its INSERTs taken as long inside the driver as in the bare
// loop: what the copy adds on its own side (connecting, reading, building, handing over),
// without the server's answer time, which moves with whatever else the machine does.
double ownSideRatio(const CopyFigures& copy, const BareFigures& bare) {
    const double rows = static_cast<double>(copy.rows);
    const double outsideInserts = copy.seconds - rows * copy.insertMicros / 1e6;
    return bare.seconds / (outsideInserts + rows * bare.insertMicros / 1e6);
}

void printCopyHeader() {
    std::printf("%-7s %-14s %7s %7s %8s %8s %6s %6s %5s %7s %8s %8s %8s\n", "shape", "direction",
                "rows", "seconds", "rows/s", "bare r/s", "ratio", "median", "cpu%", "peakMiB",
                "stall ms", "non-wait", "wait ms");
}

// The median of the turns' own ratios: less moved by one lucky run than the fastest of each.
double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printCopy(const QString& shape, Direction d, const CopyFigures& copy, const BareFigures& bare,
               const std::vector<Turn>& turns) {
    std::vector<double> turnRatios, ownSideRatios;
    for (const Turn& turn : turns) {
        turnRatios.push_back(turn.ratio);
        ownSideRatios.push_back(turn.ownSideRatio);
    }
    const double rate = copy.rows / copy.seconds;
    const double bareRate = bare.rows / bare.seconds;
    std::printf("%-7s %-14s %7ld %7.2f %8.0f %8.0f %6.3f %6.3f %5.1f %7.1f %8.1f %8.1f %8.1f\n",
                qPrintable(shape), directionName(d), copy.rows, copy.seconds, rate, bareRate,
                rate / bareRate, medianOf(turnRatios), copy.cpuShare * 100, copy.peakMiB,
                copy.stalls.longestMs, copy.stalls.longestOutsideSqlMs,
                copy.stalls.longestStatementMs);
    std::printf("%-22s waiting on servers %.2f s of %.2f s; longest non-wait gap ended at %s\n", "",
                copy.waitSeconds, copy.seconds, qPrintable(copy.stalls.longestOutsideSqlWhere));
    std::printf(
        "%-22s one INSERT: %.0f us in the copy (%.0f us processor), %.0f us bare (%.0f us); "
        "between two: %.1f us, %.1f us bare;\n%-22s before the first INSERT %.0f ms, after the "
        "last %.0f ms\n",
        "", copy.insertMicros, copy.insertProcessorMicros, bare.insertMicros,
        bare.insertProcessorMicros, copy.betweenMicros, bare.betweenMicros, "", copy.beforeFirstMs,
        copy.afterLastMs);
    std::printf("%-22s turns' ratios:", "");
    for (double ratio : turnRatios) std::printf(" %.3f", ratio);
    std::printf("\n%-22s with the bare loop's INSERT times: median %.3f, turns", "",
                medianOf(ownSideRatios));
    for (double ratio : ownSideRatios) std::printf(" %.3f", ratio);
    // A turn whose copy and bare loop lost different shares to other guests on the host
    // says more about the host than about the copy.
    std::printf("\n%-22s stolen by the host, copy/bare %%:", "");
    for (const Turn& turn : turns)
        std::printf(" %.0f/%.0f", turn.copyStolen * 100, turn.bareStolen * 100);
    std::printf("\n");
    for (const QString& m : copy.messages) std::printf("  shown: %s\n", qPrintable(m));
    std::fflush(stdout);
}

struct Measured {
    CopyFigures copy;
    BareFigures bare;
    std::vector<Turn> turns;
};

// Copy and bare loop take turns, and the fastest of each counts: on a shared machine
// the fastest run is the one least disturbed, and taking turns spreads a disturbance
// over both. Every other turn the bare loop goes first, so that neither side always
// meets the server's after-work (autovacuum, freed pages) of the other. Stalls and
// peaks are the worst of all runs. A short copy takes more turns, until its turns add up
// to `minSeconds`: one slow second moves a one-second copy more than a minute-long one.
Measured bestOf(int repeats, double minSeconds, const std::function<CopyFigures()>& copyOnce,
                const std::function<BareFigures()>& bareOnce) {
    constexpr int kMostTurns = 25;
    Measured best;
    double copySeconds = 0;
    for (int i = 0; i < repeats || (copySeconds < minSeconds && i < kMostTurns); ++i) {
        const bool bareFirst = i % 2 == 1;
        BareFigures bare;
        if (bareFirst) bare = bareOnce();
        CopyFigures copy = copyOnce();
        if (!bareFirst) bare = bareOnce();
        copySeconds += copy.seconds;
        best.turns.push_back({(copy.rows / copy.seconds) / (bare.rows / bare.seconds),
                              ownSideRatio(copy, bare), copy.stolenShare, bare.stolenShare});
        if (i == 0 || bare.seconds < best.bare.seconds) best.bare = bare;
        const StallFigures& was = best.copy.stalls;
        const bool laterOutside =
            i == 0 || copy.stalls.longestOutsideSqlMs > was.longestOutsideSqlMs;
        const StallFigures worst{
            std::max(was.longestMs, copy.stalls.longestMs),
            laterOutside ? copy.stalls.longestOutsideSqlMs : was.longestOutsideSqlMs,
            std::max(was.longestStatementMs, copy.stalls.longestStatementMs), copy.stalls.yields,
            laterOutside ? copy.stalls.longestOutsideSqlWhere : was.longestOutsideSqlWhere};
        const double peak = std::max(best.copy.peakMiB, copy.peakMiB);
        std::vector<QString> messages = best.copy.messages;
        messages.insert(messages.end(), copy.messages.begin(), copy.messages.end());
        if (i == 0 || copy.seconds < best.copy.seconds) best.copy = std::move(copy);
        best.copy.stalls = worst;
        best.copy.peakMiB = peak;
        best.copy.messages = std::move(messages);
    }
    return best;
}

void checkRows(const EnvProfiles& profiles, const QString& table, long rows) {
    const long arrived = postgresRowCount(profiles, table);
    if (arrived != rows)
        std::printf("  %s holds %ld rows, not %ld\n", qPrintable(table), arrived, rows);
}

// Source in PostgreSQL, copied to SQL Server, renamed there (or made there, for shapes
// that say so), and copied back under the new name; each copy followed by its bare
// loop into a table of its own.
void benchShape(const EnvProfiles& profiles, const Shape& shape, long rows,
                const Options& options) {
    const QString table = QStringLiteral("bench_") + shape.name;
    const QString back = table + QStringLiteral("_back");
    const QString bareOut = table + QStringLiteral("_bare_out");
    const QString bareBack = table + QStringLiteral("_bare_back");
    for (const QString& t : {table, back, bareBack}) dropPostgresTable(profiles, t);
    for (const QString& t : {table, back, bareOut}) dropMssqlTable(profiles, t);
    openPostgres(profiles).execute(createSourceStatement(shape, table, rows));

    const Measured out = bestOf(
        options.repeats, options.minSeconds,
        [&] {
            dropMssqlTable(profiles, table);
            return runCopy(Direction::ToSqlServer, profiles, table, rows);
        },
        [&] {
            dropMssqlTable(profiles, bareOut);
            return runBareLoop(Direction::ToSqlServer, profiles, table, bareOut);
        });
    printCopy(shape.name, Direction::ToSqlServer, out.copy, out.bare, out.turns);
    dropMssqlTable(profiles, bareOut);
    dropPostgresTable(profiles, table);

    if (shape.mssqlColumns.isEmpty()) {
        openMssql(profiles).execute(QStringLiteral("EXEC sp_rename '%1', '%2'").arg(table, back));
    } else {
        dropMssqlTable(profiles, table);
        makeMssqlTable(profiles, back, shape.mssqlColumns, shape.mssqlSelectList, rows);
    }
    const Measured in = bestOf(
        options.repeats, options.minSeconds,
        [&] {
            dropPostgresTable(profiles, back);
            CopyFigures copy = runCopy(Direction::ToPostgres, profiles, back, rows);
            checkRows(profiles, back, rows);
            return copy;
        },
        [&] {
            dropPostgresTable(profiles, bareBack);
            BareFigures bare = runBareLoop(Direction::ToPostgres, profiles, back, bareBack);
            checkRows(profiles, bareBack, rows);
            return bare;
        });
    printCopy(shape.name, Direction::ToPostgres, in.copy, in.bare, in.turns);

    for (const QString& t : {back, bareBack}) dropPostgresTable(profiles, t);
    dropMssqlTable(profiles, back);
}

void benchPostgresCopy(const EnvProfiles& profiles, const Options& options) {
    std::printf(
        "\nrows into PostgreSQL (scale %g): one INSERT per row over ODBC, COPY FROM STDIN\n"
        "through libpq, and the server's COPY from a file of the same rows; build: making\n"
        "the statements or rows, send: handing them over (COPY: waiting for the rows\n"
        "before to go, which overlaps building, then the end and the commit)\n",
        options.scale);
    std::printf("%-7s %7s %12s %12s %12s %12s %8s %12s\n", "shape", "rows", "INSERT r/s",
                "(with build)", "STDIN r/s", "(with build)", "speed-up", "file r/s");
    for (const Shape& shape : shapes()) {
        if (!chosen(shape, options.shapes)) continue;
        const long rows = std::max(1L, static_cast<long>(shape.rows * options.scale));
        const QString source = QStringLiteral("bench_pgcopy_") + shape.name;
        dropPostgresTable(profiles, source);
        openPostgres(profiles).execute(createSourceStatement(shape, source, rows));
        const PostgresCopyFigures f = runPostgresCopy(profiles, source);
        dropPostgresTable(profiles, source);
        const double n = static_cast<double>(f.rows);
        const double insertRate = n / (f.insertBuildSeconds + f.insertSendSeconds);
        const double copyRate = n / (f.copyBuildSeconds + f.copySendSeconds);
        std::printf("%-7s %7ld %12.0f %12.0f %12.0f %12.0f %8.1f ", qPrintable(shape.name), f.rows,
                    n / f.insertSendSeconds, insertRate, n / f.copySendSeconds, copyRate,
                    copyRate / insertRate);
        if (f.fileSeconds < 0)
            std::printf("%12s (%s)\n", "n/a", qPrintable(f.fileRefusal));
        else
            std::printf("%12.0f\n", n / f.fileSeconds);
        std::fflush(stdout);
    }
}

void printRead(const char* server, const ReadFigures& f) {
    std::printf(
        "%-22s %9ld rows  open %7.2f s  total %7.2f s  cpu %5.1f%%  peak %7.1f MiB  "
        "temporary file %7.1f MiB\n",
        server, f.rows, f.openSeconds, f.seconds, f.cpuShare * 100, f.peakMiB, f.spilledMiB);
    std::fflush(stdout);
}

void benchMemory(const EnvProfiles& profiles, long pgRows, long mssqlRows) {
    const QString table = QStringLiteral("bench_memory");
    const Shape& narrow = shapes().front();
    std::printf(
        "\nreading a large table (%s) through a recordset; rows -1: the count "
        "before the first row was wrong\n",
        qPrintable(narrow.columns));
    dropPostgresTable(profiles, table);
    openPostgres(profiles).execute(createSourceStatement(narrow, table, pgRows));
    for (const bool ahead : {false, true}) {
        db::Connection pg = openPostgres(profiles);
        pg.setReadAhead(ahead);
        printRead(ahead ? "PostgreSQL, read ahead" : "PostgreSQL",
                  readThrough(pg, QStringLiteral("SELECT * FROM bench_memory")));
    }
    dropPostgresTable(profiles, table);

    // psqlODBC's window is counted in rows, so what it holds grows with the rows' width.
    constexpr long kLargeRows = 500;
    openPostgres(profiles).execute(
        QStringLiteral("CREATE TABLE %1 AS SELECT g AS id, repeat(md5(g::text), 32768) AS body "
                       "FROM generate_series(1, %2) g")
            .arg(table)
            .arg(kLargeRows));
    {
        db::Connection pg = openPostgres(profiles);
        pg.setReadAhead(true);
        printRead("PG, 1 MiB rows, ahead",
                  readThrough(pg, QStringLiteral("SELECT * FROM bench_memory")));
    }
    dropPostgresTable(profiles, table);

    if (!standinInUse()) {
        std::printf("SQL Server             skipped: filling a large table needs the stand-in\n");
        return;
    }
    makeMssqlTable(profiles, table,
                   QStringLiteral("id INT, label VARCHAR(100), at DATETIME, amount NUMERIC(12,2)"),
                   QStringLiteral("g, 'row ' || g, timestamp '2024-01-01' + g * interval "
                                  "'1 second', g * 0.25"),
                   mssqlRows);
    for (const bool ahead : {false, true}) {
        db::Connection ms = openMssql(profiles);
        ms.setReadAhead(ahead);
        printRead(ahead ? "SQL Server, read ahead" : "SQL Server",
                  readThrough(ms, QStringLiteral("SELECT * FROM bench_memory")));
    }
    dropMssqlTable(profiles, table);
}

// Runs a case `turns` times; prints the longest gap of them all and each turn's.
void printWaits(const char* what, Server server, int turns,
                const std::function<WaitFigures()>& once) {
    std::vector<WaitFigures> runs;
    for (int i = 0; i < turns; ++i) runs.push_back(once());
    const WaitFigures& worst = *std::max_element(
        runs.begin(), runs.end(),
        [](const auto& a, const auto& b) { return a.stalls.longestMs < b.stalls.longestMs; });
    std::printf("%-30s %-11s %7.2f %9.1f %7ld  turns:", what,
                server == Server::Postgres ? "PostgreSQL" : "SQL Server", worst.seconds,
                worst.stalls.longestMs, worst.stalls.yields);
    for (const WaitFigures& run : runs) std::printf(" %.1f", run.stalls.longestMs);
    std::printf("\n");
    if (!worst.stalls.longestOutsideSqlWhere.isEmpty())
        std::printf("  the longest gap ended at: %s\n",
                    qPrintable(worst.stalls.longestOutsideSqlWhere));
    for (const WaitFigures& run : runs)
        for (const QString& m : run.messages) std::printf("  shown: %s\n", qPrintable(m));
    std::fflush(stdout);
}

void benchWaits(const EnvProfiles& profiles, int turns) {
    std::printf(
        "\nthe event loop while a command waits on a server; held: another session holds the\n"
        "table %d s; gap: the longest between two event processings, statements in flight\n"
        "included, of %d turns (each turn's after it)\n%-30s %-11s %7s %9s %7s\n",
        kHoldSeconds, turns, "command", "server", "seconds", "gap ms", "yields");
    const QString table = QStringLiteral("bench_wait");
    for (const Server server : {Server::Postgres, Server::SqlServer}) {
        dropPostgresTable(profiles, table);
        dropMssqlTable(profiles, table);
        printWaits("Delete Tables, table held", server, turns,
                   [&] { return deleteHeldTable(server, profiles, table); });
        printWaits("copy from a held table", server, turns,
                   [&] { return copyHeldSource(server, profiles, table); });
    }
    // One row: an integer and a 50 MiB text.
    const QString body = QStringLiteral("repeat('x', %1)").arg(50L << 20);
    dropPostgresTable(profiles, table);
    openPostgres(profiles).execute(
        QStringLiteral("CREATE TABLE %1 AS SELECT 1 AS id, %2 AS body").arg(table, body));
    printWaits("one 50 MiB value, read ahead", Server::Postgres, turns,
               [&] { return readLargeValue(Server::Postgres, profiles, table); });
    dropPostgresTable(profiles, table);
    if (!standinInUse()) {
        std::printf("SQL Server: the large value skipped, filling it needs the stand-in\n");
        return;
    }
    dropMssqlTable(profiles, table);
    makeMssqlTable(profiles, table, QStringLiteral("id INT, body VARCHAR(MAX)"),
                   QStringLiteral("g, ") + body, 1);
    printWaits("one 50 MiB value, read ahead", Server::SqlServer, turns,
               [&] { return readLargeValue(Server::SqlServer, profiles, table); });
    dropMssqlTable(profiles, table);
}

int run(const Options& options) {
    const EnvProfiles profiles;
    // Copies from SQL Server overlap reading and sending only where the database allows
    // snapshot isolation.
    openMssql(profiles).execute(
        QStringLiteral("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION ") +
        (options.mssqlSnapshots ? QStringLiteral("ON") : QStringLiteral("OFF")));
    std::printf("SQL Server database: snapshot isolation %s\n\n",
                options.mssqlSnapshots ? "allowed" : "not allowed");
    if (options.copies) {
        std::printf(
            "copies through the commands (scale %g, best of %d turns, more until a copy's turns\n"
            "add up to %g s); bare: the same INSERTs alone;\n"
            "ratio: of the fastest runs; median: of the turns' own ratios;\n"
            "stall: longest gap between event processings; non-wait: the same less the time\n"
            "waiting on a server (inside the driver on the command's thread); wait: longest\n"
            "such wait\n",
            options.scale, options.repeats, options.minSeconds);
        printCopyHeader();
        for (const Shape& shape : shapes()) {
            if (!chosen(shape, options.shapes)) continue;
            const long rows = std::max(1L, static_cast<long>(shape.rows * options.scale));
            benchShape(profiles, shape, rows, options);
        }
    }
    if (options.postgresCopy) benchPostgresCopy(profiles, options);
    if (options.memoryRows > 0) benchMemory(profiles, options.memoryRows, options.mssqlMemoryRows);
    if (options.waits) benchWaits(profiles, options.repeats);
    if (options.fastRows > 0)
        benchFastCopy(profiles, options.fastRows, !options.fastOnly, options.natural,
                      options.shapes, options.figureLines);
    return 0;
}

}  // namespace
}  // namespace dorvane::bench

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const auto options = dorvane::bench::parseOptions(QCoreApplication::arguments());
    if (!options) return 2;
    try {
        return dorvane::bench::run(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
