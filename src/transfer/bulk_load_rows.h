#pragma once
// A fast copy's rows towards SQL Server by TDS bulk load, in batches inside the copy's
// transaction, each value in its column's own form (sql/sqlserver_bulk_values.h). A row
// with a value that has no such form goes, with at least a statement's worth of rows after
// it, as the INSERT statements the copy sends otherwise; the rows keep their order. When the
// server refuses a batch, its rows are sent again one INSERT each, as the copy row by row
// sends them, so that the server's own refusal names the row.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "db/bulk/bulk_load.h"
#include "db/odbc/connection.h"
#include "db/odbc/waiting_call.h"
#include "db/values/value.h"
#include "sql/sqlserver_bulk_values.h"
#include "transfer/fast_copy_target.h"

namespace dorvane::transfer {

struct BulkBatchLimits {
    int rows = 10000;
    // Bytes of values kept to find a refused row, about; a single longer row still goes.
    qsizetype bytes = qsizetype{8} << 20;
    // Rows sent as INSERTs at least, from one that has no bulk form: a statement's worth.
    int insertRun = 1000;
};

class BulkLoadRows : public TableRowWriter {
  public:
    // The INSERT of one row alone, as the copy row by row builds it.
    using RowInsert = std::function<QString(std::span<const db::Value> row)>;
    // The writer of the rows that go as INSERT statements.
    using MakeInserts = std::function<std::unique_ptr<TableRowWriter>()>;

    // `table` as a statement names it; `columns` as bulkColumn gives them, in order.
    // `whileWaiting` runs every few milliseconds while a batch begins or ends: the server
    // then answers for all its rows.
    BulkLoadRows(db::Connection& target, QString table, QString bulkTable,
                 std::vector<sql::to_sqlserver::BulkColumn> columns, RowInsert rowInsert,
                 MakeInserts makeInserts, db::WhileWaiting whileWaiting,
                 BulkBatchLimits limits = {});
    ~BulkLoadRows() override;

    void write(const SourceRowValues& row, std::int64_t rowNumber) override;
    void finish() override;
    void abandon() noexcept override;

  private:
    // True when every value of the row has its bulk form, now in cells_.
    bool encode(const SourceRowValues& row);
    void load(const SourceRowValues& row, std::int64_t rowNumber);
    void endBatch();
    std::int64_t batchRows() const {
        return static_cast<std::int64_t>(batch_.size() / columns_.size());
    }
    void endInserts();
    // After a refused batch: its rows one by one, until the server refuses one.
    [[noreturn]] void findRefusedRow(std::exception_ptr failure);

    db::Connection& target_;
    const QString table_;
    const QString bulkTable_;
    const std::vector<sql::to_sqlserver::BulkColumn> columns_;
    const RowInsert rowInsert_;
    const MakeInserts makeInserts_;
    const db::WhileWaiting whileWaiting_;
    const BulkBatchLimits limits_;
    std::vector<QByteArray> cells_;
    std::vector<sql::to_sqlserver::BulkCell> kinds_;
    std::unique_ptr<db::BulkLoad> load_;
    std::unique_ptr<TableRowWriter> inserts_;
    // The batch's values, row after row (texts shared, not copied), to find a refused row.
    std::vector<db::Value> batch_;
    std::int64_t firstRow_ = 0;
    qsizetype batchBytes_ = 0;
    int insertRowsLeft_ = 0;
};

}  // namespace dorvane::transfer
