#include "standin_fill.h"

#include <QStringList>
#include <cstdlib>
#include <stdexcept>

#include "db/odbc/recordset.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"

namespace dorvane::bench {

bool standinInUse() {
    return std::getenv("DORVANE_STANDIN_LOG") != nullptr;
}

void makeMssqlTable(const EnvProfiles& profiles, const QString& table, const QString& columns,
                    const QString& selectList, long rows) {
    dropMssqlTable(profiles, table);
    openMssql(profiles).execute(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(sql::bracketedName(table), columns));

    // The stand-in keeps SQL Server database <name> as PostgreSQL database standin_<name>,
    // each table as t_<id> with columns c1, c2, ... (see tools/tds-standin/catalogue).
    db::PostgresProfile backend = profiles.postgres();
    backend.database = QStringLiteral("standin_") + profiles.mssql().database;
    db::Connection pg;
    pg.open(db::postgresConnectionString(backend));
    db::Recordset id =
        pg.query(QStringLiteral("SELECT id FROM standin_objects WHERE folded_name = lower(%1)")
                     .arg(sql::singleQuotedText(table)));
    if (id.eof()) throw std::runtime_error("the stand-in did not list the new table");
    // Columns are counted by their commas outside parentheses: NUMERIC(12,2) is one.
    QStringList backendColumns{QStringLiteral("c1")};
    int depth = 0;
    for (QChar c : columns) {
        depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
        if (c == u',' && depth == 0)
            backendColumns << QStringLiteral("c%1").arg(backendColumns.size() + 1);
    }
    pg.execute(QStringLiteral("INSERT INTO t_%1 (%2) SELECT %3 FROM generate_series(1, %4) g")
                   .arg(sql::valueText(id.value(0)), backendColumns.join(u','), selectList)
                   .arg(rows));
}

}  // namespace dorvane::bench
