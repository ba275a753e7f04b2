#include "transfer/table_transfer.h"

#include <stdexcept>

#include "core/list_helpers.h"
#include "db/odbc/ado.h"
#include "sql/natural_catalogue.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"
#include "transfer/connection_copy_target.h"

namespace dorvane::transfer {

using transfer_steps::existing;

TableTransfer::TableTransfer(CommandContext& ctx, core::YieldPolicy policy,
                             const TransferTraits& traits, const TransferLines& lines)
    : ctx_(ctx),
      traits_(traits),
      lines_(lines),
      p_(ctx.platform, QStringLiteral("Form2"), QString::fromUtf16(traits.handler)),
      yield_(ctx.platform, policy),
      fastCopy_(fastCopyBoxTicked(ctx.transferScreen, traits.direction)),
      naturalTypes_(naturalTypesBoxTicked(ctx.transferScreen, traits.direction)) {
    p_.showStatementInReport(&statement_);
}

QString TableTransfer::columnHead() const {
    return traits_.direction == Direction::ToPostgres ? sql::to_postgres::columnHead(tableName_)
                                                      : sql::to_sqlserver::columnHead(tableName_);
}

QString TableTransfer::dropStatement() const {
    return traits_.direction == Direction::ToPostgres
               ? sql::to_postgres::dropStatement(tableName_)
               : sql::to_sqlserver::dropStatement(tableName_);
}

QString TableTransfer::countStatement() const {
    return traits_.direction == Direction::ToPostgres
               ? sql::to_postgres::countStatement(tableName_)
               : sql::to_sqlserver::countStatement(tableName_);
}

core::ListBox& TableTransfer::sourceList() const {
    const bool toPostgres = traits_.direction == Direction::ToPostgres;
    return toPostgres ? ctx_.transferScreen.mssqlTables : ctx_.transferScreen.postgresTables;
}

core::ListBox& TableTransfer::targetList() const {
    const bool toPostgres = traits_.direction == Direction::ToPostgres;
    return toPostgres ? ctx_.transferScreen.postgresTables : ctx_.transferScreen.mssqlTables;
}

Qt::CaseSensitivity TableTransfer::targetNames() const {
    return traits_.direction == Direction::ToPostgres ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

const std::unique_ptr<db::Connection>& TableTransfer::target() const {
    return traits_.direction == Direction::ToPostgres ? postgres_ : mssql_;
}

void TableTransfer::readSource() {
    const bool toPostgres = traits_.direction == Direction::ToPostgres;
    transfer_steps::readSourceAhead(existing(toPostgres ? mssql_ : postgres_), fastCopyTicked());
    openSource(sourceName_);
}

db::WhileWaiting TableTransfer::whileWaiting() {
    return [this] {
        yield_.whenDue();
        waits_.check();
    };
}

void TableTransfer::run() {
    makeObjects();
    if (sendSelectedTables()) endRun();
    uncopied_.tell(ctx_.platform);
}

void TableTransfer::makeObjects() {
    const RunLines& lines = lines_.run;
    p_.step(lines.createMssql, [&] { mssql_ = transfer_steps::newConnection(whileWaiting()); });
    const auto makeSource = [&] {
        p_.step(lines.createSource, [&] { source_ = std::make_unique<db::Recordset>(); });
    };
    const auto makePostgres = [&] {
        p_.step(lines.createPostgres,
                [&] { postgres_ = transfer_steps::newConnection(whileWaiting()); });
    };
    if (traits_.makesSourceFirst) {
        makeSource();
        makePostgres();
    } else {
        makePostgres();
        makeSource();
    }
    p_.step(lines.assumeSuccess, [&] { success_ = true; });
}

bool TableTransfer::sendSelectedTables() {
    const RunLines& lines = lines_.run;
    core::ListBox& tables = sourceList();
    if (p_.test(lines.nothingSelectedCheck, [&] { return !core::hasCurrentOrSelected(tables); })) {
        p_.step(lines_.runEnd.askToSelectTable,
                [&] { ctx_.platform.messageBox(QString::fromUtf16(traits_.askToSelect)); });
        return false;
    }
    p_.step(lines.busyPointer, [&] { setPointer(core::MousePointer::Busy); });
    {
        // Both logins at once; each still reported, if it fails, at its own line.
        const auto mssqlLogin = transfer_steps::startMssqlLogin(ctx_.profiles);
        transfer_steps::openPostgres(p_, postgres_, traits_.postgresCursor, ctx_.profiles,
                                     lines.openPostgres);
        transfer_steps::openMssql(p_, mssql_, traits_.mssqlCursor, ctx_.profiles, lines.openMssql,
                                  mssqlLogin.get());
    }

    int last = -1;
    p_.step(lines.findLastEntry, [&] { last = tables.count() - 1; });
    for (int index = last; index >= 0; --index) {
        if (traits_.letsEventsRunPerEntry) p_.step(lines.letEventsRun, [&] { yield_.now(); });
        // A stop leaves the tables not yet begun as they are.
        if (ctx_.stop.requested()) break;
        // Handlers that ran meanwhile may have shortened the list.
        if (index >= tables.count()) continue;
        if (p_.test(lines.entrySelectedCheck, [&] { return tables.selected(index); })) {
            if (!sendTable(index)) return false;  // the customization was cancelled
        }
    }
    return true;
}

bool TableTransfer::sendTable(int index) {
    const TableLines& lines = lines_.table;
    p_.step(lines.takeTableName, [&] { tableName_ = sourceName_ = sourceList().text(index); });
    const std::optional<int> answer = overwriteAnswer();
    if (!answer) return true;

    startTable();
    if (traits_.closesSourceBeforeReading) {
        p_.step(lines.closeSourceBeforeReading, [&] {
            if (existing(source_).state() != db::kStateClosed) source_->close();
        });
    }
    // The catalogue is asked before the source is read: its connection is busy then.
    if (naturalTypesTicked()) describeSource();
    const bool sourceRead = p_.step(lines.openSource, [&] { readSource(); });
    const QString head = columnHead();
    p_.step(lines.startCreateTable, [&] { statement_ = head; });
    const core::CheckBox& customizeBox = traits_.direction == Direction::ToPostgres
                                             ? ctx_.transferScreen.customizeToPostgres
                                             : ctx_.transferScreen.customizeToSqlServer;
    bool customized = false;
    if (p_.test(lines.customizeTickedCheck, [&] { return customizeBox.value() == 1; })) {
        if (!customize()) return false;
        customized = statement_ != head;
        if (p_.test(lines.statementUnchangedCheck, [&] { return statement_ == head; })) {
            if (traits_.keepsNumericList)
                p_.step(lines.clearNumericListAfterDialog, [&] { numericColumns_.clear(); });
            buildColumns(true);
        } else if (naturalTypesTicked()) {
            takeNaturalColumns(natural_, true);
        }
    } else {
        if (traits_.keepsNumericList)
            p_.step(lines.clearNumericList, [&] { numericColumns_.clear(); });
        buildColumns(false);
    }
    checkBeforeCreate(sourceRead, customized);

    // "Fast copy": the table in one transaction. After a failure the run sends nothing
    // more, and the copy row by row then only reads, as it does without the box.
    std::unique_ptr<TableTarget> atOnce;
    if (fastCopyTicked() && success_ && sourceRead && target() && source_ &&
        !p_.step(lines_.fast.begin, [&] { atOnce = fastCopyTarget(); })) {
        success_ = false;
        endTable(false, 0);
        return true;
    }
    copyTable(*answer, sourceRead, std::move(atOnce));
    return true;
}

std::optional<int> TableTransfer::overwriteAnswer() {
    const OverwriteLines& lines = lines_.overwrite;
    int answer = 0;
    if (p_.test(lines.alreadyListedCheck,
                [&] { return core::listContains(targetList(), tableName_); })) {
        // Both ways the spelling comes from the PostgreSQL list.
        transfer_steps::adoptListedSpelling(p_, ctx_.transferScreen.postgresTables, tableName_,
                                            lines.adoptListedSpelling);
        p_.step(lines.askOverwrite,
                [&] { answer = transfer_steps::askOverwrite(ctx_.platform, tableName_); });
    } else {
        p_.step(lines.nothingToOverwrite, [&] { answer = 0; });
    }
    if (p_.test(lines.declinedCheck, [&] { return answer == core::kAnswerNo; }))
        return std::nullopt;
    return answer;
}

bool TableTransfer::customize() {
    const DialogLines& lines = lines_.dialog;
    CustomizationMembers& dialog = ctx_.customizationDialog.members();
    p_.step(lines.assumeCancelled, [&] { ctx_.customizationCancelled = true; });
    if (traits_.keepsNumericList)
        p_.step(lines.clearNumericList, [&] { dialog.numericColumns.clear(); });
    p_.step(lines.tellDirection, [&] {
        dialog.direction = traits_.direction;
        dialog.naturalTypes = naturalTypesTicked();
    });
    p_.step(lines.giveStatement, [&] { dialog.createTableSql = statement_; });
    p_.step(lines.giveTableName, [&] { dialog.tableName = tableName_; });
    p_.step(lines.show, [&] { ctx_.customizationDialog.showModal(); });
    if (p_.test(lines.cancelledCheck, [&] { return ctx_.customizationCancelled; })) {
        p_.step(lines.closePostgresOnCancel, [&] { transfer_steps::closeIfOpen(postgres_); });
        p_.step(lines.closeMssqlOnCancel, [&] { transfer_steps::closeIfOpen(mssql_); });
        p_.step(lines.defaultPointerOnCancel, [&] { setPointer(core::MousePointer::Default); });
        return false;
    }
    p_.step(lines.takeStatement, [&] { statement_ = dialog.createTableSql; });
    if (traits_.keepsNumericList) {
        // The list's text is read once, here, against the fields of the source just read.
        p_.step(lines.takeNumericList, [&] {
            const bool sourceOpen = source_ && source_->state() != db::kStateClosed;
            numericColumns_ = sql::to_postgres::unquotedColumns(
                dialog.numericColumns, sourceOpen ? source_->fieldCount() : 0);
        });
    }
    return true;
}

void TableTransfer::copyTable(int answer, bool sourceRead, std::unique_ptr<TableTarget> target) {
    if (!target) {
        const InsertPerRowScope inserts{p_,          ctx_.platform,  yield_,
                                        lines_.rows, this->target(), tableName_,
                                        statement_,  success_};
        target = std::make_unique<ConnectionCopyTarget>(this->target(), false, [this, inserts] {
            return std::make_unique<InsertPerRow>(inserts, *this);
        });
    }
    TableCopy copy(TableCopyScope{p_, ctx_.platform, yield_, waits_, ctx_.stop,
                                  ctx_.transferScreen.progressBar, targetList(), targetNames(),
                                  source_, tableName_, statement_, success_},
                   lines_, *this);
    const RowStatements around = naturalTypesTicked() ? rowStatements(natural_) : RowStatements{};
    const TableCopy::Outcome outcome =
        copy.run(answer, sourceRead, dropStatement(), *target, around);
    if (outcome.stopped) stopped_ = true;
    endTable(outcome.created, outcome.rows);
}

void TableTransfer::describeSource() {
    natural_ = {};
    naturalCreate_ = columnHead();
    const bool toPostgres = traits_.direction == Direction::ToPostgres;
    if (!p_.step(lines_.natural.describeSource, [&] {
            natural_ = sql::describeTable(existing(toPostgres ? mssql_ : postgres_), toPostgres,
                                          tableName_);
            naturalCreate_ = sql::naturalCreateTable(toPostgres, tableName_, natural_);
        }))
        success_ = false;
}

void TableTransfer::buildColumns(bool afterDialog) {
    if (!naturalTypesTicked()) return buildColumnList(afterDialog);
    if (!p_.step(lines_.natural.describeSource, [&] { takeNaturalCreate(); })) success_ = false;
}

void TableTransfer::takeNaturalCreate() {
    const int read = existing(source_).fieldCount();
    const auto described = static_cast<int>(natural_.columns.size());
    // Only a table changed between the two would differ.
    if (read != described)
        throw std::runtime_error(
            QStringLiteral("The catalogue describes %1 columns of the table %2, but %3 were read.")
                .arg(QString::number(described), tableName_, QString::number(read))
                .toStdString());
    statement_ = naturalCreate_;
    takeNaturalColumns(natural_, false);
}

bool TableTransfer::readSourceAgain() {
    p_.step(lines_.tableEnd.closeSource, [&] { closeSourceAfterTable(); });
    return p_.step(lines_.table.openSource, [&] { readSource(); });
}

void TableTransfer::endTable(bool created, std::int64_t rowsSent) {
    const TableEndLines& lines = lines_.tableEnd;
    // A table stopped part way is not counted: the rows it lacks were never sent.
    bool complete = created && success_ && !stopped_;
    if (complete && !p_.step(lines.checkRowsArrived, [&] {
            transfer_steps::checkRowsArrived(existing(target()), tableName_, countStatement(),
                                             rowsSent);
        }))
        complete = success_ = false;
    p_.step(lines.defaultPointer, [&] { setPointer(core::MousePointer::Default); });
    p_.step(lines.resetProgress,
            [&] { transfer_steps::resetProgress(ctx_.transferScreen.progressBar); });
    p_.step(lines.closeSource, [&] { closeSourceAfterTable(); });
    // The name as it was created: the target keeps the case of a quoted name.
    if (created) p_.step(lines.listNewTable, [&] { targetList().add(tableName_); });
    if (!complete) uncopied_.add(tableName_);
}

}  // namespace dorvane::transfer
