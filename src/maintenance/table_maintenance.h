#pragma once
#include "transfer/command_context.h"

namespace dorvane {

// "Delete Table/s" under List1 (SQL Server) and List2 (PostgreSQL).
void deleteMssqlTables(CommandContext& context);
void deletePostgresTables(CommandContext& context);
// "Rename Table" under List1 (SQL Server) and List2 (PostgreSQL).
void renameMssqlTable(CommandContext& context);
void renamePostgresTable(CommandContext& context);

}  // namespace dorvane
