// "Send Table/s To SQL Server" (Form2.PushButton4_Click): the selected tables of the
// PostgreSQL list copied row by row into SQL Server.

#include <memory>
#include <optional>
#include <vector>

#include "app/procedure.h"
#include "db/ado.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "transfer/current_value.h"
#include "transfer/event_yield.h"
#include "transfer/execute_sql.h"
#include "transfer/list_helpers.h"
#include "transfer/refused_value.h"
#include "transfer/row_sender.h"
#include "transfer/send_tables.h"
#include "transfer/sqlserver_statements.h"
#include "transfer/sqlserver_target_columns.h"
#include "transfer/transfer_steps.h"
#include "transfer/type_names.h"
#include "transfer/uncopied_tables.h"
#include "transfer/value_text.h"

namespace dorvane {
namespace {

using transfer_steps::existing;
namespace statements = to_sqlserver;

// The customization side numbers the column list 56 lines before the automatic side.
constexpr int kCustomizationLineOffset = 56;

class TransferToSqlServer {
  public:
    TransferToSqlServer(CommandContext& ctx, YieldPolicy policy)
        : ctx_(ctx),
          p_(ctx.platform, QStringLiteral("Form2"), QStringLiteral("PushButton4_Click")),
          yield_(ctx.platform, policy) {
        p_.showStatementInReport(&statement_);
    }

    void run() {
        auto& list2 = ctx_.form2.list2;
        p_.step(100, [&] { mssql_ = std::make_unique<db::Connection>(); });
        p_.step(102, [&] { postgres_ = std::make_unique<db::Connection>(); });
        p_.step(104, [&] { source_ = std::make_unique<db::Recordset>(); });
        p_.step(106, [&] { success_ = true; });
        if (p_.test(112, [&] { return list2.currentIndex() == -1; })) {
            p_.step(378, [&] {
                ctx_.platform.messageBox(QStringLiteral("Please select a table to send."));
            });
            return;
        }
        p_.step(114, [&] { ctx_.form2.pointer.setPointer(MousePointer::Busy); });
        {
            // Both logins at once; each still reported, if it fails, at its own line.
            const auto mssqlLogin = transfer_steps::startMssqlLogin(ctx_.profiles);
            transfer_steps::openPostgres(p_, postgres_, db::kUseClient, ctx_.profiles, 116);
            transfer_steps::openMssql(p_, mssql_, db::kUseServer, ctx_.profiles, 124,
                                      mssqlLogin.get());
        }

        int last = -1;
        p_.step(136, [&] { last = list2.count() - 1; });
        for (int index = last; index >= 0; --index) {
            // Handlers that ran during the last table may have shortened the list.
            if (index >= list2.count()) continue;
            if (p_.test(138, [&] { return list2.selected(index); })) {
                if (!sendTable(index)) {  // the customization was cancelled
                    uncopied_.tell(ctx_.platform);
                    return;
                }
            }
            p_.step(364, [] {});
        }
        p_.step(372, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
        p_.step(374, [&] { existing(mssql_).close(); });
        p_.step(376, [&] { existing(postgres_).close(); });
        uncopied_.tell(ctx_.platform);
    }

  private:
    // One selected table; false when the whole run has ended.
    bool sendTable(int index) {
        auto& list1 = ctx_.form2.list1;
        auto& list2 = ctx_.form2.list2;
        p_.step(140, [&] { tableName_ = list2.text(index); });
        int answer = 0;
        if (p_.test(142, [&] { return listContains(list1, tableName_); })) {
            transfer_steps::adoptListedSpelling(p_, list2, tableName_, 144);
            p_.step(152, [&] { answer = transfer_steps::askOverwrite(ctx_.platform, tableName_); });
        } else {
            p_.step(154, [&] { answer = 0; });
        }
        if (p_.test(156, [&] { return answer == kAnswerNo; })) return true;

        const bool sourceRead = p_.step(158, [&] {
            transfer_steps::readSourceAhead(existing(postgres_), yield_);
            existing(source_).open(statements::selectStatement(tableName_), existing(postgres_));
        });
        const QString columnHead = statements::columnHead(tableName_);
        p_.step(160, [&] { statement_ = columnHead; });
        exactColumns_.clear();
        targetColumns_.forget();
        if (p_.test(162, [&] { return ctx_.form2.check16.value() == 1; })) {
            if (!customize()) return false;
            if (p_.test(184, [&] { return statement_ == columnHead; }))
                buildColumnList(kCustomizationLineOffset);
        } else {
            buildColumnList(0);
        }

        const bool created = transfer_steps::createTargetTable(
            p_, ctx_.platform, mssql_, list1, tableName_, answer, sourceRead,
            statements::dropStatement(tableName_), statement_, success_, {298, 300, 302, 304, 308});
        // What the new columns can hold, so that no value is changed on the way in.
        if (created && !p_.step(308, [&] { targetColumns_.learn(existing(mssql_), tableName_); }))
            success_ = false;

        const std::int64_t rowsSent = sendRows();
        bool complete = created && success_;
        if (complete && !p_.step(354, [&] {
                transfer_steps::checkRowsArrived(existing(mssql_), tableName_,
                                                 statements::countStatement(tableName_), rowsSent);
            }))
            complete = success_ = false;

        p_.step(356, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
        p_.step(358, [&] { transfer_steps::resetProgress(ctx_.form2.progressBar1); });
        p_.step(360, [&] { existing(source_).close(); });
        if (created) p_.step(362, [&] { list1.add(tableName_); });
        if (!complete) uncopied_.add(tableName_);
        return true;
    }

    // Lines 164 to 182: false when the user cancelled and the run has ended.
    bool customize() {
        CustomizationMembers& form3 = ctx_.form3.members();
        p_.step(164, [&] { ctx_.customizationCancelled = true; });
        p_.step(166, [&] { form3.mType = QStringLiteral("MSSQL"); });
        p_.step(168, [&] { form3.mSQL = statement_; });
        p_.step(170, [&] { form3.mTableName = tableName_; });
        p_.step(172, [&] { ctx_.form3.showModal(); });
        if (p_.test(174, [&] { return ctx_.customizationCancelled; })) {
            p_.step(176, [&] { transfer_steps::closeIfOpen(postgres_); });
            p_.step(178, [&] { transfer_steps::closeIfOpen(mssql_); });
            p_.step(180, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
            return false;
        }
        p_.step(182, [&] { statement_ = form3.mSQL; });
        return true;
    }

    // Lines 242 to 296, or 186 to 240 on the customization side.
    void buildColumnList(int lineOffset) {
        const int at = -lineOffset;
        int fieldCount = 0;
        p_.step(242 + at, [&] { fieldCount = existing(source_).fieldCount(); });
        exactColumns_.assign(fieldCount > 0 ? fieldCount : 0, std::nullopt);
        for (int i = 0; i < fieldCount; ++i) {
            p_.step(244 + at, [&] { yield_.whenDue(); });
            db::FieldInfo field;
            p_.step(246 + at, [&] { field = source_->field(i); });
            QString typeName;
            p_.step(248 + at, [&] { typeName = adoTypeName(field.adoType).toLower(); });
            const statements::ColumnRule* chosen = &statements::fallbackRule();
            for (const statements::ColumnRule& rule : statements::columnRules()) {
                if (p_.test(rule.testLine + at,
                            [&] { return typeName.contains(QStringView(rule.contained)); })) {
                    chosen = &rule;
                    break;
                }
            }
            p_.step(chosen->appendLine + at, [&] {
                exactColumns_[i] = statements::appendColumn(statement_, field, *chosen);
            });
            p_.step(292 + at, [] {});
        }
        p_.step(294 + at, [&] { statement_.chop(1); });
        p_.step(296 + at, [&] { statement_ += QStringLiteral(");"); });
    }

    // Lines 316 to 354; gives the number of rows.
    std::int64_t sendRows() {
        std::int64_t rows = 0;
        p_.step(316, [&] { rows = existing(source_).recordCount(); });
        CurrentValue value;
        // Each row's statement runs while the next rows are built (see RowSender).
        RowSender sends(p_, ctx_.platform, yield_, success_);
        for (std::int64_t r = 0; r < rows; ++r) {
            sends.reportIfFailed();
            p_.step(320, [&] { yield_.whenDue(); });
            p_.step(322, [&] {
                ctx_.form2.progressBar1.setValue(transfer_steps::progressPercent(r, rows));
            });
            p_.step(324, [&] { statements::startInsert(statement_, tableName_); });
            int fieldCount = 0;
            p_.step(326, [&] { fieldCount = source_->fieldCount(); });
            for (int j = 0; j < fieldCount; ++j) {
                p_.step(328, [&] { yield_.whenDue(); });
                p_.step(330, [&] { value.read(*source_, j); });
                // A value its column would change is refused like a statement the server
                // refuses: reported, and nothing more is sent.
                if (success_ && !p_.step(330, [&] {
                        checkValueAt(tableName_, source_->field(j).name, r + 1,
                                     [&] { checkTargetCanHold(j, value.get()); });
                    }))
                    success_ = false;
                p_.step(332, [&] {
                    if (value.get().kind() == db::Value::Kind::Binary &&
                        targetColumns_.holdsBytes(j))
                        statements::appendBinaryConstant(statement_, value.get().asBinary());
                    else
                        statements::appendValue(statement_, value.get());
                });
                p_.step(342, [] {});
            }
            p_.step(344, [&] { statements::closeInsert(statement_); });
            if (p_.test(348, [&] { return success_; }))
                p_.step(352, [&] { sends.send(existing(mssql_), statement_); });
            value.keepBeforeMove();
            p_.step(354, [&] { source_->moveNext(); });
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
