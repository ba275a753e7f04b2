// "Send Table/s To PostgreSQL" (Form2.PushButton3_Click): the selected tables of the
// SQL Server list copied row by row into PostgreSQL.

#include <memory>

#include "app/procedure.h"
#include "db/ado.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "transfer/current_value.h"
#include "transfer/event_yield.h"
#include "transfer/execute_sql.h"
#include "transfer/list_helpers.h"
#include "transfer/postgres_statements.h"
#include "transfer/refused_value.h"
#include "transfer/row_sender.h"
#include "transfer/send_tables.h"
#include "transfer/transfer_steps.h"
#include "transfer/type_names.h"
#include "transfer/uncopied_tables.h"
#include "transfer/value_text.h"

namespace dorvane {
namespace {

using transfer_steps::existing;
namespace statements = to_postgres;

// The customization side numbers the column list 54 lines before the automatic side.
constexpr int kCustomizationLineOffset = 54;

class TransferToPostgres {
  public:
    TransferToPostgres(CommandContext& ctx, YieldPolicy policy)
        : ctx_(ctx),
          p_(ctx.platform, QStringLiteral("Form2"), QStringLiteral("PushButton3_Click")),
          yield_(ctx.platform, policy) {
        p_.showStatementInReport(&statement_);
    }

    void run() {
        auto& list1 = ctx_.form2.list1;
        p_.step(100, [&] { mssql_ = std::make_unique<db::Connection>(); });
        p_.step(102, [&] { source_ = std::make_unique<db::Recordset>(); });
        p_.step(104, [&] { postgres_ = std::make_unique<db::Connection>(); });
        p_.step(106, [&] { success_ = true; });
        if (p_.test(110, [&] { return list1.currentIndex() == -1; })) {
            p_.step(418,
                    [&] { ctx_.platform.messageBox(QStringLiteral("Please select a table")); });
            return;
        }
        p_.step(112, [&] { ctx_.form2.pointer.setPointer(MousePointer::Busy); });
        {
            // Both logins at once; each still reported, if it fails, at its own line.
            const auto mssqlLogin = transfer_steps::startMssqlLogin(ctx_.profiles);
            transfer_steps::openPostgres(p_, postgres_, db::kUseServer, ctx_.profiles, 118);
            transfer_steps::openMssql(p_, mssql_, db::kUseClient, ctx_.profiles, 126,
                                      mssqlLogin.get());
        }

        int last = -1;
        p_.step(138, [&] { last = list1.count() - 1; });
        for (int index = last; index >= 0; --index) {
            p_.step(140, [&] { yield_.now(); });
            // Handlers that ran meanwhile may have shortened the list.
            if (index >= list1.count()) continue;
            if (p_.test(142, [&] { return list1.selected(index); })) {
                if (!sendTable(index)) {  // the customization was cancelled
                    uncopied_.tell(ctx_.platform);
                    return;
                }
            }
            p_.step(404, [] {});
        }
        p_.step(412, [&] { transfer_steps::closeIfOpen(mssql_); });
        p_.step(414, [&] { transfer_steps::closeIfOpen(postgres_); });
        p_.step(416, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
        uncopied_.tell(ctx_.platform);
    }

  private:
    // One selected table; false when the whole run has ended.
    bool sendTable(int index) {
        auto& list2 = ctx_.form2.list2;
        QString sourceName;
        p_.step(144, [&] { tableName_ = sourceName = ctx_.form2.list1.text(index); });
        int answer = 0;
        if (p_.test(146, [&] { return listContains(list2, tableName_); })) {
            transfer_steps::adoptListedSpelling(p_, list2, tableName_, 148);
            p_.step(156, [&] { answer = transfer_steps::askOverwrite(ctx_.platform, tableName_); });
        } else {
            p_.step(158, [&] { answer = 0; });
        }
        if (p_.test(160, [&] { return answer == kAnswerNo; })) return true;

        p_.step(162, [&] {
            if (existing(source_).state() != db::kStateClosed) source_->close();
        });
        const bool sourceRead = p_.step(164, [&] {
            transfer_steps::readSourceAhead(existing(mssql_), yield_);
            existing(source_).open(statements::selectStatement(sourceName), existing(mssql_),
                                   db::kOpenStatic, db::kLockOptimistic);
        });
        const QString columnHead = statements::columnHead(tableName_);
        p_.step(166, [&] { statement_ = columnHead; });
        bool customized = false;
        if (p_.test(168, [&] { return ctx_.form2.check15.value() == 1; })) {
            if (!customize()) return false;
            customized = statement_ != columnHead;
            if (p_.test(194, [&] { return statement_ == columnHead; })) {
                p_.step(196, [&] { numericList_.clear(); });
                buildColumnList(kCustomizationLineOffset);
            }
        } else {
            p_.step(250, [&] { numericList_.clear(); });
            buildColumnList(0);
        }
        // A name PostgreSQL would shorten is refused before anything is dropped or created.
        if (success_ && sourceRead && !p_.step(314, [&] { checkNamesFit(customized); }))
            success_ = false;

        const bool created = transfer_steps::createTargetTable(
            p_, ctx_.platform, postgres_, list2, tableName_, answer, sourceRead,
            statements::dropStatement(tableName_), statement_, success_, {304, 306, 308, 310, 314});

        const std::int64_t rowsSent = sendRows();
        bool complete = created && success_;
        if (complete && !p_.step(394, [&] {
                transfer_steps::checkRowsArrived(existing(postgres_), tableName_,
                                                 statements::countStatement(tableName_), rowsSent);
            }))
            complete = success_ = false;

        p_.step(396, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
        p_.step(398, [&] { transfer_steps::resetProgress(ctx_.form2.progressBar1); });
        p_.step(400, [&] {
            if (existing(source_).state() != db::kStateClosed) source_->close();
        });
        // The name as it was created: PostgreSQL keeps the case of a quoted name.
        if (created) p_.step(402, [&] { list2.add(tableName_); });
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

    // Lines 170 to 192: false when the user cancelled and the run has ended.
    bool customize() {
        CustomizationMembers& form3 = ctx_.form3.members();
        p_.step(170, [&] { ctx_.customizationCancelled = true; });
        p_.step(172, [&] { form3.mNumeric.clear(); });
        p_.step(174, [&] { form3.mType = QStringLiteral("Postgre"); });
        p_.step(176, [&] { form3.mSQL = statement_; });
        p_.step(178, [&] { form3.mTableName = tableName_; });
        p_.step(180, [&] { ctx_.form3.showModal(); });
        if (p_.test(182, [&] { return ctx_.customizationCancelled; })) {
            p_.step(184, [&] { transfer_steps::closeIfOpen(postgres_); });
            p_.step(186, [&] { transfer_steps::closeIfOpen(mssql_); });
            p_.step(188, [&] { ctx_.form2.pointer.setPointer(MousePointer::Default); });
            return false;
        }
        p_.step(190, [&] { statement_ = form3.mSQL; });
        p_.step(192, [&] { numericList_ = form3.mNumeric; });
        return true;
    }

    // Lines 254 to 302, or 200 to 248 on the customization side.
    void buildColumnList(int lineOffset) {
        const int at = -lineOffset;
        int fieldCount = 0;
        p_.step(252 + at, [&] { fieldCount = existing(source_).fieldCount(); });
        for (int i = 0; i < fieldCount; ++i) {
            p_.step(254 + at, [&] { yield_.whenDue(); });
            QString fieldName;
            p_.step(256 + at, [&] { fieldName = source_->field(i).name; });
            QString typeName;
            p_.step(258 + at, [&] { typeName = adoTypeName(source_->field(i).adoType).toLower(); });
            const statements::ColumnRule* chosen = &statements::fallbackRule();
            for (const statements::ColumnRule& rule : statements::columnRules()) {
                if (p_.test(rule.testLine + at,
                            [&] { return typeName.contains(QStringView(rule.contained)); })) {
                    chosen = &rule;
                    break;
                }
            }
            p_.step(chosen->appendLine + at,
                    [&] { statements::appendColumn(statement_, fieldName, *chosen); });
            if (chosen->numeric)
                p_.step(chosen->appendLine + 2 + at,
                        [&] { statements::appendNumericIndex(numericList_, i); });
            p_.step(298 + at, [] {});
        }
        p_.step(300 + at, [&] { statement_.chop(1); });
        p_.step(302 + at, [&] { statement_ += u')'; });
    }

    // Lines 322 to 394; gives the number of rows.
    std::int64_t sendRows() {
        std::int64_t rows = 0;
        p_.step(322, [&] { rows = existing(source_).recordCount(); });
        // The numeric column list is walked in step with the fields (lines 330, 344, 356);
        // the walk is the same for every row, so it is made once, with the first row.
        std::vector<bool> unquoted;
        bool walked = false;
        p_.step(324, [&] { walked = false; });
        CurrentValue value;
        // Each row's statement runs while the next rows are built (see RowSender).
        RowSender sends(p_, ctx_.platform, yield_, success_);
        for (std::int64_t r = 0; r < rows; ++r) {
            sends.reportIfFailed();
            p_.step(328, [&] { yield_.whenDue(); });
            p_.step(332, [&] {
                ctx_.form2.progressBar1.setValue(transfer_steps::progressPercent(r, rows));
            });
            p_.step(334, [&] { statements::startInsert(statement_, tableName_); });
            int fieldCount = 0;
            p_.step(336, [&] {
                fieldCount = source_->fieldCount();
                if (!walked) unquoted = statements::unquotedColumns(numericList_, fieldCount);
                walked = true;
            });
            for (int j = 0; j < fieldCount; ++j) {
                p_.step(338, [&] { yield_.whenDue(); });
                p_.step(340, [&] { value.read(*source_, j); });
                // A value PostgreSQL cannot hold is refused like a statement the server
                // refuses: reported, and nothing more is sent.
                if (success_ && !p_.step(340, [&] {
                        checkValueAt(tableName_, source_->field(j).name, r + 1,
                                     [&] { checkPostgresCanHold(value.get()); });
                    }))
                    success_ = false;
                const bool unquotedColumn = j < static_cast<int>(unquoted.size()) && unquoted[j];
                p_.step(342, [&] {
                    statements::appendValue(statement_, value.get(), unquotedColumn, j == 0);
                });
                p_.step(382, [] {});
            }
            p_.step(384, [&] { statements::closeInsert(statement_); });
            if (p_.test(388, [&] { return success_; }))
                p_.step(392, [&] { sends.send(existing(postgres_), statement_); });
            value.keepBeforeMove();
            p_.step(394, [&] { source_->moveNext(); });
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
