#include "transfer/row_sender.h"

#include "transfer/execute_sql.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

RowSender::RowSender(core::Procedure& procedure, core::Platform& platform, core::EventYield& yield,
                     bool& success, PipelineLimits limits)
    : procedure_(procedure),
      platform_(platform),
      success_(success),
      pipeline_(transfer_steps::eventsWhileWaiting(yield), limits) {
    procedure_.setBeforeReport([this] { settle(); });
}

RowSender::~RowSender() {
    procedure_.setBeforeReport(nullptr);
}

void RowSender::settle() {
    if (std::exception_ptr failure = pipeline_.settle()) {
        success_ = false;
        reportExecuteFailure(platform_, failure);
    }
}

}  // namespace dorvane::transfer
