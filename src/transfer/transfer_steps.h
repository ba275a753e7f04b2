#pragma once
// Steps the two transfers take alike, each with the line numbers its caller gives.

#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "core/controls.h"
#include "core/event_yield.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/odbc/connection_opening.h"
#include "db/odbc/recordset.h"
#include "db/values/connection_strings.h"

namespace dorvane::transfer::transfer_steps {

// The object a step works on; a step whose creation failed left none.
template <class T>
T& existing(const std::unique_ptr<T>& object) {
    if (!object) throw std::runtime_error("Object variable or With block variable not set");
    return *object;
}

// Both directions wait as long as a copy takes.
constexpr int kTimeoutSeconds = 5000;

// What a session with a server does while it waits: lets events run, when due.
db::WhileWaiting eventsWhileWaiting(core::EventYield& yield);
// A connection that calls `whileWaiting` while it waits on its server.
std::unique_ptr<db::Connection> newConnection(db::WhileWaiting whileWaiting);

// Lines first, +2, +4: cursor location and both time-outs; +6: open.
void openPostgres(core::Procedure& p, const std::unique_ptr<db::Connection>& connection,
                  int cursorLocation, const db::ProfileSource& profiles, int firstLine);
// The SQL Server login that openMssql's open step will make, begun now so that it runs
// while the PostgreSQL connection opens; openMssql takes it. Null when it cannot begin.
// This one goes ahead because psqlODBC sets the process's locale while it logs in, so
// two of its logins should not overlap.
std::unique_ptr<db::ConnectionOpening> startMssqlLogin(const db::ProfileSource& profiles) noexcept;
// Lines first, +2, +4: cursor location and both time-outs; +6: "Local Connection"
// ticked?; +8: open without port; +10: open with port. The open step takes `started`
// when it is that very login, and reports its failure.
void openMssql(core::Procedure& p, const std::unique_ptr<db::Connection>& connection,
               int cursorLocation, const db::ProfileSource& profiles, int firstLine,
               db::ConnectionOpening* started = nullptr);

// Lines first, +2, +4: every entry of the list that equals the name ignoring case
// gives the name its own spelling; the last such entry wins.
void adoptListedSpelling(core::Procedure& p, const core::ListBox& list, QString& tableName,
                         int firstLine);

int askOverwrite(core::Platform& platform, const QString& tableName);

// The bar's value after row `row` (from 0) of `rows`: the last row gives exactly 100.
inline double progressPercent(std::int64_t row, std::int64_t rows) {
    return static_cast<double>(row + 1) / static_cast<double>(rows) * 100.0;
}

// "Customers: 12 000 of 100 000 rows": the table and how many of its rows were sent.
QString rowsSentText(const QString& table, std::int64_t sent, std::int64_t rows);
// "Customers: 12 000 of 100 000 rows by INSERT statements": a fast copy's, when the server
// took no bulk load.
QString rowsSentByInsertsText(const QString& table, std::int64_t sent, std::int64_t rows);

// The text follows the bar's whole percents, the first row and the last: a table of
// millions of rows does not repaint it for every row.
inline bool rowsSentTextDue(std::int64_t row, std::int64_t rows) {
    return row == 0 || row + 1 == rows || (row + 1) * 100 / rows != row * 100 / rows;
}

void resetProgress(core::ProgressBar& bar);

void closeIfOpen(const std::unique_ptr<db::Connection>& connection);

// Line numbers of the steps that make the target table.
struct CreationLines {
    int overwriteTest;  // was the overwrite confirmed?
    int drop;
    int listRemove;
    int successTest;  // has nothing failed yet?
    int create;
};

// Removes from `list` the entry of the table a DROP of `table` removed, and gives its text.
// Compared as the target compares names (`names`): SQL Server by default ignores case, so the
// entry may be spelt otherwise than the name dropped; an entry spelt alike is the one when
// there is one, as a server that tells case apart may hold both.
QString removeDroppedEntry(core::ListBox& list, const QString& table, Qt::CaseSensitivity names);

// Throws when the target table, counted by `countSql`, does not hold the `sent` rows.
void checkRowsArrived(db::Connection& target, const QString& table, const QString& countSql,
                      std::int64_t sent);

// The source's rows are sent while later ones are still arriving. A fast copy takes them
// as fast as they come, so their reading must not give way to other work.
inline void readSourceAhead(db::Connection& source, bool fastCopy) {
    source.setReadAhead(true,
                        fastCopy ? db::ReaderPriority::AsCaller : db::ReaderPriority::BelowCaller);
}

// True when the source's rows ended before row `row` + 1 of `rows`: its server failed
// while they were read, which has been reported, and nothing more can be sent.
inline bool sourceEndedEarly(db::Recordset& source, std::int64_t row, std::int64_t rows) {
    return row + 1 < rows && source.state() != db::kStateClosed && source.eof();
}

}  // namespace dorvane::transfer::transfer_steps
