#include "read_run.h"

#include <sys/stat.h>

#include <QDir>
#include <filesystem>

#include "db/odbc/recordset.h"
#include "process_stats.h"
#include "statement_clock.h"

namespace dorvane::bench {
namespace {

// The recordset's temporary file is unnamed; it is found among this process's open
// files by the folder it lives in.
double temporaryFilesMiB() {
    const std::string folder = QDir::tempPath().toStdString() + '/';
    double bytes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (error || target.string().rfind(folder, 0) != 0) continue;
        struct stat info {};
        if (stat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode))
            bytes += double(info.st_size);
    }
    return bytes / (1024.0 * 1024.0);
}

}  // namespace

ReadFigures readThrough(db::Connection& connection, const QString& select) {
    resetPeakResident();
    ReadFigures figures;
    const double cpuBefore = cpuSeconds();
    const Clock::time_point started = Clock::now();
    db::Recordset rows = connection.query(select);
    figures.openSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.spilledMiB = temporaryFilesMiB();
    const long expected = static_cast<long>(rows.recordCount());
    for (; !rows.eof(); rows.moveNext()) ++figures.rows;
    if (figures.rows != expected) figures.rows = -1;  // the count before the first row was wrong
    rows.close();
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.cpuShare = (cpuSeconds() - cpuBefore) / figures.seconds;
    figures.peakMiB = peakResidentMiB();
    return figures;
}

}  // namespace dorvane::bench
