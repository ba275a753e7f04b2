#pragma once
// A fast copy's target reached through the command's own connection: its transaction is
// the one a TableReplacement keeps, and its rows go as the writer made for it sends them.
// Whether the server took no bulk load is the run's to remember: the target lives for one
// table.

#include <functional>
#include <memory>
#include <optional>

#include "db/odbc/connection.h"
#include "transfer/fast_copy_target.h"
#include "transfer/table_replacement.h"

namespace dorvane::transfer {

class ConnectionCopyTarget : public FastCopyTarget {
  public:
    using MakeWriter = std::function<std::unique_ptr<TableRowWriter>(db::Connection&)>;
    // `makeWriter` reads `bulkLoadRefused`, which refuseBulkLoad sets.
    ConnectionCopyTarget(db::Connection& connection, MakeWriter makeWriter, bool& bulkLoadRefused)
        : connection_(connection),
          makeWriter_(std::move(makeWriter)),
          bulkLoadRefused_(bulkLoadRefused) {}

    void begin() override { transaction_.emplace(connection_); }
    void execute(const QString& sql) override { connection_.execute(sql); }
    void restart() override { existing().restart(); }
    std::unique_ptr<TableRowWriter> rowWriter() override { return makeWriter_(connection_); }
    void commit() override { existing().commit(); }
    void rollback() noexcept override {
        if (transaction_) transaction_->rollback();
    }
    void refuseBulkLoad() override { bulkLoadRefused_ = true; }
    bool bulkLoadRefused() const override { return bulkLoadRefused_; }

  private:
    TableReplacement& existing();

    db::Connection& connection_;
    const MakeWriter makeWriter_;
    bool& bulkLoadRefused_;
    std::optional<TableReplacement> transaction_;
};

}  // namespace dorvane::transfer
