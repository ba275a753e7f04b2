#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/settings_store.h"

namespace dorvane::testing {
namespace {

TEST(SettingsStore, DefaultOnlyForAbsentKeysAndValuesSurviveReopening) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/Quenlor.ini"));
    {
        FileSettingsStore store(path);
        EXPECT_EQ(store.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")),
                  QStringLiteral("localhost"));
        store.save(QStringLiteral("PostgreSQLServer"), QString());
        store.save(QStringLiteral("MSSQLPassword"), QStringLiteral("p;w=}{ ü"));
        EXPECT_EQ(store.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")), QString());
    }
    FileSettingsStore reopened(path);
    EXPECT_EQ(reopened.get(QStringLiteral("PostgreSQLServer"), QStringLiteral("localhost")), QString());
    EXPECT_EQ(reopened.get(QStringLiteral("MSSQLPassword"), QString()), QStringLiteral("p;w=}{ ü"));
    EXPECT_EQ(reopened.get(QStringLiteral("Local Connection"), QStringLiteral("0")), QStringLiteral("0"));
}

TEST(SettingsStore, FileIsReadableByItsOwnerOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenlor.ini"));
    FileSettingsStore store(path);
    store.save(QStringLiteral("PostgreSQLPassword"), QStringLiteral("secret"));
    const auto permissions = QFile::permissions(path);
    EXPECT_EQ(permissions & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                             QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_TRUE(permissions & QFile::ReadOwner);
    EXPECT_TRUE(permissions & QFile::WriteOwner);
}

}  // namespace
}  // namespace dorvane::testing
