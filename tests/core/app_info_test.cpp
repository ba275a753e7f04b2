#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/app_info.h"

namespace dorvane::testing {
namespace {

TEST(AppTitle, CutBeforeTheLastBlankUntilAtMostFortyCharacters) {
    EXPECT_EQ(core::shortenedAppTitle(QStringLiteral("Dorvane")), QStringLiteral("Dorvane"));
    // 50 characters, last blank at position 45, the one before at position 31.
    const QString name = QString(30, u'a') + u' ' + QString(13, u'b') + u' ' + QString(5, u'c');
    ASSERT_EQ(name.size(), 50);
    EXPECT_EQ(core::shortenedAppTitle(name), QString(30, u'a'));
    EXPECT_EQ(core::shortenedAppTitle(QString(40, u'x')), QString(40, u'x'));
    // Without a blank there is nothing to cut at: kept whole rather than looping.
    EXPECT_EQ(core::shortenedAppTitle(QString(45, u'x')), QString(45, u'x'));
}

TEST(FileFound, TrueOnlyForAnExistingItemAndNeverThrows) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("HAND-M.CUR"));
    EXPECT_FALSE(core::fileFound(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(core::fileFound(file));
    EXPECT_TRUE(core::fileFound(dir.path()));
    EXPECT_FALSE(core::fileFound(QString()));
    EXPECT_FALSE(core::fileFound(QStringLiteral("/no/such\\drive:/x?*")));
    EXPECT_EQ(core::programFile(dir.path(), QStringLiteral("HAND-M.CUR")), file);
}

}  // namespace
}  // namespace dorvane::testing
