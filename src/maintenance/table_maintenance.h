#pragma once
#include "transfer/command_context.h"

namespace dorvane::maintenance {

// "Delete Table/s" under List1 (SQL Server) and List2 (PostgreSQL).
void deleteMssqlTables(transfer::CommandContext& context);
void deletePostgresTables(transfer::CommandContext& context);
// "Rename Table" under List1 (SQL Server) and List2 (PostgreSQL).
void renameMssqlTable(transfer::CommandContext& context);
void renamePostgresTable(transfer::CommandContext& context);

}  // namespace dorvane::maintenance
