#pragma once
#include "transfer/command_context.h"
#include "core/event_yield.h"

namespace dorvane {

// "Send Table/s To PostgreSQL": the selected tables of List1 copied to PostgreSQL.
void sendTablesToPostgres(CommandContext& context, YieldPolicy yieldPolicy = {});
// "Send Table/s To SQL Server": the selected tables of List2 copied to SQL Server.
void sendTablesToSqlServer(CommandContext& context, YieldPolicy yieldPolicy = {});

}  // namespace dorvane
