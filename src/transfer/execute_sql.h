#pragma once
#include <QString>
#include <exception>

#include "core/platform.h"

namespace dorvane::transfer {

// Shows the error report of Main.ExecuteSQL, which runs a statement as it stands, for
// `failure`, a statement's refusal.
void reportExecuteFailure(core::Platform& platform, const std::exception_ptr& failure);

}  // namespace dorvane::transfer
