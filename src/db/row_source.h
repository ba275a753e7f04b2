#pragma once
// The rows behind an open Recordset: the field descriptions, the buffered rows and the
// decoded current row.

#include <vector>

#include "db/recordset.h"
#include "db/row_buffer.h"

namespace dorvane::db {

class RowSource {
  public:
    RowSource(std::vector<FieldInfo> fields, RowBuffer rows);

    const std::vector<FieldInfo>& fields() const { return fields_; }
    std::int64_t recordCount() const { return rows_.rowCount(); }
    bool eof() const { return position_ >= rows_.rowCount(); }
    // Throws DbError at the end of the rows.
    const Value& value(int index) const;
    int fieldIndex(const QString& name) const;  // ignoring case; -1 when absent
    void moveNext();
    const RowBuffer& buffer() const { return rows_; }

  private:
    std::vector<FieldInfo> fields_;
    RowBuffer rows_;
    std::vector<Value> current_;  // reused for every row
    std::int64_t position_ = 0;
};

}  // namespace dorvane::db
