#include "fast_copy_bench.h"

#include <cstdio>
#include <optional>

#include "copy_run.h"
#include "shapes.h"

namespace dorvane::bench {
namespace {

void printPair(const char* direction, const std::optional<CopyFigures>& byRow,
               const CopyFigures& fast) {
    std::printf("%-14s %9ld rows  fast %8.2f s %9.0f rows/s %7.1f MiB", direction, fast.rows,
                fast.seconds, fast.rows / fast.seconds, fast.peakMiB);
    if (byRow) {
        std::printf("  row by row %8.2f s %9.0f rows/s %7.1f MiB  %6.1fx", byRow->seconds,
                    byRow->rows / byRow->seconds, byRow->peakMiB, byRow->seconds / fast.seconds);
    }
    std::printf("\n");
    if (byRow)
        for (const QString& m : byRow->messages)
            std::printf("  shown (row by row): %s\n", qPrintable(m));
    for (const QString& m : fast.messages) std::printf("  shown (fast): %s\n", qPrintable(m));
    std::fflush(stdout);
}

}  // namespace

void benchFastCopy(const EnvProfiles& profiles, long rows, bool rowByRow) {
    const Shape& narrow = shapes().front();
    const QString table = QStringLiteral("bench_fast");
    const QString back = QStringLiteral("bench_fast_back");
    std::printf(
        "\n\"Fast copy\" and the copy row by row on the same rows (%s); peak: the\n"
        "process's resident memory during the copy\n",
        qPrintable(narrow.columns));
    dropPostgresTable(profiles, table);
    dropPostgresTable(profiles, back);
    dropMssqlTable(profiles, table);
    dropMssqlTable(profiles, back);
    openPostgres(profiles).execute(createSourceStatement(narrow, table, rows));

    std::optional<CopyFigures> outByRow, inByRow;
    if (rowByRow) {
        outByRow = runCopy(Direction::ToSqlServer, profiles, table, rows);
        dropMssqlTable(profiles, table);
    }
    const CopyFigures outFast = runCopy(Direction::ToSqlServer, profiles, table, rows, true);
    printPair("to SQL Server", outByRow, outFast);
    dropPostgresTable(profiles, table);

    openMssql(profiles).execute(QStringLiteral("EXEC sp_rename '%1', '%2'").arg(table, back));
    if (rowByRow) {
        inByRow = runCopy(Direction::ToPostgres, profiles, back, rows);
        dropPostgresTable(profiles, back);
    }
    const CopyFigures inFast = runCopy(Direction::ToPostgres, profiles, back, rows, true);
    if (postgresRowCount(profiles, back) != rows)
        std::printf("  %s lacks rows\n", qPrintable(back));
    printPair("to PostgreSQL", inByRow, inFast);
    dropPostgresTable(profiles, back);
    dropMssqlTable(profiles, back);
}

}  // namespace dorvane::bench
