#pragma once
// A table's target reached through the command's own connection: its transaction is the
// one a TableReplacement keeps, and its rows go as the writer made for it sends them.
// Whether the server took no bulk load is the run's to remember: the target lives for one
// table.

#include <functional>
#include <memory>
#include <optional>

#include "db/odbc/connection.h"
#include "transfer/table_replacement.h"
#include "transfer/table_target.h"

namespace dorvane::transfer {

class ConnectionCopyTarget : public TableTarget {
  public:
    using MakeWriter = std::function<std::unique_ptr<TableRowWriter>()>;
    // `allOrNothing`: see TableTarget. `makeWriter` reads `bulkLoadRefused`, which
    // refuseBulkLoad sets, when there is one.
    ConnectionCopyTarget(const std::unique_ptr<db::Connection>& connection, bool allOrNothing,
                         MakeWriter makeWriter, bool* bulkLoadRefused = nullptr)
        : connection_(connection),
          allOrNothing_(allOrNothing),
          makeWriter_(std::move(makeWriter)),
          bulkLoadRefused_(bulkLoadRefused) {}

    bool allOrNothing() const override { return allOrNothing_; }
    void begin() override;
    void execute(const QString& sql) override;
    void restart() override { existing().restart(); }
    std::unique_ptr<TableRowWriter> rowWriter() override { return makeWriter_(); }
    void commit() override { existing().commit(); }
    void rollback() noexcept override {
        if (transaction_) transaction_->rollback();
    }
    void refuseBulkLoad() override {
        if (bulkLoadRefused_) *bulkLoadRefused_ = true;
    }
    bool bulkLoadRefused() const override { return bulkLoadRefused_ && *bulkLoadRefused_; }

  private:
    TableReplacement& existing();

    const std::unique_ptr<db::Connection>& connection_;
    const bool allOrNothing_;
    const MakeWriter makeWriter_;
    bool* const bulkLoadRefused_;
    std::optional<TableReplacement> transaction_;
};

}  // namespace dorvane::transfer
