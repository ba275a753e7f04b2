#pragma once
#include "transfer/command_context.h"

namespace dorvane {

// "Send Table/s To PostgreSQL": the selected tables of List1 copied to PostgreSQL.
void sendTablesToPostgres(CommandContext& context);
// "Send Table/s To SQL Server": the selected tables of List2 copied to SQL Server.
void sendTablesToSqlServer(CommandContext& context);

}  // namespace dorvane
