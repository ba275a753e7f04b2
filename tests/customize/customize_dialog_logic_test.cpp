#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "qstring_printer.h"
#include "scripted_dialog_host.h"
#include "scripted_platform.h"

namespace dorvane::testing {
namespace {

// Servers nobody listens on: a load that reaches for one fails at once.
class UnreachableProfiles : public db::ProfileSource {
  public:
    db::PostgresProfile postgres() const override {
        return {QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("u"),
                QStringLiteral("p"), QStringLiteral("d")};
    }
    db::MssqlProfile mssql() const override {
        return {QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("u"),
                QStringLiteral("p"),         QStringLiteral("d"), false};
    }
};

class CustomizeDialog : public ::testing::Test {
  protected:
    // Loads the dialog without a source table, then fills its lists as discovery would.
    void loadWith(transfer::Direction type, std::vector<std::pair<QString, QString>> columns,
                  const QString& head) {
        host.members().direction = transfer::Direction::None;
        host.open = true;
        host.logic.load();
        for (const auto& [name, dataType] : columns) {
            host.fields.add(name);
            host.dataTypes.add(dataType);
        }
        host.members().direction = type;
        host.members().createTableSql = head;
        cancelled = true;
    }
    std::vector<QString> questions() const {
        std::vector<QString> out;
        for (const auto& m : platform.messages)
            if (m.buttons == core::MsgButtons::YesNo) out.push_back(m.text);
        return out;
    }

    ScriptedPlatform platform;
    UnreachableProfiles profiles;
    bool cancelled = true;
    ScriptedDialogHost host{platform, profiles, cancelled};
};

const QString kPgHead = QStringLiteral("CREATE TABLE \"t\"(");
const QString kQuestion =
    QStringLiteral("Data type has been change.\r\nDo you still want to exit without changes?");

TEST_F(CustomizeDialog, LoadPreparesTheWindowAndStartsEmptyEachTime) {
    loadWith(transfer::Direction::ToPostgres, {{"id", "INT"}}, kPgHead);
    host.change(QStringLiteral("bigint"));  // no row selected: nothing
    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    ASSERT_TRUE(host.logic.changed());

    host.members().direction = transfer::Direction::None;
    host.logic.load();
    EXPECT_EQ(host.fields.count(), 0);
    EXPECT_EQ(host.dataTypes.count(), 0);
    EXPECT_EQ(host.dataType.text(), "");
    EXPECT_FALSE(host.logic.changed());
    EXPECT_EQ(host.formColorCalls, 2);
    EXPECT_EQ(host.iconCalls, 2);
    EXPECT_TRUE(host.customPointerFile.isEmpty()) << "no cursor file in the program folder";
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, LoadTakesTheCursorFileFromTheProgramFolderAndReportsAnUnreadableOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile cursor(QDir(folder.path()).filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(cursor.open(QIODevice::WriteOnly));
    cursor.close();
    platform.setProgramFolder(folder.path());

    host.logic.load();
    EXPECT_EQ(host.customPointerFile, cursor.fileName());
    EXPECT_TRUE(platform.errorReports().empty());

    host.pointerFileUnreadable = true;
    host.logic.load();
    ASSERT_EQ(platform.errorReports().size(), 1u);
    EXPECT_EQ(platform.errorReports()[0],
              "Invalid picture\r\nin Ambrelin2021/08/31.Form3.Form_Load at line 106\r\r"
              "Please email screenshot of this message to support@quenlor.com");
}

TEST_F(CustomizeDialog, LoadReportsAnUnreachableSourceAtTheLineOfItsDirection) {
    host.members().direction = transfer::Direction::ToPostgres;
    host.logic.load();
    host.members().direction = transfer::Direction::ToSqlServer;
    host.logic.load();
    host.members().direction =
        transfer::Direction::None;  // no transfer said which way: neither side
    host.logic.load();

    const auto reports = platform.errorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].contains("in Ambrelin2021/08/31.Form3.Form_Load at line 112\r\r"))
        << reports[0].toStdString();
    EXPECT_TRUE(reports[1].contains("in Ambrelin2021/08/31.Form3.Form_Load at line 116\r\r"))
        << reports[1].toStdString();
    EXPECT_EQ(host.fields.count(), 0);
    EXPECT_EQ(host.dataTypes.count(), 0);
}

TEST_F(CustomizeDialog, ClickingEitherListSelectsTheSameRowInBothAndShowsItsType) {
    loadWith(transfer::Direction::ToPostgres,
             {{"a", "INT"}, {"b", "VARCHAR(3)"}, {"c", "timestamp"}}, kPgHead);
    host.clickField(2);
    EXPECT_EQ(host.dataTypes.currentIndex(), 2);
    EXPECT_EQ(host.dataType.text(), "timestamp");

    host.clickDataType(1);
    EXPECT_EQ(host.fields.currentIndex(), 1);
    EXPECT_EQ(host.dataType.text(), "VARCHAR(3)");

    host.change(QStringLiteral("VarChar (50)"));
    host.clickField(0);
    host.clickField(1);
    EXPECT_EQ(host.dataType.text(), "VarChar (50)") << "the text box starts from the current type";
}

TEST_F(CustomizeDialog, ChangeWritesAValidTypeExactlyAsTypedToTheSelectedRow) {
    loadWith(transfer::Direction::ToPostgres, {{"a", "INT"}, {"b", "VARCHAR(3)"}}, kPgHead);
    host.clickField(1);
    host.change(QStringLiteral(" nvarchar(20) "));
    EXPECT_EQ(host.dataTypes.texts(), (std::vector<QString>{"INT", " nvarchar(20) "}));
    EXPECT_TRUE(host.logic.changed());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, ChangeRefusesAnUnknownTypeAndChangesNothing) {
    loadWith(transfer::Direction::ToPostgres, {{"flag", "bool"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bool"));  // the proposal itself does not pass the check
    host.change(QStringLiteral("double precision"));
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "Invalid datatype.");
    EXPECT_EQ(platform.messages[0].buttons, core::MsgButtons::Ok);
    EXPECT_EQ(platform.messages[0].icon, core::MsgIcon::None);
    EXPECT_EQ(platform.messages[0].title, platform.appTitle());
    EXPECT_EQ(host.dataTypes.texts(), std::vector<QString>{"bool"});
    EXPECT_FALSE(host.logic.changed());
}

TEST_F(CustomizeDialog, ChangeWithoutASelectedRowWritesNothingAndKeepsTheChangedFlag) {
    loadWith(transfer::Direction::ToPostgres, {{"a", "INT"}, {"b", "INT"}}, kPgHead);
    host.change(QStringLiteral("bigint"));
    EXPECT_EQ(host.dataTypes.texts(), (std::vector<QString>{"INT", "INT"}));
    EXPECT_FALSE(host.logic.changed());

    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    host.dataTypes.setCurrentIndex(-1);
    host.change(QStringLiteral("SmallInt"));
    EXPECT_EQ(host.dataTypes.texts(), (std::vector<QString>{"bigint", "INT"}));
    EXPECT_TRUE(host.logic.changed());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, OkTowardsPostgresBuildsTheStatementAndTheNumericColumns) {
    loadWith(transfer::Direction::ToPostgres,
             {{"id", "INT"},
              {"name", "VARCHAR(5)"},
              {"big", "BIGINT"},
              {"price", "Currency"},
              {"small", "SMALLINT"},
              {"n", "int"}},
             kPgHead);
    host.members().numericColumns = QStringLiteral("stale");
    host.ok();
    EXPECT_EQ(host.members().createTableSql,
              "CREATE TABLE \"t\"(\"id\" INT,\"name\" VARCHAR(5),\"big\" BIGINT,"
              "\"price\" Currency,\"small\" SMALLINT,\"n\" int)");
    EXPECT_EQ(host.members().numericColumns, "0,3,5,");
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(host.open);
    EXPECT_EQ(platform.processEventsCalls, 6);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, OkTowardsSqlServerQuotesNamesTheSameWayAndLeavesNumericAlone) {
    loadWith(transfer::Direction::ToSqlServer, {{"id", "INT"}, {"say \"hi\"", "TEXT"}},
             QStringLiteral("CREATE TABLE [t]("));
    host.members().numericColumns = QStringLiteral("kept");
    host.ok();
    EXPECT_EQ(host.members().createTableSql,
              "CREATE TABLE [t](\"id\" INT,\"say \"\"hi\"\"\" TEXT)");
    EXPECT_EQ(host.members().numericColumns, "kept");
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(host.open);
}

TEST_F(CustomizeDialog, OkWithNoColumnsClosesTheHead) {
    loadWith(transfer::Direction::ToPostgres, {}, kPgHead);
    host.ok();
    EXPECT_EQ(host.members().createTableSql, "CREATE TABLE \"t\")");
    EXPECT_EQ(host.members().numericColumns, "");
}

TEST_F(CustomizeDialog, OkAfterAChangeClosesWithoutAQuestion) {
    loadWith(transfer::Direction::ToPostgres, {{"id", "INT"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    host.ok();
    EXPECT_TRUE(questions().empty());
    EXPECT_FALSE(host.open);
    EXPECT_FALSE(host.logic.changed());
    EXPECT_EQ(host.members().createTableSql, "CREATE TABLE \"t\"(\"id\" bigint)");
}

TEST_F(CustomizeDialog, NumericNamesGetGeneratedNamesUnlikeEveryOtherColumn) {
    loadWith(transfer::Direction::ToPostgres,
             {{"42", "INT"},
              {"newfieldname0", "INT"},
              {" 3.5", "TEXT"},
              {"tempid1", "INT"},
              {"1e3", "INT"},
              {"x1", "INT"}},
             kPgHead);
    host.members().oldFieldNames = QStringList{"earlier"};
    host.members().newFieldNames = QStringList{"earlier0"};
    host.ok();
    EXPECT_EQ(host.members().createTableSql,
              "CREATE TABLE \"t\"(\"tempid2\" INT,\"newfieldname0\" INT,\"tempid3\" TEXT,"
              "\"tempid1\" INT,\"tempid4\" INT,\"x1\" INT)");
    EXPECT_EQ(host.members().oldFieldNames, (QStringList{"earlier", "42", " 3.5", "1e3"}));
    EXPECT_EQ(host.members().newFieldNames,
              (QStringList{"earlier0", "tempid2", "tempid3", "tempid4"}));
}

TEST_F(CustomizeDialog, NewFieldNameStartsAtNewfieldname0AndRestartsItsSearchAfterAClash) {
    loadWith(transfer::Direction::ToPostgres, {{"42", "INT"}}, kPgHead);
    EXPECT_EQ(host.logic.newFieldName({}), "newfieldname0");
    EXPECT_EQ(host.logic.newFieldName({"newfieldname0"}), "tempid1");

    // tempid1 is met before newfieldname0: only a fresh pass from the top finds it.
    loadWith(transfer::Direction::ToPostgres, {{"tempid1", "INT"}, {"newfieldname0", "INT"}},
             kPgHead);
    EXPECT_EQ(host.logic.newFieldName({}), "tempid2");
    EXPECT_EQ(host.logic.newFieldName({"tempid2", "tempid3"}), "tempid4");
    EXPECT_EQ(host.logic.newFieldName({"Tempid2"}), "tempid2") << "compared with case";
}

TEST_F(CustomizeDialog, HelpOpensThePostgresPageOrListsTheSqlServerTypes) {
    loadWith(transfer::Direction::ToPostgres, {}, kPgHead);
    host.help();
    EXPECT_EQ(platform.shellTargets,
              std::vector<QString>{"https://www.postgresql.org/docs/current/static/datatype.html"});

    platform.shellFails = true;
    host.help();
    ASSERT_EQ(platform.errorReports().size(), 1u);
    EXPECT_TRUE(platform.errorReports()[0].contains("Form3.PushButton3_Click at line 102"));

    host.members().direction = transfer::Direction::ToSqlServer;
    host.help();
    ASSERT_EQ(platform.messages.size(), 2u);
    const ShownMessage& shown = platform.messages[1];
    EXPECT_TRUE(
        shown.text.startsWith("The following are the Data Types of MS SQL Server: \r\n"
                              "bigint\r\nBinary (50)\r\nBit\r\n"));
    EXPECT_TRUE(shown.text.endsWith("\r\nVarChar (50)\r\nxml"));
    EXPECT_FALSE(shown.text.contains("MEMO"));
    EXPECT_EQ(shown.buttons, core::MsgButtons::Ok);
    EXPECT_EQ(shown.icon, core::MsgIcon::None);

    host.members().direction = transfer::Direction::None;
    host.help();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.shellTargets.size(), 1u);
}

TEST_F(CustomizeDialog, CancelWithoutChangesClosesAndHandsNothingBack) {
    loadWith(transfer::Direction::ToPostgres, {{"id", "INT"}}, kPgHead);
    host.members().numericColumns = QString();
    host.cancel();
    EXPECT_FALSE(host.open);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(host.members().createTableSql, kPgHead);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, ClosingAfterAChangeAsksAndNoKeepsTheDialogWithTheChange) {
    loadWith(transfer::Direction::ToPostgres, {{"id", "INT"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bigint"));

    platform.answers = {core::kAnswerNo, core::kAnswerNo, core::kAnswerYes};
    host.cancel();
    EXPECT_TRUE(host.open);
    host.closeBox();
    EXPECT_TRUE(host.open);
    EXPECT_EQ(host.dataTypes.texts(), std::vector<QString>{"bigint"});
    host.closeBox();
    EXPECT_FALSE(host.open);
    EXPECT_EQ(questions(), (std::vector<QString>{kQuestion, kQuestion, kQuestion}));
    EXPECT_EQ(platform.messages[0].icon, core::MsgIcon::None);
    EXPECT_TRUE(cancelled) << "only OK clears the flag";
    EXPECT_EQ(host.members().createTableSql, kPgHead);
}

TEST_F(CustomizeDialog, ThePointerFollowsButtonsUnlessBusy) {
    host.logic.pushButtonMouseMove();
    EXPECT_EQ(host.pointer.pointer(), core::MousePointer::Custom);
    host.logic.surfaceMouseMove();
    EXPECT_EQ(host.pointer.pointer(), core::MousePointer::Default);
    host.pointer.setPointer(core::MousePointer::Busy);
    host.logic.pushButtonMouseMove();
    host.logic.surfaceMouseMove();
    EXPECT_EQ(host.pointer.pointer(), core::MousePointer::Busy);
}

}  // namespace
}  // namespace dorvane::testing
