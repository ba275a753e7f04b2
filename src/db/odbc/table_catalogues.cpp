#include "db/odbc/table_catalogues.h"

#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"

namespace dorvane::db {
namespace {
// Names carrying the letters S, Y and S (in any order: sysdiagrams, SystemLog, but also
// Analysis and Physicians) are taken for system tables and not listed.
bool hasSystemLetters(const QString& upperName) {
    return upperName.count(u'S') >= 2 && upperName.contains(u'Y');
}

QString textOf(const Value& value) {
    return value.isNull() ? QString() : value.asString();
}
}  // namespace

QStringList mssqlTableNames(const MssqlProfile& profile, const WhileWaiting& whileWaiting) {
    Connection connection;
    connection.setWhileWaiting(whileWaiting);
    connection.open(mssqlConnectionString(profile));
    Recordset tables = connection.openSchema(kSchemaTables);
    QStringList names;
    while (!tables.eof()) {
        if (textOf(tables.value(QStringLiteral("TABLE_TYPE"))) == u"TABLE") {
            const QString name = textOf(tables.value(QStringLiteral("TABLE_NAME")));
            if (!hasSystemLetters(name.toUpper())) names.append(name);
        }
        tables.moveNext();
    }
    tables.close();
    connection.close();
    return names;
}

QStringList postgresTableNames(const PostgresProfile& profile, const WhileWaiting& whileWaiting) {
    Connection connection;
    connection.setWhileWaiting(whileWaiting);
    connection.setCursorLocation(kUseClient);
    connection.open(postgresConnectionString(profile));
    Recordset tables;
    tables.open(QStringLiteral("select tablename from pg_tables;"), connection);
    QStringList names;
    const std::int64_t count = tables.recordCount();
    for (std::int64_t i = 0; i < count; ++i) {
        names.append(textOf(tables.value(0)));
        tables.moveNext();
    }
    tables.close();
    connection.close();
    return names;
}

}  // namespace dorvane::db
