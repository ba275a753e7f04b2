#include "transfer/connection_copy_target.h"

#include <stdexcept>

namespace dorvane::transfer {

TableReplacement& ConnectionCopyTarget::existing() {
    if (!transaction_) throw std::logic_error("ConnectionCopyTarget: no transaction begun");
    return *transaction_;
}

}  // namespace dorvane::transfer
