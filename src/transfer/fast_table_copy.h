#pragma once
// A table copied all at once ("Fast copy"): the DROP of a table it replaces, the CREATE
// TABLE and every row go to the target in one transaction, which is committed only when
// the last row has arrived. Any failure, and a stop, rolls it back: the table it was to
// replace is still there, and no part of the new one is. A stop also cuts short a wait on
// a server (for a table another session holds, say) and is then, as ever, no failure.
// When the server or its driver will not take the rows by bulk load, the table is rolled
// back unreported and goes again, its source read again, by INSERT statements.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/controls.h"
#include "core/event_yield.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "transfer/fast_copy_target.h"
#include "transfer/stoppable_waits.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

// The steps of a fast copy that the copy row by row does not take.
struct FastCopyLines {
    int begin;      // the transaction begins
    int countRows;  // the source's rows are counted
    int sendRow;    // a row is read, checked and handed to the target's writer
    int finish;     // the last rows are sent and the server has taken them all
    int commit;
};

// What the copy works with, lent by its transfer.
struct FastCopyScope {
    core::Procedure& p;
    core::Platform& platform;
    core::EventYield& yield;
    // Armed while a step runs whose waits a stop may cut short.
    StoppableWaits& waits;
    core::ProgressBar& progressBar;
    core::ListBox& targetList;
    // As transfer_steps::removeDroppedEntry takes it.
    Qt::CaseSensitivity targetNames;
    db::Recordset& source;
    const QString& tableName;
    // The CREATE TABLE. The procedure's reports show it, but for those of the rows, which
    // show what was sending them.
    const QString& createSql;
    // The run's flag of success: false after any failure.
    bool& success;
};

// What the copy asks of its direction.
struct FastCopyDirection {
    // After the CREATE TABLE, as the copy row by row calls it.
    std::function<void(bool created)> afterCreate;
    // Throws when the target cannot hold `value` in `column` as it is.
    std::function<void(int column, const db::Value& value)> checkValue;
    // True when the user has asked the run to stop.
    std::function<bool()> stopRequested;
    // Opens the source again at its first row; false when it failed (and was reported).
    std::function<bool()> readSourceAgain;
};

class FastTableCopy {
  public:
    FastTableCopy(const FastCopyScope& scope, const FastCopyLines& lines,
                  const transfer_steps::CreationLines& creation)
        : s_(scope), lines_(lines), creation_(creation) {}

    struct Outcome {
        bool created = false;  // committed: the new table is there with every row
        std::int64_t rows = 0;
        bool stopped = false;  // a stop cut short a wait on a server
    };
    // `answer`: the overwrite question's. The target list loses the table replaced only
    // once its replacement is committed.
    Outcome run(int answer, const QString& dropSql, FastCopyTarget& target,
                FastCopyDirection& direction);

  private:
    // Begin, DROP, CREATE TABLE, rows, commit; on failure, rolled back.
    Outcome attempt(int answer, const QString& dropSql, FastCopyTarget& target,
                    FastCopyDirection& direction);
    // True when every row has been handed over; `byInserts` when the progress is to say
    // that they go by INSERT statements, the server having refused bulk load.
    bool sendRows(std::int64_t rows, TableRowWriter& writer, FastCopyDirection& direction,
                  bool byInserts);
    // stoppableStep for the writer's work up to row `row` (0: its end). A refused bulk load
    // is left for the table to go again; the report of another failure quotes what the
    // writer was sending.
    template <class Body>
    bool rowsStep(int line, TableRowWriter& writer, std::int64_t row, Body&& body);
    // Runs `body`, whose waits a stop cuts short; false when one did.
    template <class Body>
    bool untilStopped(Body&& body);
    // Runs `body` as step `line`, its waits cut short by a stop; false when it failed (and
    // was reported) or was stopped (and was not).
    template <class Body>
    bool stoppableStep(int line, Body&& body);

    FastCopyScope s_;
    const FastCopyLines& lines_;
    const transfer_steps::CreationLines& creation_;
    bool stopped_ = false;
    // The rows went by bulk load, which the server or its driver refused; the table then
    // went again.
    bool bulkLoadRefused_ = false;
    bool wentAgain_ = false;
    // What a report of the rows quotes.
    QString inFlight_;
};

}  // namespace dorvane::transfer
