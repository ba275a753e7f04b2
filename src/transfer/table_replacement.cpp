#include "transfer/table_replacement.h"

namespace dorvane::transfer {

TableReplacement::TableReplacement(db::Connection& target) : target_(target) {
    target_.beginTransaction();
    open_ = true;
}

TableReplacement::~TableReplacement() {
    rollback();
}

void TableReplacement::restart() {
    rollback();
    target_.beginTransaction();
    open_ = true;
}

void TableReplacement::commit() {
    open_ = false;  // a failed commit leaves nothing open to roll back
    target_.endTransaction(true);
}

void TableReplacement::rollback() noexcept {
    if (!open_) return;
    open_ = false;
    try {
        target_.endTransaction(false);
    } catch (...) {
        // The server already ended it (a failed statement may do so), or the connection
        // is gone, and the server rolls back what a lost connection left open.
    }
}

}  // namespace dorvane::transfer
