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
    void loadWith(const QString& type, std::vector<std::pair<QString, QString>> columns,
                  const QString& head) {
        host.members().mType = QString();
        host.open = true;
        host.logic.Form_Load();
        for (const auto& [name, dataType] : columns) {
            host.list1.add(name);
            host.list2.add(dataType);
        }
        host.members().mType = type;
        host.members().mSQL = head;
        cancelled = true;
    }
    std::vector<QString> questions() const {
        std::vector<QString> out;
        for (const auto& m : platform.messages)
            if (m.buttons == MsgButtons::YesNo) out.push_back(m.text);
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
    loadWith(QStringLiteral("Postgre"), {{"id", "INT"}}, kPgHead);
    host.change(QStringLiteral("bigint"));  // no row selected: nothing
    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    ASSERT_TRUE(host.logic.changed());

    host.members().mType = QStringLiteral("other");
    host.logic.Form_Load();
    EXPECT_EQ(host.list1.count(), 0);
    EXPECT_EQ(host.list2.count(), 0);
    EXPECT_EQ(host.text1.text(), "");
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

    host.logic.Form_Load();
    EXPECT_EQ(host.customPointerFile, cursor.fileName());
    EXPECT_TRUE(platform.errorReports().empty());

    host.pointerFileUnreadable = true;
    host.logic.Form_Load();
    ASSERT_EQ(platform.errorReports().size(), 1u);
    EXPECT_EQ(platform.errorReports()[0],
              "Invalid picture\r\nin Ambrelin2021/08/31.Form3.Form_Load at line 106\r\r"
              "Please email screenshot of this message to support@quenlor.com");
}

TEST_F(CustomizeDialog, LoadReportsAnUnreachableSourceAtTheLineOfItsDirection) {
    host.members().mType = QStringLiteral("Postgre");
    host.logic.Form_Load();
    host.members().mType = QStringLiteral("MSSQL");
    host.logic.Form_Load();
    host.members().mType = QStringLiteral("postgre");  // exact comparison: neither side
    host.logic.Form_Load();

    const auto reports = platform.errorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].contains("in Ambrelin2021/08/31.Form3.Form_Load at line 112\r\r"))
        << reports[0].toStdString();
    EXPECT_TRUE(reports[1].contains("in Ambrelin2021/08/31.Form3.Form_Load at line 116\r\r"))
        << reports[1].toStdString();
    EXPECT_EQ(host.list1.count(), 0);
    EXPECT_EQ(host.list2.count(), 0);
}

TEST_F(CustomizeDialog, ClickingEitherListSelectsTheSameRowInBothAndShowsItsType) {
    loadWith(QStringLiteral("Postgre"), {{"a", "INT"}, {"b", "VARCHAR(3)"}, {"c", "timestamp"}},
             kPgHead);
    host.clickField(2);
    EXPECT_EQ(host.list2.currentIndex(), 2);
    EXPECT_EQ(host.text1.text(), "timestamp");

    host.clickDataType(1);
    EXPECT_EQ(host.list1.currentIndex(), 1);
    EXPECT_EQ(host.text1.text(), "VARCHAR(3)");

    host.change(QStringLiteral("VarChar (50)"));
    host.clickField(0);
    host.clickField(1);
    EXPECT_EQ(host.text1.text(), "VarChar (50)") << "the text box starts from the current type";
}

TEST_F(CustomizeDialog, ChangeWritesAValidTypeExactlyAsTypedToTheSelectedRow) {
    loadWith(QStringLiteral("Postgre"), {{"a", "INT"}, {"b", "VARCHAR(3)"}}, kPgHead);
    host.clickField(1);
    host.change(QStringLiteral(" nvarchar(20) "));
    EXPECT_EQ(host.list2.texts(), (std::vector<QString>{"INT", " nvarchar(20) "}));
    EXPECT_TRUE(host.logic.changed());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, ChangeRefusesAnUnknownTypeAndChangesNothing) {
    loadWith(QStringLiteral("Postgre"), {{"flag", "bool"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bool"));  // the proposal itself does not pass the check
    host.change(QStringLiteral("double precision"));
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "Invalid datatype.");
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.messages[0].title, platform.appTitle());
    EXPECT_EQ(host.list2.texts(), std::vector<QString>{"bool"});
    EXPECT_FALSE(host.logic.changed());
}

TEST_F(CustomizeDialog, ChangeWithoutASelectedRowWritesNothingAndKeepsTheChangedFlag) {
    loadWith(QStringLiteral("Postgre"), {{"a", "INT"}, {"b", "INT"}}, kPgHead);
    host.change(QStringLiteral("bigint"));
    EXPECT_EQ(host.list2.texts(), (std::vector<QString>{"INT", "INT"}));
    EXPECT_FALSE(host.logic.changed());

    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    host.list2.setCurrentIndex(-1);
    host.change(QStringLiteral("SmallInt"));
    EXPECT_EQ(host.list2.texts(), (std::vector<QString>{"bigint", "INT"}));
    EXPECT_TRUE(host.logic.changed());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, OkTowardsPostgresBuildsTheStatementAndTheNumericColumns) {
    loadWith(QStringLiteral("Postgre"),
             {{"id", "INT"},
              {"name", "VARCHAR(5)"},
              {"big", "BIGINT"},
              {"price", "Currency"},
              {"small", "SMALLINT"},
              {"n", "int"}},
             kPgHead);
    host.members().mNumeric = QStringLiteral("stale");
    host.ok();
    EXPECT_EQ(host.members().mSQL,
              "CREATE TABLE \"t\"(\"id\" INT,\"name\" VARCHAR(5),\"big\" BIGINT,"
              "\"price\" Currency,\"small\" SMALLINT,\"n\" int)");
    EXPECT_EQ(host.members().mNumeric, "0,3,5,");
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(host.open);
    EXPECT_EQ(platform.processEventsCalls, 6);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, OkTowardsSqlServerQuotesNamesTheSameWayAndLeavesNumericAlone) {
    loadWith(QStringLiteral("MSSQL"), {{"id", "INT"}, {"say \"hi\"", "TEXT"}},
             QStringLiteral("CREATE TABLE [t]("));
    host.members().mNumeric = QStringLiteral("kept");
    host.ok();
    EXPECT_EQ(host.members().mSQL, "CREATE TABLE [t](\"id\" INT,\"say \"\"hi\"\"\" TEXT)");
    EXPECT_EQ(host.members().mNumeric, "kept");
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(host.open);
}

TEST_F(CustomizeDialog, OkWithNoColumnsClosesTheHead) {
    loadWith(QStringLiteral("Postgre"), {}, kPgHead);
    host.ok();
    EXPECT_EQ(host.members().mSQL, "CREATE TABLE \"t\")");
    EXPECT_EQ(host.members().mNumeric, "");
}

TEST_F(CustomizeDialog, OkAfterAChangeClosesWithoutAQuestion) {
    loadWith(QStringLiteral("Postgre"), {{"id", "INT"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bigint"));
    host.ok();
    EXPECT_TRUE(questions().empty());
    EXPECT_FALSE(host.open);
    EXPECT_FALSE(host.logic.changed());
    EXPECT_EQ(host.members().mSQL, "CREATE TABLE \"t\"(\"id\" bigint)");
}

TEST_F(CustomizeDialog, NumericNamesGetGeneratedNamesUnlikeEveryOtherColumn) {
    loadWith(QStringLiteral("Postgre"),
             {{"42", "INT"},
              {"newfieldname0", "INT"},
              {" 3.5", "TEXT"},
              {"tempid1", "INT"},
              {"1e3", "INT"},
              {"x1", "INT"}},
             kPgHead);
    host.members().mOldFieldNames = QStringList{"earlier"};
    host.members().mNewFieldNames = QStringList{"earlier0"};
    host.ok();
    EXPECT_EQ(host.members().mSQL,
              "CREATE TABLE \"t\"(\"tempid2\" INT,\"newfieldname0\" INT,\"tempid3\" TEXT,"
              "\"tempid1\" INT,\"tempid4\" INT,\"x1\" INT)");
    EXPECT_EQ(host.members().mOldFieldNames, (QStringList{"earlier", "42", " 3.5", "1e3"}));
    EXPECT_EQ(host.members().mNewFieldNames,
              (QStringList{"earlier0", "tempid2", "tempid3", "tempid4"}));
}

TEST_F(CustomizeDialog, NewFieldNameStartsAtNewfieldname0AndRestartsItsSearchAfterAClash) {
    loadWith(QStringLiteral("Postgre"), {{"42", "INT"}}, kPgHead);
    EXPECT_EQ(host.logic.NewFieldName({}), "newfieldname0");
    EXPECT_EQ(host.logic.NewFieldName({"newfieldname0"}), "tempid1");

    // tempid1 is met before newfieldname0: only a fresh pass from the top finds it.
    loadWith(QStringLiteral("Postgre"), {{"tempid1", "INT"}, {"newfieldname0", "INT"}}, kPgHead);
    EXPECT_EQ(host.logic.NewFieldName({}), "tempid2");
    EXPECT_EQ(host.logic.NewFieldName({"tempid2", "tempid3"}), "tempid4");
    EXPECT_EQ(host.logic.NewFieldName({"Tempid2"}), "tempid2") << "compared with case";
}

TEST_F(CustomizeDialog, HelpOpensThePostgresPageOrListsTheSqlServerTypes) {
    loadWith(QStringLiteral("Postgre"), {}, kPgHead);
    host.help();
    EXPECT_EQ(platform.shellTargets,
              std::vector<QString>{"https://www.postgresql.org/docs/current/static/datatype.html"});

    platform.shellFails = true;
    host.help();
    ASSERT_EQ(platform.errorReports().size(), 1u);
    EXPECT_TRUE(platform.errorReports()[0].contains("Form3.PushButton3_Click at line 102"));

    host.members().mType = QStringLiteral("MSSQL");
    host.help();
    ASSERT_EQ(platform.messages.size(), 2u);
    const ShownMessage& shown = platform.messages[1];
    EXPECT_TRUE(
        shown.text.startsWith("The following are the Data Types of MS SQL Server: \r\n"
                              "bigint\r\nBinary (50)\r\nBit\r\n"));
    EXPECT_TRUE(shown.text.endsWith("\r\nVarChar (50)\r\nxml"));
    EXPECT_FALSE(shown.text.contains("MEMO"));
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    EXPECT_EQ(shown.icon, MsgIcon::None);

    host.members().mType = QString();
    host.help();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.shellTargets.size(), 1u);
}

TEST_F(CustomizeDialog, CancelWithoutChangesClosesAndHandsNothingBack) {
    loadWith(QStringLiteral("Postgre"), {{"id", "INT"}}, kPgHead);
    host.members().mNumeric = QString();
    host.cancel();
    EXPECT_FALSE(host.open);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(host.members().mSQL, kPgHead);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeDialog, ClosingAfterAChangeAsksAndNoKeepsTheDialogWithTheChange) {
    loadWith(QStringLiteral("Postgre"), {{"id", "INT"}}, kPgHead);
    host.clickField(0);
    host.change(QStringLiteral("bigint"));

    platform.answers = {kAnswerNo, kAnswerNo, kAnswerYes};
    host.cancel();
    EXPECT_TRUE(host.open);
    host.closeBox();
    EXPECT_TRUE(host.open);
    EXPECT_EQ(host.list2.texts(), std::vector<QString>{"bigint"});
    host.closeBox();
    EXPECT_FALSE(host.open);
    EXPECT_EQ(questions(), (std::vector<QString>{kQuestion, kQuestion, kQuestion}));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_TRUE(cancelled) << "only OK clears the flag";
    EXPECT_EQ(host.members().mSQL, kPgHead);
}

TEST_F(CustomizeDialog, ThePointerFollowsButtonsUnlessBusy) {
    host.logic.pushButtonMouseMove();
    EXPECT_EQ(host.pointer.pointer(), MousePointer::Custom);
    host.logic.surfaceMouseMove();
    EXPECT_EQ(host.pointer.pointer(), MousePointer::Default);
    host.pointer.setPointer(MousePointer::Busy);
    host.logic.pushButtonMouseMove();
    host.logic.surfaceMouseMove();
    EXPECT_EQ(host.pointer.pointer(), MousePointer::Busy);
}

}  // namespace
}  // namespace dorvane::testing
