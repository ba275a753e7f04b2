#include "transfer/insert_per_row.h"

#include "sql/refused_value.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

const db::Value& SteppedSourceRow::value(int column) {
    core::Procedure& p = s_.p;
    const int line = s_.lines.readValue;
    p.step(line, [&] { value_.read(source_, column); });
    // A value the target cannot hold as it is is refused like a statement the server
    // refuses: reported, and nothing more is sent.
    if (s_.success && !p.step(line, [&] {
            sql::checkValueAt(s_.table, source_.field(column).name, rowNumber_,
                              [&] { builder_.checkTargetCanHold(column, value_.get()); });
        }))
        s_.success = false;
    return value_.get();
}

InsertPerRow::InsertPerRow(const InsertPerRowScope& scope, InsertBuilder& builder)
    : s_(scope), builder_(builder), sends_(scope.p, scope.platform, scope.yield, scope.success) {}

void InsertPerRow::write(const SourceRowValues& row, std::int64_t rowNumber) {
    SteppedSourceRow stepped(s_, builder_, row.source, value_, rowNumber);
    builder_.buildInsert(stepped);
    core::Procedure& p = s_.p;
    if (p.test(s_.lines.nothingFailedBeforeSendCheck, [&] { return s_.success; }))
        p.step(s_.lines.sendInsert,
               [&] { sends_.send(transfer_steps::existing(s_.target), s_.statement); });
    // The source moves on next.
    value_.keepBeforeMove();
}

}  // namespace dorvane::transfer
