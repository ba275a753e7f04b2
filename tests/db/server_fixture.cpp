#include "server_fixture.h"

#include <cstdlib>

#include "db/values/connection_strings.h"
#include "db/values/db_error.h"
#include "test_servers.h"

namespace dorvane::testing {

std::string serverLabel(const ::testing::TestParamInfo<DbServer>& info) {
    return info.param == DbServer::Postgres ? "Postgres" : "Mssql";
}

QString selectAllSql(DbServer server, const QString& table) {
    return server == DbServer::Postgres ? QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)
                                        : QStringLiteral("SELECT * FROM ") + table;
}

bool mssqlAvailable() {
    const char* host = std::getenv("DORVANE_MSSQL_HOST");
    return !(host && QString::fromUtf8(host) == u"none");
}

void DbServerTest::SetUp() {
    if (!isPostgres() && !mssqlAvailable())
        GTEST_SKIP() << "no SQL Server in this run (DORVANE_MSSQL_HOST=none)";
}

void DbServerTest::TearDown() {
    for (const QString& table : createdTables_) {
        try {
            exec(QStringLiteral("DROP TABLE ") + table);
        } catch (const db::DbError& e) {
            ADD_FAILURE() << "cannot drop " << table.toStdString() << ": " << e.what();
        }
    }
}

QString connectionStringFor(DbServer server) {
    return server == DbServer::Postgres ? db::postgresConnectionString(postgresProfile())
                                        : db::mssqlConnectionString(mssqlProfile());
}

ScratchTable::ScratchTable(db::Connection& connection, const QString& stem, const QString& columns)
    : connection_(connection), name_(uniqueName(stem)) {
    connection_.execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(name_, columns));
}

ScratchTable::~ScratchTable() {
    try {
        connection_.execute(QStringLiteral("DROP TABLE ") + name_);
    } catch (const db::DbError& e) {
        ADD_FAILURE() << "cannot drop " << name_.toStdString() << ": " << e.what();
    }
}

QString DbServerTest::connectionString() const {
    return connectionStringFor(GetParam());
}

db::Connection DbServerTest::connect() const {
    db::Connection connection;
    connection.open(connectionString());
    return connection;
}

void DbServerTest::exec(const QString& sql) const {
    connect().execute(sql);
}

QString DbServerTest::createTable(const QString& stem, const QString& columns) {
    const QString name = uniqueName(stem);
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columns));
    createdTables_.push_back(name);
    return name;
}

QString DbServerTest::unicodeLiteral(const QString& text) const {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return (isPostgres() ? QStringLiteral("'") : QStringLiteral("N'")) + quoted + u'\'';
}

QString DbServerTest::longTextType() const {
    return isPostgres() ? QStringLiteral("text") : QStringLiteral("nvarchar(max)");
}

QString DbServerTest::binaryLiteral(const QByteArray& bytes) const {
    const QString hex = QString::fromLatin1(bytes.toHex());
    return isPostgres() ? QStringLiteral("'\\x%1'::bytea").arg(hex) : QStringLiteral("0x") + hex;
}

QString DbServerTest::longBinaryType() const {
    return isPostgres() ? QStringLiteral("bytea") : QStringLiteral("varbinary(max)");
}

}  // namespace dorvane::testing
