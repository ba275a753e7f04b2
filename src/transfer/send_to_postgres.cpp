// "Send Table/s To PostgreSQL" (Form2.PushButton3_Click): the selected tables of the
// SQL Server list copied into PostgreSQL, row by row or, with "Fast copy", each at once.

#include <vector>

#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/natural_types.h"
#include "sql/postgres_statements.h"
#include "sql/value_text.h"
#include "transfer/postgres_copy_target.h"
#include "transfer/send_tables.h"
#include "transfer/table_transfer.h"
#include "transfer/transfer_directions.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {
namespace {

using transfer_steps::existing;
namespace statements = sql::to_postgres;

class TransferToPostgres : public TableTransfer {
  public:
    TransferToPostgres(CommandContext& ctx, core::YieldPolicy policy)
        : TableTransfer(ctx, policy, kToPostgresTraits, kToPostgresLines) {}

  private:
    void openSource(const QString& sourceName) override {
        existing(source_).open(statements::selectStatement(sourceName), existing(mssql_),
                               db::kOpenStatic, db::kLockOptimistic);
    }

    void buildColumnList(bool afterDialog) override {
        auto steps = numberedPieces(afterDialog ? kToPostgresCustomized : kToPostgresAutomatic);
        statements::appendColumnList(statement_, SourceFields{source_}, steps, numericColumns_);
    }

    // A name PostgreSQL would shorten is refused before anything is dropped or created,
    // on the line that would create it.
    void checkBeforeCreate(bool sourceRead, bool customized) override {
        if (success_ && sourceRead &&
            !p_.step(kToPostgresCreation.create, [&] { checkNamesFit(customized); }))
            success_ = false;
    }

    // Every name the CREATE TABLE will give PostgreSQL: the table's and the columns'. The
    // dialog gives a column whose name reads as a number a short name of its own.
    void checkNamesFit(bool customized) {
        statements::checkNameFits(tableName_);
        const db::Recordset& source = existing(source_);
        for (int i = 0; i < source.fieldCount(); ++i) {
            const QString& name = source.field(i).name;
            if (!(customized && sql::readsAsSqlNumber(name))) statements::checkNameFits(name);
        }
    }

    void buildInsert(SteppedSourceRow& row) override {
        auto steps = numberedPieces(kToPostgresRows.insert);
        statements::buildInsert(statement_, tableName_, row, steps, numericColumns_);
    }

    void checkTargetCanHold(int, const db::Value& value) override {
        sql::checkPostgresCanHold(value);
    }

    // The rows as COPY ... FROM STDIN, over a session of the copy's own to the same server,
    // which lets events run while it waits as the command's connections do. Its text of the
    // rows checks each value as checkTargetCanHold does.
    std::unique_ptr<TableTarget> fastCopyTarget() override {
        const db::Recordset& source = existing(source_);
        std::vector<QString> columns;
        for (int i = 0; i < source.fieldCount(); ++i) columns.push_back(source.field(i).name);
        return std::make_unique<PostgresCopyTarget>(
            db::postgresConnectionString(ctx_.profiles.postgres()), tableName_, numericColumns_,
            std::move(columns), whileWaiting());
    }

    // An identity column's next value past the values copied into it.
    RowStatements rowStatements(const sql::SourceTable& source) override {
        RowStatements around;
        for (const sql::SourceColumn& column : source.columns)
            if (column.identity)
                around.after.push_back(
                    statements::identityRestartStatement(tableName_, column.name));
        return around;
    }

    void closeSourceAfterTable() override {
        if (existing(source_).state() != db::kStateClosed) source_->close();
    }

    void endRun() override {
        p_.step(kToPostgresRunEnd.closeMssql, [&] { transfer_steps::closeIfOpen(mssql_); });
        p_.step(kToPostgresRunEnd.closePostgres, [&] { transfer_steps::closeIfOpen(postgres_); });
        p_.step(kToPostgresRunEnd.defaultPointer, [&] { setPointer(core::MousePointer::Default); });
    }
};

}  // namespace

void sendTablesToPostgres(CommandContext& context, core::YieldPolicy policy) {
    TransferToPostgres(context, policy).run();
}

}  // namespace dorvane::transfer
