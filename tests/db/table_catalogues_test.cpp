// The table names of the two servers, as their catalogues give them.
#include "db/odbc/table_catalogues.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

TEST(DbTableCatalogue, PostgresListsEveryRowOfPgTables) {
    db::Connection c;
    c.open(connectionStringFor(DbServer::Postgres));
    const ScratchTable a(c, QStringLiteral("cat_alpha"), QStringLiteral("id int"));
    const ScratchTable b(c, QStringLiteral("cat_sys_beta"), QStringLiteral("id int"));
    const auto pgTables = [&] {
        QStringList names;
        for (db::Recordset rows = c.query(QStringLiteral("select tablename from pg_tables"));
             !rows.eof(); rows.moveNext()) {
            names.append(sql::valueText(rows.value(0)));
        }
        return names;
    };

    // Tests running beside this one make and drop tables in the same database, one may
    // come and go within the listing: list again until all three listings agree. A list
    // that misses rows disagrees every time.
    QStringList names, before, after{QStringLiteral("not read yet")};
    for (int attempt = 0; attempt < 20 && (before != after || names != before); ++attempt) {
        before = pgTables();
        names = db::postgresTableNames(postgresProfile());
        after = pgTables();
    }

    ASSERT_EQ(before, after) << "tables kept coming and going";
    EXPECT_EQ(names, before);  // every row, in the catalogue's order
    EXPECT_TRUE(names.contains(a.name()));
    EXPECT_TRUE(names.contains(b.name()));  // no filter on this side
    EXPECT_TRUE(names.contains(QStringLiteral("pg_statistic")));
}

TEST(DbTableCatalogue, MssqlListsUserTablesWithoutSysInTheirNames) {
    if (!mssqlAvailable()) GTEST_SKIP() << "no SQL Server in this run";
    db::Connection c;
    c.open(connectionStringFor(DbServer::Mssql));
    const ScratchTable sales(c, QStringLiteral("Sales"), QStringLiteral("id int"));
    const ScratchTable diagrams(c, QStringLiteral("sysdiagrams"), QStringLiteral("id int"));
    const ScratchTable log(c, QStringLiteral("SystemLog"), QStringLiteral("id int"));
    const ScratchTable analysis(c, QStringLiteral("Analysis"), QStringLiteral("id int"));
    const ScratchTable physicians(c, QStringLiteral("Physicians"), QStringLiteral("id int"));
    const QString view = uniqueName(QStringLiteral("SalesView"));
    c.execute(QStringLiteral("CREATE VIEW %1 AS SELECT * FROM %2").arg(view, sales.name()));

    const QStringList names = db::mssqlTableNames(mssqlProfile());
    c.execute(QStringLiteral("DROP VIEW ") + view);

    EXPECT_TRUE(names.contains(sales.name()));
    // The letters S, Y, S anywhere in the name, not only together.
    EXPECT_FALSE(names.contains(analysis.name()));
    EXPECT_FALSE(names.contains(physicians.name()));
    EXPECT_FALSE(names.contains(diagrams.name()));
    EXPECT_FALSE(names.contains(log.name()));
    EXPECT_FALSE(names.contains(view));
}

TEST(DbTableCatalogue, SchemaRowsCarryNameAndType) {
    db::Connection c;
    c.open(connectionStringFor(DbServer::Postgres));
    const ScratchTable t(c, QStringLiteral("cat_schema"), QStringLiteral("id int"));
    db::Recordset rs = c.openSchema(db::kSchemaTables);
    bool found = false;
    for (; !rs.eof(); rs.moveNext()) {
        if (sql::valueText(rs.value(QStringLiteral("TABLE_NAME"))) == t.name()) {
            found = true;
            EXPECT_EQ(sql::valueText(rs.value(QStringLiteral("table_type"))),
                      QStringLiteral("TABLE"));
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace dorvane::testing
