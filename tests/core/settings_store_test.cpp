#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

#include "core/settings_store.h"

namespace dorvane::testing {
namespace {

TEST(SettingsStore, DefaultOnlyForAbsentKeysAndValuesSurviveReopening) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/Quenlor.ini"));
    {
        core::FileSettingsStore store(path);
        EXPECT_EQ(store.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")),
                  QStringLiteral("localhost"));
        store.save(QStringLiteral("PostgreSQLServer"), QString());
        store.save(QStringLiteral("MSSQLPassword"), QStringLiteral("p;w=}{ ü"));
        EXPECT_EQ(store.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")),
                  QString());
    }
    core::FileSettingsStore reopened(path);
    EXPECT_EQ(reopened.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")),
              QString());
    EXPECT_EQ(reopened.get(QStringLiteral("MSSQLPassword"), QString()), QStringLiteral("p;w=}{ ü"));
    EXPECT_EQ(reopened.get(QStringLiteral("Local Connection"), QStringLiteral("0")),
              QStringLiteral("0"));
}

TEST(SettingsStore, FileIsReadableByItsOwnerOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    core::FileSettingsStore store(path);
    store.save(QStringLiteral("PostgreSQLPassword"), QStringLiteral("secret"));
    const auto permissions = QFile::permissions(path);
    EXPECT_EQ(permissions & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                             QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_TRUE(permissions & QFile::ReadOwner);
    EXPECT_TRUE(permissions & QFile::WriteOwner);
}

// Stat of what stands at the path itself, a symbolic link not followed.
struct Stat {
    bool exists = false;
    mode_t mode = 0;
    ino_t inode = 0;
};
Stat statAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return {};
    return {true, status.st_mode & 07777, status.st_ino};
}

void writeFile(const QString& path, const QByteArray& bytes, mode_t mode = 0600) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

void setMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString notSaved(const QString& path, const QString& what) {
    return QStringLiteral("The settings file ") + path + u' ' + what +
           QStringLiteral(".\r\nChanges to the connection details are not saved.");
}

// Permissions bind everyone but root; these situations need a user they bind.
bool runningAsRoot() {
    return ::geteuid() == 0;
}

struct UnusableFile {
    const char* name;
    bool bindsRootToo;
    // Prepares the folder; returns the settings file's path.
    std::function<QString(const QDir&)> arrange;
    const char* what;
};

void PrintTo(const UnusableFile& row, std::ostream* out) {
    *out << row.name;
}

class SettingsFileThatCannotServe : public ::testing::TestWithParam<UnusableFile> {};

TEST_P(SettingsFileThatCannotServe, IsNamedOnceLeftAsItIsAndValuesLastTheRun) {
    if (!GetParam().bindsRootToo && runningAsRoot()) GTEST_SKIP() << "root writes anyway";
    QTemporaryDir dir;
    const QString path = GetParam().arrange(QDir(dir.path()));
    const Stat before = statAt(path);

    core::FileSettingsStore store(path);
    EXPECT_EQ(store.untoldProblem(), notSaved(path, QString::fromLatin1(GetParam().what)));
    store.problemTold();
    store.save(QStringLiteral("PostgreSQLUser"), QStringLiteral("u"));
    store.save(QStringLiteral("PostgreSQLUser"), QStringLiteral("u2"));
    EXPECT_EQ(store.untoldProblem(), QString());
    EXPECT_EQ(store.get(QStringLiteral("PostgreSQLUser"), QString()), QStringLiteral("u2"));

    const Stat after = statAt(path);
    EXPECT_EQ(after.exists, before.exists);
    EXPECT_EQ(after.mode, before.mode) << std::oct << before.mode << " became " << after.mode;
}

INSTANTIATE_TEST_SUITE_P(
    Situations, SettingsFileThatCannotServe,
    ::testing::Values(UnusableFile{"Folder", true,
                                   [](const QDir& dir) {
                                       const QString path =
                                           dir.filePath(QStringLiteral("Quenlor.ini"));
                                       dir.mkdir(QStringLiteral("Quenlor.ini"));
                                       setMode(path, 0755);
                                       return path;
                                   },
                                   "is a folder, not a file"},
                      UnusableFile{"UnderARegularFile", true,
                                   [](const QDir& dir) {
                                       writeFile(dir.filePath(QStringLiteral("Quenlor")), "plain");
                                       return dir.filePath(QStringLiteral("Quenlor/Quenlor.ini"));
                                   },
                                   "cannot be written: Not a directory"},
                      UnusableFile{"ReadOnlyFile", false,
                                   [](const QDir& dir) {
                                       const QString path =
                                           dir.filePath(QStringLiteral("Quenlor.ini"));
                                       writeFile(path, "[Dorvane]\nPostgreSQLUser=kept\n", 0400);
                                       return path;
                                   },
                                   "cannot be written: Permission denied"},
                      UnusableFile{"ReadOnlyFolder", false,
                                   [](const QDir& dir) {
                                       const QString path =
                                           dir.filePath(QStringLiteral("Quenlor.ini"));
                                       writeFile(path, "[Dorvane]\nPostgreSQLUser=kept\n");
                                       setMode(dir.path(), 0555);
                                       return path;
                                   },
                                   "cannot be written: Permission denied"},
                      UnusableFile{"ReadOnlyFolderWithoutTheFile", false,
                                   [](const QDir& dir) {
                                       setMode(dir.path(), 0555);
                                       return dir.filePath(QStringLiteral("Quenlor.ini"));
                                   },
                                   "cannot be written: Permission denied"},
                      UnusableFile{"UnreadableFile", false,
                                   [](const QDir& dir) {
                                       const QString path =
                                           dir.filePath(QStringLiteral("Quenlor.ini"));
                                       writeFile(path, "[Dorvane]\nPostgreSQLUser=kept\n", 0200);
                                       return path;
                                   },
                                   "cannot be read: Permission denied"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, FailingLaterSaveIsNamedOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    core::FileSettingsStore store(path);
    store.save(QStringLiteral("PostgreSQLUser"), QStringLiteral("u"));
    EXPECT_EQ(store.untoldProblem(), QString());

    // Something else takes the file's place while the program runs.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    store.save(QStringLiteral("PostgreSQLUser"), QStringLiteral("u2"));
    EXPECT_EQ(store.untoldProblem(),
              notSaved(path, QStringLiteral("cannot be written: Is a directory")));
    store.problemTold();
    store.save(QStringLiteral("PostgreSQLPort"), QStringLiteral("1"));
    EXPECT_EQ(store.untoldProblem(), QString());
}

struct StoredBytes {
    const char* name;
    QByteArray bytes;
    bool setAside;
};

void PrintTo(const StoredBytes& row, std::ostream* out) {
    *out << row.name;
}

class WhatQtCannotParse : public ::testing::TestWithParam<StoredBytes> {};

// Qt is lenient: it reports lines without "=" and unclosed sections, and silently takes
// invalid UTF-8 or a line with an empty key. NUL bytes it may take into a value.
TEST_P(WhatQtCannotParse, IsSetAsideBeforeANewFileIsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    writeFile(path, GetParam().bytes);
    const QString aside = path + QStringLiteral(".unreadable");

    core::FileSettingsStore store(path);
    store.save(QStringLiteral("MSSQLServer"), QStringLiteral("db01"));

    if (!GetParam().setAside) {
        EXPECT_EQ(store.untoldProblem(), QString());
        EXPECT_FALSE(QFileInfo::exists(aside));
        return;
    }
    EXPECT_EQ(store.untoldProblem(),
              QStringLiteral("The settings file ") + path +
                  QStringLiteral(" cannot be read as settings (format error).\r\nIt is kept as ") +
                  aside + QStringLiteral(", and a new settings file is started."));
    EXPECT_EQ(contentsOf(aside), GetParam().bytes);
    EXPECT_EQ(statAt(path).mode, 0600u);
    core::FileSettingsStore reopened(path);
    EXPECT_EQ(reopened.untoldProblem(), QString());
    EXPECT_EQ(reopened.get(QStringLiteral("MSSQLServer"), QString()), QStringLiteral("db01"));
}

INSTANTIATE_TEST_SUITE_P(
    Contents, WhatQtCannotParse,
    ::testing::Values(StoredBytes{"UnclosedSection", "[Dorvane\nMSSQLUser=sa\n", true},
                      StoredBytes{"LineWithoutEquals", "[Dorvane]\nMSSQLUser\n", true},
                      StoredBytes{"PlainText", "These are not settings.\n", true},
                      StoredBytes{"NulTail", QByteArray("[Dorvane]\nMSSQLUser=sa\0\0\0\0", 27),
                                  true},
                      StoredBytes{"Binary", QByteArray::fromHex("89504e470d0a1a0a0000000d"), true},
                      StoredBytes{"Empty", "", false},
                      StoredBytes{"InvalidUtf8", "[Dorvane]\nMSSQLUser=\xff\xfe\n", false},
                      StoredBytes{"EmptyKey", "[Dorvane]\n=x\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, WhatQtParsedOfASetAsideFileCarriesOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    writeFile(path, QByteArray("[Dorvane]\nMSSQLUser=sa\nnot a setting\nMSSQLServer=db\0\0", 53));
    core::FileSettingsStore store(path);
    EXPECT_FALSE(store.untoldProblem().isEmpty());
    EXPECT_EQ(store.get(QStringLiteral("MSSQLUser"), QString()), QStringLiteral("sa"));
    EXPECT_EQ(store.get(QStringLiteral("MSSQLServer"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

TEST(SettingsStore, TakenSetAsideNameGetsTheTime) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    writeFile(path + QStringLiteral(".unreadable"), "earlier");
    writeFile(path, "garbage");
    core::FileSettingsStore store(path);
    EXPECT_EQ(contentsOf(path + QStringLiteral(".unreadable")), "earlier");
    const QStringList asides =
        QDir(dir.path()).entryList({QStringLiteral("Quenlor.ini.unreadable-*")}, QDir::Files);
    ASSERT_EQ(asides.size(), 1);
    EXPECT_EQ(contentsOf(dir.filePath(asides.front())), "garbage");
    EXPECT_TRUE(store.untoldProblem().contains(dir.filePath(asides.front())));
}

struct ModeCase {
    const char* name;
    // Prepares the folder; returns the file whose mode is checked after a save.
    std::function<QString(const QDir&, const QString& settingsPath)> arrange;
    std::function<void(const QString& settingsPath)> beforeSave;
    mode_t expected;
};

void PrintTo(const ModeCase& row, std::ostream* out) {
    *out << row.name;
}

class ModeAfterSave : public ::testing::TestWithParam<ModeCase> {};

// Qt saves into a new file renamed over the old one, keeping the old one's mode; when the
// file was gone, the new one gets the default mode.
TEST_P(ModeAfterSave, OnlyOurOwnFileIsNarrowed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    const QString checked = GetParam().arrange(QDir(dir.path()), path);
    core::FileSettingsStore store(path);
    if (GetParam().beforeSave) GetParam().beforeSave(path);
    store.save(QStringLiteral("PostgreSQLPassword"), QStringLiteral("secret"));

    EXPECT_EQ(statAt(checked).mode, GetParam().expected) << std::oct << statAt(checked).mode;
    EXPECT_EQ(store.untoldProblem(), QString());
    EXPECT_EQ(core::FileSettingsStore(path).get(QStringLiteral("PostgreSQLPassword"), QString()),
              QStringLiteral("secret"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ModeAfterSave,
    ::testing::Values(ModeCase{"OwnFileOpenToOthers",
                               [](const QDir&, const QString& path) {
                                   writeFile(path, "", 0644);
                                   return path;
                               },
                               nullptr, 0600},
                      ModeCase{"OwnFileRemovedWhileRunning",
                               [](const QDir&, const QString& path) { return path; },
                               [](const QString& path) { QFile::remove(path); }, 0600},
                      ModeCase{"LinkToSomeoneElsesArrangement",
                               [](const QDir& dir, const QString& path) {
                                   const QString target =
                                       dir.filePath(QStringLiteral("shared.ini"));
                                   writeFile(target, "", 0644);
                                   QFile::link(target, path);
                                   return target;
                               },
                               nullptr, 0644},
                      ModeCase{"LinkToAFileWeCreate",
                               [](const QDir& dir, const QString& path) {
                                   const QString target =
                                       dir.filePath(QStringLiteral("created.ini"));
                                   QFile::link(target, path);
                                   return target;
                               },
                               nullptr, 0600}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorvane::testing
