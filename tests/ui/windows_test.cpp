// Both windows against their layout tables, and the program's wiring of their events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/settings_store.h"
#include "scripted_platform.h"
#include "ui/program.h"

namespace dorvane::testing {
namespace {

class NoDatabases : public screens::DatabaseGateway {
  public:
    bool openPostgresSucceeds(const db::PostgresProfile&, const db::WhileWaiting&) override {
        return false;
    }
    bool openMssqlSucceeds(const db::MssqlProfile&, const db::WhileWaiting&) override {
        return false;
    }
    QStringList mssqlTableNames(const db::MssqlProfile&, const db::WhileWaiting&) override {
        return {};
    }
    QStringList postgresTableNames(const db::PostgresProfile&, const db::WhileWaiting&) override {
        return {};
    }
};

class Windows : public ::testing::Test {
  protected:
    QWidget* connectionScreen() { return program.connectionWindow().widget(); }
    QWidget* transferScreen() { return program.transferWindow().widget(); }
    template <class W = QWidget>
    W* control(QWidget* form, const char* controlName) {
        W* w = form->findChild<W*>(QString::fromLatin1(controlName));
        EXPECT_NE(w, nullptr) << controlName;
        return w;
    }
    struct Placed {
        const char* name;
        QRect geometry;
    };
    void expectPlaced(QWidget* form, std::initializer_list<Placed> controls) {
        for (const Placed& placed : controls) {
            EXPECT_EQ(control(form, placed.name)->geometry(), placed.geometry) << placed.name;
        }
    }
    // Focusable controls in the order the Tab key visits them, from the first one.
    std::vector<QString> tabOrder(QWidget* first, int count) {
        std::vector<QString> order;
        QWidget* w = first;
        while (static_cast<int>(order.size()) < count) {
            if (w->focusPolicy() & Qt::TabFocus) order.push_back(w->objectName());
            w = w->nextInFocusChain();
        }
        return order;
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    core::FileSettingsStore settings{folder.filePath(QStringLiteral("Quenlor.ini"))};
    NoDatabases databases;
    ui::Program program{platform, settings, databases};
};

TEST_F(Windows, ConnectionScreenFollowsItsLayoutTable) {
    EXPECT_EQ(connectionScreen()->size(), QSize(536, 460));
    expectPlaced(connectionScreen(),
                 {Placed{"Frame1", {8, 8, 520, 193}}, Placed{"Text1", {88, 24, 305, 23}},
                  Placed{"Label3", {400, 27, 33, 17}}, Placed{"Text2", {432, 24, 73, 23}},
                  Placed{"PushButton5", {264, 152, 240, 27}}, Placed{"Frame2", {8, 206, 520, 212}},
                  Placed{"Text10", {440, 24, 65, 23}}, Placed{"Label8", {16, 123, 65, 17}},
                  Placed{"Check6", {87, 150, 130, 17}}, Placed{"PushButton1", {16, 174, 240, 27}},
                  Placed{"PushButton2", {8, 426, 520, 27}}});
    EXPECT_EQ(control<QLineEdit>(connectionScreen(), "Text6")->parentWidget()->objectName(),
              "Frame2");
    EXPECT_EQ(control<QGroupBox>(connectionScreen(), "Frame1")->title(), "PostgreSQL Database");
    EXPECT_EQ(control<QGroupBox>(connectionScreen(), "Frame2")->title(), "MS SQL Server Login");
    EXPECT_EQ(control<QLabel>(connectionScreen(), "Label1")->text(), "Username:");
    EXPECT_EQ(control<QCheckBox>(connectionScreen(), "Check6")->text(), "Local Connection");
    EXPECT_EQ(control<QPushButton>(connectionScreen(), "PushButton3")->text(), "Test Connection");
    EXPECT_EQ(control<QPushButton>(connectionScreen(), "PushButton2")->text(), "Next >");

    EXPECT_EQ(tabOrder(control(connectionScreen(), "Text1"), 16),
              (std::vector<QString>{"Text1", "Text2", "Text3", "Text4", "Text5", "PushButton3",
                                    "PushButton5", "Text6", "Text10", "Text7", "Text8", "Text9",
                                    "Check6", "PushButton1", "PushButton4", "PushButton2"}));
}

TEST_F(Windows, FontsAreArialBoldInTheDesignedSizes) {
    const QFont field = control(connectionScreen(), "Text7")->font();
    const QFont button = control(connectionScreen(), "PushButton4")->font();
    EXPECT_EQ(QFontInfo(field).family(), "Liberation Sans");
    EXPECT_TRUE(field.bold());
    EXPECT_DOUBLE_EQ(field.pointSizeF(), 9);
    EXPECT_DOUBLE_EQ(control(connectionScreen(), "Label5")->font().pointSizeF(), 9);
    EXPECT_DOUBLE_EQ(button.pointSizeF(), 11.25);
    EXPECT_TRUE(button.bold());
    EXPECT_DOUBLE_EQ(control(transferScreen(), "List2")->font().pointSizeF(), 9);
    EXPECT_DOUBLE_EQ(control(transferScreen(), "PushButton12")->font().pointSizeF(), 11.25);
}

TEST_F(Windows, PasswordsShowStarsAndFocusSelectsTheWholeText) {
    auto* password = control<QLineEdit>(connectionScreen(), "Text8");
    password->setText(QStringLiteral("s3cr;t"));
    EXPECT_EQ(password->displayText(), "******");
    EXPECT_EQ(control<QLineEdit>(connectionScreen(), "Text3")->echoMode(), QLineEdit::Normal);

    connectionScreen()->show();
    auto* server = control<QLineEdit>(connectionScreen(), "Text6");
    server->setText(QStringLiteral("db01"));
    server->setCursorPosition(2);
    QFocusEvent tabbedInto(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(server, &tabbedInto);
    QApplication::processEvents();
    EXPECT_EQ(server->selectedText(), "db01");
    EXPECT_EQ(server->selectionStart(), 0);
    connectionScreen()->hide();
}

TEST_F(Windows, TypingIsStoredAndStartUpRestores) {
    program.start();
    EXPECT_EQ(control<QLineEdit>(connectionScreen(), "Text1")->text(), "localhost");
    EXPECT_EQ(connectionScreen()->windowTitle(), "Dorvane");
    EXPECT_TRUE(connectionScreen()->isVisible());
    control<QLineEdit>(connectionScreen(), "Text3")->insert(QStringLiteral("u"));
    EXPECT_EQ(settings.get(QStringLiteral("PostgreSQLUser"), QString()), "u");
    control<QCheckBox>(connectionScreen(), "Check6")->click();
    EXPECT_EQ(settings.get(QStringLiteral("Local Connection"), QString()), "1");

    // Each side's "Natural types" box stores its own direction's key.
    program.transferScreen().show();
    control<QCheckBox>(transferScreen(), "Check20")->click();
    EXPECT_EQ(settings.get(QStringLiteral("Natural Types 2"), QString()), "1");
    EXPECT_EQ(settings.get(QStringLiteral("Natural Types 1"), QStringLiteral("absent")), "absent");
    transferScreen()->hide();
}

TEST_F(Windows, TransferScreenFollowsItsLayoutTable) {
    expectPlaced(
        transferScreen(),
        {Placed{"Frame2", {8, 8, 256, 313}}, Placed{"List1", {16, 24, 222, 109}},
         Placed{"PushButton11", {131, 140, 107, 27}}, Placed{"Check15", {16, 207, 222, 27}},
         Placed{"PushButton6", {16, 273, 222, 27}}, Placed{"Frame1", {272, 8, 256, 313}},
         Placed{"PushButton4", {16, 173, 222, 27}}, Placed{"ProgressBar1", {8, 329, 520, 27}},
         Placed{"PushButton2", {8, 364, 256, 27}}, Placed{"PushButton12", {272, 364, 256, 27}},
         // Below them, under each frame: "Fast copy" and "Natural types" side by side.
         Placed{"Check17", {24, 397, 107, 27}}, Placed{"Check19", {139, 397, 107, 27}},
         Placed{"Check18", {288, 397, 107, 27}}, Placed{"Check20", {403, 397, 107, 27}}});
    EXPECT_EQ(control<QGroupBox>(transferScreen(), "Frame2")->title(), "MS SQL Server Tables");
    EXPECT_EQ(control<QPushButton>(transferScreen(), "PushButton3")->text(),
              "Send Table/s To PostgreSQL");
    EXPECT_EQ(control<QCheckBox>(transferScreen(), "Check16")->text(),
              "Send with data type customization");
    EXPECT_EQ(control<QCheckBox>(transferScreen(), "Check20")->text(), "Natural types");
    EXPECT_EQ(control<QListWidget>(transferScreen(), "List1")->selectionMode(),
              QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(control<QProgressBar>(transferScreen(), "ProgressBar1")->text(), "Progress Bar");
    EXPECT_EQ(tabOrder(control(transferScreen(), "List1"), 16),
              (std::vector<QString>{"List1", "List2", "PushButton10", "PushButton11", "PushButton3",
                                    "PushButton1", "PushButton6", "PushButton8", "PushButton9",
                                    "PushButton4", "PushButton5", "PushButton7", "PushButton2",
                                    "Check15", "Check16", "PushButton12"}));
}

TEST_F(Windows, TransferScreenLoadsOnFirstShowingAndCentres) {
    program.transferScreen().show();
    EXPECT_EQ(transferScreen()->windowTitle(), "Dorvane");
    // 6940 twips, rounded: down to the row of "Fast copy" below "< Back".
    EXPECT_EQ(transferScreen()->frameGeometry().height(), 463);
    const QPoint offCentre = transferScreen()->frameGeometry().center() -
                             QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    // Button-face colours on the frames after the load step.
    EXPECT_EQ(control(transferScreen(), "Frame1")->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));
    transferScreen()->hide();
}

TEST_F(Windows, AScreenTakesOverWhereTheOtherWasAndADialogOpensOverItsOwner) {
    program.start();  // no server answers: the connection screen shows, centred
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((connectionScreen()->frameGeometry().center() - desktop.center()).manhattanLength(),
              2);
    connectionScreen()->move(40, 50);  // where the user put it
    program.transferScreen().show();   // as "Next >" does: show, then hide the other
    program.connectionWindow().form().hide();
    EXPECT_EQ(transferScreen()->frameGeometry().topLeft(), QPoint(40, 50));

    transferScreen()->move(70, 20);
    program.transferScreen().back();
    EXPECT_EQ(connectionScreen()->frameGeometry().topLeft(), QPoint(70, 20));

    ui::FormWindow dialog(100, 80);
    dialog.placeAsDialog();
    dialog.show();
    EXPECT_EQ(dialog.widget()->frameGeometry().center(),
              connectionScreen()->frameGeometry().center());
    dialog.hide();
    connectionScreen()->hide();
}

TEST_F(Windows, ThePointerReadsBackAndTheCursorFileGivesTheCustomOne) {
    ui::FormWindow& form = program.transferWindow().form();
    form.setPointer(core::MousePointer::Busy);
    EXPECT_EQ(form.pointer(), core::MousePointer::Busy);
    EXPECT_EQ(form.shownCursor().shape(), Qt::WaitCursor);
    form.loadCustomPointer(QStringLiteral(DORVANE_ASSETS_DIR "/HAND-M.CUR"));
    form.setPointer(core::MousePointer::Custom);
    EXPECT_EQ(form.shownCursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form.shownCursor().hotSpot(), QPoint(6, 0));
    EXPECT_THROW(form.loadCustomPointer(folder.filePath(QStringLiteral("missing.cur"))),
                 std::runtime_error);
}

TEST_F(Windows, ClosingEitherWindowEndsTheProgram) {
    program.start();
    connectionScreen()->close();
    EXPECT_EQ(platform.endProgramCalls, 1);
    program.transferScreen().show();
    transferScreen()->close();
    EXPECT_EQ(platform.endProgramCalls, 2);
}

TEST_F(Windows, ModalShowingReturnsOnceUnloadedAndQueryUnloadCanCancel) {
    ui::FormWindow dialog(100, 100);
    int loads = 0, asked = 0;
    dialog.setLoadStep([&] { ++loads; });
    dialog.setQueryUnload([&] { return ++asked == 1; });  // the first close is cancelled
    QTimer::singleShot(0, [&] {
        dialog.unload();
        EXPECT_TRUE(dialog.visible());
        dialog.unload();
    });
    dialog.showModal();
    EXPECT_FALSE(dialog.visible());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(loads, 1);
}

TEST_F(Windows, SettingsProblemsAreToldOnceBackInTheEventLoop) {
    QTemporaryDir other;
    const QString folderInItsPlace = other.filePath(QStringLiteral("Quenlor.ini"));
    ASSERT_TRUE(QDir().mkdir(folderInItsPlace));
    core::FileSettingsStore unusable{folderInItsPlace};
    ScriptedPlatform startPlatform;
    ui::Program starting{startPlatform, unusable, databases};
    starting.start();
    QApplication::processEvents();
    EXPECT_EQ(startPlatform.messageTexts().size(), 1u);
    starting.connectionWindow().widget()->hide();

    program.start();
    const QString path = settings.filePath();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    control<QLineEdit>(connectionScreen(), "Text3")->insert(QStringLiteral("u"));
    control<QLineEdit>(connectionScreen(), "Text4")->insert(QStringLiteral("p"));
    EXPECT_TRUE(platform.messages.empty());  // not in the middle of a keystroke
    QApplication::processEvents();
    control<QLineEdit>(connectionScreen(), "Text5")->insert(QStringLiteral("d"));
    QApplication::processEvents();
    EXPECT_EQ(platform.messageTexts(),
              std::vector<QString>{QStringLiteral("The settings file ") + path +
                                   QStringLiteral(" cannot be written: Is a directory.\r\n"
                                                  "Changes to the connection details are not "
                                                  "saved.")});
    connectionScreen()->hide();
}

}  // namespace
}  // namespace dorvane::testing
