#pragma once
// The copy row by row's writer: each row one INSERT, built piece by piece and value by
// value, each a step at its own line, and sent while the next rows are built (RowSender).
// After a failure the rows are still read, each value on its line, but nothing more is
// checked or sent.

#include <QString>
#include <cstdint>
#include <memory>

#include "core/event_yield.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "transfer/current_value.h"
#include "transfer/row_sender.h"
#include "transfer/table_target.h"
#include "transfer/transfer_directions.h"

namespace dorvane::transfer {

class SteppedSourceRow;

// What the INSERT of a row asks of its direction.
class InsertBuilder {
  public:
    // Builds the INSERT of `row` into the statement the writer sends.
    virtual void buildInsert(SteppedSourceRow& row) = 0;
    // Throws when the target cannot hold `value` in `column` as it is.
    virtual void checkTargetCanHold(int column, const db::Value& value) = 0;

  protected:
    ~InsertBuilder() = default;
};

// What the writer works with, lent by its transfer.
struct InsertPerRowScope {
    core::Procedure& p;
    core::Platform& platform;
    core::EventYield& yield;
    const RowLines& lines;
    const std::unique_ptr<db::Connection>& target;
    const QString& table;
    // Where each INSERT is built; the procedure's reports show it.
    QString& statement;
    // The run's flag of success: false after any failure.
    bool& success;
};

// The source's row as the INSERT builder reads it: each value read and checked with a
// step of its own.
class SteppedSourceRow {
  public:
    SteppedSourceRow(const InsertPerRowScope& scope, InsertBuilder& builder,
                     const db::Recordset& source, CurrentValue& value, std::int64_t rowNumber)
        : s_(scope), builder_(builder), source_(source), value_(value), rowNumber_(rowNumber) {}
    int fieldCount() const { return source_.fieldCount(); }
    const db::Value& value(int column);

  private:
    const InsertPerRowScope& s_;
    InsertBuilder& builder_;
    const db::Recordset& source_;
    CurrentValue& value_;
    std::int64_t rowNumber_;
};

class InsertPerRow : public TableRowWriter {
  public:
    InsertPerRow(const InsertPerRowScope& scope, InsertBuilder& builder);

    void beforeRow() override { sends_.reportIfFailed(); }
    void write(const SourceRowValues& row, std::int64_t rowNumber) override;
    void finish() override { sends_.settle(); }
    // Not called: the rows sent stay, and finish waits for them.
    void abandon() noexcept override {}
    QString statementText() const override { return s_.statement; }

  private:
    const InsertPerRowScope s_;
    InsertBuilder& builder_;
    CurrentValue value_;
    RowSender sends_;
};

}  // namespace dorvane::transfer
