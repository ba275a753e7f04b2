#include <gtest/gtest.h>

#include <QFile>
#include <stdexcept>

#include "screens/pointer_file.h"

namespace dorvane::testing {
namespace {

QByteArray shippedCursor() {
    QFile file(QStringLiteral(DORVANE_ASSETS_DIR "/HAND-M.CUR"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(PointerFile, ShippedCursorHasItsHotspotAtTheFingertip) {
    const screens::PointerFile cursor = screens::parsePointerFile(shippedCursor());
    EXPECT_EQ(cursor.width, 32);
    EXPECT_EQ(cursor.height, 32);
    EXPECT_EQ(cursor.hotspotX, 6);
    EXPECT_EQ(cursor.hotspotY, 0);
}

TEST(PointerFile, DamagedFilesAreInvalidPictures) {
    const QByteArray good = shippedCursor();
    QByteArray wrongType = good;
    wrongType[2] = 3;
    QByteArray pastTheEnd = good;
    pastTheEnd.chop(100);
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("MZ garbage"), wrongType, pastTheEnd}) {
        try {
            screens::parsePointerFile(bytes);
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Invalid picture");
        }
    }
}

TEST(PointerFile, MissingFileIsNotFound) {
    EXPECT_THROW(screens::readPointerFile(QStringLiteral("/nonexistent/HAND-M.CUR")),
                 std::runtime_error);
}

}  // namespace
}  // namespace dorvane::testing
