#include "transfer/execute_sql.h"

#include "core/procedure.h"

namespace dorvane::transfer {
namespace {

// The line of the statement's execution.
constexpr int kReportedFailure = 100;

core::Procedure executeSqlProcedure(core::Platform& platform) {
    return core::Procedure(platform, QStringLiteral("Main"), QStringLiteral("ExecuteSQL"));
}

}  // namespace

void reportExecuteFailure(core::Platform& platform, const std::exception_ptr& failure) {
    core::Procedure p = executeSqlProcedure(platform);
    p.step(kReportedFailure, [&] { std::rethrow_exception(failure); });
}

}  // namespace dorvane::transfer
