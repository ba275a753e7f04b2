#pragma once
// Rows counted first and read while the caller works through them (see RowStream).

#include <memory>

#include "db/odbc/row_source.h"
#include "db/odbc/row_stream.h"

namespace dorvane::db {

class StreamedRows final : public RowSource {
  public:
    // Reads the first row, waiting for it.
    StreamedRows(std::vector<FieldInfo> fields, std::int64_t rowCount,
                 std::shared_ptr<RowStream> stream);
    ~StreamedRows() override;

    std::int64_t recordCount() const override { return rowCount_; }
    WhileWaiting whileWaiting() const override { return stream_->whileWaiting(); }

  private:
    void readRow(std::vector<Value>& row) override;
    void checkEnd() override { stream_->waitForEnd(); }

    std::int64_t rowCount_;
    std::shared_ptr<RowStream> stream_;
    RowBuffer chunk_;
    std::int64_t chunkRowsLeft_ = 0;
};

}  // namespace dorvane::db
