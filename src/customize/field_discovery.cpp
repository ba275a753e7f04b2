#include "customize/field_discovery.h"

#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/sql_quoting.h"
#include "sql/type_proposals.h"

namespace dorvane::customize {
namespace {

void appendProposals(const db::Recordset& rows, sql::TargetServer target, core::ListBox& fields,
                     core::ListBox& dataTypes) {
    const bool hasRow = !rows.eof();
    for (int i = 0; i < rows.fieldCount(); ++i) {
        const db::FieldInfo& field = rows.field(i);
        fields.add(field.name);
        dataTypes.add(sql::proposedType(target, field, hasRow ? &rows.value(i) : nullptr));
    }
}

void readSample(const QString& connectionString, const QString& query, sql::TargetServer target,
                core::ListBox& fields, core::ListBox& dataTypes,
                const db::WhileWaiting& whileWaiting) {
    db::Connection connection;
    connection.setWhileWaiting(whileWaiting);
    connection.setCursorLocation(db::kUseClient);
    connection.open(connectionString);
    db::Recordset rows;
    rows.open(query, connection, db::kOpenStatic, db::kLockOptimistic);
    appendProposals(rows, target, fields, dataTypes);
    if (rows.state() != db::kStateClosed) rows.close();
    if (connection.state() != db::kStateClosed) connection.close();
}

}  // namespace

QString mssqlSampleQuery(const QString& tableName) {
    return QStringLiteral("SELECT top 1 * FROM ") + sql::bracketedName(tableName);
}

QString postgresSampleQuery(const QString& tableName) {
    return QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(tableName) +
           QStringLiteral(" LIMIT 1");
}

void LoadMSSQLFields(const db::MssqlProfile& profile, const QString& tableName,
                     core::ListBox& fields, core::ListBox& dataTypes,
                     const db::WhileWaiting& whileWaiting) {
    readSample(db::mssqlConnectionString(profile), mssqlSampleQuery(tableName),
               sql::TargetServer::PostgreSQL, fields, dataTypes, whileWaiting);
}

void LoadPostgreSQLFields(const db::PostgresProfile& profile, const QString& tableName,
                          core::ListBox& fields, core::ListBox& dataTypes,
                          const db::WhileWaiting& whileWaiting) {
    readSample(db::postgresConnectionString(profile), postgresSampleQuery(tableName),
               sql::TargetServer::SqlServer, fields, dataTypes, whileWaiting);
}

}  // namespace dorvane::customize
