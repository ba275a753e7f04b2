// "Send Table/s To SQL Server" (Form2.PushButton4_Click): the selected tables of the
// PostgreSQL list copied row by row into SQL Server.

#include <memory>
#include <optional>
#include <vector>

#include "core/event_yield.h"
#include "core/list_helpers.h"
#include "core/procedure.h"
#include "db/ado.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "sql/refused_value.h"
#include "sql/sqlserver_statements.h"
#include "sql/type_names.h"
#include "sql/value_text.h"
#include "transfer/current_value.h"
#include "transfer/execute_sql.h"
#include "transfer/row_sender.h"
#include "transfer/send_tables.h"
#include "transfer/sqlserver_target_columns.h"
#include "transfer/transfer_steps.h"
#include "transfer/uncopied_tables.h"

namespace dorvane {
namespace {

using transfer_steps::existing;
namespace statements = to_sqlserver;

// The numbered lines of the command, in the order of their numbers.
enum Line : int {
    CreateMssqlConnection = 100,
    CreatePostgresConnection = 102,
    CreateSourceRecordset = 104,
    AssumeSuccess = 106,
    NothingSelectedCheck = 112,
    BusyPointer = 114,
    OpenPostgres = 116,  // to 122 (transfer_steps::openPostgres)
    OpenMssql = 124,     // to 134 (transfer_steps::openMssql)
    FindLastEntry = 136,
    EntrySelectedCheck = 138,
    // One selected table (sendTable).
    TakeTableName = 140,
    AlreadyListedCheck = 142,
    AdoptListedSpelling = 144,  // to 148 (transfer_steps::adoptListedSpelling)
    AskOverwrite = 152,
    NothingToOverwrite = 154,
    OverwriteDeclinedCheck = 156,
    OpenSource = 158,
    StartCreateTable = 160,
    CustomizeTickedCheck = 162,
    // The customization dialog (customize).
    AssumeCancelled = 164,
    TellDialogDirection = 166,
    GiveDialogStatement = 168,
    GiveDialogTableName = 170,
    ShowDialog = 172,
    DialogCancelledCheck = 174,
    ClosePostgresOnCancel = 176,
    CloseMssqlOnCancel = 178,
    DefaultPointerOnCancel = 180,
    TakeDialogStatement = 182,
    StatementUnchangedCheck = 184,
    // 186 to 240: kCustomizedColumnLines; 242 to 296: kAutomaticColumnLines.
    OverwriteConfirmedCheck = 298,
    DropOldTable = 300,
    UnlistOldTable = 302,
    NothingFailedBeforeCreateCheck = 304,
    CreateTable = 308,
    LearnTargetColumns = CreateTable,  // the table just created
    // The rows (sendRows).
    CountRows = 316,
    RowEvents = 320,
    ShowProgress = 322,
    StartInsert = 324,
    CountFields = 326,
    FieldEvents = 328,
    ReadValue = 330,
    CheckValueFits = ReadValue,  // the value just read
    AppendValue = 332,
    CloseInsert = 344,
    NothingFailedBeforeSendCheck = 348,
    SendInsert = 352,
    NextRow = 354,
    CheckRowsArrived = NextRow,  // after the last row, on its line
    DefaultPointerAfterTable = 356,
    ResetProgress = 358,
    CloseSourceAfterTable = 360,
    ListNewTable = 362,
    // After the last table.
    DefaultPointer = 372,
    CloseMssql = 374,
    ClosePostgres = 376,
    AskToSelectTable = 378,
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
    int fieldCount, events, field, typeName, dropComma, close;
    statements::RuleLines statements::ColumnRule::*ruleLines;  // each type rule's lines there
};
// clang-format off
//                                               fields events field type drop-comma close
constexpr ColumnListLines kCustomizedColumnLines{186,   188,   190,  192, 238,       240,
                                                 &statements::ColumnRule::customized};
constexpr ColumnListLines kAutomaticColumnLines {242,   244,   246,  248, 294,       296,
                                                 &statements::ColumnRule::automatic};
// clang-format on

class TransferToSqlServer {
  public:
    TransferToSqlServer(CommandContext& ctx, YieldPolicy policy)
        : ctx_(ctx),
          p_(ctx.platform, QStringLiteral("Form2"), QStringLiteral("PushButton4_Click")),
          yield_(ctx.platform, policy) {
        p_.showStatementInReport(&statement_);
    }

    void run() {
        auto& postgresTables = ctx_.transferScreen.postgresTables;
        p_.step(CreateMssqlConnection, [&] { mssql_ = std::make_unique<db::Connection>(); });
        p_.step(CreatePostgresConnection, [&] { postgres_ = std::make_unique<db::Connection>(); });
        p_.step(CreateSourceRecordset, [&] { source_ = std::make_unique<db::Recordset>(); });
        p_.step(AssumeSuccess, [&] { success_ = true; });
        if (p_.test(NothingSelectedCheck, [&] { return postgresTables.currentIndex() == -1; })) {
            p_.step(AskToSelectTable, [&] {
                ctx_.platform.messageBox(QStringLiteral("Please select a table to send."));
            });
            return;
        }
        p_.step(BusyPointer, [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Busy); });
        {
            // Both logins at once; each still reported, if it fails, at its own line.
            const auto mssqlLogin = transfer_steps::startMssqlLogin(ctx_.profiles);
            transfer_steps::openPostgres(p_, postgres_, db::kUseClient, ctx_.profiles,
                                         OpenPostgres);
            transfer_steps::openMssql(p_, mssql_, db::kUseServer, ctx_.profiles, OpenMssql,
                                      mssqlLogin.get());
        }

        int last = -1;
        p_.step(FindLastEntry, [&] { last = postgresTables.count() - 1; });
        for (int index = last; index >= 0; --index) {
            // Handlers that ran during the last table may have shortened the list.
            if (index >= postgresTables.count()) continue;
            if (p_.test(EntrySelectedCheck, [&] { return postgresTables.selected(index); })) {
                if (!sendTable(index)) {  // the customization was cancelled
                    uncopied_.tell(ctx_.platform);
                    return;
                }
            }
        }
        p_.step(DefaultPointer,
                [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Default); });
        p_.step(CloseMssql, [&] { existing(mssql_).close(); });
        p_.step(ClosePostgres, [&] { existing(postgres_).close(); });
        uncopied_.tell(ctx_.platform);
    }

  private:
    // One selected table; false when the whole run has ended.
    bool sendTable(int index) {
        auto& mssqlTables = ctx_.transferScreen.mssqlTables;
        auto& postgresTables = ctx_.transferScreen.postgresTables;
        p_.step(TakeTableName, [&] { tableName_ = postgresTables.text(index); });
        int answer = 0;
        if (p_.test(AlreadyListedCheck, [&] { return listContains(mssqlTables, tableName_); })) {
            transfer_steps::adoptListedSpelling(p_, postgresTables, tableName_,
                                                AdoptListedSpelling);
            p_.step(AskOverwrite,
                    [&] { answer = transfer_steps::askOverwrite(ctx_.platform, tableName_); });
        } else {
            p_.step(NothingToOverwrite, [&] { answer = 0; });
        }
        if (p_.test(OverwriteDeclinedCheck, [&] { return answer == kAnswerNo; })) return true;

        const bool sourceRead = p_.step(OpenSource, [&] {
            transfer_steps::readSourceAhead(existing(postgres_), yield_);
            existing(source_).open(statements::selectStatement(tableName_), existing(postgres_));
        });
        const QString columnHead = statements::columnHead(tableName_);
        p_.step(StartCreateTable, [&] { statement_ = columnHead; });
        exactColumns_.clear();
        targetColumns_.forget();
        if (p_.test(CustomizeTickedCheck,
                    [&] { return ctx_.transferScreen.customizeToSqlServer.value() == 1; })) {
            if (!customize()) return false;
            if (p_.test(StatementUnchangedCheck, [&] { return statement_ == columnHead; }))
                buildColumnList(kCustomizedColumnLines);
        } else {
            buildColumnList(kAutomaticColumnLines);
        }

        const bool created = transfer_steps::createTargetTable(
            p_, ctx_.platform, mssql_, mssqlTables, tableName_, answer, sourceRead,
            statements::dropStatement(tableName_), statement_, success_, kCreationLines);
        // What the new columns can hold, so that no value is changed on the way in.
        if (created && !p_.step(LearnTargetColumns,
                                [&] { targetColumns_.learn(existing(mssql_), tableName_); }))
            success_ = false;

        const std::int64_t rowsSent = sendRows();
        bool complete = created && success_;
        if (complete && !p_.step(CheckRowsArrived, [&] {
                transfer_steps::checkRowsArrived(existing(mssql_), tableName_,
                                                 statements::countStatement(tableName_), rowsSent);
            }))
            complete = success_ = false;

        p_.step(DefaultPointerAfterTable,
                [&] { ctx_.transferScreen.pointer.setPointer(MousePointer::Default); });
        p_.step(ResetProgress,
                [&] { transfer_steps::resetProgress(ctx_.transferScreen.progressBar); });
        p_.step(CloseSourceAfterTable, [&] { existing(source_).close(); });
        if (created) p_.step(ListNewTable, [&] { mssqlTables.add(tableName_); });
        if (!complete) uncopied_.add(tableName_);
        return true;
    }

    // False when the user cancelled and the run has ended.
    bool customize() {
        CustomizationMembers& dialog = ctx_.customizationDialog.members();
        p_.step(AssumeCancelled, [&] { ctx_.customizationCancelled = true; });
        p_.step(TellDialogDirection, [&] { dialog.direction = Direction::ToSqlServer; });
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
        return true;
    }

    void buildColumnList(const ColumnListLines& lines) {
        int fieldCount = 0;
        p_.step(lines.fieldCount, [&] { fieldCount = existing(source_).fieldCount(); });
        exactColumns_.assign(fieldCount > 0 ? fieldCount : 0, std::nullopt);
        for (int i = 0; i < fieldCount; ++i) {
            p_.step(lines.events, [&] { yield_.whenDue(); });
            db::FieldInfo field;
            p_.step(lines.field, [&] { field = source_->field(i); });
            QString typeName;
            p_.step(lines.typeName, [&] { typeName = adoTypeName(field.adoType).toLower(); });
            const statements::ColumnRule* chosen = &statements::fallbackRule();
            for (const statements::ColumnRule& rule : statements::columnRules()) {
                if (p_.test((rule.*lines.ruleLines).test,
                            [&] { return typeName.contains(QStringView(rule.contained)); })) {
                    chosen = &rule;
                    break;
                }
            }
            p_.step((chosen->*lines.ruleLines).append, [&] {
                exactColumns_[i] = statements::appendColumn(statement_, field, *chosen);
            });
        }
        p_.step(lines.dropComma, [&] { statement_.chop(1); });
        p_.step(lines.close, [&] { statement_ += QStringLiteral(");"); });
    }

    // Gives the number of rows.
    std::int64_t sendRows() {
        std::int64_t rows = 0;
        p_.step(CountRows, [&] { rows = existing(source_).recordCount(); });
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
            p_.step(CountFields, [&] { fieldCount = source_->fieldCount(); });
            for (int j = 0; j < fieldCount; ++j) {
                p_.step(FieldEvents, [&] { yield_.whenDue(); });
                p_.step(ReadValue, [&] { value.read(*source_, j); });
                // A value its column would change is refused like a statement the server
                // refuses: reported, and nothing more is sent.
                if (success_ && !p_.step(CheckValueFits, [&] {
                        checkValueAt(tableName_, source_->field(j).name, r + 1,
                                     [&] { checkTargetCanHold(j, value.get()); });
                    }))
                    success_ = false;
                p_.step(AppendValue, [&] {
                    if (value.get().kind() == db::Value::Kind::Binary &&
                        targetColumns_.holdsBytes(j))
                        statements::appendBinaryConstant(statement_, value.get().asBinary());
                    else
                        statements::appendValue(statement_, value.get());
                });
            }
            p_.step(CloseInsert, [&] { statements::closeInsert(statement_); });
            if (p_.test(NothingFailedBeforeSendCheck, [&] { return success_; }))
                p_.step(SendInsert, [&] { sends.send(existing(mssql_), statement_); });
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

    void checkTargetCanHold(int column, const db::Value& value) {
        if (column < static_cast<int>(exactColumns_.size()) && exactColumns_[column])
            checkExactValueFits(value, *exactColumns_[column]);
        targetColumns_.check(column, value);
    }

    CommandContext& ctx_;
    Procedure p_;
    EventYield yield_;
    std::unique_ptr<db::Connection> mssql_;
    std::unique_ptr<db::Connection> postgres_;
    std::unique_ptr<db::Recordset> source_;
    bool success_ = false;
    QString statement_;
    QString tableName_;
    // The size of each exact column the command created, to refuse values it would round.
    std::vector<std::optional<ExactSize>> exactColumns_;
    SqlServerTargetColumns targetColumns_;
    UncopiedTables uncopied_;
};

}  // namespace

void sendTablesToSqlServer(CommandContext& context, YieldPolicy policy) {
    TransferToSqlServer(context, policy).run();
}

}  // namespace dorvane
