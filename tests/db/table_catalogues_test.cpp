// The table lists of the two servers, filled from their catalogues.
#include <algorithm>

#include "core/memory_controls.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/table_catalogues.h"
#include "scripted_platform.h"
#include "server_fixture.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

bool listed(const MemoryListBox& list, const QString& name) {
    const auto texts = list.texts();
    return std::find(texts.begin(), texts.end(), name) != texts.end();
}

TEST(DbTableCatalogue, PostgresListsEveryRowOfPgTables) {
    db::Connection c;
    c.open(connectionStringFor(DbServer::Postgres));
    const ScratchTable a(c, QStringLiteral("cat_alpha"), QStringLiteral("id int"));
    const ScratchTable b(c, QStringLiteral("cat_sys_beta"), QStringLiteral("id int"));
    const auto tableCount = [&] {
        return c.query(QStringLiteral("select count(*) from pg_tables")).value(0).asInteger();
    };

    // Tests running beside this one make and drop tables in the same database: list
    // again until no table came or went during the listing.
    MemoryListBox list;
    ScriptedPlatform platform;
    std::int64_t before = 0, after = -1;
    for (int attempt = 0; attempt < 20 && before != after; ++attempt) {
        list.clear();
        list.add(QStringLiteral("left over"));
        platform.processEventsCalls = 0;
        before = tableCount();
        db::listPostgresTables(postgresProfile(), list, platform);
        after = tableCount();
    }

    ASSERT_EQ(before, after) << "tables kept coming and going";
    EXPECT_EQ(list.count(), before);
    EXPECT_EQ(platform.processEventsCalls, before);
    EXPECT_TRUE(listed(list, a.name()));
    EXPECT_TRUE(listed(list, b.name()));  // no filter on this side
    EXPECT_TRUE(listed(list, QStringLiteral("pg_statistic")));
    EXPECT_FALSE(listed(list, QStringLiteral("left over")));
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

    MemoryListBox list;
    list.add(QStringLiteral("left over"));
    ScriptedPlatform platform;
    db::listMssqlTables(mssqlProfile(), list, platform);
    c.execute(QStringLiteral("DROP VIEW ") + view);

    EXPECT_TRUE(listed(list, sales.name()));
    // The letters S, Y, S anywhere in the name, not only together.
    EXPECT_FALSE(listed(list, analysis.name()));
    EXPECT_FALSE(listed(list, physicians.name()));
    EXPECT_FALSE(listed(list, diagrams.name()));
    EXPECT_FALSE(listed(list, log.name()));
    EXPECT_FALSE(listed(list, view));
    EXPECT_FALSE(listed(list, QStringLiteral("left over")));
    EXPECT_GE(platform.processEventsCalls, 5);
}

TEST(DbTableCatalogue, SchemaRowsCarryNameAndType) {
    db::Connection c;
    c.open(connectionStringFor(DbServer::Postgres));
    const ScratchTable t(c, QStringLiteral("cat_schema"), QStringLiteral("id int"));
    db::Recordset rs = c.openSchema(db::kSchemaTables);
    bool found = false;
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.value(QStringLiteral("TABLE_NAME")).toText() == t.name()) {
            found = true;
            EXPECT_EQ(rs.value(QStringLiteral("table_type")).toText(), QStringLiteral("TABLE"));
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace dorvane::testing
