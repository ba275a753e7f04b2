#include "transfer/bulk_load_rows.h"

#include <stdexcept>

#include "db/odbc/odbc_connection.h"
#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "transfer/refused_rows.h"
#include "transfer/stoppable_waits.h"

namespace dorvane::transfer {
namespace {

using sql::to_sqlserver::BulkCell;

// What a value kept for the search of a refused row takes beside its bytes, about.
constexpr qsizetype kValueBytes = 64;

}  // namespace

BulkLoadRows::BulkLoadRows(db::Connection& target, QString table, QString bulkTable,
                           std::vector<sql::to_sqlserver::BulkColumn> columns, RowInsert rowInsert,
                           MakeInserts makeInserts, db::WhileWaiting whileWaiting,
                           BulkBatchLimits limits)
    : target_(target),
      table_(std::move(table)),
      bulkTable_(std::move(bulkTable)),
      columns_(std::move(columns)),
      rowInsert_(std::move(rowInsert)),
      makeInserts_(std::move(makeInserts)),
      whileWaiting_(std::move(whileWaiting)),
      limits_(limits),
      cells_(columns_.size()),
      kinds_(columns_.size()) {}

BulkLoadRows::~BulkLoadRows() {
    abandon();
}

void BulkLoadRows::write(const SourceRowValues& row, std::int64_t rowNumber) {
    const bool bulk = encode(row);
    if (bulk && insertRowsLeft_ == 0) {
        endInserts();
        load(row, rowNumber);
        return;
    }
    // Rows that follow one without a bulk form go as INSERTs for a while: changing ways
    // costs a wait for the server each time.
    if (!bulk) insertRowsLeft_ = limits_.insertRun;
    endBatch();
    if (!inserts_) inserts_ = makeInserts_();
    inserts_->write(row, rowNumber);
    --insertRowsLeft_;
}

void BulkLoadRows::finish() {
    endBatch();
    endInserts();
}

void BulkLoadRows::abandon() noexcept {
    if (inserts_) inserts_->abandon();
    inserts_.reset();
    try {
        // Ending the load sends the rows still held, which the rollback then undoes.
        db::runWhileWaiting([&] { load_.reset(); }, whileWaiting_);
    } catch (...) {
        load_.reset();  // a turn threw; the load has ended all the same
    }
    batch_.clear();
}

bool BulkLoadRows::encode(const SourceRowValues& row) {
    if (row.fieldCount() != static_cast<int>(columns_.size())) return false;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        kinds_[c] =
            sql::to_sqlserver::bulkValue(row.value(static_cast<int>(c)), columns_[c], cells_[c]);
        if (kinds_[c] == BulkCell::None) return false;
    }
    return true;
}

void BulkLoadRows::load(const SourceRowValues& row, std::int64_t rowNumber) {
    if (!load_) {
        db::OdbcConnection& connection = target_.odbc();
        db::runWhileWaiting(
            [&] {
                load_ = std::make_unique<db::BulkLoad>(connection, bulkTable_,
                                                       static_cast<int>(columns_.size()));
            },
            whileWaiting_);
        firstRow_ = rowNumber;
        batchBytes_ = 0;
    }
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const int column = static_cast<int>(c);
        if (kinds_[c] == BulkCell::Null)
            load_->setNull(column);
        else
            load_->set(column, columns_[c].form, cells_[c]);
        batch_.push_back(row.value(column));
        batchBytes_ += cells_[c].size() + kValueBytes;
    }
    // Every value has its column's form, so the driver converts nothing that could fail.
    load_->sendRow();
    if (batchRows() >= limits_.rows || batchBytes_ >= limits_.bytes) endBatch();
}

void BulkLoadRows::endBatch() {
    if (!load_) return;
    const std::unique_ptr<db::BulkLoad> load = std::move(load_);
    std::int64_t taken = 0;
    try {
        db::runWhileWaiting([&] { taken = load->finish(); }, whileWaiting_);
    } catch (const db::DbError&) {
        findRefusedRow(std::current_exception());
    }
    // The server counts the rows it took: none may be lost without a word.
    const std::int64_t sent = batchRows();
    if (taken != sent)
        throwRefusedRows(
            table_, firstRow_, firstRow_ + sent - 1,
            std::make_exception_ptr(std::runtime_error(
                QStringLiteral("the server took %1 of them.").arg(taken).toStdString())));
    batch_.clear();
}

void BulkLoadRows::endInserts() {
    if (!inserts_) return;
    inserts_->finish();
    inserts_.reset();
}

void BulkLoadRows::findRefusedRow(std::exception_ptr failure) {
    const std::size_t width = columns_.size();
    const std::int64_t rows = batchRows();
    const bool goesOn = transactionGoesOn(target_);
    for (std::int64_t r = 0; goesOn && r < rows; ++r) {
        try {
            target_.execute(rowInsert_(std::span(batch_).subspan(r * width, width)));
        } catch (const StoppedWhileWaiting&) {
            throw;  // the user stopped the search, and the copy
        } catch (...) {
            throwRefusedRows(table_, firstRow_ + r, firstRow_ + r, std::current_exception());
        }
    }
    throwRefusedRows(table_, firstRow_, firstRow_ + rows - 1, failure);
}

}  // namespace dorvane::transfer
