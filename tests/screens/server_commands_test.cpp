// "Test Connection", "Next >" and the automatic advance against the test servers.
#include <gtest/gtest.h>

#include "loopback_ports.h"
#include "screens_harness.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

const QString kSucceeded = QStringLiteral("Connection successful.");
const QString kFailed = QStringLiteral("Could not connect. Please check with your administrator.");

class ServerScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        h.storeServerProfiles();
        // Start-up advances by itself here; these tests press the buttons themselves.
        h.settings().save(QStringLiteral("MSSQLServer"), QString());
        h.connectionScreen.startUp();
        h.typeInto(6, mssqlProfile().server);
        h.databases.calls.clear();
        h.platform.messages.clear();
        // The pointer while a message is up, to see it restored only after it.
        h.platform.onMessage = [this](const ShownMessage&) {
            pointersDuringMessages.push_back(h.connectionWindow.pointer());
        };
    }

    void expectOnly(const QString& message) {
        EXPECT_EQ(h.platform.messageTexts(), std::vector<QString>{message});
        EXPECT_TRUE(h.platform.errorReports().empty());
        ASSERT_EQ(h.platform.messages.size(), 1u);
        EXPECT_EQ(h.platform.messages[0].buttons, core::MsgButtons::Ok);
        EXPECT_EQ(h.platform.messages[0].icon, core::MsgIcon::None);
        EXPECT_EQ(h.platform.messages[0].title, "Dorvane");
        EXPECT_EQ(pointersDuringMessages,
                  std::vector<core::MousePointer>{core::MousePointer::Busy});
        EXPECT_EQ(h.connectionWindow.pointer(), core::MousePointer::Default);
    }

    ScreensHarness h;
    std::vector<core::MousePointer> pointersDuringMessages;
};

// Where each server's profile sits on the connection screen, and its "Test Connection".
struct ServerFields {
    const char* name;
    int portField;
    int passwordField;
    void (screens::ConnectionScreen::*testConnection)();
};

void PrintTo(const ServerFields& server, std::ostream* out) {
    *out << server.name;
}

class TestConnectionButton : public ServerScreens,
                             public ::testing::WithParamInterface<ServerFields> {
  protected:
    void press() { (h.connectionScreen.*GetParam().testConnection)(); }
};

TEST_P(TestConnectionButton, Succeeds) {
    press();
    expectOnly(kSucceeded);
}

TEST_P(TestConnectionButton, WithAWrongPasswordFailsAndSaysWhyWithoutThePassword) {
    h.typeInto(GetParam().passwordField, QStringLiteral("wrong-password"));
    press();
    expectOnly(kFailed);
    EXPECT_FALSE(h.platform.messages.at(0).details.isEmpty());
    EXPECT_FALSE(h.platform.messages.at(0).details.contains(QStringLiteral("wrong-password")))
        << h.platform.messages.at(0).details.toStdString();
}

TEST_P(TestConnectionButton, WithNothingListeningFailsAndSaysWhy) {
    h.typeInto(GetParam().portField, closedPort());
    press();
    expectOnly(kFailed);
    EXPECT_FALSE(h.platform.messages.at(0).details.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EitherServer, TestConnectionButton,
    ::testing::Values(
        ServerFields{"Postgres", 2, 4, &screens::ConnectionScreen::testPostgresConnection},
        ServerFields{"SqlServer", 10, 8, &screens::ConnectionScreen::testMssqlConnection}),
    [](const auto& info) { return std::string(info.param.name); });

// Ticked, the port field is not used: the stand-in, which is not on the default port,
// is then out of reach although the field holds its port.
TEST_F(ServerScreens, SqlServerLocalConnectionLeavesThePortOut) {
    h.localConnection.setValue(1);
    h.connectionScreen.testMssqlConnection();
    expectOnly(kFailed);
}

TEST_F(ServerScreens, NextWithAWrongPostgresPasswordShowsNothingAndSkipsSqlServer) {
    h.typeInto(4, QStringLiteral("wrong-password"));
    h.connectionScreen.next();
    EXPECT_EQ(h.databases.calls, std::vector<QString>{"openPostgres"});
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_EQ(h.connectionWindow.pointer(), core::MousePointer::Default);
    EXPECT_TRUE(h.connectionWindow.visible());
    EXPECT_FALSE(h.transferScreen.loaded());
}

TEST_F(ServerScreens, NextWithAWrongSqlServerPasswordShowsNothing) {
    h.typeInto(8, QStringLiteral("wrong-password"));
    h.connectionScreen.next();
    EXPECT_EQ(h.databases.calls, (std::vector<QString>{"openPostgres", "openMssql"}));
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(h.connectionWindow.visible());
    EXPECT_FALSE(h.transferWindow.visible());
}

TEST_F(ServerScreens, NextFillsBothListsAndSwapsTheWindows) {
    const QString pgTable = uniqueName(QStringLiteral("pg_side"));
    const QString msTable = uniqueName(QStringLiteral("Ms_Side"));
    execPostgres(QStringLiteral("CREATE TABLE %1 (id int)").arg(pgTable));
    execMssql(QStringLiteral("CREATE TABLE [%1] (id int)").arg(msTable));

    h.connectionScreen.next();
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_EQ(occurrences(h.mssqlTables, msTable), 1);
    EXPECT_EQ(occurrences(h.postgresTables, pgTable), 1);
    EXPECT_EQ(occurrences(h.postgresTables, QStringLiteral("pg_class")), 1);  // system tables too
    EXPECT_TRUE(h.transferWindow.visible());
    EXPECT_FALSE(h.connectionWindow.visible());
    EXPECT_EQ(h.connectionWindow.pointer(), core::MousePointer::Default);
    EXPECT_EQ(h.transferWindow.caption(), "Dorvane");  // loaded before the lists were filled

    // Back and forward again: the lists are refilled, not added to.
    h.transferScreen.back();
    h.connectionScreen.next();
    EXPECT_EQ(occurrences(h.mssqlTables, msTable), 1);
    EXPECT_EQ(occurrences(h.postgresTables, pgTable), 1);
    EXPECT_EQ(h.transferWindow.appIconCount, 1);
    EXPECT_EQ(h.transferWindow.showCount, 2);

    execPostgres(QStringLiteral("DROP TABLE %1").arg(pgTable));
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(msTable));
}

TEST_F(ServerScreens, NextRestoresTheCustomizationBoxesEachTime) {
    h.settings().save(QStringLiteral("With Data Type Change 1"), QStringLiteral("1"));
    h.connectionScreen.next();
    EXPECT_EQ(h.customizeToPostgres.value(), 1);
    EXPECT_EQ(h.customizeToSqlServer.value(), 0);

    h.customizeToPostgres.setValue(0);  // the user unticks it: stored at once
    h.settings().save(QStringLiteral("With Data Type Change 2"), QStringLiteral("anything"));
    h.transferScreen.back();
    h.connectionScreen.next();
    EXPECT_EQ(h.customizeToPostgres.value(), 0);
    EXPECT_EQ(h.customizeToSqlServer.value(), 1);
    EXPECT_EQ(h.stored("With Data Type Change 2"), "1");  // restoring raised the box's click
}

class CatalogueFailure : public ServerScreens, public ::testing::WithParamInterface<bool> {};

TEST_P(CatalogueFailure, IsReportedAsNextAndTheOtherListIsStillFilled) {
    const bool sqlServerFails = GetParam();
    const QString table = uniqueName(QStringLiteral("listed"));
    execPostgres(QStringLiteral("CREATE TABLE %1 (id int)").arg(table));
    execMssql(QStringLiteral("CREATE TABLE [%1] (id int)").arg(table));
    h.databases.failMssqlCatalogue = sqlServerFails;
    h.databases.failPostgresCatalogue = !sqlServerFails;

    h.connectionScreen.next();
    ASSERT_EQ(h.platform.errorReports().size(), 1u);
    const QString line = sqlServerFails ? QStringLiteral("106") : QStringLiteral("108");
    EXPECT_TRUE(
        h.platform.errorReports().front().startsWith(QStringLiteral("Catalogue unavailable\r\n")));
    EXPECT_TRUE(h.platform.errorReports().front().contains(
        QStringLiteral("in Ambrelin2021/08/31.Form1.PushButton2_Click at line ") + line));
    EXPECT_EQ(occurrences(sqlServerFails ? h.postgresTables : h.mssqlTables, table), 1);
    EXPECT_EQ(occurrences(sqlServerFails ? h.mssqlTables : h.postgresTables, table), 0);
    EXPECT_TRUE(h.transferWindow.visible());
    EXPECT_EQ(h.connectionWindow.pointer(), core::MousePointer::Default);
    execPostgres(QStringLiteral("DROP TABLE %1").arg(table));
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(table));
}

INSTANTIATE_TEST_SUITE_P(EitherServer, CatalogueFailure, ::testing::Values(true, false));

TEST_F(ServerScreens, ASecondNextWhileTheListsFillIsIgnored) {
    // The stand-in's catalogue has at least one table for the yield to happen in.
    const QString msTable = uniqueName(QStringLiteral("guarded"));
    execMssql(QStringLiteral("CREATE TABLE [%1] (id int)").arg(msTable));
    int nested = 0;
    h.platform.onProcessEvents = [&] {
        if (nested++ == 0) {
            h.connectionScreen.next();
            h.transferScreen.back();
        }
    };
    h.connectionScreen.next();
    EXPECT_GT(nested, 0);
    EXPECT_EQ(h.databases.calls,
              (std::vector<QString>{"openPostgres", "openMssql", "listMssql", "listPostgres"}));
    EXPECT_EQ(occurrences(h.mssqlTables, msTable), 1);
    EXPECT_TRUE(h.transferWindow.visible());
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(msTable));
}

// "Select All", then a command that wants a current entry: the selected entries count as
// one. With nothing selected and nothing current the command still only asks for a table.
enum class ListCommand { Send, Delete, Rename };

struct SelectAllCase {
    const char* name;
    screens::TableSide side;
    ListCommand command;
    bool selectAll;
    const char* askToSelect;  // the message when it does not go ahead
};

void PrintTo(const SelectAllCase& c, std::ostream* out) {
    *out << c.name;
}

class SelectAllThenCommand : public ServerScreens,
                             public ::testing::WithParamInterface<SelectAllCase> {
  protected:
    const SelectAllCase& c = GetParam();
    bool onSqlServer() const { return c.side == screens::TableSide::SqlServer; }
    core::MemoryListBox& list() { return onSqlServer() ? h.mssqlTables : h.postgresTables; }
    core::MemoryListBox& otherList() { return onSqlServer() ? h.postgresTables : h.mssqlTables; }
    bool existsHere(const QString& t) const {
        return onSqlServer() ? mssqlTableExists(t) : postgresTableExists(t);
    }
    bool existsThere(const QString& t) const {
        return onSqlServer() ? postgresTableExists(t) : mssqlTableExists(t);
    }
    void run() {
        switch (c.command) {
            case ListCommand::Send:
                onSqlServer() ? h.transferScreen.sendToPostgres()
                              : h.transferScreen.sendToSqlServer();
                break;
            case ListCommand::Delete:
                h.transferScreen.deleteTables(c.side);
                break;
            case ListCommand::Rename:
                h.transferScreen.renameTable(c.side);
                break;
        }
    }
};

TEST_P(SelectAllThenCommand, GoesAheadOnlyWithSelectedEntries) {
    const QString t = uniqueName(QStringLiteral("select_all"));
    const TablesDroppedAtEnd dropped(t);
    onSqlServer() ? execMssql(QStringLiteral("CREATE TABLE [%1](id INT)").arg(t))
                  : execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id INT)").arg(t));
    list().add(t);
    if (c.selectAll) h.transferScreen.selectAll(c.side);
    ASSERT_EQ(list().currentIndex(), -1);
    if (c.command == ListCommand::Rename) h.platform.typed = {QString()};  // then cancelled

    run();

    EXPECT_TRUE(h.platform.errorReports().empty());
    EXPECT_FALSE(h.commands.running());
    if (!c.selectAll) {
        EXPECT_EQ(h.platform.messageTexts(), std::vector<QString>{c.askToSelect});
        EXPECT_TRUE(h.platform.inputPrompts.empty());
        EXPECT_TRUE(existsHere(t));
        EXPECT_FALSE(existsThere(t));
        EXPECT_EQ(list().texts(), std::vector<QString>{t});
        return;
    }
    switch (c.command) {
        case ListCommand::Send:
            EXPECT_TRUE(h.platform.messages.empty());
            EXPECT_TRUE(existsThere(t));
            EXPECT_EQ(occurrences(otherList(), t), 1);
            break;
        case ListCommand::Delete:
            EXPECT_TRUE(h.platform.messages.empty());
            EXPECT_FALSE(existsHere(t));
            EXPECT_TRUE(list().texts().empty());
            break;
        case ListCommand::Rename:  // asks for the new name
            EXPECT_TRUE(h.platform.messages.empty());
            EXPECT_EQ(h.platform.inputDefaults, std::vector<QString>{t});
            EXPECT_TRUE(existsHere(t));
            break;
    }
}

using enum ListCommand;
constexpr auto kMssqlSide = screens::TableSide::SqlServer;
constexpr auto kPostgresSide = screens::TableSide::Postgres;

INSTANTIATE_TEST_SUITE_P(
    BothSides, SelectAllThenCommand,
    ::testing::Values(
        SelectAllCase{"SendFromSqlServerSelected", kMssqlSide, Send, true, nullptr},
        SelectAllCase{"SendFromSqlServerNothing", kMssqlSide, Send, false, "Please select a table"},
        SelectAllCase{"SendFromPostgresSelected", kPostgresSide, Send, true, nullptr},
        SelectAllCase{"SendFromPostgresNothing", kPostgresSide, Send, false,
                      "Please select a table to send."},
        SelectAllCase{"DeleteOnSqlServerSelected", kMssqlSide, Delete, true, nullptr},
        SelectAllCase{"DeleteOnSqlServerNothing", kMssqlSide, Delete, false,
                      "Please select a table"},
        SelectAllCase{"DeleteOnPostgresSelected", kPostgresSide, Delete, true, nullptr},
        SelectAllCase{"DeleteOnPostgresNothing", kPostgresSide, Delete, false,
                      "Please select a table"},
        SelectAllCase{"RenameOnSqlServerSelected", kMssqlSide, Rename, true, nullptr},
        SelectAllCase{"RenameOnSqlServerNothing", kMssqlSide, Rename, false,
                      "Please select a table"},
        SelectAllCase{"RenameOnPostgresSelected", kPostgresSide, Rename, true, nullptr},
        SelectAllCase{"RenameOnPostgresNothing", kPostgresSide, Rename, false,
                      "Please select a table to rename."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutomaticAdvance, BothProfilesWorkingOpenTheTransferScreen) {
    ScreensHarness h;
    h.storeServerProfiles();
    h.connectionScreen.startUp();
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(h.transferWindow.visible());
    EXPECT_FALSE(h.connectionWindow.visible());
    EXPECT_GT(h.postgresTables.count(), 0);
    // Tested once by the start-up and once more by "Next >".
    EXPECT_EQ(h.databases.calls, (std::vector<QString>{"openPostgres", "openMssql", "openPostgres",
                                                       "openMssql", "listMssql", "listPostgres"}));
}

class AutomaticAdvanceFailure : public ::testing::TestWithParam<const char*> {};

TEST_P(AutomaticAdvanceFailure, LeavesTheConnectionScreenWithoutAMessage) {
    ScreensHarness h;
    h.storeServerProfiles();
    h.settings().save(QString::fromLatin1(GetParam()), QStringLiteral("wrong-password"));
    h.connectionScreen.startUp();
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(h.connectionWindow.visible());
    EXPECT_FALSE(h.transferScreen.loaded());
    EXPECT_EQ(h.texts[7].text(), h.stored("MSSQLPassword"));
}

INSTANTIATE_TEST_SUITE_P(EitherServer, AutomaticAdvanceFailure,
                         ::testing::Values("PostgreSQLPassword", "MSSQLPassword"));

}  // namespace
}  // namespace dorvane::testing
