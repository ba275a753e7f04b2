#pragma once
// A transfer of the selected tables of one server's list to the other server, row by row or,
// with "Fast copy", each table at once (table_copy.h). Both directions take the same steps,
// each at its own lines (transfer_directions.h); what differs is asked of the direction: how
// the source is read, how the column list and the INSERT are built, what the target can
// hold, and where a fast copy goes.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/event_yield.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/natural_types.h"
#include "sql/refused_value.h"
#include "sql/statement_pieces.h"
#include "transfer/command_context.h"
#include "transfer/insert_per_row.h"
#include "transfer/stoppable_waits.h"
#include "transfer/table_copy.h"
#include "transfer/transfer_directions.h"
#include "transfer/transfer_steps.h"
#include "transfer/uncopied_tables.h"

namespace dorvane::transfer {

// The source's fields as the column list builder reads them.
struct SourceFields {
    const std::unique_ptr<db::Recordset>& source;
    int fieldCount() const { return transfer_steps::existing(source).fieldCount(); }
    const db::FieldInfo& field(int index) const { return source->field(index); }
};

class TableTransfer : public InsertBuilder, public TableCopyDirection {
  public:
    void run();

  protected:
    TableTransfer(CommandContext& ctx, core::YieldPolicy policy, const TransferTraits& traits,
                  const TransferLines& lines);
    virtual ~TableTransfer() = default;
    TableTransfer(const TableTransfer&) = delete;
    TableTransfer& operator=(const TableTransfer&) = delete;

    // The body of the step that opens the source on `sourceName`, as the source list
    // names the table, once its connection reads ahead.
    virtual void openSource(const QString& sourceName) = 0;
    // Before a table: what the last table learnt is forgotten.
    virtual void startTable() {}
    // The column list appended to statement_, with the lines of the copy after the dialog
    // (`afterDialog`) or of the copy without it.
    virtual void buildColumnList(bool afterDialog) = 0;
    // Before anything is dropped or created; `customized` when the dialog changed the
    // statement.
    virtual void checkBeforeCreate(bool /*sourceRead*/, bool /*customized*/) {}
    // After the CREATE TABLE.
    void afterCreate(bool /*created*/) override {}
    // The INSERT of one row into statement_, its pieces as steps at the lines of the rows.
    void buildInsert(SteppedSourceRow& row) override = 0;
    // Throws when the target cannot hold `value` in `column` as it is.
    void checkTargetCanHold(int column, const db::Value& value) override = 0;
    // Where a fast copy goes: the target, its transaction and its writer of many rows.
    virtual std::unique_ptr<TableTarget> fastCopyTarget() = 0;
    // "Natural types": what the direction learns of the source's columns once the CREATE
    // TABLE is built from them, or taken from the dialog (`fromDialog`), and the target's
    // statements around the rows.
    virtual void takeNaturalColumns(const sql::SourceTable& /*source*/, bool /*fromDialog*/) {}
    virtual RowStatements rowStatements(const sql::SourceTable& source) = 0;
    // The body of the step that closes the source after a table.
    virtual void closeSourceAfterTable() = 0;
    // The steps after the last table.
    virtual void endRun() = 0;

    void setPointer(core::MousePointer pointer) { ctx_.transferScreen.pointer.setPointer(pointer); }

    // The runner of a statement's pieces as steps of this command, at `lines`.
    template <class Lines>
    NumberedPieces<Lines> numberedPieces(const Lines& lines) {
        return {p_, yield_, lines};
    }

    CommandContext& ctx_;
    const TransferTraits& traits_;
    const TransferLines& lines_;
    core::Procedure p_;
    core::EventYield yield_;
    // A stop cuts short the fast copy's waits on a server.
    StoppableWaits waits_{ctx_.stop};
    std::unique_ptr<db::Connection> mssql_;
    std::unique_ptr<db::Connection> postgres_;
    std::unique_ptr<db::Recordset> source_;
    bool success_ = false;
    QString statement_;
    QString tableName_;
    // The table as the source list names it, as openSource takes it.
    QString sourceName_;
    // Towards PostgreSQL, the columns whose values go without quotes.
    std::vector<bool> numericColumns_;
    UncopiedTables uncopied_;
    // The user stopped the run in the middle of a table.
    bool stopped_ = false;
    const bool fastCopy_;
    const bool naturalTypes_;
    // With "Natural types", the source table as its server's catalogue describes it, and
    // the CREATE TABLE built from it.
    sql::SourceTable natural_;
    QString naturalCreate_;

    // The direction's "Fast copy" box was ticked when the run began: the whole run, and
    // the stop question the window asks during it, go by that.
    bool fastCopyTicked() const { return fastCopy_; }
    // Likewise its "Natural types" box.
    bool naturalTypesTicked() const { return naturalTypes_; }
    // What the run's sessions with the servers do while they wait: let events run, and give
    // up a fast copy's wait once the user has asked to stop.
    db::WhileWaiting whileWaiting();

  private:
    void makeObjects();
    // False when the run has ended early: nothing was selected, or a customization was
    // cancelled.
    bool sendSelectedTables();
    // One selected table; false when the whole run has ended.
    bool sendTable(int index);
    // The answer to "overwrite?" for a name the target list holds already, else 0;
    // none when the user declined and the table is left alone.
    std::optional<int> overwriteAnswer();
    // False when the user cancelled and the run has ended.
    bool customize();
    // The table's copy: to `target` when given ("Fast copy"), else row by row. `answer`:
    // the overwrite question's.
    void copyTable(int answer, bool sourceRead, std::unique_ptr<TableTarget> target);
    bool readSourceAgain() override;
    // "Natural types": the source's columns and key read from its catalogue, before the
    // source itself is read, and the CREATE TABLE built from them.
    void describeSource();
    // The column list: buildColumnList's, or with "Natural types" describeSource's.
    void buildColumns(bool afterDialog);
    // The CREATE TABLE describeSource built, once the source is read: the two agree.
    void takeNaturalCreate();
    // After the rows: checks that they all arrived, closes the source and lists a table
    // that was created; a table not complete is named at the end of the run.
    void endTable(bool created, std::int64_t rowsSent);

    // The target's statements.
    QString columnHead() const;
    QString dropStatement() const;
    QString countStatement() const;

    core::ListBox& sourceList() const;
    core::ListBox& targetList() const;
    // How the target tells table names apart: SQL Server, as it is set up by default,
    // ignores case.
    Qt::CaseSensitivity targetNames() const;
    const std::unique_ptr<db::Connection>& target() const;
    // The source's connection, set to read ahead, and the source opened on it.
    void readSource();
};

}  // namespace dorvane::transfer
