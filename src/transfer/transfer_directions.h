#pragma once
// The two directions of a transfer side by side: what tells them apart besides their
// steps, and their numbered lines. Both take the same kinds of step, and a step that fails
// is reported at its own transfer's line; 0 stands for a step that transfer does not take.

#include "db/odbc/ado.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"
#include "sql/statement_pieces.h"
#include "transfer/command_context.h"
#include "transfer/fast_table_copy.h"
#include "transfer/transfer_steps.h"

namespace dorvane::transfer {

// What a direction is, besides its steps.
struct TransferTraits {
    const char16_t* handler;  // the report's label is Form2.<handler>
    Direction direction;
    const char16_t* askToSelect;      // the message when no table is selected
    int postgresCursor, mssqlCursor;  // the connections' cursor locations
};

constexpr TransferTraits kToPostgresTraits{u"PushButton3_Click", Direction::ToPostgres,
                                           u"Please select a table", db::kUseServer,
                                           db::kUseClient};
constexpr TransferTraits kToSqlServerTraits{u"PushButton4_Click", Direction::ToSqlServer,
                                            u"Please select a table to send.", db::kUseClient,
                                            db::kUseServer};

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

// One table up to its column list. Only towards PostgreSQL is the source closed before
// it is read and the numeric column list cleared before it is built.
struct TableLines {
    int takeTableName, closeSourceBeforeReading, openSource, startCreateTable, customizeTickedCheck,
        statementUnchangedCheck, clearNumericListAfterDialog, clearNumericList;
};

// The overwrite question; adoptListedSpelling is the first of its lines.
struct OverwriteLines {
    int alreadyListedCheck, adoptListedSpelling, askOverwrite, nothingToOverwrite, declinedCheck;
};

// The customization dialog. Only towards PostgreSQL does it get and give back the
// numeric column list.
struct DialogLines {
    int assumeCancelled, clearNumericList, tellDirection, giveStatement, giveTableName, show,
        cancelledCheck, closePostgresOnCancel, closeMssqlOnCancel, defaultPointerOnCancel,
        takeStatement, takeNumericList;
};

// The row loop. A value is read and checked on the same line.
struct RowLines {
    int countRows, rowEvents, showProgress;
    sql::InsertLines insert;
    int readValue, nothingFailedBeforeSendCheck, sendInsert, nextRow;
};

// After a table's rows; the count of its rows is checked on the last row's line.
struct TableEndLines {
    int checkRowsArrived, defaultPointer, resetProgress, closeSource, listNewTable;
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
};

// clang-format off
//                                  mssql source pg   assume none busy open-pg open-mssql last events selected
constexpr RunLines kToPostgresRun  {100,  102,   104, 106,   110, 112, 118,    126,       138, 140,   142};
constexpr RunLines kToSqlServerRun {100,  104,   102, 106,   112, 114, 116,    124,       136, 0,     138};
//                                        close-mssql close-pg pointer ask-to-select
constexpr RunEndLines kToPostgresRunEnd  {412,        414,     416,    418};
constexpr RunEndLines kToSqlServerRunEnd {374,        376,     372,    378};
//                                      name close-source open head customize unchanged clear-after clear
constexpr TableLines kToPostgresTable  {144,  162,         164, 166, 168,      194,      196,        250};
constexpr TableLines kToSqlServerTable {140,  0,           158, 160, 162,      184,      0,          0};
//                                            listed spelling ask  none declined
constexpr OverwriteLines kToPostgresOverwrite {146,   148,     156, 158, 160};
constexpr OverwriteLines kToSqlServerOverwrite{142,   144,     152, 154, 156};
//                                      assume clear tell give name show cancelled close-pg/mssql pointer take list
constexpr DialogLines kToPostgresDialog {170,  172,  174, 176, 178, 180, 182,      184, 186,      188,    190, 192};
constexpr DialogLines kToSqlServerDialog{164,  0,    166, 168, 170, 172, 174,      176, 178,      180,    182, 0};
// The column list is built in two places with lines of their own: after the dialog left
// the statement as it was, and without the dialog.
//                                                               fields events field type drop-comma close
constexpr sql::to_postgres::ColumnListLines kToPostgresCustomized    {198,   200,   202,  204, 246,       248,
                                                                 &sql::to_postgres::ColumnRule::customized};
constexpr sql::to_postgres::ColumnListLines kToPostgresAutomatic     {252,   254,   256,  258, 300,       302,
                                                                 &sql::to_postgres::ColumnRule::automatic};
constexpr sql::to_sqlserver::ColumnListLines kToSqlServerCustomized  {186,   188,   190,  192, 238,       240,
                                                                 &sql::to_sqlserver::ColumnRule::customized};
constexpr sql::to_sqlserver::ColumnListLines kToSqlServerAutomatic   {242,   244,   246,  248, 294,       296,
                                                                 &sql::to_sqlserver::ColumnRule::automatic};
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
// clang-format on

constexpr TransferLines kToPostgresLines{
    kToPostgresRun,       kToPostgresRunEnd,   kToPostgresTable,
    kToPostgresOverwrite, kToPostgresDialog,   kToPostgresCreation,
    kToPostgresRows,      kToPostgresTableEnd, kToPostgresFast};
constexpr TransferLines kToSqlServerLines{
    kToSqlServerRun,       kToSqlServerRunEnd,   kToSqlServerTable,
    kToSqlServerOverwrite, kToSqlServerDialog,   kToSqlServerCreation,
    kToSqlServerRows,      kToSqlServerTableEnd, kToSqlServerFast};

}  // namespace dorvane::transfer
