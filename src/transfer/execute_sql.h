#pragma once
#include <QString>

#include "app/platform.h"
#include "db/connection.h"

namespace dorvane {

// Runs one statement as it stands. A refusal shows the error report of Main.ExecuteSQL
// and gives false; the caller sees nothing else of the failure.
bool executeSql(Platform& platform, db::Connection& connection, const QString& sql);

}  // namespace dorvane
