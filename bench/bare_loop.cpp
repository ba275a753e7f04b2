#include "bare_loop.h"

#include <vector>

#include "db/odbc/recordset.h"
#include "process_stats.h"
#include "sql/postgres_statements.h"
#include "sql/sql_quoting.h"
#include "sql/sqlserver_statements.h"
#include "statement_clock.h"

namespace dorvane::bench {
namespace {

// A chunk ends at this many rows or this much statement text, whichever comes first.
constexpr std::size_t kChunkRows = 2000;
constexpr qsizetype kChunkChars = qsizetype{16} << 20;

class StatementMaker {
  public:
    StatementMaker(Direction direction, const QString& target, const db::Recordset& source)
        : direction_(direction), target_(target) {
        std::vector<db::FieldInfo> fields;
        for (int i = 0; i < source.fieldCount(); ++i) fields.push_back(source.field(i));
        if (direction_ == Direction::ToSqlServer) {
            createTable_ = sql::to_sqlserver::createTableStatement(target_, fields);
        } else {
            const sql::to_postgres::CreateTable made =
                sql::to_postgres::createTableStatement(target_, fields);
            createTable_ = made.sql;
            unquoted_ = sql::to_postgres::unquotedColumns(made.numericList, source.fieldCount());
        }
    }
    const QString& createTable() const { return createTable_; }
    QString insert(const std::vector<db::Value>& row) const {
        return direction_ == Direction::ToSqlServer
                   ? sql::to_sqlserver::insertStatement(target_, row)
                   : sql::to_postgres::insertStatement(target_, row, unquoted_);
    }

  private:
    Direction direction_;
    QString target_;
    QString createTable_;
    std::vector<bool> unquoted_;
};

}  // namespace

BareFigures runBareLoop(Direction direction, const EnvProfiles& profiles, const QString& source,
                        const QString& target) {
    const bool toSqlServer = direction == Direction::ToSqlServer;
    db::Connection from = toSqlServer ? openPostgres(profiles) : openMssql(profiles);
    db::Connection to = toSqlServer ? openMssql(profiles) : openPostgres(profiles);
    to.setCommandTimeout(5000);
    db::Recordset rows =
        from.query(QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(source));
    const StatementMaker maker(direction, target, rows);
    to.execute(maker.createTable());

    BareFigures figures;
    std::vector<db::Value> row(static_cast<std::size_t>(rows.fieldCount()));
    std::vector<QString> chunk;
    Clock::duration sending{};
    HostTicks sendingTicks;
    resetInsertTimeline();
    while (!rows.eof()) {
        chunk.clear();
        qsizetype chars = 0;
        while (!rows.eof() && chunk.size() < kChunkRows && chars < kChunkChars) {
            for (int j = 0; j < rows.fieldCount(); ++j) row[j] = rows.value(j);
            chunk.push_back(maker.insert(row));
            chars += chunk.back().size();
            rows.moveNext();
        }
        const HostTicks ticksBefore = hostTicks();
        const Clock::time_point started = Clock::now();
        for (const QString& statement : chunk) to.execute(statement);
        sending += Clock::now() - started;
        sendingTicks += hostTicks() - ticksBefore;
        figures.rows += static_cast<long>(chunk.size());
    }
    figures.seconds = std::chrono::duration<double>(sending).count();
    figures.stolenShare = stolenShare(sendingTicks);
    const InsertTimeline inserts = insertTimeline();
    if (inserts.count > 0) {
        using Us = std::chrono::duration<double, std::micro>;
        const auto count = static_cast<double>(inserts.count);
        figures.insertMicros = Us(inserts.inside).count() / count;
        figures.insertProcessorMicros = Us(inserts.processor).count() / count;
        figures.betweenMicros = Us(sending - inserts.inside).count() / count;
    }
    return figures;
}

}  // namespace dorvane::bench
