#include "transfer/execute_sql.h"

#include "core/procedure.h"

namespace dorvane {
namespace {

Procedure executeSqlProcedure(Platform& platform) {
    return Procedure(platform, QStringLiteral("Main"), QStringLiteral("ExecuteSQL"));
}

}  // namespace

bool executeSql(Platform& platform, db::Connection& connection, const QString& sql) {
    Procedure p = executeSqlProcedure(platform);
    if (!p.step(100, [&] { connection.execute(sql); })) return false;
    bool result = false;
    p.step(102, [&] { result = true; });
    return result;
}

void reportExecuteFailure(Platform& platform, const std::exception_ptr& failure) {
    Procedure p = executeSqlProcedure(platform);
    p.step(100, [&] { std::rethrow_exception(failure); });
}

}  // namespace dorvane
