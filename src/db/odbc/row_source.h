#pragma once
// The rows behind an open Recordset: the field descriptions, the exact row count and the
// decoded current row. Where the rows come from is up to the kind of source: read
// completely into a buffer, or still arriving from the server.

#include <cstdint>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/odbc/row_buffer.h"
#include "db/odbc/waiting_call.h"

namespace dorvane::db {

class RowSource {
  public:
    explicit RowSource(std::vector<FieldInfo> fields);
    virtual ~RowSource();
    RowSource(const RowSource&) = delete;
    RowSource& operator=(const RowSource&) = delete;

    const std::vector<FieldInfo>& fields() const { return fields_; }
    virtual std::int64_t recordCount() const = 0;
    bool eof() const { return position_ >= recordCount(); }
    // Throws DbError at the end of the rows.
    const Value& value(int index) const;
    int fieldIndex(const QString& name) const;  // ignoring case; -1 when absent
    // A row that cannot be read is thrown once; the rows then end there.
    void moveNext();
    // What the caller does while it waits for these rows' server, as when a reading still
    // under way is ended (see Recordset::close); nothing for rows read whole.
    virtual WhileWaiting whileWaiting() const { return {}; }

  protected:
    // Derived constructors call this last: it reads the first row.
    void start();
    // Decodes the next row into `row`, reusing its values' storage.
    virtual void readRow(std::vector<Value>& row) = 0;
    // After the last row: throws when the rows did not end where they should have.
    virtual void checkEnd() {}

  private:
    void advance();

    std::vector<FieldInfo> fields_;
    std::vector<Value> current_;  // reused for every row
    std::int64_t position_ = 0;
};

// Rows read completely when the statement ran.
class BufferedRows final : public RowSource {
  public:
    BufferedRows(std::vector<FieldInfo> fields, RowBuffer rows);
    std::int64_t recordCount() const override { return rows_.rowCount(); }

  private:
    void readRow(std::vector<Value>& row) override { rows_.readRow(row); }

    RowBuffer rows_;
};

}  // namespace dorvane::db
