// "Send Table/s To PostgreSQL" (Form2.PushButton3_Click): the selected tables of the
// SQL Server list copied row by row into PostgreSQL.

#include <memory>

#include "core/event_yield.h"
#include "core/list_helpers.h"
#include "core/procedure.h"
#include "db/ado.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "sql/postgres_statements.h"
#include "sql/refused_value.h"
#include "sql/type_names.h"
#include "sql/value_text.h"
#include "transfer/current_value.h"
#include "transfer/execute_sql.h"
#include "transfer/row_sender.h"
#include "transfer/send_tables.h"
#include "transfer/transfer_steps.h"
#include "transfer/uncopied_tables.h"

namespace dorvane {
namespace {

using transfer_steps::existing;
namespace statements = to_postgres;

// The numbered lines of the command, in the order of their numbers.
enum Line : int {
    CreateMssqlConnection = 100,
    CreateSourceRecordset = 102,
    CreatePostgresConnection = 104,
    AssumeSuccess = 106,
    NothingSelectedCheck = 110,
    BusyPointer = 112,
    OpenPostgres = 118,  // to 124 (transfer_steps::openPostgres)
    OpenMssql = 126,     // to 136 (transfer_steps::openMssql)
    FindLastEntry = 138,
    LetEventsRun = 140,
    EntrySelectedCheck = 142,
    // One selected table (sendTable).
    TakeTableName = 144,
    AlreadyListedCheck = 146,
    AdoptListedSpelling = 148,  // to 152 (transfer_steps::adoptListedSpelling)
    AskOverwrite = 156,
    NothingToOverwrite = 158,
    OverwriteDeclinedCheck = 160,
    CloseSourceBeforeReading = 162,
    OpenSource = 164,
    StartCreateTable = 166,
    CustomizeTickedCheck = 168,
    // The customization dialog (customize).
    AssumeCancelled = 170,
    ClearDialogNumericList = 172,
    TellDialogDirection = 174,
    GiveDialogStatement = 176,
    GiveDialogTableName = 178,
    ShowDialog = 180,
    DialogCancelledCheck = 182,
    ClosePostgresOnCancel = 184,
    CloseMssqlOnCancel = 186,
    DefaultPointerOnCancel = 188,
    TakeDialogStatement = 190,
    TakeDialogNumericList = 192,
    StatementUnchangedCheck = 194,
    ClearNumericListAfterDialog = 196,
    // 198 to 248: kCustomizedColumnLines.
    ClearNumericList = 250,
    // 252 to 302: kAutomaticColumnLines.
    OverwriteConfirmedCheck = 304,
    DropOldTable = 306,
    UnlistOldTable = 308,
    NothingFailedBeforeCreateCheck = 310,
    CreateTable = 314,
    CheckNamesFit = CreateTable,  // refused on the line that would create them
    // The rows (sendRows).
    CountRows = 322,
    ForgetNumericWalk = 324,
    RowEvents = 328,
    ShowProgress = 332,
    StartInsert = 334,
    CountFields = 336,
    FieldEvents = 338,
    ReadValue = 340,
    CheckValueFits = ReadValue,  // the value just read
    AppendValue = 342,
    CloseInsert = 384,
    NothingFailedBeforeSendCheck = 388,
    SendInsert = 392,
    NextRow = 394,
    CheckRowsArrived = NextRow,  // after the last row, on its line
    DefaultPointerAfterTable = 396,
    ResetProgress = 398,
    CloseSourceAfterTable = 400,
    ListNewTable = 402,
    // After the last table.
    CloseMssql = 412,
    ClosePostgres = 414,
    DefaultPointer = 416,
    AskToSelectTable = 418,
};

constexpr transfer_steps::CreationLines kCreationLines{
    .overwriteTest = OverwriteConfirmedCheck,
    .drop = DropOldTable,
    .listRemove = UnlistOldTable,
    .successTest = NothingFailedBeforeCreateCheck,
    .create = CreateTable,
};

// The column list is built in two places with lines of their own: without the
// customization dialog, and after the dialog left the statement as it was.
struct ColumnListLines {
    int fieldCount, events, fieldName, typeName, dropComma, close;
    statements::RuleLines statements::ColumnRule::*ruleLines;  // each type rule's lines there
};
// clang-format off
//                                               fields events name type drop-comma close
constexpr ColumnListLines kCustomizedColumnLines{198,   200,   202, 204, 246,       248,
                                                 &statements::ColumnRule::customized};
constexpr ColumnListLines kAutomaticColumnLines {252,   254,   256, 258, 300,       302,
                                                 &statements::ColumnRule::automatic};
// clang-format on

class TransferToPostgres {
  public:
    TransferToPostgres(CommandContext& ctx, YieldPolicy policy)
        : ctx_(ctx),
          p_(ctx.platform, QStringLiteral("Form2"), QStringLiteral("PushButton3_Click")),
          yield_(ctx.platform, policy) {
        p_.showStatementInReport(&statement_);
    }

    void run() {
        auto& mssqlTables = ctx_.transferScreen.mssqlTables;
        p_.step(CreateMssqlConnection, [&] { mssql_ = std::make_unique<db::Connection>(); });
        p_.step(CreateSourceRecordset, [&] { source_ = std::make_unique<db::Recordset>(); });
        p_.step(CreatePostgresConnection, [&] { postgres_ = std::make_unique<db::Connection>(); });
        p_.step(AssumeSuccess, [&] { success_ = true; });
        if (p_.test(NothingSelectedCheck, [&] { return mssqlTables.currentIndex() == -1; })) {
            p_.step(AskToSelectTable,
                    [&] { ctx_.platform.messageBox(QStringLiteral("Please select a table")); });
            return;
        }
        p_.step(BusyPointer, [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Busy); });
        {
            // Both logins at once; each still reported, if it fails, at its own line.
            const auto mssqlLogin = transfer_steps::startMssqlLogin(ctx_.profiles);
            transfer_steps::openPostgres(p_, postgres_, db::kUseServer, ctx_.profiles,
                                         OpenPostgres);
            transfer_steps::openMssql(p_, mssql_, db::kUseClient, ctx_.profiles, OpenMssql,
                                      mssqlLogin.get());
        }

        int last = -1;
        p_.step(FindLastEntry, [&] { last = mssqlTables.count() - 1; });
        for (int index = last; index >= 0; --index) {
            p_.step(LetEventsRun, [&] { yield_.now(); });
            // Handlers that ran meanwhile may have shortened the list.
            if (index >= mssqlTables.count()) continue;
            if (p_.test(EntrySelectedCheck, [&] { return mssqlTables.selected(index); })) {
                if (!sendTable(index)) {  // the customization was cancelled
                    uncopied_.tell(ctx_.platform);
                    return;
                }
            }
        }
        p_.step(CloseMssql, [&] { transfer_steps::closeIfOpen(mssql_); });
        p_.step(ClosePostgres, [&] { transfer_steps::closeIfOpen(postgres_); });
        p_.step(DefaultPointer,
                [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Default); });
        uncopied_.tell(ctx_.platform);
    }

  private:
    // One selected table; false when the whole run has ended.
    bool sendTable(int index) {
        auto& postgresTables = ctx_.transferScreen.postgresTables;
        QString sourceName;
        p_.step(TakeTableName,
                [&] { tableName_ = sourceName = ctx_.transferScreen.mssqlTables.text(index); });
        int answer = 0;
        if (p_.test(AlreadyListedCheck, [&] { return listContains(postgresTables, tableName_); })) {
            transfer_steps::adoptListedSpelling(p_, postgresTables, tableName_,
                                                AdoptListedSpelling);
            p_.step(AskOverwrite,
                    [&] { answer = transfer_steps::askOverwrite(ctx_.platform, tableName_); });
        } else {
            p_.step(NothingToOverwrite, [&] { answer = 0; });
        }
        if (p_.test(OverwriteDeclinedCheck, [&] { return answer == kAnswerNo; })) return true;

        p_.step(CloseSourceBeforeReading, [&] {
            if (existing(source_).state() != db::kStateClosed) source_->close();
        });
        const bool sourceRead = p_.step(OpenSource, [&] {
            transfer_steps::readSourceAhead(existing(mssql_), yield_);
            existing(source_).open(statements::selectStatement(sourceName), existing(mssql_),
                                   db::kOpenStatic, db::kLockOptimistic);
        });
        const QString columnHead = statements::columnHead(tableName_);
        p_.step(StartCreateTable, [&] { statement_ = columnHead; });
        bool customized = false;
        if (p_.test(CustomizeTickedCheck,
                    [&] { return ctx_.transferScreen.customizeToPostgres.value() == 1; })) {
            if (!customize()) return false;
            customized = statement_ != columnHead;
            if (p_.test(StatementUnchangedCheck, [&] { return statement_ == columnHead; })) {
                p_.step(ClearNumericListAfterDialog, [&] { numericList_.clear(); });
                buildColumnList(kCustomizedColumnLines);
            }
        } else {
            p_.step(ClearNumericList, [&] { numericList_.clear(); });
            buildColumnList(kAutomaticColumnLines);
        }
        // A name PostgreSQL would shorten is refused before anything is dropped or created.
        if (success_ && sourceRead && !p_.step(CheckNamesFit, [&] { checkNamesFit(customized); }))
            success_ = false;

        const bool created = transfer_steps::createTargetTable(
            p_, ctx_.platform, postgres_, postgresTables, tableName_, answer, sourceRead,
            statements::dropStatement(tableName_), statement_, success_, kCreationLines);

        const std::int64_t rowsSent = sendRows();
        bool complete = created && success_;
        if (complete && !p_.step(CheckRowsArrived, [&] {
                transfer_steps::checkRowsArrived(existing(postgres_), tableName_,
                                                 statements::countStatement(tableName_), rowsSent);
            }))
            complete = success_ = false;

        p_.step(DefaultPointerAfterTable,
                [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Default); });
        p_.step(ResetProgress,
                [&] { transfer_steps::resetProgress(ctx_.transferScreen.progressBar); });
        p_.step(CloseSourceAfterTable, [&] {
            if (existing(source_).state() != db::kStateClosed) source_->close();
        });
        // The name as it was created: PostgreSQL keeps the case of a quoted name.
        if (created) p_.step(ListNewTable, [&] { postgresTables.add(tableName_); });
        if (!complete) uncopied_.add(tableName_);
        return true;
    }

    // Every name the CREATE TABLE will give PostgreSQL: the table's and the columns'. The
    // dialog gives a column whose name reads as a number a short name of its own.
    void checkNamesFit(bool customized) {
        statements::checkNameFits(tableName_);
        const db::Recordset& source = existing(source_);
        for (int i = 0; i < source.fieldCount(); ++i) {
            const QString& name = source.field(i).name;
            if (!(customized && readsAsSqlNumber(name))) statements::checkNameFits(name);
        }
    }

    // False when the user cancelled and the run has ended.
    bool customize() {
        CustomizationMembers& dialog = ctx_.customizationDialog.members();
        p_.step(AssumeCancelled, [&] { ctx_.customizationCancelled = true; });
        p_.step(ClearDialogNumericList, [&] { dialog.numericColumns.clear(); });
        p_.step(TellDialogDirection, [&] { dialog.direction = Direction::ToPostgres; });
        p_.step(GiveDialogStatement, [&] { dialog.createTableSql = statement_; });
        p_.step(GiveDialogTableName, [&] { dialog.tableName = tableName_; });
        p_.step(ShowDialog, [&] { ctx_.customizationDialog.showModal(); });
        if (p_.test(DialogCancelledCheck, [&] { return ctx_.customizationCancelled; })) {
            p_.step(ClosePostgresOnCancel, [&] { transfer_steps::closeIfOpen(postgres_); });
            p_.step(CloseMssqlOnCancel, [&] { transfer_steps::closeIfOpen(mssql_); });
            p_.step(DefaultPointerOnCancel,
                    [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Default); });
            return false;
        }
        p_.step(TakeDialogStatement, [&] { statement_ = dialog.createTableSql; });
        p_.step(TakeDialogNumericList, [&] { numericList_ = dialog.numericColumns; });
        return true;
    }

    void buildColumnList(const ColumnListLines& lines) {
        int fieldCount = 0;
        p_.step(lines.fieldCount, [&] { fieldCount = existing(source_).fieldCount(); });
        for (int i = 0; i < fieldCount; ++i) {
            p_.step(lines.events, [&] { yield_.whenDue(); });
            QString fieldName;
            p_.step(lines.fieldName, [&] { fieldName = source_->field(i).name; });
            QString typeName;
            p_.step(lines.typeName,
                    [&] { typeName = adoTypeName(source_->field(i).adoType).toLower(); });
            const statements::ColumnRule* chosen = &statements::fallbackRule();
            for (const statements::ColumnRule& rule : statements::columnRules()) {
                if (p_.test((rule.*lines.ruleLines).test,
                            [&] { return typeName.contains(QStringView(rule.contained)); })) {
                    chosen = &rule;
                    break;
                }
            }
            const statements::RuleLines& chosenLines = chosen->*lines.ruleLines;
            p_.step(chosenLines.append,
                    [&] { statements::appendColumn(statement_, fieldName, *chosen); });
            if (chosen->numeric)
                p_.step(chosenLines.numericIndex,
                        [&] { statements::appendNumericIndex(numericList_, i); });
        }
        p_.step(lines.dropComma, [&] { statement_.chop(1); });
        p_.step(lines.close, [&] { statement_ += u')'; });
    }

    // Gives the number of rows.
    std::int64_t sendRows() {
        std::int64_t rows = 0;
        p_.step(CountRows, [&] { rows = existing(source_).recordCount(); });
        // The numeric column list is walked in step with the fields; the walk is the same
        // for every row, so it is made once, with the first row.
        std::vector<bool> unquoted;
        bool walked = false;
        p_.step(ForgetNumericWalk, [&] { walked = false; });
        CurrentValue value;
        // Each row's statement runs while the next rows are built (see RowSender).
        RowSender sends(p_, ctx_.platform, yield_, success_);
        for (std::int64_t r = 0; r < rows; ++r) {
            sends.reportIfFailed();
            p_.step(RowEvents, [&] { yield_.whenDue(); });
            p_.step(ShowProgress, [&] {
                ctx_.transferScreen.progressBar.setValue(transfer_steps::progressPercent(r, rows));
            });
            p_.step(StartInsert, [&] { statements::startInsert(statement_, tableName_); });
            int fieldCount = 0;
            p_.step(CountFields, [&] {
                fieldCount = source_->fieldCount();
                if (!walked) unquoted = statements::unquotedColumns(numericList_, fieldCount);
                walked = true;
            });
            for (int j = 0; j < fieldCount; ++j) {
                p_.step(FieldEvents, [&] { yield_.whenDue(); });
                p_.step(ReadValue, [&] { value.read(*source_, j); });
                // A value PostgreSQL cannot hold is refused like a statement the server
                // refuses: reported, and nothing more is sent.
                if (success_ && !p_.step(CheckValueFits, [&] {
                        checkValueAt(tableName_, source_->field(j).name, r + 1,
                                     [&] { checkPostgresCanHold(value.get()); });
                    }))
                    success_ = false;
                const bool unquotedColumn = j < static_cast<int>(unquoted.size()) && unquoted[j];
                p_.step(AppendValue, [&] {
                    statements::appendValue(statement_, value.get(), unquotedColumn, j == 0);
                });
            }
            p_.step(CloseInsert, [&] { statements::closeInsert(statement_); });
            if (p_.test(NothingFailedBeforeSendCheck, [&] { return success_; }))
                p_.step(SendInsert, [&] { sends.send(existing(postgres_), statement_); });
            value.keepBeforeMove();
            p_.step(NextRow, [&] { source_->moveNext(); });
            if (transfer_steps::sourceEndedEarly(*source_, r, rows)) {
                success_ = false;
                break;
            }
        }
        sends.settle();
        return rows;
    }

    CommandContext& ctx_;
    Procedure p_;
    EventYield yield_;
    std::unique_ptr<db::Connection> mssql_;
    std::unique_ptr<db::Recordset> source_;
    std::unique_ptr<db::Connection> postgres_;
    bool success_ = false;
    QString statement_;
    QString numericList_;
    QString tableName_;
    UncopiedTables uncopied_;
};

}  // namespace

void sendTablesToPostgres(CommandContext& context, YieldPolicy policy) {
    TransferToPostgres(context, policy).run();
}

}  // namespace dorvane
