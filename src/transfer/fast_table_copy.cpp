#include "transfer/fast_table_copy.h"

#include <utility>

#include "core/list_helpers.h"
#include "sql/refused_value.h"
#include "transfer/execute_sql.h"

namespace dorvane::transfer {

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

FastTableCopy::Outcome FastTableCopy::run(int answer, const QString& dropSql,
                                          FastCopyTarget& target, FastCopyDirection& direction) {
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
                   sendRows(out.rows, *writer, direction) &&
                   stoppableStep(lines_.finish, [&] { writer->finish(); });
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
        p.step(creation_.listRemove, [&] { core::listRemove(s_.targetList, s_.tableName); });
    out.created = true;
    return out;
}

bool FastTableCopy::sendRows(std::int64_t rows, TableRowWriter& writer,
                             FastCopyDirection& direction) {
    db::Recordset& source = s_.source;
    for (std::int64_t r = 0; r < rows; ++r) {
        s_.yield.whenDue();
        if (direction.stopRequested()) return false;
        if (transfer_steps::rowsSentTextDue(r, rows)) {
            s_.progressBar.setText(transfer_steps::rowsSentText(s_.tableName, r + 1, rows));
            s_.progressBar.setValue(transfer_steps::progressPercent(r, rows));
        }
        // Reading the source and sending the rows both may wait.
        const bool sent = stoppableStep(lines_.sendRow, [&] {
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
