#include "customize/field_discovery.h"

#include "sql/type_proposals.h"
#include "db/ado.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "sql/sql_quoting.h"

namespace dorvane {
namespace {

void appendProposals(const db::Recordset& rows, TargetServer target, ListBox& fields,
                     ListBox& dataTypes) {
    const bool hasRow = !rows.eof();
    for (int i = 0; i < rows.fieldCount(); ++i) {
        const db::FieldInfo& field = rows.field(i);
        fields.add(field.name);
        dataTypes.add(proposedType(target, field, hasRow ? &rows.value(i) : nullptr));
    }
}

void readSample(const QString& connectionString, const QString& query, TargetServer target,
                ListBox& fields, ListBox& dataTypes) {
    db::Connection connection;
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
    return QStringLiteral("SELECT top 1 * FROM ") + bracketedName(tableName);
}

QString postgresSampleQuery(const QString& tableName) {
    return QStringLiteral("SELECT * FROM ") + doubleQuotedName(tableName) +
           QStringLiteral(" LIMIT 1");
}

void LoadMSSQLFields(const db::MssqlProfile& profile, const QString& tableName, ListBox& fields,
                     ListBox& dataTypes) {
    readSample(db::mssqlConnectionString(profile), mssqlSampleQuery(tableName),
               TargetServer::PostgreSQL, fields, dataTypes);
}

void LoadPostgreSQLFields(const db::PostgresProfile& profile, const QString& tableName,
                          ListBox& fields, ListBox& dataTypes) {
    readSample(db::postgresConnectionString(profile), postgresSampleQuery(tableName),
               TargetServer::SqlServer, fields, dataTypes);
}

}  // namespace dorvane
