#include "transfer/execute_sql.h"

#include "core/procedure.h"

namespace dorvane::transfer {
namespace {

enum Line : int { Execute = 100, Succeeded = 102 };
// A failure met elsewhere is reported as the execution's own.
constexpr Line kReportedFailure = Execute;

core::Procedure executeSqlProcedure(core::Platform& platform) {
    return core::Procedure(platform, QStringLiteral("Main"), QStringLiteral("ExecuteSQL"));
}

}  // namespace

bool executeSql(core::Platform& platform, db::Connection& connection, const QString& sql) {
    core::Procedure p = executeSqlProcedure(platform);
    if (!p.step(Execute, [&] { connection.execute(sql); })) return false;
    bool result = false;
    p.step(Succeeded, [&] { result = true; });
    return result;
}

void reportExecuteFailure(core::Platform& platform, const std::exception_ptr& failure) {
    core::Procedure p = executeSqlProcedure(platform);
    p.step(kReportedFailure, [&] { std::rethrow_exception(failure); });
}

}  // namespace dorvane::transfer
