// "Send Table/s To SQL Server" (Form2.PushButton4_Click): the selected tables of the
// PostgreSQL list copied into SQL Server, row by row or, with "Fast copy", each at once.

#include <optional>
#include <vector>

#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/natural_types.h"
#include "sql/sql_quoting.h"
#include "sql/sqlserver_bulk_values.h"
#include "sql/sqlserver_statements.h"
#include "sql/value_text.h"
#include "transfer/bulk_load_rows.h"
#include "transfer/checked_rows.h"
#include "transfer/connection_copy_target.h"
#include "transfer/insert_batches.h"
#include "transfer/send_tables.h"
#include "transfer/sqlserver_target_columns.h"
#include "transfer/table_transfer.h"
#include "transfer/transfer_directions.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {
namespace {

using transfer_steps::existing;
namespace statements = sql::to_sqlserver;

class TransferToSqlServer : public TableTransfer {
  public:
    TransferToSqlServer(CommandContext& ctx, core::YieldPolicy policy)
        : TableTransfer(ctx, policy, kToSqlServerTraits, kToSqlServerLines) {}

  private:
    // The table is read by its name as it stands once the list's spelling is adopted.
    void openSource(const QString&) override {
        // A timestamptz reaches the program as a time of the session's zone without its
        // offset; a DATETIMEOFFSET takes a time without one as +00:00. Read in UTC, it names
        // the same instant there.
        if (naturalTypesTicked())
            existing(postgres_).execute(statements::naturalSessionZoneStatement());
        existing(source_).open(statements::selectStatement(tableName_), existing(postgres_));
    }

    void startTable() override {
        exactColumns_.clear();
        targetColumns_.forget();
        insertColumns_.clear();
    }

    // Each exact column's size, to refuse values it would round, unless the dialog chose the
    // types; and an identity column's values go in by name while it is one.
    void takeNaturalColumns(const sql::SourceTable& source, bool fromDialog) override {
        std::vector<QString> names;
        for (const sql::SourceColumn& column : source.columns) {
            names.push_back(column.name);
            if (!fromDialog) exactColumns_.push_back(statements::naturalExactSize(column));
        }
        if (source.hasIdentity() && statement_.contains(u" IDENTITY", Qt::CaseInsensitive))
            insertColumns_ = statements::insertColumnList(names);
    }

    // The identity column takes the values copied; the server moves its seed past them.
    RowStatements rowStatements(const sql::SourceTable&) override {
        if (insertColumns_.isEmpty()) return {};
        return {.before = {statements::identityInsertStatement(tableName_, true)},
                .after = {},
                .cleanup = {statements::identityInsertStatement(tableName_, false)}};
    }

    void buildColumnList(bool afterDialog) override {
        auto steps = numberedPieces(afterDialog ? kToSqlServerCustomized : kToSqlServerAutomatic);
        statements::appendColumnList(statement_, SourceFields{source_}, steps, exactColumns_);
    }

    // What the new columns can hold, so that no value is changed on the way in; learnt on
    // the line that created them.
    void afterCreate(bool created) override {
        if (created && !p_.step(kToSqlServerCreation.create,
                                [&] { targetColumns_.learn(existing(mssql_), tableName_); }))
            success_ = false;
    }

    void buildInsert(SteppedSourceRow& row) override {
        auto steps = numberedPieces(kToSqlServerRows.insert);
        statements::buildInsert(
            statement_, tableName_, row, steps,
            [&](int column) { return targetColumns_.holdsBytes(column); }, insertColumns_,
            [&](int column) { return targetColumns_.textForm(column); });
    }

    // Each value checked once, before it goes by bulk load or in an INSERT.
    std::unique_ptr<TableTarget> fastCopyTarget() override {
        return std::make_unique<ConnectionCopyTarget>(
            mssql_, true,
            [this] {
                return std::make_unique<CheckedRows>(
                    tableName_,
                    [this](int column, const db::Value& value) {
                        checkTargetCanHold(column, value);
                    },
                    rowWriter(existing(mssql_)));
            },
            &bulkLoadRefused_);
    }

    // By bulk load where every column of the new table takes values in its own form and the
    // server has taken bulk load so far.
    std::unique_ptr<TableRowWriter> rowWriter(db::Connection& target) {
        // A bulk load gives an identity column values of its own.
        if (bulkLoadRefused_ || !insertColumns_.isEmpty() ||
            !sql::to_sqlserver::bulkLoadLikeInserts(statement_))
            return insertBatches(target);
        // Columns the CREATE TABLE gave no collation of their own keep text in the
        // database's code page, the one the copy checks texts against.
        const bool checkedCodePage = targetColumns_.codePageShared() &&
                                     !statement_.contains(u"COLLATE", Qt::CaseInsensitive);
        std::vector<sql::to_sqlserver::BulkColumn> columns;
        for (const db::FieldInfo& field : targetColumns_.described()) {
            auto column = sql::to_sqlserver::bulkColumn(field);
            if (!column) return insertBatches(target);
            if (checkedCodePage) column->asciiOnly = false;
            columns.push_back(*column);
        }
        if (columns.empty()) return insertBatches(target);
        return std::make_unique<BulkLoadRows>(
            target, tableName_, sql::bracketedName(tableName_), std::move(columns),
            [this, connection = &target] { return insertBatches(*connection); }, whileWaiting());
    }

    std::unique_ptr<TableRowWriter> insertBatches(db::Connection& target) {
        QString head;
        statements::startInsertHead(head, tableName_, insertColumns_);
        return std::make_unique<InsertBatches>(
            target, tableName_, head,
            [this](QString& sql, const SourceRowValues& row, bool firstRow) {
                statements::appendInsertRow(
                    sql, row, firstRow,
                    [&](int column) { return targetColumns_.holdsBytes(column); },
                    [&](int column) { return targetColumns_.textForm(column); });
            },
            whileWaiting(), BatchLimits{.rows = statements::kMaxInsertRows});
    }

    void checkTargetCanHold(int column, const db::Value& value) override {
        if (column < static_cast<int>(exactColumns_.size()) && exactColumns_[column])
            sql::checkExactValueFits(value, *exactColumns_[column]);
        targetColumns_.check(column, value);
    }

    void closeSourceAfterTable() override { existing(source_).close(); }

    void endRun() override {
        p_.step(kToSqlServerRunEnd.defaultPointer,
                [&] { setPointer(core::MousePointer::Default); });
        p_.step(kToSqlServerRunEnd.closeMssql, [&] { existing(mssql_).close(); });
        p_.step(kToSqlServerRunEnd.closePostgres, [&] { existing(postgres_).close(); });
    }

    // The size of each exact column the command created, to refuse values it would round.
    std::vector<std::optional<sql::ExactSize>> exactColumns_;
    SqlServerTargetColumns targetColumns_;
    // With an identity column, the INSERTs' list of columns.
    QString insertColumns_;
    // The server, or its driver, refused a bulk load in this run: the later tables go by
    // INSERT statements straight away.
    bool bulkLoadRefused_ = false;
};

}  // namespace

void sendTablesToSqlServer(CommandContext& context, core::YieldPolicy policy) {
    TransferToSqlServer(context, policy).run();
}

}  // namespace dorvane::transfer
