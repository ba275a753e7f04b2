// Stopping a long command from the transfer window: Esc, or closing the window, while a
// copy or a deletion runs asks first, and Yes ends it at the next row or table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "core/settings_store.h"
#include "directions.h"
#include "screens/command_stop.h"
#include "screens/database_gateway.h"
#include "screens_harness.h"
#include "scripted_platform.h"
#include "sql/sql_quoting.h"
#include "test_servers.h"
#include "ui/program.h"

namespace dorvane::testing {
namespace {

constexpr int kRows = 2000;

// The other sessions in the test's PostgreSQL database: while a command runs, its own.
std::size_t otherSessions() {
    return postgresRows(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE pid <> "
                                       "pg_backend_pid() AND datname = current_database()"))
        .size();
}

// A session ends on the server a little after its client closed it.
std::size_t otherSessionsOnceSettled() {
    const QDeadlineTimer deadline(30000);
    std::size_t open = otherSessions();
    while (open != 0 && !deadline.hasExpired()) {
        QThread::msleep(20);
        open = otherSessions();
    }
    return open;
}

class StopCommand : public ::testing::Test {
  protected:
    // The PostgreSQL side in a database of its own, where no other test's sessions are.
    static void SetUpTestSuite() {
        sharedDatabase() = qEnvironmentVariable("DORVANE_PG_DATABASE");
        ownDatabase() = uniqueName(QStringLiteral("stop_db")).toLower();
        execPostgres(QStringLiteral("CREATE DATABASE ") + sql::doubleQuotedName(ownDatabase()));
        qputenv("DORVANE_PG_DATABASE", ownDatabase().toUtf8());
    }
    static void TearDownTestSuite() {
        qputenv("DORVANE_PG_DATABASE", sharedDatabase().toUtf8());
        execPostgres(QStringLiteral("DROP DATABASE ") + sql::doubleQuotedName(ownDatabase()) +
                     QStringLiteral(" WITH (FORCE)"));
    }
    static QString& sharedDatabase() {
        static QString name;
        return name;
    }
    static QString& ownDatabase() {
        static QString name;
        return name;
    }

    void SetUp() override {
        storeServerProfiles(settings);
        program.start();  // both connect: the transfer screen opens with both lists
        ASSERT_TRUE(window()->isVisible());
        window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
        platform.messages.clear();
    }
    void TearDown() override { window()->hide(); }

    QWidget* window() { return program.transferWindow().widget(); }
    transfer::TransferScreenControls& controls() { return program.transferWindow().controls(); }
    void selectOnly(core::ListBox& list, const QStringList& names) {
        for (int i = 0; i < list.count(); ++i) {
            const bool wanted = names.contains(list.text(i));
            list.setSelected(i, wanted);
            if (wanted) list.setCurrentIndex(i);
        }
    }
    void click(const char* button) {
        window()->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    // As the user presses it: to the control that has the focus.
    void pressEscape() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window(), Qt::Key_Escape);
    }
    void expectAtRest() {
        EXPECT_EQ(controls().progressBar.value(), 0);
        EXPECT_EQ(controls().progressBar.text(), "Progress Bar");
        EXPECT_EQ(program.transferWindow().form().pointer(), core::MousePointer::Default);
        EXPECT_TRUE(platform.errorReports().empty());
    }
    void expectAsked(const QString& question) {
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages[0].text, question);
        EXPECT_EQ(platform.messages[0].buttons, core::MsgButtons::YesNo);
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    core::FileSettingsStore settings{folder.filePath(QStringLiteral("Quenlor.ini"))};
    screens::OdbcDatabaseGateway databases;
    ui::Program program{platform, settings, databases};
};

// One direction as the window offers it.
struct WindowDirection {
    Direction d;
    core::ListBox& (*sourceList)(transfer::TransferScreenControls&);
    core::ListBox& (*targetList)(transfer::TransferScreenControls&);
    const char* sourceListName;
    const char* sendButton;
    core::CheckBox* transfer::TransferScreenControls::*fastCopyBox;
};

void PrintTo(const WindowDirection& c, std::ostream* os) {
    PrintTo(c.d, os);
}

core::ListBox& mssqlList(transfer::TransferScreenControls& c) {
    return c.mssqlTables;
}
core::ListBox& postgresList(transfer::TransferScreenControls& c) {
    return c.postgresTables;
}

class StopCopy : public StopCommand, public ::testing::WithParamInterface<WindowDirection> {
  protected:
    void SetUp() override {
        // Two batches: SQL Server takes at most 1000 rows in one VALUES list.
        QString values;
        for (int i = 1; i <= kRows / 2; ++i)
            values += QStringLiteral("%1(%2)").arg(i > 1 ? "," : "").arg(i);
        d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT)");
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES" + values);
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES" + values);
        d.source.exec("CREATE TABLE " + d.source.quote(later) + "(n INT)");
        d.source.exec("INSERT INTO " + d.source.quote(later) + " VALUES(1)");
        StopCommand::SetUp();
        selectOnly(sourceList(), {t});
        // Where the user's selecting left the focus; Esc goes there first.
        window()->findChild<QWidget*>(QString::fromLatin1(GetParam().sourceListName))->setFocus();
        ASSERT_EQ(QApplication::focusWidget()->objectName(), GetParam().sourceListName);
    }
    core::ListBox& sourceList() { return GetParam().sourceList(controls()); }
    core::ListBox& targetList() { return GetParam().targetList(controls()); }
    // Runs `act` once, at the first yield after the progress bar has moved.
    void duringTheRows(std::function<void()> act) {
        platform.onProcessEvents = [this, act] {
            if (acted || controls().progressBar.value() == 0) return;
            acted = true;
            sessionsDuringCopy = otherSessions();
            act();
        };
    }
    void send() { click(GetParam().sendButton); }
    void expectStopped() {
        EXPECT_TRUE(acted);
        expectAsked(screens::kStopCopyQuestion);
        EXPECT_EQ(
            platform.messageTexts(),
            (std::vector<QString>{
                screens::kStopCopyQuestion,
                QStringLiteral("These tables were not copied, or not completely:\r\n\r\n") + t}));
        const long long arrived = d.target.rowCount(t);
        EXPECT_GT(arrived, 0);
        EXPECT_LT(arrived, kRows);
        EXPECT_GE(sessionsDuringCopy, 1u);
        EXPECT_EQ(sessionsAtEnd, 0u);
        // The lists as the servers hold them: the table cut short is on the target.
        EXPECT_TRUE(d.target.exists(t));
        EXPECT_EQ(occurrences(targetList(), t), 1);
        EXPECT_EQ(occurrences(sourceList(), t), 1);
        expectAtRest();
    }
    const Direction& d = GetParam().d;
    const QString t = uniqueName(QStringLiteral("stopped")).toLower();
    // Listed above t: copied after it, when selected too.
    const QString later = uniqueName(QStringLiteral("later")).toLower();
    bool acted = false;
    std::size_t sessionsDuringCopy = 0;
    std::size_t sessionsAtEnd = 99;
};

TEST_P(StopCopy, EscAndYesStopAfterTheCurrentRow) {
    pressEscape();  // outside a command: nothing
    EXPECT_TRUE(platform.messages.empty());
    selectOnly(sourceList(), {t, later});
    platform.answers = {core::kAnswerYes};
    duringTheRows([this] { pressEscape(); });
    // While the run's last message is up its connections are closed already.
    platform.onMessage = [this](const ShownMessage& m) {
        if (m.buttons == core::MsgButtons::Ok) sessionsAtEnd = otherSessionsOnceSettled();
    };

    send();

    expectStopped();  // names t alone
    EXPECT_FALSE(d.target.exists(later));
    EXPECT_EQ(occurrences(targetList(), later), 0);
    EXPECT_TRUE(window()->isVisible());
}

TEST_P(StopCopy, WithFastCopyEscAsksToRollBackAndYesLeavesNoPartOfTheTable) {
    (controls().*GetParam().fastCopyBox)->setValue(1);
    platform.answers = {core::kAnswerYes};
    duringTheRows([this] { pressEscape(); });

    send();

    EXPECT_TRUE(acted);
    EXPECT_EQ(platform.messageTexts(),
              (std::vector<QString>{
                  screens::kStopFastCopyQuestion,
                  QStringLiteral("These tables were not copied, or not completely:\r\n\r\n") + t}));
    EXPECT_FALSE(d.target.exists(t));
    EXPECT_EQ(occurrences(targetList(), t), 0);
    expectAtRest();
}

TEST_P(StopCopy, EscAndNoCarryOnToTheEnd) {
    platform.answers = {core::kAnswerNo};
    duringTheRows([this] { pressEscape(); });

    send();

    EXPECT_TRUE(acted);
    EXPECT_EQ(platform.messageTexts(), std::vector<QString>{screens::kStopCopyQuestion});
    EXPECT_TRUE(d.copied(t, t));
    expectAtRest();
}

TEST_P(StopCopy, ClosingTheWindowAndYesStopsThenCloses) {
    platform.answers = {core::kAnswerYes};
    bool openAfterClosing = false;
    duringTheRows([this, &openAfterClosing] {
        window()->close();
        openAfterClosing = window()->isVisible();
    });
    platform.onMessage = [this](const ShownMessage& m) {
        if (m.buttons == core::MsgButtons::Ok) sessionsAtEnd = otherSessionsOnceSettled();
    };

    send();

    EXPECT_TRUE(openAfterClosing);  // not while the copy still ran
    expectStopped();
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(platform.endProgramCalls, 1);
}

TEST_P(StopCopy, ClosingTheWindowAndNoKeepsItOpenAndCopies) {
    platform.answers = {core::kAnswerNo};
    duringTheRows([this] { window()->close(); });

    send();

    EXPECT_EQ(platform.messageTexts(), std::vector<QString>{screens::kStopCopyQuestion});
    EXPECT_TRUE(d.copied(t, t));
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(platform.endProgramCalls, 0);
    expectAtRest();
}

INSTANTIATE_TEST_SUITE_P(
    EitherDirection, StopCopy,
    ::testing::Values(WindowDirection{kToPostgres, mssqlList, postgresList, "List1", "PushButton3",
                                      &transfer::TransferScreenControls::fastCopyToPostgres},
                      WindowDirection{kToSqlServer, postgresList, mssqlList, "List2", "PushButton4",
                                      &transfer::TransferScreenControls::fastCopyToSqlServer}),
    [](const auto& info) { return std::string(info.param.d.name); });

TEST_F(StopCommand, EscWhileDeletingSqlServerTablesKeepsTheTablesNotYetDropped) {
    QStringList tables;
    for (const char* stem : {"del_a", "del_b", "del_c"}) {
        tables << uniqueName(QString::fromLatin1(stem));
        execMssql("CREATE TABLE " + sql::bracketedName(tables.back()) + "(n INT)");
    }
    program.connectionScreen().next();  // lists them
    platform.messages.clear();
    core::ListBox& list = controls().mssqlTables;
    selectOnly(list, tables);
    platform.answers = {core::kAnswerYes};
    bool pressed = false;
    platform.onProcessEvents = [&] {
        // Once the first of them is dropped: the list is walked from the bottom.
        if (pressed || occurrences(list, tables.back()) == 1) return;
        pressed = true;
        pressEscape();
    };

    click("PushButton1");

    EXPECT_EQ(platform.messageTexts(), std::vector<QString>{screens::kStopDeletingQuestion});
    for (const QString& table : tables) {
        const bool kept = table != tables.back();
        EXPECT_EQ(mssqlTableExists(table), kept) << table.toStdString();
        EXPECT_EQ(occurrences(list, table), kept ? 1 : 0) << table.toStdString();
        if (kept) execMssql("DROP TABLE " + sql::bracketedName(table));
    }
    expectAtRest();
}

}  // namespace
}  // namespace dorvane::testing
