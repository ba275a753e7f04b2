#pragma once
#include "core/event_yield.h"
#include "transfer/command_context.h"

namespace dorvane::transfer {

// "Send Table/s To PostgreSQL": the selected tables of List1 copied to PostgreSQL.
void sendTablesToPostgres(CommandContext& context, core::YieldPolicy yieldPolicy = {});
// "Send Table/s To SQL Server": the selected tables of List2 copied to SQL Server.
void sendTablesToSqlServer(CommandContext& context, core::YieldPolicy yieldPolicy = {});

}  // namespace dorvane::transfer
