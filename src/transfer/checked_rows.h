#pragma once
// A writer whose every value is checked, before it goes on, against what the target can
// hold: for writers that send values as they find them, a value the target would change is
// refused as the copy row by row refuses it, naming the table, the column and the row.

#include <functional>
#include <memory>
#include <utility>

#include "sql/refused_value.h"
#include "transfer/table_target.h"

namespace dorvane::transfer {

class CheckedRows : public TableRowWriter {
  public:
    // Throws when the target cannot hold `value` in `column` as it is.
    using Check = std::function<void(int column, const db::Value& value)>;

    CheckedRows(const QString& table, Check check, std::unique_ptr<TableRowWriter> writer)
        : table_(table), check_(std::move(check)), writer_(std::move(writer)) {}

    void write(const SourceRowValues& row, std::int64_t rowNumber) override {
        for (int c = 0; c < row.fieldCount(); ++c)
            sql::checkValueAt(table_, row.source.field(c).name, rowNumber,
                              [&] { check_(c, row.value(c)); });
        writer_->write(row, rowNumber);
    }
    void finish() override { writer_->finish(); }
    void abandon() noexcept override { writer_->abandon(); }
    QString statementText() const override { return writer_->statementText(); }

  private:
    const QString& table_;
    const Check check_;
    const std::unique_ptr<TableRowWriter> writer_;
};

}  // namespace dorvane::transfer
