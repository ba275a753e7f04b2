#include "sql/postgres_copy_statement.h"

#include "sql/sql_quoting.h"

namespace dorvane::sql::to_postgres {

QString copyStatement(const QString& table, std::span<const QString> columns) {
    QString sql = QStringLiteral("COPY ");
    appendDoubleQuotedName(sql, table);
    if (!columns.empty()) {
        sql += QStringLiteral(" (");
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) sql += u',';
            appendDoubleQuotedName(sql, columns[i]);
        }
        sql += u')';
    }
    sql += QStringLiteral(" FROM STDIN");
    return sql;
}

}  // namespace dorvane::sql::to_postgres
