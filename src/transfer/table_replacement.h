#pragma once
// The DROP and CREATE TABLE of an overwrite, taken as one transaction on the target: the
// old table goes only when its replacement has been created. Both servers undo DDL on
// rollback.

#include "db/odbc/connection.h"

namespace dorvane::transfer {

class TableReplacement {
  public:
    // Begins the transaction; throws when the server refuses.
    explicit TableReplacement(db::Connection& target);
    // Rolls back unless committed.
    ~TableReplacement();
    TableReplacement(const TableReplacement&) = delete;
    TableReplacement& operator=(const TableReplacement&) = delete;

    // After a failed DROP: the old table was not dropped, and PostgreSQL takes no
    // further statement in a failed transaction. Throws when it cannot begin again.
    void restart();
    // Makes the DROP and the CREATE take effect; throws when the server refuses.
    void commit();
    // Undoes both: the old table is there again.
    void rollback() noexcept;

  private:
    db::Connection& target_;
    bool open_ = false;
};

}  // namespace dorvane::transfer
