// The built program's command mode against the test servers, run as a child process with
// no display at all: the profiles come from a settings file, as a user's would.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <vector>

#include "core/settings_store.h"
#include "qstring_printer.h"
#include "sql/sql_quoting.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

struct Finished {
    int exitCode = -1;
    QString out, err;
};

class CommandLineServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        core::FileSettingsStore store(settingsFile());
        storeServerProfiles(store);
    }

    QString settingsFile() const { return folder_.filePath(QStringLiteral("Quenlor.ini")); }

    // Runs the program with the settings file alone: no display, no connection variables
    // but those given.
    Finished dorvane(const QStringList& arguments,
                     const QList<QPair<QString, QString>>& variables = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : environment.keys())
            if (name.startsWith(u"DORVANE_PG_") || name.startsWith(u"DORVANE_MSSQL_"))
                environment.remove(name);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("DORVANE_SETTINGS_FILE"), settingsFile());
        for (const auto& [name, value] : variables) environment.insert(name, value);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(DORVANE_PROGRAM), arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(-1));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir folder_;
};

enum class To { Postgres, SqlServer };

QString serverName(To to) {
    return to == To::Postgres ? QStringLiteral("postgres") : QStringLiteral("sqlserver");
}

// A table of three rows on the server the copy reads from.
void makeSourceTable(To to, const QString& name) {
    if (to == To::Postgres) {
        execMssql(QStringLiteral("CREATE TABLE ") + sql::bracketedName(name) +
                  QStringLiteral(" (id int, label varchar(20))"));
        execMssql(QStringLiteral("INSERT INTO ") + sql::bracketedName(name) +
                  QStringLiteral(" VALUES (1, 'one'), (2, 'two'), (3, NULL)"));
    } else {
        execPostgres(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(name) +
                     QStringLiteral(" (id int4, label varchar(20))"));
        execPostgres(QStringLiteral("INSERT INTO ") + sql::doubleQuotedName(name) +
                     QStringLiteral(" VALUES (1, 'one'), (2, 'two'), (3, NULL)"));
    }
}

long long targetRows(To to, const QString& name) {
    return to == To::Postgres ? postgresRowCount(name) : mssqlRowCount(name);
}

TEST_F(CommandLineServerTest, TablesListsEachServersTables) {
    const QString name = uniqueName(QStringLiteral("cli_listed"));
    TablesDroppedAtEnd dropped(name);
    makeSourceTable(To::Postgres, name);   // on SQL Server
    makeSourceTable(To::SqlServer, name);  // on PostgreSQL
    for (const char* server : {"postgres", "sqlserver"}) {
        SCOPED_TRACE(server);
        const Finished run = dorvane({QStringLiteral("tables"), QString::fromLatin1(server)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.split(u'\n').contains(name)) << run.out.toStdString();
    }
}

TEST_F(CommandLineServerTest, CopiesEachWayWithAndWithoutFastCopy) {
    const struct {
        To to;
        bool fast;
    } cases[] = {
        {To::Postgres, false}, {To::Postgres, true}, {To::SqlServer, false}, {To::SqlServer, true}};
    for (const auto& row : cases) {
        SCOPED_TRACE((serverName(row.to) + (row.fast ? " --fast" : "")).toStdString());
        const QString name = uniqueName(QStringLiteral("cli_copy"));
        TablesDroppedAtEnd dropped(name);
        makeSourceTable(row.to, name);
        QStringList arguments{QStringLiteral("copy"), QStringLiteral("--to"), serverName(row.to)};
        if (row.fast) arguments << QStringLiteral("--fast");
        const Finished run = dorvane(arguments << name);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QStringLiteral("copied\t") + name + u'\n');
        // Not a terminal: one progress line for the finished table.
        EXPECT_TRUE(run.err.startsWith(name + QStringLiteral(": 3 of 3 rows, ")))
            << run.err.toStdString();
        EXPECT_EQ(targetRows(row.to, name), 3);
    }
}

TEST_F(CommandLineServerTest, AnExistingTableIsKeptUnlessOverwriteIsGiven) {
    const struct {
        const char* flag;
        int exitCode;
        const char* outcome;
        const char* answer;
        long long rows;
    } cases[] = {{nullptr, 1, "kept", "No", 1},
                 {"--keep-existing", 0, "kept", "No", 1},
                 {"--overwrite", 0, "copied", "Yes", 3}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.flag ? row.flag : "no flag");
        const QString name = uniqueName(QStringLiteral("cli_old"));
        TablesDroppedAtEnd dropped(name);
        makeSourceTable(To::Postgres, name);
        execPostgres(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(name) +
                     QStringLiteral(" AS SELECT 1 AS kept"));
        QStringList arguments{QStringLiteral("copy"), QStringLiteral("--to=postgres"), name};
        if (row.flag) arguments << QString::fromLatin1(row.flag);
        const Finished run = dorvane(arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromLatin1(row.outcome) + u'\t' + name + u'\n');
        EXPECT_TRUE(run.err.contains(QStringLiteral("Would you like to overwrite ") + name +
                                     QStringLiteral("? ") + QString::fromLatin1(row.answer)))
            << run.err.toStdString();
        EXPECT_EQ(postgresRowCount(name), row.rows);
    }
}

TEST_F(CommandLineServerTest, ARefusedValueEndsWithStatusOneAndItsReport) {
    const QString name = uniqueName(QStringLiteral("cli_refused"));
    TablesDroppedAtEnd dropped(name);
    execPostgres(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(name) +
                 QStringLiteral(" (id int4, label text)"));
    execPostgres(QStringLiteral("INSERT INTO ") + sql::doubleQuotedName(name) +
                 QStringLiteral(" VALUES (1, 'Ελλάδα')"));
    const Finished run = dorvane({"copy", "--to", "sqlserver", "--fast", name});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("not-copied\t") + name + u'\n');
    EXPECT_TRUE(run.err.contains(QStringLiteral("Table %1, column label, row 1: ").arg(name)))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("in Ambrelin2021/08/31.Form2.PushButton4_Click")));
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("These tables were not copied, or not completely:\n\n") + name));
    EXPECT_FALSE(mssqlTableExists(name));  // all or nothing: rolled back
}

TEST_F(CommandLineServerTest, RenameAndDropAskNothingAndSayWhatBecameOfTheTable) {
    for (const To on : {To::Postgres, To::SqlServer}) {
        const QString server = serverName(on == To::Postgres ? To::SqlServer : To::Postgres);
        SCOPED_TRACE(server.toStdString());
        const QString name = uniqueName(QStringLiteral("cli_named"));
        const QString newName = uniqueName(QStringLiteral("cli_renamed"));
        TablesDroppedAtEnd dropped(name);
        dropped.add(newName);
        makeSourceTable(on, name);  // on the other server than the copy's target
        const auto exists = [&](const QString& table) {
            return on == To::Postgres ? mssqlTableExists(table) : postgresTableExists(table);
        };

        const Finished renamed = dorvane({QStringLiteral("rename"), server, name, newName});
        EXPECT_EQ(renamed.exitCode, 0) << renamed.err.toStdString();
        EXPECT_EQ(renamed.out, QStringLiteral("renamed\t%1\t%2\n").arg(name, newName));
        EXPECT_TRUE(exists(newName));

        const Finished drop = dorvane({QStringLiteral("drop"), server, newName});
        EXPECT_EQ(drop.exitCode, 0) << drop.err.toStdString();
        EXPECT_EQ(drop.out, QStringLiteral("dropped\t") + newName + u'\n');
        EXPECT_FALSE(exists(newName));
    }
}

TEST_F(CommandLineServerTest, ConnectionFailuresAndWrongCommandLinesEndWithStatusTwo) {
    const QString password = QStringLiteral("Not-The-Password-4711");
    const struct {
        QStringList arguments;
        QList<QPair<QString, QString>> variables;
        const char* error;
    } cases[] = {
        {{"tables", "postgres"}, {{"DORVANE_PG_PASSWORD", password}}, "Could not connect."},
        {{"copy", "--to", "postgres", "--all"},
         {{"DORVANE_MSSQL_PASSWORD", password}},
         "SQL Server: Could not connect."},
        {{"copy", "--to", "postgres", "cli_no_such_table"}, {}, "lists no table cli_no_such_table"},
        {{"copy", "--to", "postgres"}, {}, "name the tables to copy"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Finished run = dorvane(row.arguments, row.variables);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.error))) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(password));
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
}

}  // namespace
}  // namespace dorvane::testing
