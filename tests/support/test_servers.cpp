#include "test_servers.h"

#include <gtest/gtest.h>

#include <QAtomicInt>
#include <QCoreApplication>
#include <cstdlib>

#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "sql/sql_quoting.h"

namespace dorvane::testing {
namespace {
QString env(const char* name) {
    const char* value = std::getenv(name);
    if (!value) {
        ADD_FAILURE() << name << " is not set: run the tests through scripts/with-servers.sh";
        return QString();
    }
    return QString::fromUtf8(value);
}

// The rows a client-side cursor counts, given the table's name as the server quotes it.
long long rowCount(const QString& connectionString, const QString& quotedTable) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(connectionString);
    db::Recordset rows;
    rows.open(QStringLiteral("SELECT * FROM ") + quotedTable, c);
    return rows.recordCount();
}
}  // namespace

void storeServerProfiles(core::SettingsStore& store) {
    const db::PostgresProfile pg = postgresProfile();
    const db::MssqlProfile ms = mssqlProfile();
    store.save(QStringLiteral("PostgreSQLServer"), pg.server);
    store.save(QStringLiteral("PostgreSQLPort"), pg.port);
    store.save(QStringLiteral("PostgreSQLUser"), pg.user);
    store.save(QStringLiteral("PostgreSQLPassword"), pg.password);
    store.save(QStringLiteral("PostgreSQLDatabase"), pg.database);
    store.save(QStringLiteral("MSSQLServer"), ms.server);
    store.save(QStringLiteral("MSSQLPort"), ms.port);
    store.save(QStringLiteral("MSSQLUser"), ms.user);
    store.save(QStringLiteral("MSSQLPassword"), ms.password);
    store.save(QStringLiteral("MSSQLDatabase"), ms.database);
    store.save(QStringLiteral("Local Connection"), QStringLiteral("0"));
}

db::PostgresProfile postgresProfile() {
    return {env("DORVANE_PG_HOST"), env("DORVANE_PG_PORT"), env("DORVANE_PG_USER"),
            env("DORVANE_PG_PASSWORD"), env("DORVANE_PG_DATABASE")};
}

db::MssqlProfile mssqlProfile() {
    db::MssqlProfile p{env("DORVANE_MSSQL_HOST"), env("DORVANE_MSSQL_PORT"),
                       env("DORVANE_MSSQL_USER"), env("DORVANE_MSSQL_PASSWORD"),
                       env("DORVANE_MSSQL_DATABASE")};
    p.localConnection = false;
    return p;
}

void execPostgres(const QString& sql) {
    db::Connection c;
    c.open(db::postgresConnectionString(postgresProfile()));
    c.execute(sql);
}

void execMssql(const QString& sql) {
    db::Connection c;
    c.open(db::mssqlConnectionString(mssqlProfile()));
    c.execute(sql);
}

bool postgresTableExists(const QString& name) {
    db::Connection c;
    c.open(db::postgresConnectionString(postgresProfile()));
    db::Recordset rows =
        c.query(QStringLiteral("select count(*) from pg_tables where tablename = ") +
                sql::singleQuotedText(name));
    return rows.value(0).asInteger() > 0;
}

bool mssqlTableExists(const QString& name) {
    db::Connection c;
    c.open(db::mssqlConnectionString(mssqlProfile()));
    try {
        db::Recordset rows;
        rows.open(QStringLiteral("SELECT * FROM ") + sql::bracketedName(name), c);
        return true;
    } catch (const db::DbError& e) {
        if (e.nativeError() == 208) return false;  // invalid object name
        throw;
    }
}

long long postgresRowCount(const QString& name) {
    return rowCount(db::postgresConnectionString(postgresProfile()), sql::doubleQuotedName(name));
}

long long mssqlRowCount(const QString& name) {
    return rowCount(db::mssqlConnectionString(mssqlProfile()), sql::bracketedName(name));
}

QString uniqueName(const QString& stem) {
    static QAtomicInt counter;
    return stem + QStringLiteral("_") + QString::number(QCoreApplication::applicationPid()) +
           QStringLiteral("_") + QString::number(counter.fetchAndAddRelaxed(1));
}

TablesDroppedAtEnd::~TablesDroppedAtEnd() {
    for (const QString& table : tables_) {
        try {
            if (postgresTableExists(table))
                execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(table));
            if (mssqlTableExists(table))
                execMssql(QStringLiteral("DROP TABLE ") + sql::bracketedName(table));
        } catch (const std::exception& e) {
            ADD_FAILURE() << "table " << table.toStdString() << " not dropped: " << e.what();
        }
    }
}

}  // namespace dorvane::testing
