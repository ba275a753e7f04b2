#pragma once
// A transfer of the selected tables of one server's list to the other server, row by row.
// Both directions take the same steps, each at its own lines (transfer_directions.h); what
// differs is asked of the direction: how the source is read, how the column list is built
// and checked, and what the target can hold.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/event_yield.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/refused_value.h"
#include "sql/statement_pieces.h"
#include "transfer/command_context.h"
#include "transfer/current_value.h"
#include "transfer/fast_table_copy.h"
#include "transfer/row_sender.h"
#include "transfer/stoppable_waits.h"
#include "transfer/transfer_directions.h"
#include "transfer/transfer_steps.h"
#include "transfer/uncopied_tables.h"

namespace dorvane::transfer {

// The source's fields as the column list builder reads them.
struct SourceFields {
    const std::unique_ptr<db::Recordset>& source;
    int fieldCount() const { return transfer_steps::existing(source).fieldCount(); }
    const db::FieldInfo& field(int index) const { return source->field(index); }
};

class TableTransfer {
  public:
    void run();

  protected:
    TableTransfer(CommandContext& ctx, core::YieldPolicy policy, const TransferTraits& traits,
                  const TransferLines& lines);
    virtual ~TableTransfer() = default;
    TableTransfer(const TableTransfer&) = delete;
    TableTransfer& operator=(const TableTransfer&) = delete;

    // The body of the step that opens the source on `sourceName`, as the source list
    // names the table.
    virtual void openSource(const QString& sourceName) = 0;
    // Before a table: what the last table learnt is forgotten.
    virtual void startTable() {}
    // The column list appended to statement_, with the lines of the copy after the dialog
    // (`afterDialog`) or of the copy without it.
    virtual void buildColumnList(bool afterDialog) = 0;
    // Before anything is dropped or created; `customized` when the dialog changed the
    // statement.
    virtual void checkBeforeCreate(bool /*sourceRead*/, bool /*customized*/) {}
    virtual void afterCreate(bool /*created*/) {}
    // Sends the rows with sendRows (below); gives their number.
    virtual std::int64_t sendTableRows() = 0;
    // For a fast copy (fast_table_copy.h): throws when the target cannot hold `value` in
    // `column` as it is; and the target, its transaction and its writer of many rows.
    virtual void checkTargetCanHold(int column, const db::Value& value) = 0;
    virtual std::unique_ptr<FastCopyTarget> fastCopyTarget() = 0;
    // The body of the step that closes the source after a table.
    virtual void closeSourceAfterTable() = 0;
    // The steps after the last table.
    virtual void endRun() = 0;

    // Sends every row of the source, as buildInsert(row) builds it into statement_;
    // checkValue(column, value) refuses a value the target cannot hold. Gives the number
    // of rows.
    template <class BuildInsert, class CheckValue>
    std::int64_t sendRows(BuildInsert&& buildInsert, CheckValue&& checkValue);

    void setPointer(core::MousePointer pointer) { ctx_.transferScreen.pointer.setPointer(pointer); }

    // The runner of a statement's pieces as steps of this command, at `lines`.
    template <class Lines>
    NumberedPieces<Lines> numberedPieces(const Lines& lines) {
        return {p_, yield_, lines};
    }

    CommandContext& ctx_;
    const TransferTraits& traits_;
    const TransferLines& lines_;
    core::Procedure p_;
    core::EventYield yield_;
    // A stop cuts short the fast copy's waits on a server.
    StoppableWaits waits_{ctx_.stop};
    std::unique_ptr<db::Connection> mssql_;
    std::unique_ptr<db::Connection> postgres_;
    std::unique_ptr<db::Recordset> source_;
    bool success_ = false;
    QString statement_;
    QString tableName_;
    // Towards PostgreSQL, the columns whose values go without quotes.
    std::vector<bool> numericColumns_;
    UncopiedTables uncopied_;
    // The user stopped the run in the middle of a table.
    bool stopped_ = false;
    const bool fastCopy_;

    // The direction's "Fast copy" box was ticked when the run began: the whole run, and
    // the stop question the window asks during it, go by that.
    bool fastCopyTicked() const { return fastCopy_; }
    // What the run's sessions with the servers do while they wait: let events run, and give
    // up a fast copy's wait once the user has asked to stop.
    db::WhileWaiting whileWaiting();

  private:
    void makeObjects();
    // False when the run has ended early: nothing was selected, or a customization was
    // cancelled.
    bool sendSelectedTables();
    // One selected table; false when the whole run has ended.
    bool sendTable(int index);
    // The answer to "overwrite?" for a name the target list holds already, else 0;
    // none when the user declined and the table is left alone.
    std::optional<int> overwriteAnswer();
    // False when the user cancelled and the run has ended.
    bool customize();
    // The table in one transaction (FastTableCopy); `answer` to the overwrite question,
    // `sourceName` as openSource takes it.
    void copyAtOnce(int answer, const QString& sourceName);
    // After the rows: checks that they all arrived, closes the source and lists a table
    // that was created; a table not complete is named at the end of the run.
    void endTable(bool created, std::int64_t rowsSent);

    // The target's statements.
    QString columnHead() const;
    QString dropStatement() const;
    QString countStatement() const;

    core::ListBox& sourceList() const;
    core::ListBox& targetList() const;
    // How the target tells table names apart: SQL Server, as it is set up by default,
    // ignores case.
    Qt::CaseSensitivity targetNames() const;
    const std::unique_ptr<db::Connection>& target() const;

    // The source's row `row` (from 0) as the INSERT builder reads it: each value read and
    // checked with steps of its own.
    template <class CheckValue>
    class SourceRow {
      public:
        SourceRow(TableTransfer& transfer, CurrentValue& value, std::int64_t row,
                  CheckValue& checkValue)
            : t_(transfer), value_(value), row_(row), checkValue_(checkValue) {}
        int fieldCount() const { return t_.source_->fieldCount(); }
        const db::Value& value(int column) {
            const int line = t_.lines_.rows.readValue;
            t_.p_.step(line, [&] { value_.read(*t_.source_, column); });
            // A value the target cannot hold as it is is refused like a statement the
            // server refuses: reported, and nothing more is sent.
            if (t_.success_ && !t_.p_.step(line, [&] {
                    sql::checkValueAt(t_.tableName_, t_.source_->field(column).name, row_ + 1,
                                      [&] { checkValue_(column, value_.get()); });
                }))
                t_.success_ = false;
            return value_.get();
        }

      private:
        TableTransfer& t_;
        CurrentValue& value_;
        std::int64_t row_;
        CheckValue& checkValue_;
    };
};

template <class BuildInsert, class CheckValue>
std::int64_t TableTransfer::sendRows(BuildInsert&& buildInsert, CheckValue&& checkValue) {
    using transfer_steps::existing;
    const RowLines& lines = lines_.rows;
    std::int64_t rows = 0;
    p_.step(lines.countRows, [&] { rows = existing(source_).recordCount(); });
    CurrentValue value;
    // Each row's statement runs while the next rows are built (see RowSender).
    RowSender sends(p_, ctx_.platform, yield_, success_);
    for (std::int64_t r = 0; r < rows; ++r) {
        sends.reportIfFailed();
        p_.step(lines.rowEvents, [&] { yield_.whenDue(); });
        // Asked meanwhile: the rows sent so far stay, and the run ends after this table.
        if (ctx_.stop.requested()) {
            stopped_ = true;
            break;
        }
        p_.step(lines.showProgress, [&] {
            core::ProgressBar& bar = ctx_.transferScreen.progressBar;
            if (transfer_steps::rowsSentTextDue(r, rows)) {
                bar.setText(transfer_steps::rowsSentText(tableName_, r + 1, rows));
            }
            bar.setValue(transfer_steps::progressPercent(r, rows));
        });
        SourceRow<CheckValue> row(*this, value, r, checkValue);
        buildInsert(row);
        if (p_.test(lines.nothingFailedBeforeSendCheck, [&] { return success_; }))
            p_.step(lines.sendInsert, [&] { sends.send(existing(target()), statement_); });
        value.keepBeforeMove();
        p_.step(lines.nextRow, [&] { source_->moveNext(); });
        if (transfer_steps::sourceEndedEarly(*source_, r, rows)) {
            success_ = false;
            break;
        }
    }
    sends.settle();
    return rows;
}

}  // namespace dorvane::transfer
