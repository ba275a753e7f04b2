#pragma once
// A fast copy's rows towards SQL Server by TDS bulk load, in batches inside the copy's
// transaction, each value in its column's own form (sql/sqlserver_bulk_values.h). A row
// with a value that has no such form goes, with at least a statement's worth of rows after
// it, as the INSERT statements the copy sends otherwise; the rows keep their order. A load
// the server or its driver refuses, at its start or in a batch, is thrown as BulkLoadRefused
// (refused_rows.h): the table then goes again by INSERT statements, whose refusal names a row
// refused for real. Some servers, and users without the permission, take no bulk load.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "db/bulk/bulk_load.h"
#include "db/odbc/connection.h"
#include "db/odbc/waiting_call.h"
#include "db/values/value.h"
#include "sql/sqlserver_bulk_values.h"
#include "transfer/table_target.h"

namespace dorvane::transfer {

struct BulkBatchLimits {
    int rows = 10000;
    // Bytes of values in one batch, about, which the server answers for only at its end; a
    // single longer row still goes.
    qsizetype bytes = qsizetype{8} << 20;
    // Rows sent as INSERTs at least, from one that has no bulk form: a statement's worth.
    int insertRun = 1000;
};

class BulkLoadRows : public TableRowWriter {
  public:
    // The writer of the rows that go as INSERT statements.
    using MakeInserts = std::function<std::unique_ptr<TableRowWriter>()>;

    // `table` as a statement names it; `columns` as bulkColumn gives them, in order.
    // `whileWaiting` runs every few milliseconds while a batch begins or ends: the server
    // then answers for all its rows.
    BulkLoadRows(db::Connection& target, QString table, QString bulkTable,
                 std::vector<sql::to_sqlserver::BulkColumn> columns, MakeInserts makeInserts,
                 db::WhileWaiting whileWaiting, BulkBatchLimits limits = {});
    ~BulkLoadRows() override;

    void write(const SourceRowValues& row, std::int64_t rowNumber) override;
    void finish() override;
    void abandon() noexcept override;
    QString statementText() const override;

  private:
    // True when every value of the row has its bulk form, now in cells_.
    bool encode(const SourceRowValues& row);
    // The row encode has just put in cells_.
    void load(std::int64_t rowNumber);
    void endBatch();
    void endInserts();
    // What a report quotes of a batch: "INSERT BULK [t]".
    QString bulkStatement() const;
    // Throws the failure of the batch up to row `lastRow`: as BulkLoadRefused unless the
    // connection is gone.
    [[noreturn]] void refused(std::int64_t lastRow, std::exception_ptr failure) const;

    db::Connection& target_;
    const QString table_;
    const QString bulkTable_;
    const std::vector<sql::to_sqlserver::BulkColumn> columns_;
    const MakeInserts makeInserts_;
    const db::WhileWaiting whileWaiting_;
    const BulkBatchLimits limits_;
    std::vector<QByteArray> cells_;
    std::vector<sql::to_sqlserver::BulkCell> kinds_;
    std::unique_ptr<db::BulkLoad> load_;
    std::unique_ptr<TableRowWriter> inserts_;
    std::int64_t firstRow_ = 0;
    std::int64_t batchRows_ = 0;
    qsizetype batchBytes_ = 0;
    int insertRowsLeft_ = 0;
};

}  // namespace dorvane::transfer
