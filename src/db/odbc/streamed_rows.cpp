#include "db/odbc/streamed_rows.h"

namespace dorvane::db {

StreamedRows::StreamedRows(std::vector<FieldInfo> fields, std::int64_t rowCount,
                           std::shared_ptr<RowStream> stream)
    : RowSource(std::move(fields)), rowCount_(rowCount), stream_(std::move(stream)) {
    start();
}

StreamedRows::~StreamedRows() {
    stream_->cancel();
}

void StreamedRows::readRow(std::vector<Value>& row) {
    if (chunkRowsLeft_ == 0) {
        chunk_ = stream_->next();
        chunk_.startReading();
        chunkRowsLeft_ = chunk_.rowCount();
    }
    chunk_.readRow(row);
    --chunkRowsLeft_;
}

}  // namespace dorvane::db
