#include "postgres_copy_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <span>
#include <stdexcept>
#include <vector>

#include "db/bulk/postgres_copy.h"
#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "sql/copy_text.h"
#include "sql/postgres_copy_statement.h"
#include "sql/postgres_statements.h"
#include "sql/sql_quoting.h"

namespace dorvane::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Row = std::vector<db::Value>;

// Rows made at a time before they are sent, as the bare loop makes them.
constexpr std::size_t kChunkRows = 2000;

// Runs `work`, adding its time to `seconds`.
template <class Work>
void timed(double& seconds, Work&& work) {
    const Clock::time_point start = Clock::now();
    work();
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
}

// `rows` in pieces of kChunkRows.
template <class Work>
void inChunks(const std::vector<Row>& rows, Work&& work) {
    for (std::size_t at = 0; at < rows.size(); at += kChunkRows)
        work(std::span<const Row>(rows).subspan(at, std::min(kChunkRows, rows.size() - at)));
}

struct Target {
    std::vector<db::FieldInfo> fields;
    std::vector<QString> names;
    std::vector<bool> unquoted;
    QString create(const QString& table) const {
        return sql::to_postgres::createTableStatement(table, fields).sql;
    }
    // COPY rows of `chunk`, the first of them row `first` (from 1).
    void appendCopyRows(QByteArray& out, const QString& table, std::span<const Row> chunk,
                        std::int64_t first) const {
        for (const Row& row : chunk) {
            sql::RowValues values{row};
            sql::appendCopyRow(out, values, unquoted, {table, names, first++});
        }
    }
};

}  // namespace

PostgresCopyFigures runPostgresCopy(const EnvProfiles& profiles, const QString& source) {
    const QString byInsert = source + QStringLiteral("_insert");
    const QString byStdin = source + QStringLiteral("_stdin");
    const QString byFile = source + QStringLiteral("_file");
    for (const QString& t : {byInsert, byStdin, byFile}) dropPostgresTable(profiles, t);

    // The rows are held in memory, so no way is timed while the server still digests
    // what another way sent.
    Target target;
    std::vector<Row> rows;
    {
        db::Connection from = openPostgres(profiles);
        db::Recordset rs =
            from.query(QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(source));
        for (int i = 0; i < rs.fieldCount(); ++i) {
            target.fields.push_back(rs.field(i));
            target.names.push_back(rs.field(i).name);
        }
        for (; !rs.eof(); rs.moveNext()) {
            Row& row = rows.emplace_back();
            for (int j = 0; j < rs.fieldCount(); ++j) row.push_back(rs.value(j));
        }
    }
    target.unquoted = sql::to_postgres::unquotedColumns(
        sql::to_postgres::createTableStatement(byInsert, target.fields).numericList,
        static_cast<int>(target.fields.size()));
    PostgresCopyFigures f;
    f.rows = static_cast<long>(rows.size());

    {
        db::Connection to = openPostgres(profiles);
        to.execute(target.create(byInsert));
        std::vector<QString> statements;
        inChunks(rows, [&](std::span<const Row> chunk) {
            timed(f.insertBuildSeconds, [&] {
                statements.clear();
                for (const Row& row : chunk)
                    statements.push_back(
                        sql::to_postgres::insertStatement(byInsert, row, target.unquoted));
            });
            timed(f.insertSendSeconds, [&] {
                for (const QString& statement : statements) to.execute(statement);
            });
        });
    }

    const QString odbcString = db::postgresConnectionString(profiles.postgres());
    {
        db::PostgresCopySession session(odbcString);
        session.begin();
        session.execute(target.create(byStdin));
        session.startCopy(sql::to_postgres::copyStatement(byStdin), byStdin);
        QByteArray buffer;
        std::int64_t first = 1;
        inChunks(rows, [&](std::span<const Row> chunk) {
            timed(f.copyBuildSeconds, [&] {
                buffer.resize(0);
                target.appendCopyRows(buffer, byStdin, chunk, first);
                first += static_cast<std::int64_t>(chunk.size());
            });
            timed(f.copySendSeconds, [&] { session.putRows(buffer); });
        });
        timed(f.copySendSeconds, [&] {
            session.endCopy();
            session.commit();
        });
    }

    // The server reads the file itself, as whichever user it runs as.
    const QString path = QDir(QDir::tempPath())
                             .filePath(QStringLiteral("dorvane_bench_copy_%1.txt")
                                           .arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write " + path.toStdString());
        file.setPermissions(file.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup);
        QByteArray buffer;
        inChunks(rows, [&](std::span<const Row> chunk) {
            buffer.resize(0);
            target.appendCopyRows(buffer, byFile, chunk, 1);
            file.write(buffer);
        });
    }
    db::PostgresCopySession fromFile(odbcString);
    fromFile.execute(target.create(byFile));
    try {
        timed(f.fileSeconds, [&] {
            fromFile.execute(QStringLiteral("COPY ") + sql::doubleQuotedName(byFile) +
                             QStringLiteral(" FROM ") + sql::singleQuotedText(path));
        });
    } catch (const db::DbError& e) {
        f.fileSeconds = -1;
        f.fileRefusal = e.description();
    }
    QFile::remove(path);

    for (const QString& t : {byInsert, byStdin, byFile}) {
        const long got = postgresRowCount(profiles, t);
        if (got != f.rows && !(t == byFile && f.fileSeconds < 0))
            throw std::runtime_error(
                QStringLiteral("%1 holds %2 rows of %3").arg(t).arg(got).arg(f.rows).toStdString());
        dropPostgresTable(profiles, t);
    }
    return f;
}

}  // namespace dorvane::bench
