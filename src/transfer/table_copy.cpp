#include "transfer/table_copy.h"

#include <utility>

#include "transfer/execute_sql.h"
#include "transfer/refused_rows.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {
namespace {

using transfer_steps::existing;

// Gives the procedure's reports back the statement they showed before the rows.
class ShownStatementKept {
  public:
    ShownStatementKept(core::Procedure& p, const QString& statement)
        : p_(p), statement_(statement) {}
    ~ShownStatementKept() { p_.showStatementInReport(&statement_); }
    ShownStatementKept(const ShownStatementKept&) = delete;
    ShownStatementKept& operator=(const ShownStatementKept&) = delete;

  private:
    core::Procedure& p_;
    const QString& statement_;
};

// The lines of the row loop's steps. In one transaction a row is one step: reading it,
// checking it, handing it over and moving on (`write`).
struct RowLoopLines {
    int countRows, rowEvents, showProgress, write, nextRow;
};

RowLoopLines rowLoopLines(const TransferLines& lines, bool whole) {
    const int row = lines.fast.sendRow;
    if (whole) return {lines.fast.countRows, row, row, row, kNotTaken};
    const RowLines& each = lines.rows;
    return {each.countRows, each.rowEvents, each.showProgress, each.insert.start, each.nextRow};
}

}  // namespace

template <class Body>
bool TableCopy::untilStopped(Body&& body) {
    if (!whole_) {
        body();
        return true;
    }
    if (s_.waits.during(std::forward<Body>(body))) return true;
    stopped_ = true;
    return false;
}

template <class Body>
bool TableCopy::stoppableStep(int line, Body&& body) {
    bool done = false;
    s_.p.step(line, [&] { done = untilStopped(body); });
    return done;
}

template <class Body>
bool TableCopy::rowsStep(int line, TableRowWriter& writer, std::int64_t row, Body&& body) {
    if (!whole_) {
        s_.p.step(line, std::forward<Body>(body));
        return true;
    }
    bool done = false;
    const auto quote = [&](const QString& statement) {
        inFlight_ = statement;
        s_.p.showStatementInReport(&inFlight_);
    };
    s_.p.step(line, [&] {
        try {
            done = untilStopped(body);
        } catch (const BulkLoadRefused& refused) {
            // Once: the INSERT statements that follow have only their own refusals.
            if (!wentAgain_) {
                bulkLoadRefused_ = true;
                return;
            }
            quote(refused.statement());
            throw;
        } catch (const RowsRefused& refused) {
            quote(refused.statement());
            throw;
        } catch (...) {
            const QString statement = writer.statementText();
            quote(row > 0 ? statementWithRows(statement, row, row) : statement);
            throw;
        }
    });
    return done;
}

TableCopy::Outcome TableCopy::run(int answer, bool sourceRead, const QString& dropSql,
                                  TableTarget& target, const RowStatements& around) {
    around_ = around;
    const ShownStatementKept shown(s_.p, s_.createSql);
    const Outcome out = attempt(answer, sourceRead, dropSql, target);
    if (!bulkLoadRefused_) return out;
    // Rolled back without a report: the same server takes INSERT statements.
    wentAgain_ = true;
    target.refuseBulkLoad();
    s_.success = direction_.readSourceAgain();
    return s_.success ? attempt(answer, sourceRead, dropSql, target) : out;
}

TableCopy::Outcome TableCopy::attempt(int answer, bool sourceRead, const QString& dropSql,
                                      TableTarget& target) {
    whole_ = target.allOrNothing();
    Outcome out;
    if (whole_ && !s_.p.step(lines_.fast.begin, [&] { target.begin(); })) {
        s_.success = false;
        return out;
    }
    bool dropped = false;
    const bool created = createTable(answer, sourceRead, dropSql, target, dropped);
    direction_.afterCreate(created);
    if (!whole_) {
        // The rows go even when the table is not there: they are then only read.
        if (created && dropped) unlistReplaced();
        if (created && s_.success)
            sendRowsAround(target, out.rows);
        else
            sendTableRows(target, out.rows);
        out.created = created;
        out.stopped = stopped_;
        return out;
    }
    bool complete = created && s_.success && sendRowsAround(target, out.rows);
    // Neither the begin nor the commit is cut short: the transaction is then surely open,
    // or surely ended.
    complete = complete && s_.p.step(lines_.fast.commit, [&] { target.commit(); });
    if (!complete) {
        target.rollback();
        s_.success = false;
        out.stopped = stopped_;
        return out;
    }
    if (dropped) unlistReplaced();
    out.created = true;
    return out;
}

bool TableCopy::createTable(int answer, bool sourceRead, const QString& dropSql,
                            TableTarget& target, bool& dropped) {
    core::Procedure& p = s_.p;
    const transfer_steps::CreationLines& lines = lines_.creation;
    // Row by row only a DROP begins a transaction, which its CREATE TABLE ends.
    bool begun = whole_;
    if (p.test(lines.overwriteTest, [&] { return answer == core::kAnswerYes; }) && s_.success &&
        sourceRead) {
        dropped = stoppableStep(lines.drop, [&] {
            if (!begun) {
                target.begin();
                begun = true;
            }
            target.execute(dropSql);
        });
        if (!dropped && begun && !stopped_ && !p.unnumbered([&] { target.restart(); }))
            s_.success = false;
    }
    bool created = false;
    if (!stopped_ && p.test(lines.successTest, [&] { return s_.success; })) {
        // Refused as any statement run as it stands is reported.
        p.step(lines.create, [&] {
            try {
                created = untilStopped([&] { target.execute(s_.createSql); });
            } catch (...) {
                reportExecuteFailure(s_.platform, std::current_exception());
            }
            s_.success = created;
        });
    }
    if (whole_ || !begun) return created;
    if (created) {
        if (!p.step(lines.create, [&] { target.commit(); })) created = s_.success = false;
    } else {
        target.rollback();
    }
    return created;
}

bool TableCopy::runStatements(int line, const std::vector<QString>& statements,
                              TableTarget& target) {
    for (const QString& sql : statements)
        if (!stoppableStep(line, [&] { target.execute(sql); })) return false;
    return true;
}

bool TableCopy::sendRowsAround(TableTarget& target, std::int64_t& rows) {
    const NaturalLines& lines = lines_.natural;
    if (!runStatements(lines.beforeRows, around_.before, target)) {
        s_.success = false;
        return false;
    }
    bool complete = sendTableRows(target, rows);
    // Row by row what arrived is known only once counted: the rows sent so far are kept.
    if ((complete || (!whole_ && s_.success && !stopped_)) &&
        !runStatements(lines.afterRows, around_.after, target))
        complete = s_.success = false;
    for (const QString& sql : around_.cleanup) s_.p.unnumbered([&] { target.execute(sql); });
    return complete;
}

bool TableCopy::sendTableRows(TableTarget& target, std::int64_t& rows) {
    const RowLoopLines lines = rowLoopLines(lines_, whole_);
    s_.p.step(lines.countRows, [&] { rows = existing(s_.source).recordCount(); });
    std::unique_ptr<TableRowWriter> writer;
    if (!whole_) {
        writer = target.rowWriter();
        sendRows(rows, *writer, false);
        writer->finish();
        return false;  // not known until the rows are counted on the target
    }
    const bool complete =
        stoppableStep(lines_.fast.sendRow, [&] { writer = target.rowWriter(); }) &&
        sendRows(rows, *writer, target.bulkLoadRefused()) &&
        rowsStep(lines_.fast.finish, *writer, 0, [&] { writer->finish(); });
    if (!complete && writer) writer->abandon();
    return complete;
}

bool TableCopy::sendRows(std::int64_t rows, TableRowWriter& writer, bool byInserts) {
    const RowLoopLines lines = rowLoopLines(lines_, whole_);
    for (std::int64_t r = 0; r < rows; ++r) {
        writer.beforeRow();
        s_.p.step(lines.rowEvents, [&] { s_.yield.whenDue(); });
        // Asked meanwhile: row by row the rows sent so far stay, and the run ends after this
        // table; in one transaction the table is rolled back.
        if (s_.stop.requested()) {
            stopped_ = true;
            return false;
        }
        s_.p.step(lines.showProgress, [&] { showProgress(r, rows, byInserts); });
        db::Recordset& source = *s_.source;
        // Reading the source and sending the rows both may wait. In one transaction a row
        // is one step, handed over and passed; row by row the move on is a step of its own.
        const auto write = [&] { writer.write(SourceRowValues{source}, r + 1); };
        const auto next = [&] { source.moveNext(); };
        const bool handed = whole_ ? rowsStep(lines.write, writer, r + 1,
                                              [&] {
                                                  write();
                                                  next();
                                              })
                                   : rowsStep(lines.write, writer, r + 1, write) &&
                                         rowsStep(lines.nextRow, writer, r + 1, next);
        if (!handed) return false;
        if (transfer_steps::sourceEndedEarly(source, r, rows)) {
            s_.success = false;
            return false;
        }
    }
    return true;
}

void TableCopy::showProgress(std::int64_t row, std::int64_t rows, bool byInserts) {
    if (!transfer_steps::rowsSentTextDue(row, rows)) {
        if (!whole_) s_.progressBar.setValue(transfer_steps::progressPercent(row, rows));
        return;
    }
    s_.progressBar.setText(byInserts
                               ? transfer_steps::rowsSentByInsertsText(s_.tableName, row + 1, rows)
                               : transfer_steps::rowsSentText(s_.tableName, row + 1, rows));
    s_.progressBar.setValue(transfer_steps::progressPercent(row, rows));
}

void TableCopy::unlistReplaced() {
    s_.p.step(lines_.creation.listRemove, [&] {
        transfer_steps::removeDroppedEntry(s_.targetList, s_.tableName, s_.targetNames);
    });
}

}  // namespace dorvane::transfer
