#pragma once
// One table's copy to its target, the same way for every target: the DROP of a table it
// replaces and the CREATE TABLE, then every row of the source read once and handed to the
// target's writer, in one loop.
//
// Where the target holds the table in one transaction (TableTarget::allOrNothing, "Fast
// copy"), it commits only when the last row has arrived. Any failure, and a stop, rolls it
// back: the table it was to replace is still there, and no part of the new one is. A stop
// also cuts short a wait on a server and is then, as ever, no failure. When the server or
// its driver will not take the rows by bulk load, the table is rolled back unreported and
// goes again, its source read again, by INSERT statements.
//
// Otherwise the DROP and the CREATE TABLE are one transaction, and each row goes as it is
// read; after a failure the rows are still read, and nothing more is sent.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/controls.h"
#include "core/event_yield.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/odbc/recordset.h"
#include "transfer/command_context.h"
#include "transfer/stoppable_waits.h"
#include "transfer/table_target.h"
#include "transfer/transfer_directions.h"

namespace dorvane::transfer {

// What the copy works with, lent by its transfer.
struct TableCopyScope {
    core::Procedure& p;
    core::Platform& platform;
    core::EventYield& yield;
    // Armed while a step of a copy in one transaction runs whose waits a stop may cut short.
    StoppableWaits& waits;
    const StopRequest& stop;
    core::ProgressBar& progressBar;
    core::ListBox& targetList;
    // As transfer_steps::removeDroppedEntry takes it.
    Qt::CaseSensitivity targetNames;
    const std::unique_ptr<db::Recordset>& source;
    const QString& tableName;
    // The CREATE TABLE. The procedure's reports show it, but for those of the rows, which
    // show what was sending them.
    const QString& createSql;
    // The run's flag of success: false after any failure.
    bool& success;
};

// Statements of the target around the rows ("Natural types"): `before` once the table is
// created, `after` once every row has arrived, and `cleanup` when `before` ran, whatever
// became of the rows (a session's setting undone).
struct RowStatements {
    std::vector<QString> before, after, cleanup;
};

// What the copy asks of its transfer.
class TableCopyDirection {
  public:
    // After the CREATE TABLE (and, row by row, its commit).
    virtual void afterCreate(bool created) = 0;
    // Opens the source again at its first row, for the table to go again by other means;
    // false when it failed (and was reported).
    virtual bool readSourceAgain() = 0;

  protected:
    ~TableCopyDirection() = default;
};

class TableCopy {
  public:
    TableCopy(const TableCopyScope& scope, const TransferLines& lines,
              TableCopyDirection& direction)
        : s_(scope), lines_(lines), direction_(direction) {}

    struct Outcome {
        bool created = false;  // the new table is there (with every row, in one transaction)
        std::int64_t rows = 0;
        bool stopped = false;  // the user stopped the copy in the middle of the table
    };
    // `answer`: the overwrite question's; `sourceRead`: the source was opened. The target
    // list loses the table replaced only once its replacement is committed.
    Outcome run(int answer, bool sourceRead, const QString& dropSql, TableTarget& target,
                const RowStatements& around = {});

  private:
    Outcome attempt(int answer, bool sourceRead, const QString& dropSql, TableTarget& target);
    // `statements` at `line`, each its own step; false after the first that failed.
    bool runStatements(int line, const std::vector<QString>& statements, TableTarget& target);
    // The rows between the statements around them; true when all arrived, as sendTableRows.
    bool sendRowsAround(TableTarget& target, std::int64_t& rows);
    // The DROP of the table replaced, if `answer` says so, and the CREATE TABLE; true when
    // created. `dropped` tells whether the DROP went.
    bool createTable(int answer, bool sourceRead, const QString& dropSql, TableTarget& target,
                     bool& dropped);
    // The rows, counted, written and finished. In one transaction true when every row has
    // arrived. Row by row, where the rows are read even after a failure, false: what arrived
    // is counted on the target afterwards.
    bool sendTableRows(TableTarget& target, std::int64_t& rows);
    // The loop: every row read once and handed to `writer`; true when all were handed over.
    bool sendRows(std::int64_t rows, TableRowWriter& writer, bool byInserts);
    void showProgress(std::int64_t row, std::int64_t rows, bool byInserts);
    // After the commit: the target list loses the entry of the table replaced.
    void unlistReplaced();

    // A step of the rows at `line`, up to row `row` (0: their end). In one transaction a
    // step's failure, or a stop that cuts short its waits, ends the table (false); a refused
    // bulk load is left for the table to go again; the report of another failure quotes what
    // the writer was sending. Row by row the rows go on after a failure.
    template <class Body>
    bool rowsStep(int line, TableRowWriter& writer, std::int64_t row, Body&& body);
    // A step at `line`; in one transaction its waits a stop cuts short. False when it failed
    // (and was reported) or was stopped (and was not).
    template <class Body>
    bool stoppableStep(int line, Body&& body);
    // Runs `body`, in one transaction with its waits cut short by a stop; false when one was.
    template <class Body>
    bool untilStopped(Body&& body);

    TableCopyScope s_;
    const TransferLines& lines_;
    TableCopyDirection& direction_;
    RowStatements around_;
    // Set by each attempt.
    bool whole_ = true;
    bool stopped_ = false;
    // The rows went by bulk load, which the server or its driver refused; the table then
    // went again.
    bool bulkLoadRefused_ = false;
    bool wentAgain_ = false;
    // What a report of the rows quotes.
    QString inFlight_;
};

}  // namespace dorvane::transfer
