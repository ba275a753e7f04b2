#include "transfer/execute_sql.h"

#include "app/procedure.h"

namespace dorvane {

bool executeSql(Platform& platform, db::Connection& connection, const QString& sql) {
    Procedure p(platform, QStringLiteral("Main"), QStringLiteral("ExecuteSQL"));
    if (!p.step(100, [&] { connection.execute(sql); })) return false;
    bool result = false;
    p.step(102, [&] { result = true; });
    return result;
}

}  // namespace dorvane
