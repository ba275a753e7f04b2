#include "customize/field_discovery.h"

#include <optional>
#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"

#include "sql/natural_catalogue.h"
#include "sql/natural_types.h"
#include "sql/sql_quoting.h"
#include "sql/type_proposals.h"

namespace dorvane::customize {
namespace {

// With `natural`, the natural types of the columns `natural` describes.
void appendProposals(const db::Recordset& rows, sql::TargetServer target,
                     const std::optional<sql::SourceTable>& natural, core::ListBox& fields,
                     core::ListBox& dataTypes) {
    const bool hasRow = !rows.eof();
    const bool described = natural && natural->columns.size() == std::size_t(rows.fieldCount());
    for (int i = 0; i < rows.fieldCount(); ++i) {
        const db::FieldInfo& field = rows.field(i);
        fields.add(field.name);
        if (described)
            dataTypes.add(
                sql::naturalProposal(target == sql::TargetServer::PostgreSQL, *natural, i));
        else
            dataTypes.add(sql::proposedType(target, field, hasRow ? &rows.value(i) : nullptr));
    }
}

void readSample(const QString& connectionString, const QString& tableName, const QString& query,
                sql::TargetServer target, bool natural, core::ListBox& fields,
                core::ListBox& dataTypes, const db::WhileWaiting& whileWaiting) {
    db::Connection connection;
    connection.setWhileWaiting(whileWaiting);
    connection.setCursorLocation(db::kUseClient);
    connection.open(connectionString);
    std::optional<sql::SourceTable> described;
    if (natural)
        described =
            sql::describeTable(connection, target == sql::TargetServer::PostgreSQL, tableName);
    db::Recordset rows;
    rows.open(query, connection, db::kOpenStatic, db::kLockOptimistic);
    appendProposals(rows, target, described, fields, dataTypes);
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
                     const db::WhileWaiting& whileWaiting, bool natural) {
    readSample(db::mssqlConnectionString(profile), tableName, mssqlSampleQuery(tableName),
               sql::TargetServer::PostgreSQL, natural, fields, dataTypes, whileWaiting);
}

void LoadPostgreSQLFields(const db::PostgresProfile& profile, const QString& tableName,
                          core::ListBox& fields, core::ListBox& dataTypes,
                          const db::WhileWaiting& whileWaiting, bool natural) {
    readSample(db::postgresConnectionString(profile), tableName, postgresSampleQuery(tableName),
               sql::TargetServer::SqlServer, natural, fields, dataTypes, whileWaiting);
}

}  // namespace dorvane::customize
