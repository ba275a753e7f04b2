#include "transfer/bulk_load_rows.h"

#include <stdexcept>

#include "db/odbc/odbc_connection.h"
#include "db/values/db_error.h"
#include "transfer/refused_rows.h"

namespace dorvane::transfer {
namespace {

using sql::to_sqlserver::BulkCell;

// What a value takes in a batch beside its bytes, about.
constexpr qsizetype kValueBytes = 64;

}  // namespace

BulkLoadRows::BulkLoadRows(db::Connection& target, QString table, QString bulkTable,
                           std::vector<sql::to_sqlserver::BulkColumn> columns,
                           MakeInserts makeInserts, db::WhileWaiting whileWaiting,
                           BulkBatchLimits limits)
    : target_(target),
      table_(std::move(table)),
      bulkTable_(std::move(bulkTable)),
      columns_(std::move(columns)),
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
        load(rowNumber);
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
    batchRows_ = 0;
}

QString BulkLoadRows::statementText() const {
    return inserts_ ? inserts_->statementText() : bulkStatement();
}

QString BulkLoadRows::bulkStatement() const {
    return QStringLiteral("INSERT BULK ") + bulkTable_;
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

void BulkLoadRows::load(std::int64_t rowNumber) {
    if (!load_) {
        firstRow_ = rowNumber;
        batchRows_ = 0;
        batchBytes_ = 0;
    }
    try {
        if (!load_) {
            db::OdbcConnection& connection = target_.odbc();
            db::runWhileWaiting(
                [&] {
                    load_ = std::make_unique<db::BulkLoad>(connection, bulkTable_,
                                                           static_cast<int>(columns_.size()));
                },
                whileWaiting_);
        }
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const int column = static_cast<int>(c);
            if (kinds_[c] == BulkCell::Null)
                load_->setNull(column);
            else
                load_->set(column, columns_[c].form, cells_[c]);
            batchBytes_ += cells_[c].size() + kValueBytes;
        }
        // Every value has its column's form, so the driver converts nothing that could fail;
        // the first row also starts the load on the server.
        load_->sendRow();
    } catch (const db::DbError&) {
        refused(rowNumber, std::current_exception());
    }
    ++batchRows_;
    if (batchRows_ >= limits_.rows || batchBytes_ >= limits_.bytes) endBatch();
}

void BulkLoadRows::endBatch() {
    if (!load_) return;
    const std::unique_ptr<db::BulkLoad> load = std::move(load_);
    const std::int64_t lastRow = firstRow_ + batchRows_ - 1;
    std::int64_t taken = 0;
    try {
        db::runWhileWaiting([&] { taken = load->finish(); }, whileWaiting_);
    } catch (const db::DbError&) {
        refused(lastRow, std::current_exception());
    }
    // The server counts the rows it took: none may be lost without a word.
    if (taken != batchRows_)
        refused(lastRow,
                std::make_exception_ptr(std::runtime_error(
                    QStringLiteral("the server took %1 of them.").arg(taken).toStdString())));
    batchRows_ = 0;
}

void BulkLoadRows::endInserts() {
    if (!inserts_) return;
    inserts_->finish();
    inserts_.reset();
}

void BulkLoadRows::refused(std::int64_t lastRow, std::exception_ptr failure) const {
    const QString statement = statementWithRows(bulkStatement(), firstRow_, lastRow);
    throwRefusedRows(table_, firstRow_, lastRow, failure, statement,
                     connectionLost(failure) ? RefusedBy::Statement : RefusedBy::BulkLoad);
}

}  // namespace dorvane::transfer
