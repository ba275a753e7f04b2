#pragma once
// The row loop's INSERT statements, sent by a StatementPipeline while the next rows are
// built. What the user sees stays in the order of the rows: a statement that failed is
// reported as executeSql reports it, and before any other report of the procedure, which
// first waits for the statements sent before; and the copy's flag of success turns false
// then, as it would have right after that statement.

#include <QString>

#include "core/event_yield.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "transfer/statement_pipeline.h"

namespace dorvane::transfer {

class RowSender {
  public:
    RowSender(core::Procedure& procedure, core::Platform& platform, core::EventYield& yield,
              bool& success, PipelineLimits limits = {});
    ~RowSender();
    RowSender(const RowSender&) = delete;
    RowSender& operator=(const RowSender&) = delete;

    void send(db::Connection& target, const QString& sql) { pipeline_.send(target, sql); }
    // Between rows: reports a failure that has come in meanwhile, without waiting.
    void reportIfFailed() {
        if (pipeline_.failed()) settle();
    }
    // After the last row: waits for every statement sent and reports a failure.
    void settle();

  private:
    core::Procedure& procedure_;
    core::Platform& platform_;
    bool& success_;
    StatementPipeline pipeline_;
};

}  // namespace dorvane::transfer
