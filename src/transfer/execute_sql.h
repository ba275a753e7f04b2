#pragma once
#include <QString>
#include <exception>

#include "core/platform.h"
#include "db/odbc/connection.h"

namespace dorvane::transfer {

// Runs one statement as it stands. A refusal shows the error report of Main.ExecuteSQL
// and gives false; the caller sees nothing else of the failure.
bool executeSql(core::Platform& platform, db::Connection& connection, const QString& sql);

// Shows the report executeSql shows for `failure`, a statement run elsewhere.
void reportExecuteFailure(core::Platform& platform, const std::exception_ptr& failure);

}  // namespace dorvane::transfer
