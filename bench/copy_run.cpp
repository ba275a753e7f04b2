#include "copy_run.h"

#include "command_screen.h"
#include "process_stats.h"
#include "transfer/send_tables.h"

namespace dorvane::bench {

CopyFigures runCopy(Direction direction, const EnvProfiles& profiles, const QString& table,
                    long rows, bool fast, bool natural) {
    CommandScreen screen(profiles);
    screen.fastCopyToPostgres.setValue(fast ? 1 : 0);
    screen.fastCopyToSqlServer.setValue(fast ? 1 : 0);
    screen.naturalTypesToPostgres.setValue(natural ? 1 : 0);
    screen.naturalTypesToSqlServer.setValue(natural ? 1 : 0);
    selectOnly(direction == Direction::ToSqlServer ? screen.postgresTables : screen.mssqlTables,
               table);

    screen.platform.describe = [&screen] {
        return QStringLiteral("progress %1%, pointer %2")
            .arg(screen.progressBar.value())
            .arg(screen.pointer.pointer() == core::MousePointer::Busy ? "busy" : "default");
    };
    resetPeakResident();
    const double cpuBefore = cpuSeconds();
    const Clock::duration waitBefore = statementTime();
    resetInsertTimeline();
    const HostTicks ticksBefore = hostTicks();
    const Clock::time_point started = Clock::now();
    screen.platform.begin();
    if (direction == Direction::ToSqlServer)
        transfer::sendTablesToSqlServer(screen.context);
    else
        transfer::sendTablesToPostgres(screen.context);
    CopyFigures figures;
    figures.stalls = screen.platform.end();
    const Clock::time_point ended = Clock::now();
    figures.stolenShare = stolenShare(hostTicks() - ticksBefore);
    figures.seconds = std::chrono::duration<double>(ended - started).count();
    const InsertTimeline inserts = insertTimeline();
    if (inserts.count > 0) {
        using Ms = std::chrono::duration<double, std::milli>;
        using Us = std::chrono::duration<double, std::micro>;
        figures.insertMicros = Us(inserts.inside).count() / static_cast<double>(inserts.count);
        figures.insertProcessorMicros =
            Us(inserts.processor).count() / static_cast<double>(inserts.count);
        figures.beforeFirstMs = Ms(inserts.firstBegan - started).count();
        figures.afterLastMs = Ms(ended - inserts.lastEnded).count();
        figures.betweenMicros =
            Us(inserts.lastEnded - inserts.firstBegan - inserts.inside).count() /
            static_cast<double>(inserts.count);
    }
    figures.cpuShare = (cpuSeconds() - cpuBefore) / figures.seconds;
    figures.waitSeconds = std::chrono::duration<double>(statementTime() - waitBefore).count();
    figures.peakMiB = peakResidentMiB();
    figures.rows = rows;
    figures.messages = screen.platform.messages();
    return figures;
}

}  // namespace dorvane::bench
