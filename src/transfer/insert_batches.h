#pragma once
// A fast copy's rows as INSERT statements of many rows each (towards SQL Server, at most
// 1000), sent on a thread of their own (StatementPipeline) while the next ones are built.
// The server takes such a statement whole or not at all. With XACT_ABORT off, a refused
// statement is undone alone and the transaction goes on, so the rows of a refused
// statement are sent again one by one to find the row refused; the copy then rolls back.

#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "db/odbc/connection.h"
#include "transfer/statement_pipeline.h"
#include "transfer/table_target.h"

namespace dorvane::transfer {

struct BatchLimits {
    int rows = 1000;
    // About 4 MB of text; a single longer row still goes, alone.
    qsizetype chars = qsizetype{2} << 20;
};

class InsertBatches : public TableRowWriter {
  public:
    // Appends one row's values to a statement begun with `head` ("INSERT INTO t VALUES").
    using AppendRow = std::function<void(QString& sql, const SourceRowValues& row, bool firstRow)>;

    // `whileWaiting` runs every few milliseconds while the copy waits for the server.
    InsertBatches(db::Connection& target, QString table, QString head, AppendRow appendRow,
                  std::function<void()> whileWaiting, BatchLimits limits = {});
    ~InsertBatches() override;

    void write(const SourceRowValues& row, std::int64_t rowNumber) override;
    void finish() override;
    void abandon() noexcept override;
    // "INSERT INTO [t] VALUES (...)": a statement may hold megabytes of values.
    QString statementText() const override;

  private:
    // A statement sent and not yet known to be taken.
    struct Sent {
        std::int64_t firstRow, lastRow;
        QString sql;                     // kept only to find a refused row
        std::vector<qsizetype> rowEnds;  // where each row's values end in `sql`
    };

    void sendBatch();
    // Throws the refusal that has come in, naming the row, or the rows of its statement.
    void throwIfFailed(std::exception_ptr failure);
    // The row of `refused` (from 0) the server refuses when it is sent alone; none when none
    // is, or the rows cannot be tried alone.
    std::optional<std::size_t> refusedRow(const Sent& refused, std::exception_ptr& failure);
    // Row `i` of `sent` alone, as the copy row by row would send it: the head and its values.
    QString rowStatement(const Sent& sent, std::size_t i) const;

    db::Connection& target_;
    const QString table_;
    const QString head_;
    const AppendRow appendRow_;
    const BatchLimits limits_;
    QString batch_;
    std::vector<qsizetype> rowEnds_;
    std::int64_t firstRow_ = 0, lastRow_ = 0;
    // In the order sent; the first `taken_` statements sent are no longer held.
    std::deque<Sent> sent_;
    std::size_t taken_ = 0;
    // Few statements wait: each can be megabytes long.
    StatementPipeline pipeline_;
};

}  // namespace dorvane::transfer
