// The connection screen's start-up without servers: restoring and writing the fields,
// the window's preparation and the optional files beside the program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "screens_harness.h"

namespace dorvane::testing {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(StartUp, FirstStartShowsTheDefaultsAndStoresThem) {
    ScreensHarness h;
    h.connectionScreen.startUp();

    const std::vector<QString> expected = {"localhost", "5432", "", "", "", "", "", "", "", "1433"};
    for (int number = 1; number <= 10; ++number)
        EXPECT_EQ(h.texts[number - 1].text(), expected[number - 1]) << "Text" << number;
    EXPECT_EQ(h.localConnection.value(), 0);

    // The change events of the three fields that got a text wrote them back.
    EXPECT_EQ(h.stored("PostgreSQLServer"), "localhost");
    EXPECT_EQ(h.stored("PostgreSQLPort"), "5432");
    EXPECT_EQ(h.stored("MSSQLPort"), "1433");
    EXPECT_EQ(h.stored("PostgreSQLUser"), "<absent>");
    EXPECT_EQ(h.stored("Local Connection"), "<absent>");

    // With no SQL Server named nothing is tried and the connection screen stays.
    EXPECT_TRUE(h.databases.calls.empty());
    EXPECT_TRUE(h.connectionWindow.visible());
    EXPECT_FALSE(h.transferScreen.loaded());
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(StartUp, PreparesTheWindowAndTheApplicationTitle) {
    ScreensHarness h;
    h.platform.setAppTitle(QString());
    h.connectionScreen.startUp();
    EXPECT_EQ(h.connectionWindow.caption(), "Dorvane");
    EXPECT_EQ(h.connectionWindow.appIconCount, 1);
    EXPECT_EQ(h.platform.appTitle(), "Dorvane");
    EXPECT_GE(h.platform.processEventsCalls, 1);
    // Without the skin file the designed colours stay; there is no cursor file either.
    EXPECT_FALSE(h.connectionWindow.hasFormColors);
    EXPECT_FALSE(h.connectionWindow.hasCustomPointer);
}

TEST(StartUp, ClearedFieldStaysEmptyAtTheNextStart) {
    ScreensHarness first;
    first.connectionScreen.startUp();
    first.typeInto(1, QString());
    first.typeInto(10, QString());
    EXPECT_EQ(first.stored("PostgreSQLServer"), "");

    ScreensHarness second(first.store->filePath());
    second.connectionScreen.startUp();
    EXPECT_EQ(second.texts[0].text(), "");
    EXPECT_EQ(second.texts[9].text(), "");
    EXPECT_EQ(second.texts[1].text(), "5432");
}

TEST(StartUp, RestoresEveryFieldFromItsOwnKey) {
    ScreensHarness h;
    const char* keys[] = {"PostgreSQLServer",   "PostgreSQLPort",     "PostgreSQLUser",
                          "PostgreSQLPassword", "PostgreSQLDatabase", "MSSQLServer",
                          "MSSQLUser",          "MSSQLPassword",      "MSSQLDatabase",
                          "MSSQLPort"};
    const int fields[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < 10; ++i)
        h.settings().save(QString::fromLatin1(keys[i]),
                          QStringLiteral("v") + QString::number(fields[i]));
    // A server that cannot be reached: the advance is tried and fails silently.
    h.settings().save(QStringLiteral("PostgreSQLServer"), QStringLiteral("127.0.0.1"));
    h.settings().save(QStringLiteral("PostgreSQLPort"), QStringLiteral("1"));
    h.connectionScreen.startUp();
    for (int i = 2; i < 10; ++i)
        EXPECT_EQ(h.texts[fields[i] - 1].text(), QStringLiteral("v") + QString::number(fields[i]))
            << keys[i];
    EXPECT_EQ(h.databases.calls, std::vector<QString>{"openPostgres"});
    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(h.connectionWindow.visible());
}

class LocalConnectionSetting : public ::testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(LocalConnectionSetting, OnlyZeroLeavesTheBoxUnticked) {
    ScreensHarness h;
    h.settings().save(QStringLiteral("Local Connection"), QString::fromLatin1(GetParam().first));
    h.connectionScreen.startUp();
    EXPECT_EQ(h.localConnection.value(), GetParam().second);
    EXPECT_EQ(h.connectionScreen.mssql().localConnection, GetParam().second == 1);
}

INSTANTIATE_TEST_SUITE_P(StoredTexts, LocalConnectionSetting,
                         ::testing::Values(std::pair{"0", 0}, std::pair{"1", 1},
                                           std::pair{"yes", 1}, std::pair{"", 1},
                                           std::pair{" 0", 1}));

TEST(Writers, EveryKeystrokeIsStoredAsTyped) {
    ScreensHarness h;
    h.connectionScreen.startUp();
    for (const QString& state :
         {QStringLiteral("s"), QStringLiteral("s;"), QStringLiteral("s;}")}) {
        h.typeInto(4, state);
        EXPECT_EQ(h.stored("PostgreSQLPassword"), state);
    }
    h.typeInto(8, QStringLiteral("pw"));
    h.typeInto(9, QStringLiteral("sales"));
    EXPECT_EQ(h.stored("MSSQLPassword"), "pw");
    EXPECT_EQ(h.stored("MSSQLDatabase"), "sales");

    h.localConnection.setValue(1);
    EXPECT_EQ(h.stored("Local Connection"), "1");
    h.localConnection.setValue(0);
    EXPECT_EQ(h.stored("Local Connection"), "0");
}

TEST(StartUp, UnreadableCursorFileIsReportedAtLine128AndTheFieldsAreStillRestored) {
    ScreensHarness h;
    writeFile(h.folder.filePath(QStringLiteral("HAND-M.CUR")), "not a cursor");
    h.connectionScreen.startUp();

    ASSERT_EQ(h.platform.errorReports().size(), 1u);
    const QString report = h.platform.errorReports().front();
    EXPECT_TRUE(report.startsWith(QStringLiteral("Invalid picture\r\n")));
    EXPECT_TRUE(
        report.contains(QStringLiteral("in Ambrelin2021/08/31.Form1.Form_Load at line 128\r\r")));
    EXPECT_FALSE(h.connectionWindow.hasCustomPointer);
    EXPECT_EQ(h.texts[0].text(), "localhost");
    EXPECT_EQ(h.texts[9].text(), "1433");
}

TEST(StartUp, ShippedCursorFileBecomesTheCustomPointer) {
    ScreensHarness h;
    ASSERT_TRUE(QFile::copy(QStringLiteral(DORVANE_ASSETS_DIR "/HAND-M.CUR"),
                            h.folder.filePath(QStringLiteral("HAND-M.CUR"))));
    h.connectionScreen.startUp();
    EXPECT_TRUE(h.connectionWindow.hasCustomPointer);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(StartUp, SkinFileGivesTheButtonFaceColours) {
    ScreensHarness h;
    writeFile(h.folder.filePath(QStringLiteral("x/o.cjs")), "skin");
    h.connectionScreen.startUp();
    EXPECT_TRUE(h.connectionWindow.hasFormColors);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(StartUp, SettingsFileThatCannotServeIsToldOnceWithTheWindowUp) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    ASSERT_TRUE(QDir().mkdir(path));
    ScreensHarness h(path);
    bool windowUp = false;
    h.platform.onMessage = [&](const ShownMessage&) { windowUp = h.connectionWindow.visible(); };
    h.connectionScreen.startUp();
    h.typeInto(3, QStringLiteral("u"));

    ASSERT_EQ(h.platform.messages.size(), 1u);
    const ShownMessage& shown = h.platform.messages.front();
    EXPECT_EQ(shown.text, QStringLiteral("The settings file ") + path +
                              QStringLiteral(" is a folder, not a file.\r\n"
                                             "Changes to the connection details are not saved."));
    EXPECT_EQ(shown.buttons, core::MsgButtons::Ok);
    EXPECT_EQ(shown.title, "Dorvane");
    EXPECT_TRUE(windowUp);
    // The defaults show and what is typed lasts the run.
    EXPECT_EQ(h.texts[0].text(), "localhost");
    EXPECT_EQ(h.stored("PostgreSQLUser"), "u");
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}  // namespace
}  // namespace dorvane::testing
