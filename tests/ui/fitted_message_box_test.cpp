// Message boxes show an address unbroken and their whole title.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include "ui/fitted_message_box.h"

namespace dorvane::testing {
namespace {

struct Shown {
    const char* title;
    const char* text;
    const char* whole;  // what must fit on one line of the text
};

class FittedMessageBoxTest : public ::testing::TestWithParam<Shown> {};

TEST_P(FittedMessageBoxTest, IsWideEnoughForItsLongestWordAndItsTitle) {
    ui::FittedMessageBox box;
    box.setWindowTitle(QString::fromUtf8(GetParam().title));
    box.setText(QString::fromUtf8(GetParam().text));
    box.show();
    const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_GT(label->width(),
              QFontMetrics(label->font()).horizontalAdvance(QString::fromUtf8(GetParam().whole)));
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    EXPECT_GT(box.width(), QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()));
    box.hide();
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FittedMessageBoxTest,
    ::testing::Values(
        Shown{"Dorvane",
              "If you can not connect, please try downloading pgAdmin III. If you can not "
              "connect with that software, you know the login information you are providing "
              "here is incorrect.\n\nhttps://www.postgresql.org/docs/current/static/"
              "datatype.html#DATATYPE-NUMERIC-DECIMAL-AND-MORE",
              "https://www.postgresql.org/docs/current/static/"
              "datatype.html#DATATYPE-NUMERIC-DECIMAL-AND-MORE"},
        Shown{"Data Type Customization of a table with a long name", "Invalid datatype.",
              "Invalid datatype."}));

}  // namespace
}  // namespace dorvane::testing
