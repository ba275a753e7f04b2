#pragma once
// The two directions of a transfer side by side: what tells them apart besides their
// steps, and their numbered lines. Both take the same kinds of step, and a step that fails
// is reported at its own transfer's line (docs/error-reports.md). A step only one
// direction takes is named by a flag of its traits; the other's table gives it kNotTaken.

#include "db/odbc/ado.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"
#include "sql/statement_pieces.h"
#include "transfer/command_context.h"
#include "transfer/numbered_pieces.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

// What a direction is, besides its steps.
struct TransferTraits {
    const char16_t* handler;  // the report's label is Form2.<handler>
    Direction direction;
    const char16_t* askToSelect;      // the message when no table is selected
    int postgresCursor, mssqlCursor;  // the connections' cursor locations
    // The source is made before the PostgreSQL connection, else after it.
    bool makesSourceFirst;
    // Events run before each entry of the list is looked at.
    bool letsEventsRunPerEntry;
    // The source, if still open, is closed before the next table is read into it.
    bool closesSourceBeforeReading;
    // The columns whose values go without quotes are listed: the list is cleared before
    // each column list is built, and handed to the dialog and taken back.
    bool keepsNumericList;
};

constexpr TransferTraits kToPostgresTraits{.handler = u"PushButton3_Click",
                                           .direction = Direction::ToPostgres,
                                           .askToSelect = u"Please select a table",
                                           .postgresCursor = db::kUseServer,
                                           .mssqlCursor = db::kUseClient,
                                           .makesSourceFirst = true,
                                           .letsEventsRunPerEntry = true,
                                           .closesSourceBeforeReading = true,
                                           .keepsNumericList = true};
constexpr TransferTraits kToSqlServerTraits{.handler = u"PushButton4_Click",
                                            .direction = Direction::ToSqlServer,
                                            .askToSelect = u"Please select a table to send.",
                                            .postgresCursor = db::kUseClient,
                                            .mssqlCursor = db::kUseServer,
                                            .makesSourceFirst = false,
                                            .letsEventsRunPerEntry = false,
                                            .closesSourceBeforeReading = false,
                                            .keepsNumericList = false};

// The line of a step the direction does not take (see its traits).
constexpr int kNotTaken = 0;

// Up to the tables; openPostgres and openMssql are the first of their lines (see
// transfer_steps.h).
struct RunLines {
    int createMssql, createSource, createPostgres, assumeSuccess, nothingSelectedCheck, busyPointer,
        openPostgres, openMssql, findLastEntry, letEventsRun, entrySelectedCheck;
};

// After the last table, and the request to select one.
struct RunEndLines {
    int closeMssql, closePostgres, defaultPointer, askToSelectTable;
};

// One table up to its column list.
struct TableLines {
    int takeTableName, closeSourceBeforeReading, openSource, startCreateTable, customizeTickedCheck,
        statementUnchangedCheck, clearNumericListAfterDialog, clearNumericList;
};

// The overwrite question; adoptListedSpelling is the first of its lines.
struct OverwriteLines {
    int alreadyListedCheck, adoptListedSpelling, askOverwrite, nothingToOverwrite, declinedCheck;
};

// The customization dialog.
struct DialogLines {
    int assumeCancelled, clearNumericList, tellDirection, giveStatement, giveTableName, show,
        cancelledCheck, closePostgresOnCancel, closeMssqlOnCancel, defaultPointerOnCancel,
        takeStatement, takeNumericList;
};

// The lines of each copy of a column list (see numbered_pieces.h).
using ToPostgresColumnLines =
    ColumnListLines<sql::to_postgres::TypeRule, sql::to_postgres::kTypeRules>;
using ToSqlServerColumnLines =
    ColumnListLines<sql::to_sqlserver::TypeRule, sql::to_sqlserver::kTypeRules>;

// The row loop. A value is read and checked on the same line.
struct RowLines {
    int countRows, rowEvents, showProgress;
    InsertLines insert;
    int readValue, nothingFailedBeforeSendCheck, sendInsert, nextRow;
};

// After a table's rows; the count of its rows is checked on the last row's line.
struct TableEndLines {
    int checkRowsArrived, defaultPointer, resetProgress, closeSource, listNewTable;
};

// The steps of a fast copy that the copy row by row does not take.
struct FastCopyLines {
    int begin;      // the transaction begins
    int countRows;  // the source's rows are counted
    int sendRow;    // a row is read, checked and handed to the target's writer
    int finish;     // the last rows are sent and the server has taken them all
    int commit;
};

// The steps of a copy with "Natural types" that the others do not take.
struct NaturalLines {
    int describeSource;  // the source's columns and key read and the CREATE TABLE built
    int beforeRows;      // a statement the rows need first (an identity's own values allowed)
    int afterRows;       // one after them (the identity's next value set)
};

struct TransferLines {
    RunLines run;
    RunEndLines runEnd;
    TableLines table;
    OverwriteLines overwrite;
    DialogLines dialog;
    transfer_steps::CreationLines creation;
    RowLines rows;
    TableEndLines tableEnd;
    FastCopyLines fast;
    NaturalLines natural;
};

// clang-format off
//                                  mssql source pg   assume none busy open-pg open-mssql last events     selected
constexpr RunLines kToPostgresRun  {100,  102,   104, 106,   110, 112, 118,    126,       138, 140,       142};
constexpr RunLines kToSqlServerRun {100,  104,   102, 106,   112, 114, 116,    124,       136, kNotTaken, 138};
//                                        close-mssql close-pg pointer ask-to-select
constexpr RunEndLines kToPostgresRunEnd  {412,        414,     416,    418};
constexpr RunEndLines kToSqlServerRunEnd {374,        376,     372,    378};
//                                      name close-source open head customize unchanged clear-after clear
constexpr TableLines kToPostgresTable  {144,  162,         164, 166, 168,      194,      196,        250};
constexpr TableLines kToSqlServerTable {140,  kNotTaken,   158, 160, 162,      184,      kNotTaken,  kNotTaken};
//                                            listed spelling ask  none declined
constexpr OverwriteLines kToPostgresOverwrite {146,   148,     156, 158, 160};
constexpr OverwriteLines kToSqlServerOverwrite{142,   144,     152, 154, 156};
//                                      assume clear      tell give name show cancelled close-pg/mssql pointer take list
constexpr DialogLines kToPostgresDialog {170,  172,       174, 176, 178, 180, 182,      184, 186,      188,    190, 192};
constexpr DialogLines kToSqlServerDialog{164,  kNotTaken, 166, 168, 170, 172, 174,      176, 178,      180,    182, kNotTaken};
// The column list is built in two places with lines of their own: after the dialog left
// the statement as it was, and without the dialog. Each type rule appends its column at a
// line of its own.
//                                                  fields events field drop-comma close
constexpr ToPostgresColumnLines kToPostgresCustomized{198,  200,   202,  246,       248,
//   btimestamp char longvar int  currency date bool fallback
    {208,       212, 220,    224, 230,     236, 240, 242}};
constexpr ToPostgresColumnLines kToPostgresAutomatic {252,  254,   256,  300,       302,
    {262,       266, 274,    278, 284,     290, 294, 296}};
//                                                    fields events field drop-comma close
constexpr ToSqlServerColumnLines kToSqlServerCustomized{186,  188,   190,  238,       240,
//   char decimal single int  adlongvarbinary longvar numeric date timestamp double fallback
    {196, 200,    204,   208, 212,            216,    220,    224, 228,      232,   234}};
constexpr ToSqlServerColumnLines kToSqlServerAutomatic {242,  244,   246,  294,       296,
    {252, 256,    260,   264, 268,            272,    276,    280, 284,      288,   290}};
//                                                      overwrite? drop unlist nothing-failed? create
constexpr transfer_steps::CreationLines kToPostgresCreation {304,  306,  308,   310,            314};
constexpr transfer_steps::CreationLines kToSqlServerCreation{298,  300,  302,   304,            308};
// The INSERT's own lines in braces: start, fields, field events, append, close.
//                                  count events progress  insert                    read failed? send next
constexpr RowLines kToPostgresRows {322,  328,   332,     {334, 336, 338, 342, 384}, 340, 388,    392, 394};
constexpr RowLines kToSqlServerRows{316,  320,   322,     {324, 326, 328, 332, 344}, 330, 348,    352, 354};
//                                           all-arrived pointer progress close-source list
constexpr TableEndLines kToPostgresTableEnd {394,        396,    398,     400,         402};
constexpr TableEndLines kToSqlServerTableEnd{354,        356,    358,     360,         362};
// The fast copy's own steps, after every line of the copy row by row.
//                                    begin count send-row finish commit
constexpr FastCopyLines kToPostgresFast  {500,  502,  504,     506,   508};
constexpr FastCopyLines kToSqlServerFast {500,  502,  504,     506,   508};
// "Natural types", after the fast copy's lines.
//                                   describe before-rows after-rows
constexpr NaturalLines kToPostgresNatural {520,     522,        524};
constexpr NaturalLines kToSqlServerNatural{520,     522,        524};
// clang-format on

constexpr TransferLines kToPostgresLines{
    kToPostgresRun,    kToPostgresRunEnd,   kToPostgresTable, kToPostgresOverwrite,
    kToPostgresDialog, kToPostgresCreation, kToPostgresRows,  kToPostgresTableEnd,
    kToPostgresFast,   kToPostgresNatural};
constexpr TransferLines kToSqlServerLines{
    kToSqlServerRun,    kToSqlServerRunEnd,   kToSqlServerTable, kToSqlServerOverwrite,
    kToSqlServerDialog, kToSqlServerCreation, kToSqlServerRows,  kToSqlServerTableEnd,
    kToSqlServerFast,   kToSqlServerNatural};

}  // namespace dorvane::transfer
