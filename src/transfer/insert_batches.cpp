#include "transfer/insert_batches.h"

#include <stdexcept>

#include "db/odbc/recordset.h"
#include "transfer/refused_rows.h"
#include "transfer/stoppable_waits.h"

namespace dorvane::transfer {
namespace {

// Two statements building while two wait and one runs: the server never waits for the
// reading, and memory stays within a few statements.
constexpr PipelineLimits kQueue{.statements = 2, .bytes = std::size_t{16} << 20};

}  // namespace

InsertBatches::InsertBatches(db::Connection& target, QString table, QString head,
                             AppendRow appendRow, std::function<void()> whileWaiting,
                             BatchLimits limits)
    : target_(target),
      table_(std::move(table)),
      head_(std::move(head)),
      appendRow_(std::move(appendRow)),
      limits_(limits),
      pipeline_(std::move(whileWaiting), kQueue) {}

InsertBatches::~InsertBatches() {
    abandon();
}

void InsertBatches::write(const SourceRowValues& row, std::int64_t rowNumber) {
    if (pipeline_.failed()) throwIfFailed(pipeline_.settle());
    if (rowEnds_.empty()) {
        batch_.resize(0);  // keeps the capacity of the statement before
        batch_ += head_;
        firstRow_ = rowNumber;
    }
    appendRow_(batch_, row, rowEnds_.empty());
    rowEnds_.push_back(batch_.size());
    lastRow_ = rowNumber;
    if (static_cast<int>(rowEnds_.size()) >= limits_.rows || batch_.size() >= limits_.chars)
        sendBatch();
}

void InsertBatches::finish() {
    if (!rowEnds_.empty()) sendBatch();
    throwIfFailed(pipeline_.settle());
}

void InsertBatches::abandon() noexcept {
    pipeline_.abandon();
    try {
        (void)pipeline_.settle();  // the statement running, if any, has been answered
    } catch (...) {
        // A turn taken while waiting threw; the pipeline was settled all the same.
    }
}

QString InsertBatches::statementText() const {
    return head_ + QStringLiteral(" (...)");
}

void InsertBatches::sendBatch() {
    // Statements the server has taken are forgotten.
    for (const std::size_t taken = pipeline_.succeeded(); taken_ < taken && !sent_.empty();
         ++taken_)
        sent_.pop_front();
    sent_.push_back({firstRow_, lastRow_, batch_, rowEnds_});
    rowEnds_.clear();
    pipeline_.send(target_, batch_);
}

void InsertBatches::throwIfFailed(std::exception_ptr failure) {
    if (!failure) return;
    const std::size_t at = pipeline_.succeeded();
    if (at < taken_ || at - taken_ >= sent_.size()) std::rethrow_exception(failure);
    const Sent& refused = sent_[at - taken_];
    if (const std::optional<std::size_t> i = refusedRow(refused, failure)) {
        const std::int64_t row = refused.firstRow + static_cast<std::int64_t>(*i);
        throwRefusedRows(table_, row, row, failure, rowStatement(refused, *i));
    }
    throwRefusedRows(table_, refused.firstRow, refused.lastRow, failure,
                     statementWithRows(statementText(), refused.firstRow, refused.lastRow));
}

std::optional<std::size_t> InsertBatches::refusedRow(const Sent& refused,
                                                     std::exception_ptr& failure) {
    if (refused.rowEnds.empty() || connectionLost(failure)) return std::nullopt;
    if (refused.rowEnds.size() == 1) return 0;
    // An error severe enough rolls the transaction back, XACT_ABORT off or not.
    if (!transactionGoesOn(target_)) return std::nullopt;
    for (std::size_t i = 0; i < refused.rowEnds.size(); ++i) {
        try {
            target_.execute(rowStatement(refused, i));
        } catch (const StoppedWhileWaiting&) {
            throw;  // the user stopped the search, and the copy
        } catch (...) {
            failure = std::current_exception();
            return i;
        }
    }
    return std::nullopt;
}

QString InsertBatches::rowStatement(const Sent& sent, std::size_t i) const {
    // Past the head, or past the comma joining the row to the one before.
    const qsizetype values = i == 0 ? head_.size() : sent.rowEnds[i - 1] + 1;
    return head_ + sent.sql.mid(values, sent.rowEnds[i] - values);
}

}  // namespace dorvane::transfer
