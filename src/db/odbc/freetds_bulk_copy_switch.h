#pragma once
// The one part of FreeTDS's bulk-copy interface a connection needs: bulk copy is asked for
// before the login (SQL_COPT_SS_BCP). The rest is in db/bulk/freetds_bulk_copy_abi.h.

#include <sql.h>

namespace dorvane::db::freetds_bcp {

// Set to kBcpOn before connecting; the other attributes fail on a connection without it.
constexpr SQLINTEGER kEnableAttribute = 1219;
constexpr SQLULEN kBcpOn = 1;

}  // namespace dorvane::db::freetds_bcp
