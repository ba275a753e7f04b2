#include "fast_copy_bench.h"

#include <cstdio>
#include <optional>

#include "copy_run.h"
#include "read_run.h"
#include "shapes.h"

namespace dorvane::bench {
namespace {

// The source's rows read alone, ahead, as a fast copy reads them.
double readAloneRate(db::Connection connection, const QString& select) {
    connection.setReadAhead(true, db::ReaderPriority::AsCaller);
    const ReadFigures read = readThrough(connection, select);
    return read.rows / read.seconds;
}

void printFigure(const Shape& shape, const char* direction, const char* copy, double rate) {
    std::printf("figure %s %s %s %.1f\n", qPrintable(shape.name), direction, copy, rate);
}

void printPair(const char* direction, const std::optional<CopyFigures>& byRow,
               const CopyFigures& fast, double readAlone) {
    std::printf("%-14s %9ld rows  fast %8.2f s %9.0f rows/s %7.1f MiB", direction, fast.rows,
                fast.seconds, fast.rows / fast.seconds, fast.peakMiB);
    if (byRow) {
        std::printf("  row by row %8.2f s %9.0f rows/s %7.1f MiB  %6.1fx", byRow->seconds,
                    byRow->rows / byRow->seconds, byRow->peakMiB, byRow->seconds / fast.seconds);
    }
    std::printf(
        "\n%-14s read alone %9.0f rows/s; fast copy / read alone %.2f; longest event-loop "
        "gap, fast %.1f ms\n",
        "", readAlone, fast.rows / fast.seconds / readAlone, fast.stalls.longestMs);
    if (byRow)
        for (const QString& m : byRow->messages)
            std::printf("  shown (row by row): %s\n", qPrintable(m));
    for (const QString& m : fast.messages) std::printf("  shown (fast): %s\n", qPrintable(m));
    std::fflush(stdout);
}

// The same fast copy with "Natural types", beside the one without.
void printNatural(const char* direction, const CopyFigures& plain, const CopyFigures& natural) {
    std::printf("%-14s natural types %9.0f rows/s %7.1f MiB; natural / plain %.2f\n", direction,
                natural.rows / natural.seconds, natural.peakMiB,
                (natural.rows / natural.seconds) / (plain.rows / plain.seconds));
    for (const QString& m : natural.messages) std::printf("  shown (natural): %s\n", qPrintable(m));
    std::fflush(stdout);
}

}  // namespace

void benchFastCopy(const EnvProfiles& profiles, long narrowRows, bool rowByRow, bool natural,
                   const QStringList& shapeNames, bool figureLines) {
    const Shape& narrow = shapes().front();
    for (const Shape& shape : shapes()) {
        // Shapes whose table back is made on the SQL Server side are left out.
        if (!shape.mssqlColumns.isEmpty()) continue;
        if (!chosen(shape, shapeNames)) continue;
        benchFastCopy(profiles, shape, narrowRows * shape.rows / narrow.rows, rowByRow, natural,
                      figureLines);
    }
}

void benchFastCopy(const EnvProfiles& profiles, const Shape& shape, long rows, bool rowByRow,
                   bool natural,
                   bool figureLines) {
    const auto figures = [&](const char* direction, const std::optional<CopyFigures>& byRow,
                             const CopyFigures& fast, double readAlone) {
        if (!figureLines) return;
        printFigure(shape, direction, "fast", fast.rows / fast.seconds);
        if (byRow) printFigure(shape, direction, "by-row", byRow->rows / byRow->seconds);
        printFigure(shape, direction, "read", readAlone);
        std::fflush(stdout);
    };
    const QString table = QStringLiteral("bench_fast");
    const QString back = QStringLiteral("bench_fast_back");
    std::printf(
        "\n\"Fast copy\" and the copy row by row on the same rows, %s (%s); peak: the\n"
        "process's resident memory during the copy\n",
        qPrintable(shape.name), qPrintable(shape.columns));
    dropPostgresTable(profiles, table);
    dropPostgresTable(profiles, back);
    dropMssqlTable(profiles, table);
    dropMssqlTable(profiles, back);
    openPostgres(profiles).execute(createSourceStatement(shape, table, rows));

    std::optional<CopyFigures> outByRow, inByRow;
    if (rowByRow) {
        outByRow = runCopy(Direction::ToSqlServer, profiles, table, rows);
        dropMssqlTable(profiles, table);
    }
    const double outRead =
        readAloneRate(openPostgres(profiles), QStringLiteral("SELECT * FROM %1").arg(table));
    const CopyFigures outFast = runCopy(Direction::ToSqlServer, profiles, table, rows, true);
    printPair("to SQL Server", outByRow, outFast, outRead);
    figures("to-sqlserver", outByRow, outFast, outRead);
    if (natural) {
        dropMssqlTable(profiles, table);
        printNatural("to SQL Server", outFast,
                     runCopy(Direction::ToSqlServer, profiles, table, rows, true, true));
    }
    dropPostgresTable(profiles, table);

    openMssql(profiles).execute(QStringLiteral("EXEC sp_rename '%1', '%2'").arg(table, back));
    if (rowByRow) {
        inByRow = runCopy(Direction::ToPostgres, profiles, back, rows);
        dropPostgresTable(profiles, back);
    }
    const double inRead =
        readAloneRate(openMssql(profiles), QStringLiteral("SELECT * FROM [%1]").arg(back));
    const CopyFigures inFast = runCopy(Direction::ToPostgres, profiles, back, rows, true);
    if (postgresRowCount(profiles, back) != rows)
        std::printf("  %s lacks rows\n", qPrintable(back));
    printPair("to PostgreSQL", inByRow, inFast, inRead);
    figures("to-postgresql", inByRow, inFast, inRead);
    if (natural) {
        dropPostgresTable(profiles, back);
        printNatural("to PostgreSQL", inFast,
                     runCopy(Direction::ToPostgres, profiles, back, rows, true, true));
    }
    dropPostgresTable(profiles, back);
    dropMssqlTable(profiles, back);
}

}  // namespace dorvane::bench
