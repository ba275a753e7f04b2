#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "cli/command_line.h"
#include "cli/connection_profile.h"
#include "qstring_printer.h"

namespace dorvane::cli {
namespace {

struct ParseCase {
    const char* arguments;
    const char* error;  // a part of the error; nullptr when the line is right
    std::function<void(const CommandLine&)> check;
};

TEST(CommandLineTest, ReadsSubcommandsOptionsAndOperands) {
    const std::vector<ParseCase> cases{
        {"copy --to postgres --fast --natural-types --customize-as-proposed --overwrite a b",
         nullptr,
         [](const CommandLine& c) {
             EXPECT_EQ(c.server, Server::Postgres);
             EXPECT_TRUE(c.fast && c.naturalTypes && c.customizeAsProposed);
             EXPECT_EQ(c.overwrite, OverwriteAnswer::Overwrite);
             EXPECT_EQ(c.tables, QStringList({"a", "b"}));
         }},
        {"copy --keep-existing --all --to=sqlserver", nullptr,
         [](const CommandLine& c) {
             EXPECT_EQ(c.server, Server::SqlServer);
             EXPECT_TRUE(c.all);
             EXPECT_FALSE(c.fast);
             EXPECT_EQ(c.overwrite, OverwriteAnswer::KeepExisting);
         }},
        {"tables sqlserver --pg-host h --mssql-port=1500 --settings f.ini", nullptr,
         [](const CommandLine& c) {
             EXPECT_EQ(c.server, Server::SqlServer);
             EXPECT_EQ(c.fieldOptions.value("PostgreSQLServer"), "h");
             EXPECT_EQ(c.fieldOptions.value("MSSQLPort"), "1500");
             EXPECT_EQ(c.settingsFile, "f.ini");
         }},
        {"rename postgres old new", nullptr,
         [](const CommandLine& c) {
             EXPECT_EQ(c.tables, QStringList({"old", "new"}));
         }},
        {"drop sqlserver -- -odd", nullptr,
         [](const CommandLine& c) { EXPECT_EQ(c.tables, QStringList({"-odd"})); }},
        {"copy --help", nullptr, [](const CommandLine& c) { EXPECT_TRUE(c.help); }},
        {"copy --all a --to postgres", "not both", {}},
        {"copy a", "copy needs --to", {}},
        {"copy --to mysql a", "--to takes postgres or sqlserver", {}},
        {"copy --to postgres --overwrite --keep-existing a", "exclude each other", {}},
        {"tables postgres --pg-password secret", "passwords are not taken", {}},
        {"tables --fast postgres", "unknown option --fast", {}},
        {"tables", "needs postgres or sqlserver", {}},
        {"drop postgres", "name the tables to drop", {}},
        {"rename sqlserver a", "its new name", {}},
        {"tables postgres --mssql-local-connection yes", "takes 0 or 1", {}},
        {"copy --to postgres --pg-port", "--pg-port needs a value", {}},
    };
    for (const ParseCase& row : cases) {
        SCOPED_TRACE(row.arguments);
        const ParsedCommandLine parsed =
            parseCommandLine(QString::fromUtf8(row.arguments).split(u' '));
        if (row.error) {
            EXPECT_FALSE(parsed.command);
            EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(row.error)))
                << parsed.error.toStdString();
        } else {
            ASSERT_TRUE(parsed.command) << parsed.error.toStdString();
            row.check(*parsed.command);
        }
    }
}

TEST(CommandLineTest, AnOptionOverridesTheEnvironmentWhichOverridesTheProfile) {
    QTemporaryDir folder;
    core::FileSettingsStore store(folder.filePath("Quenlor.ini"));
    store.save("PostgreSQLServer", "stored-host");
    store.save("PostgreSQLUser", "stored-user");
    store.save("MSSQLUser", "stored-sa");
    const Environment environment = [](const char* name) -> std::optional<QString> {
        if (QLatin1StringView(name) == "DORVANE_PG_USER") return QString("env-user");
        if (QLatin1StringView(name) == "DORVANE_MSSQL_USER") return QString("env-sa");
        return std::nullopt;
    };
    const ProfileValues values = profileValues(store, environment, {{"MSSQLUser", "option-sa"}});
    EXPECT_EQ(values.value("PostgreSQLServer"), "stored-host");
    EXPECT_EQ(values.value("PostgreSQLUser"), "env-user");
    EXPECT_EQ(values.value("MSSQLUser"), "option-sa");
    EXPECT_EQ(values.value("PostgreSQLPort"), "5432");  // the windows' default
}

}  // namespace
}  // namespace dorvane::cli
