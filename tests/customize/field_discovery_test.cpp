// Discovery against both servers: the same cases read a table on SQL Server (proposing
// PostgreSQL types) and on PostgreSQL (proposing SQL Server types).

#include <gtest/gtest.h>

#include "customize/field_discovery.h"
#include "memory_controls.h"
#include "qstring_printer.h"
#include "scripted_dialog_host.h"
#include "scripted_platform.h"
#include "sql/sql_quoting.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

struct Side {
    const char* label;
    void (*exec)(const QString&);
    QString (*quoted)(const QString&);
    void (*load)(const QString& table, core::ListBox& fields, core::ListBox& dataTypes);
    transfer::Direction dialogDirection;  // the direction under which the dialog reads this side
    int loadLine;                         // the load step's line for this side
    const char* longText;
    const char* booleanColumn;
    const char* booleanProposal;
    const char* tinyColumn;
    const char* tinyProposal;
    const char* decimalProposal;
};

const Side kSqlServerSource{
    .label = "SqlServer",
    .exec = execMssql,
    .quoted = [](const QString& name) { return sql::bracketedName(name); },
    .load = [](const QString& table, core::ListBox& f,
               core::ListBox& t) { customize::LoadMSSQLFields(mssqlProfile(), table, f, t); },
    .dialogDirection = transfer::Direction::ToPostgres,
    .loadLine = 112,
    .longText = "MEMO",
    .booleanColumn = "BIT",
    .booleanProposal = "bool",
    .tinyColumn = "TINYINT",
    .tinyProposal = "SMALLINT",
    .decimalProposal = "NUMERIC",
};

// PostgreSQL has no one-byte integer: its smallest is smallint.
const Side kPostgresSource{
    .label = "PostgreSQL",
    .exec = execPostgres,
    .quoted = [](const QString& name) { return sql::doubleQuotedName(name); },
    .load =
        [](const QString& table, core::ListBox& f, core::ListBox& t) {
            customize::LoadPostgreSQLFields(postgresProfile(), table, f, t);
        },
    .dialogDirection = transfer::Direction::ToSqlServer,
    .loadLine = 116,
    .longText = "TEXT",
    .booleanColumn = "boolean",
    .booleanProposal = "BIT",
    .tinyColumn = "smallint",
    .tinyProposal = "SMALLINT",
    .decimalProposal = "NUMERIC(10,2)",
};

class FieldDiscovery : public ::testing::TestWithParam<const Side*> {
  protected:
    const Side& side() const { return *GetParam(); }

    QString createTable(const QString& columns, const QString& stem = QStringLiteral("disc")) {
        const QString name = uniqueName(stem);
        side().exec(QStringLiteral("CREATE TABLE ") + side().quoted(name) + u'(' + columns + u')');
        created_.push_back(name);
        return name;
    }
    void insert(const QString& table, const QString& values) {
        side().exec(QStringLiteral("INSERT INTO ") + side().quoted(table) +
                    QStringLiteral(" VALUES (") + values + u')');
    }
    void load(const QString& table) { side().load(table, fields, dataTypes); }

    void TearDown() override {
        for (const QString& name : created_)
            side().exec(QStringLiteral("DROP TABLE ") + side().quoted(name));
    }

    core::MemoryListBox fields{false};
    core::MemoryListBox dataTypes{false};

  private:
    std::vector<QString> created_;
};

using Texts = std::vector<QString>;

TEST_P(FieldDiscovery, AnEmptyTableSizesTextByDefaultAndKeepsFixedTypes) {
    const QString table = createTable(
        QStringLiteral("id INT, label VARCHAR(40), flag %1, amount DECIMAL(10,2), small %2")
            .arg(side().booleanColumn, side().tinyColumn));
    load(table);
    EXPECT_EQ(fields.texts(), (Texts{"id", "label", "flag", "amount", "small"}));
    EXPECT_EQ(dataTypes.texts(), (Texts{"INT", "VARCHAR(255)", side().booleanProposal,
                                        side().decimalProposal, side().tinyProposal}));
}

// psqlODBC reports a varchar wider than 255 as long text, which row 1 already maps to
// the long-text type.
TEST_P(FieldDiscovery, TextIsSizedFromTheFirstRowOnly) {
    const QString table = createTable(QStringLiteral(
        "exact VARCHAR(255), over VARCHAR(300), blank VARCHAR(20), missing VARCHAR(20), "
        "wide VARCHAR(200)"));
    insert(table, QStringLiteral("'%1', '%2', '', NULL, 'abcdefg'")
                      .arg(QString(255, u'x'), QString(256, u'y')));
    insert(table,
           QStringLiteral("'a', 'b', 'a longer value', 'set', '%1'").arg(QString(150, u'z')));
    load(table);
    EXPECT_EQ(fields.texts(), (Texts{"exact", "over", "blank", "missing", "wide"}));
    EXPECT_EQ(dataTypes.texts(), (Texts{"VARCHAR(255)", side().longText, "VARCHAR(255)",
                                        "VARCHAR(255)", "VARCHAR(7)"}));
}

TEST_P(FieldDiscovery, SmallIntegersAndDecimalsFollowTheirOwnRows) {
    const QString table =
        createTable(QStringLiteral("small %1, amount DECIMAL(10,2)").arg(side().tinyColumn));
    insert(table, QStringLiteral("7, 3.14"));
    load(table);
    EXPECT_EQ(dataTypes.texts(), (Texts{side().tinyProposal, side().decimalProposal}));
}

TEST_P(FieldDiscovery, AOneColumnTableGivesOneRowInEachList) {
    const QString table = createTable(QStringLiteral("only_column VARCHAR(10)"));
    insert(table, QStringLiteral("'abc'"));
    load(table);
    EXPECT_EQ(fields.texts(), Texts{"only_column"});
    EXPECT_EQ(dataTypes.texts(), Texts{"VARCHAR(3)"});
}

TEST_P(FieldDiscovery, ATableNameWithTheQuoteCharacterIsRead) {
    const QString table = createTable(QStringLiteral("id INT"), QStringLiteral("we]i\"rd"));
    load(table);
    EXPECT_EQ(fields.texts(), Texts{"id"});
}

TEST_P(FieldDiscovery, ATableTheServerRefusesIsReportedByTheLoadStep) {
    ScriptedPlatform platform;
    EnvProfiles profiles;
    bool cancelled = true;
    ScriptedDialogHost host(platform, profiles, cancelled);
    host.members().direction = side().dialogDirection;
    host.members().tableName = uniqueName(QStringLiteral("no]such\"table"));
    host.logic.load();

    const auto reports = platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(
        QStringLiteral("\r\nin Ambrelin2021/08/31.Form3.Form_Load at line %1\r\r")
            .arg(side().loadLine)))
        << reports[0].toStdString();
    EXPECT_EQ(host.fields.count(), 0);
    EXPECT_EQ(host.dataTypes.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothServers, FieldDiscovery,
                         ::testing::Values(&kSqlServerSource, &kPostgresSource),
                         [](const auto& info) { return std::string(info.param->label); });

TEST(FieldDiscoveryFromSqlServer, ProposesPostgresTypes) {
    const QString table = uniqueName(QStringLiteral("disc_ms"));
    execMssql(QStringLiteral("CREATE TABLE ") + sql::bracketedName(table) +
              QStringLiteral("(b BIGINT, m MONEY, f FLOAT, r REAL, d DATETIME, n NUMERIC(12,3), "
                             "t NVARCHAR(MAX), s SMALLINT, bin VARBINARY(10))"));
    execMssql(QStringLiteral("INSERT INTO ") + sql::bracketedName(table) +
              QStringLiteral(" VALUES (1, 2.5, 3.5, 4.5, '2024-01-02', 1.5, 'x', 1, 0x0102)"));
    core::MemoryListBox fields(false), dataTypes(false);
    customize::LoadMSSQLFields(mssqlProfile(), table, fields, dataTypes);
    execMssql(QStringLiteral("DROP TABLE ") + sql::bracketedName(table));
    EXPECT_EQ(dataTypes.texts(), (Texts{"BIGINT", "NUMERIC", "NUMERIC", "NUMERIC", "timestamp",
                                        "NUMERIC", "MEMO", "SMALLINT", "VARCHAR(6)"}));
}

// An unconstrained numeric arrives with the driver's nominal precision (28,6).
TEST(FieldDiscoveryFromPostgres, ProposesSqlServerTypesThatKeepTheValues) {
    const QString table = uniqueName(QStringLiteral("disc_pg"));
    execPostgres(
        QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(table) +
        QStringLiteral(
            "(b bigint, m money, f double precision, r real, "
            "d timestamp, n numeric(12,3), t text, i integer, big numeric(50,4), plain numeric)"));
    execPostgres(QStringLiteral("INSERT INTO ") + sql::doubleQuotedName(table) +
                 QStringLiteral(" VALUES (1, 2.5, 3.5, 4.5, '2024-01-02', 1.5, 'x', 1, 1, 2.75)"));
    core::MemoryListBox fields(false), dataTypes(false);
    customize::LoadPostgreSQLFields(postgresProfile(), table, fields, dataTypes);
    execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(table));
    EXPECT_EQ(dataTypes.texts(),
              (Texts{"BIGINT", "NUMERIC(19,4)", "FLOAT", "REAL", "DATETIME", "NUMERIC(12,3)",
                     "TEXT", "INT", "NUMERIC(38,4)", "NUMERIC(28,6)"}));
}

}  // namespace
}  // namespace dorvane::testing
