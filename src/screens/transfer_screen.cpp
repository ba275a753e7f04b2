#include "screens/transfer_screen.h"

#include "core/app_info.h"
#include "core/procedure.h"
#include "maintenance/table_maintenance.h"
#include "screens/connection_screen.h"
#include "screens/connection_settings.h"
#include "screens/pointer_rules.h"
#include "transfer/send_tables.h"

namespace dorvane {
namespace {
const QString kModule = QStringLiteral("Form2");
const QString kCursorFile = QStringLiteral("HAND-M.CUR");
}  // namespace

TransferScreen::TransferScreen(AppContext& app, Window& form, TransferScreenControls& controls,
                               ConnectionScreen& connectionScreen,
                               CustomizationDialog& customization, bool& customizationCancelled)
    : app_(app),
      form_(form),
      controls_(controls),
      connectionScreen_(connectionScreen),
      customization_(customization),
      customizationCancelled_(customizationCancelled) {}

TransferScreenControls& TransferScreen::controls() {
    load();
    return controls_;
}

Window& TransferScreen::window() {
    load();
    return form_;
}

void TransferScreen::show() {
    window().show();
}

void TransferScreen::load() {
    if (loaded_) return;
    loaded_ = true;
    Procedure p(app_.platform, kModule, QStringLiteral("Form_Load"));
    p.step(100, [&] { form_.applyFormColors(); });
    p.step(102, [&] { form_.setAppIcon(); });
    const QString cursorFile = programFile(app_.platform.programFolder(), kCursorFile);
    if (p.test(106, [&] { return fileFound(cursorFile); })) {
        p.step(108, [&] { form_.loadCustomPointer(cursorFile); });
    }
    p.step(110, [&] { form_.setCaption(kDisplayName); });
    p.step(112, [&] {
        form_.setOuterHeightTwips((kBackButtonTopPixels + kBackButtonHeightPixels) *
                                      kTwipsPerPixel +
                                  kMarginBelowBackButtonTwips);
    });
}

void TransferScreen::setAllSelected(TableSide side, bool selected) {
    static const QString kHandlers[2][2] = {
        {QStringLiteral("PushButton11_Click"), QStringLiteral("PushButton10_Click")},
        {QStringLiteral("PushButton9_Click"), QStringLiteral("PushButton8_Click")}};
    const int sideIndex = side == TableSide::SqlServer ? 0 : 1;
    Procedure p(app_.platform, kModule, kHandlers[sideIndex][selected ? 1 : 0]);
    ListBox& list =
        side == TableSide::SqlServer ? controls().mssqlTables : controls().postgresTables;
    int count = 0;
    p.step(100, [&] { count = list.count(); });
    for (int i = 0; i < count; ++i) {
        p.step(102, [&] { list.setSelected(i, selected); });
    }
}

void TransferScreen::selectAll(TableSide side) {
    setAllSelected(side, true);
}

void TransferScreen::deselectAll(TableSide side) {
    setAllSelected(side, false);
}

void TransferScreen::back() {
    CommandGuard::Scope command(app_.commands);
    if (!command.entered()) return;
    Procedure p(app_.platform, kModule, QStringLiteral("PushButton2_Click"));
    p.step(100, [&] { connectionScreen_.window().show(); });
    p.step(102, [&] { window().hide(); });
}

void TransferScreen::showHelp() {
    Procedure p(app_.platform, kModule, QStringLiteral("PushButton12_Click"));
    p.step(100, [&] {
        app_.platform.messageBox(QStringLiteral("Questions? Please contact Team Quenlor at ") +
                                 kContactAddress);
    });
}

void TransferScreen::customizationBoxClicked(TableSide side) {
    const bool postgresSide = side == TableSide::Postgres;
    Procedure p(app_.platform, kModule,
                postgresSide ? QStringLiteral("Check16_Click") : QStringLiteral("Check15_Click"));
    p.step(100, [&] {
        CheckBox& box =
            postgresSide ? controls().customizeToSqlServer : controls().customizeToPostgres;
        app_.settings.save(postgresSide ? kCustomizeSqlServerKey : kCustomizePostgresKey,
                           settingFromBoxValue(box.value()));
    });
}

CommandContext TransferScreen::commandContext() {
    return CommandContext{app_.platform, connectionScreen_, controls(), customization_,
                          customizationCancelled_};
}

// A command that changes the lists or the databases does not start while another
// one runs and yields to the event loop; the click is ignored.
template <class Command>
void TransferScreen::runExclusive(Command&& command) {
    CommandGuard::Scope scope(app_.commands);
    if (!scope.entered()) return;
    CommandContext context = commandContext();
    command(context);
}

void TransferScreen::sendToPostgres() {
    runExclusive([](CommandContext& c) { sendTablesToPostgres(c); });
}

void TransferScreen::sendToSqlServer() {
    runExclusive([](CommandContext& c) { sendTablesToSqlServer(c); });
}

void TransferScreen::deleteTables(TableSide side) {
    runExclusive([side](CommandContext& c) {
        side == TableSide::SqlServer ? deleteMssqlTables(c) : deletePostgresTables(c);
    });
}

void TransferScreen::renameTable(TableSide side) {
    runExclusive([side](CommandContext& c) {
        side == TableSide::SqlServer ? renameMssqlTable(c) : renamePostgresTable(c);
    });
}

void TransferScreen::mouseOverPlainArea() {
    pointerOverPlainArea(form_);
}

void TransferScreen::mouseOverCommand() {
    pointerOverCommand(form_);
}

void TransferScreen::unloaded() {
    app_.platform.endProgram();
}

}  // namespace dorvane
