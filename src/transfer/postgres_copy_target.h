#pragma once
// A fast copy's target towards PostgreSQL: a libpq session of its own (db/bulk/postgres_copy.h),
// whose one transaction takes the DROP, the CREATE TABLE and the rows, the rows as
// COPY ... FROM STDIN in the text format (sql/copy_text.h).

#include <QString>
#include <memory>
#include <vector>

#include "db/bulk/postgres_copy.h"
#include "transfer/table_target.h"

namespace dorvane::transfer {

class PostgresCopyTarget : public TableTarget {
  public:
    // `connectionString`: the psqlODBC string the command's own connection opened with;
    // `unquoted`: the columns whose values the INSERT writes without quotes;
    // `columns`: the source's field names, to name a refused value;
    // `whileWaiting`: what this thread does while the session waits on the server.
    PostgresCopyTarget(QString connectionString, QString table, std::vector<bool> unquoted,
                       std::vector<QString> columns, db::WhileWaiting whileWaiting);

    void begin() override;
    void execute(const QString& sql) override { session_.execute(sql); }
    void restart() override;
    std::unique_ptr<TableRowWriter> rowWriter() override;
    void commit() override { session_.commit(); }
    void rollback() noexcept override { session_.rollback(); }

  private:
    const QString connectionString_;
    const QString table_;
    const std::vector<bool> unquoted_;
    const std::vector<QString> columns_;
    db::PostgresCopySession session_;
};

}  // namespace dorvane::transfer
