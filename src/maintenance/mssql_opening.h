#pragma once
// Opening SQL Server for a table command, as the saved profile says: through the local
// connection or by host and port. Each command numbers these lines its own way.

#include <optional>

#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/values/connection_strings.h"

namespace dorvane::maintenance {

template <class Line>
void openMssql(core::Procedure& p, std::optional<db::Connection>& connection,
               const db::MssqlProfile& profile) {
    if (p.test(Line::LocalConnectionCheck, [&] { return profile.localConnection; })) {
        p.step(Line::OpenLocal, [&] { connection->open(db::mssqlLocalConnectionString(profile)); });
    } else {
        p.step(Line::OpenWithPort,
               [&] { connection->open(db::mssqlPortConnectionString(profile)); });
    }
}

}  // namespace dorvane::maintenance
