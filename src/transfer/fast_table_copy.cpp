#include "transfer/fast_table_copy.h"

#include <utility>

#include "sql/refused_value.h"
#include "transfer/execute_sql.h"
#include "transfer/refused_rows.h"

namespace dorvane::transfer {
namespace {

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

}  // namespace

template <class Body>
bool FastTableCopy::untilStopped(Body&& body) {
    if (s_.waits.during(std::forward<Body>(body))) return true;
    stopped_ = true;
    return false;
}

template <class Body>
bool FastTableCopy::stoppableStep(int line, Body&& body) {
    bool done = false;
    s_.p.step(line, [&] { done = untilStopped(body); });
    return done;
}

template <class Body>
bool FastTableCopy::rowsStep(int line, TableRowWriter& writer, std::int64_t row, Body&& body) {
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

FastTableCopy::Outcome FastTableCopy::run(int answer, const QString& dropSql,
                                          FastCopyTarget& target, FastCopyDirection& direction) {
    const ShownStatementKept shown(s_.p, s_.createSql);
    const Outcome out = attempt(answer, dropSql, target, direction);
    if (!bulkLoadRefused_) return out;
    // Rolled back without a report: the same server takes INSERT statements.
    wentAgain_ = true;
    target.refuseBulkLoad();
    s_.success = direction.readSourceAgain();
    return s_.success ? attempt(answer, dropSql, target, direction) : out;
}

FastTableCopy::Outcome FastTableCopy::attempt(int answer, const QString& dropSql,
                                              FastCopyTarget& target,
                                              FastCopyDirection& direction) {
    core::Procedure& p = s_.p;
    Outcome out;
    if (!p.step(lines_.begin, [&] { target.begin(); })) {
        s_.success = false;
        return out;
    }
    bool dropped = false;
    if (p.test(creation_.overwriteTest, [&] { return answer == core::kAnswerYes; })) {
        dropped = stoppableStep(creation_.drop, [&] { target.execute(dropSql); });
        if (!dropped && !stopped_ && !p.unnumbered([&] { target.restart(); })) s_.success = false;
    }
    bool created = false;
    if (!stopped_ && p.test(creation_.successTest, [&] { return s_.success; })) {
        // Refused as the copy row by row reports a refused CREATE TABLE.
        p.step(creation_.create, [&] {
            try {
                created = untilStopped([&] { target.execute(s_.createSql); });
            } catch (...) {
                reportExecuteFailure(s_.platform, std::current_exception());
            }
            s_.success = created;
        });
    }
    direction.afterCreate(created);

    bool complete = created && s_.success;
    if (complete) {
        p.step(lines_.countRows, [&] { out.rows = s_.source.recordCount(); });
        std::unique_ptr<TableRowWriter> writer;
        complete = stoppableStep(lines_.sendRow, [&] { writer = target.rowWriter(); }) &&
                   sendRows(out.rows, *writer, direction, target.bulkLoadRefused()) &&
                   rowsStep(lines_.finish, *writer, 0, [&] { writer->finish(); });
        if (!complete && writer) writer->abandon();
    }
    // Neither the begin nor the commit is cut short: the transaction is then surely open,
    // or surely ended.
    complete = complete && p.step(lines_.commit, [&] { target.commit(); });
    if (!complete) {
        target.rollback();
        s_.success = false;
        out.stopped = stopped_;
        return out;
    }
    if (dropped)
        p.step(creation_.listRemove, [&] {
            transfer_steps::removeDroppedEntry(s_.targetList, s_.tableName, s_.targetNames);
        });
    out.created = true;
    return out;
}

bool FastTableCopy::sendRows(std::int64_t rows, TableRowWriter& writer,
                             FastCopyDirection& direction, bool byInserts) {
    db::Recordset& source = s_.source;
    for (std::int64_t r = 0; r < rows; ++r) {
        s_.yield.whenDue();
        if (direction.stopRequested()) return false;
        if (transfer_steps::rowsSentTextDue(r, rows)) {
            s_.progressBar.setText(
                byInserts ? transfer_steps::rowsSentByInsertsText(s_.tableName, r + 1, rows)
                          : transfer_steps::rowsSentText(s_.tableName, r + 1, rows));
            s_.progressBar.setValue(transfer_steps::progressPercent(r, rows));
        }
        // Reading the source and sending the rows both may wait.
        const bool sent = rowsStep(lines_.sendRow, writer, r + 1, [&] {
            for (int c = 0; c < source.fieldCount(); ++c)
                sql::checkValueAt(s_.tableName, source.field(c).name, r + 1,
                                  [&] { direction.checkValue(c, source.value(c)); });
            writer.write(SourceRowValues{source}, r + 1);
            source.moveNext();
        });
        if (!sent || transfer_steps::sourceEndedEarly(source, r, rows)) return false;
    }
    return true;
}

}  // namespace dorvane::transfer
