#pragma once
// The connection profile's fields as the command line sees them: the key the windows
// store each under, the option that overrides it and the environment variable that does.
// Passwords have no option: they never need to appear on a command line.

#include <array>

#include "screens/connection_settings.h"

namespace dorvane::cli {

struct ProfileField {
    screens::ConnectionField field;  // kLocalConnectionBox for the "Local Connection" box
    const char* option;              // nullptr: none
    const char* variable;
};

inline constexpr std::array<ProfileField, 11> kProfileFields{{
    {&screens::ConnectionFields::postgresServer, "--pg-host", "DORVANE_PG_HOST"},
    {&screens::ConnectionFields::postgresPort, "--pg-port", "DORVANE_PG_PORT"},
    {&screens::ConnectionFields::postgresUser, "--pg-user", "DORVANE_PG_USER"},
    {&screens::ConnectionFields::postgresPassword, nullptr, "DORVANE_PG_PASSWORD"},
    {&screens::ConnectionFields::postgresDatabase, "--pg-database", "DORVANE_PG_DATABASE"},
    {screens::kLocalConnectionBox, "--mssql-local-connection", "DORVANE_MSSQL_LOCAL_CONNECTION"},
    {&screens::ConnectionFields::mssqlServer, "--mssql-host", "DORVANE_MSSQL_HOST"},
    {&screens::ConnectionFields::mssqlUser, "--mssql-user", "DORVANE_MSSQL_USER"},
    {&screens::ConnectionFields::mssqlPassword, nullptr, "DORVANE_MSSQL_PASSWORD"},
    {&screens::ConnectionFields::mssqlDatabase, "--mssql-database", "DORVANE_MSSQL_DATABASE"},
    {&screens::ConnectionFields::mssqlPort, "--mssql-port", "DORVANE_MSSQL_PORT"},
}};

}  // namespace dorvane::cli
