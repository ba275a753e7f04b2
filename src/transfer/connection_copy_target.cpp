#include "transfer/connection_copy_target.h"

#include <stdexcept>

#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

void ConnectionCopyTarget::begin() {
    transaction_.emplace(transfer_steps::existing(connection_));
}

void ConnectionCopyTarget::execute(const QString& sql) {
    transfer_steps::existing(connection_).execute(sql);
}

TableReplacement& ConnectionCopyTarget::existing() {
    if (!transaction_) throw std::logic_error("ConnectionCopyTarget: no transaction begun");
    return *transaction_;
}

}  // namespace dorvane::transfer
