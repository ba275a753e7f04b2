// The window on Qt's offscreen platform: the designed places and fonts, and a modal
// showing driven through its widgets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "scripted_platform.h"
#include "ui/customize_window.h"

namespace dorvane::testing {
namespace {

class NoProfiles : public db::ProfileSource {
  public:
    db::PostgresProfile postgres() const override { return {}; }
    db::MssqlProfile mssql() const override { return {}; }
};

class CustomizeWindowTest : public ::testing::Test {
  protected:
    template <class W>
    W* child(const char* name) const {
        auto* w = window.widget()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Runs `user` once the modal showing has started.
    void showModalWhile(std::function<void()> user) {
        QTimer::singleShot(0, window.widget(), std::move(user));
        window.showModal();
    }
    // As discovery would, once the load step has run.
    void addColumns(std::initializer_list<std::pair<const char*, const char*>> columns) {
        for (const auto& [name, type] : columns) {
            child<QListWidget>("List1")->addItem(QString::fromLatin1(name));
            child<QListWidget>("List2")->addItem(QString::fromLatin1(type));
        }
    }

    ScriptedPlatform platform;
    NoProfiles profiles;
    bool cancelled = true;
    ui::CustomizeWindow window{platform, profiles, cancelled};
};

TEST_F(CustomizeWindowTest, ControlsSitWhereTheDesignPutsThem) {
    EXPECT_EQ(window.widget()->windowTitle(), "Data Type Customization");
    EXPECT_EQ(window.widget()->size(), QSize(536, 386));
    const std::vector<std::pair<const char*, QRect>> places{
        {"PushButton3", {8, 8, 520, 27}},   {"Frame1", {8, 38, 256, 244}},
        {"Frame2", {272, 38, 256, 244}},    {"Frame3", {8, 287, 520, 58}},
        {"Text1", {16, 20, 388, 27}},       {"PushButton1", {408, 20, 96, 27}},
        {"PushButton2", {8, 354, 256, 27}}, {"PushButton4", {272, 354, 256, 27}},
    };
    for (const auto& [name, rect] : places)
        EXPECT_EQ(child<QWidget>(name)->geometry(), rect) << name;
    for (const char* name : {"List1", "List2"}) {
        EXPECT_EQ(child<QWidget>(name)->geometry(), QRect(17, 20, 222, 214)) << name;
    }
    EXPECT_EQ(child<QWidget>("List1")->parentWidget()->objectName(), "Frame1");
    EXPECT_EQ(child<QWidget>("List2")->parentWidget()->objectName(), "Frame2");
    EXPECT_EQ(child<QWidget>("PushButton1")->parentWidget()->objectName(), "Frame3");
    EXPECT_EQ(child<QGroupBox>("Frame3")->title(), "Change selected data type to");
}

TEST_F(CustomizeWindowTest, FontsAreArialBoldInTheDesignedSizes) {
    for (const char* name : {"Frame1", "List1", "List2", "Text1"}) {
        const QFont font = child<QWidget>(name)->font();
        EXPECT_EQ(font.family(), "Arial") << name;
        EXPECT_TRUE(font.bold()) << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9) << name;
    }
    for (const char* name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4"}) {
        EXPECT_DOUBLE_EQ(child<QWidget>(name)->font().pointSizeF(), 11.25) << name;
        EXPECT_TRUE(child<QWidget>(name)->font().bold()) << name;
    }
}

TEST_F(CustomizeWindowTest, AModalShowingLoadsChangesAndReturnsAfterOk) {
    window.members().direction = transfer::Direction::None;  // no discovery: lists filled below
    window.members().createTableSql = QStringLiteral("CREATE TABLE [t](");
    showModalWhile([&] {
        EXPECT_TRUE(window.widget()->isVisible());
        addColumns({{"id", "INT"}, {"name", "VARCHAR(5)"}});
        child<QListWidget>("List1")->setCurrentRow(1);
        EXPECT_EQ(child<QListWidget>("List2")->currentRow(), 1);
        EXPECT_TRUE(child<QListWidget>("List2")->item(1)->isSelected());
        EXPECT_EQ(child<QLineEdit>("Text1")->text(), "VARCHAR(5)");
        child<QLineEdit>("Text1")->setText(QStringLiteral("nvarchar(40)"));
        child<QPushButton>("PushButton1")->click();
        child<QPushButton>("PushButton2")->click();
    });
    EXPECT_FALSE(window.widget()->isVisible());
    EXPECT_EQ(window.members().createTableSql,
              "CREATE TABLE [t](\"id\" INT,\"name\" nvarchar(40))");
    EXPECT_FALSE(cancelled);

    // The next showing loads afresh: the lists start empty again.
    showModalWhile([&] {
        EXPECT_EQ(child<QListWidget>("List1")->count(), 0);
        EXPECT_EQ(child<QListWidget>("List2")->count(), 0);
        child<QPushButton>("PushButton4")->click();
    });
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CustomizeWindowTest, TheCloseBoxAsksAfterAChangeAndNoKeepsTheWindowOpen) {
    platform.answers = {core::kAnswerNo, core::kAnswerYes};
    showModalWhile([&] {
        addColumns({{"id", "INT"}});
        child<QListWidget>("List2")->setCurrentRow(0);
        EXPECT_EQ(child<QListWidget>("List1")->currentRow(), 0);
        child<QLineEdit>("Text1")->setText(QStringLiteral("bigint"));
        child<QPushButton>("PushButton1")->click();
        window.widget()->close();
        EXPECT_TRUE(window.widget()->isVisible());
        EXPECT_EQ(child<QListWidget>("List2")->item(0)->text(), "bigint");
        window.widget()->close();
    });
    EXPECT_FALSE(window.widget()->isVisible());
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text,
              "Data type has been change.\r\nDo you still want to exit without changes?");
    EXPECT_TRUE(cancelled);
}

}  // namespace
}  // namespace dorvane::testing
