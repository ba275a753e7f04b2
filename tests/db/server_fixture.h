#pragma once
// One fixture for cases that run the same way on both servers: the test is
// parametrised by the server, and differences in SQL are asked of the fixture.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "db/odbc/connection.h"

namespace dorvane::testing {

enum class DbServer { Postgres, Mssql };

std::string serverLabel(const ::testing::TestParamInfo<DbServer>& info);

QString connectionStringFor(DbServer server);

// Every column of a table in the order the rows went in. The SQL Server stand-in reads
// only the plain "SELECT * FROM" form, and returns rows as inserted.
QString selectAllSql(DbServer server, const QString& table);

// A table with a name unique to this run, dropped again through the same connection.
class ScratchTable {
  public:
    ScratchTable(db::Connection& connection, const QString& stem, const QString& columns);
    ~ScratchTable();
    ScratchTable(const ScratchTable&) = delete;
    ScratchTable& operator=(const ScratchTable&) = delete;
    const QString& name() const { return name_; }

  private:
    db::Connection& connection_;
    QString name_;
};

// False when the run was started without a SQL Server (DORVANE_MSSQL_HOST=none).
bool mssqlAvailable();

class DbServerTest : public ::testing::TestWithParam<DbServer> {
  protected:
    void SetUp() override;
    void TearDown() override;

    bool isPostgres() const { return GetParam() == DbServer::Postgres; }
    QString connectionString() const;
    QString selectAll(const QString& table) const { return selectAllSql(GetParam(), table); }
    // An open connection to the test database.
    db::Connection connect() const;
    void exec(const QString& sql) const;
    // Creates a table with a name unique to this run, dropped when the test ends.
    QString createTable(const QString& stem, const QString& columns);
    // A Unicode text literal and the types of long columns, in the server's dialect.
    QString unicodeLiteral(const QString& text) const;
    QString longTextType() const;
    QString binaryLiteral(const QByteArray& bytes) const;
    QString longBinaryType() const;

  private:
    QStringList createdTables_;
};

}  // namespace dorvane::testing
