#include "screens/transfer_screen.h"

#include "core/app_info.h"
#include "core/hand_pointer.h"
#include "core/procedure.h"
#include "maintenance/table_maintenance.h"
#include "screens/connection_screen.h"
#include "screens/connection_settings.h"
#include "screens/pointer_rules.h"
#include "transfer/send_tables.h"

namespace dorvane::screens {
namespace {
const QString kModule = QStringLiteral("Form2");

// The numbered lines of each handler.
namespace form_load {
enum Line : int {
    ApplyColors = 100,
    SetIcon = 102,
    CursorFileCheck = 106,
    LoadCursor = 108,
    SetCaption = 110,
    SetHeight = 112,
    RestoreFastCopyToPostgres = 114,
    RestoreFastCopyToSqlServer = 116,
    RestoreNaturalTypesToPostgres = 118,
    RestoreNaturalTypesToSqlServer = 120,
};
}  // namespace form_load

namespace select_buttons {  // "Select All" and "Deselect All" of either list
enum Line : int { CountEntries = 100, SelectEntry = 102 };
}  // namespace select_buttons

namespace back_button {
enum Line : int { ShowConnectionScreen = 100, HideTransferScreen = 102 };
}  // namespace back_button

namespace one_step {  // the help button and the customization boxes
enum Line : int { OnlyStep = 100 };
}  // namespace one_step
}  // namespace

TransferScreen::TransferScreen(AppContext& app, Window& form,
                               transfer::TransferScreenControls& controls,
                               ConnectionScreen& connectionScreen,
                               transfer::CustomizationDialog& customization,
                               bool& customizationCancelled)
    : app_(app),
      form_(form),
      controls_(controls),
      connectionScreen_(connectionScreen),
      customization_(customization),
      customizationCancelled_(customizationCancelled) {}

transfer::TransferScreenControls& TransferScreen::controls() {
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
    core::Procedure p(app_.platform, kModule, QStringLiteral("Form_Load"));
    p.step(form_load::ApplyColors, [&] { form_.applyFormColors(); });
    p.step(form_load::SetIcon, [&] { form_.setAppIcon(); });
    core::loadHandPointer(p, form_load::CursorFileCheck, form_load::LoadCursor, app_.platform,
                          form_);
    p.step(form_load::SetCaption, [&] { form_.setCaption(core::kDisplayName); });
    p.step(form_load::SetHeight, [&] {
        form_.setOuterHeightTwips((kFastCopyRowTopPixels + kFastCopyRowHeightPixels) *
                                      kTwipsPerPixel +
                                  kMarginBelowLowestRowTwips);
    });
    // A window without the boxes copies row by row.
    if (core::CheckBox* box = controls_.fastCopyToPostgres)
        p.step(form_load::RestoreFastCopyToPostgres, [&] {
            box->setValue(boxValueFromSetting(app_.settings.get(kFastCopyPostgresKey, kUnticked)));
        });
    if (core::CheckBox* box = controls_.fastCopyToSqlServer)
        p.step(form_load::RestoreFastCopyToSqlServer, [&] {
            box->setValue(boxValueFromSetting(app_.settings.get(kFastCopySqlServerKey, kUnticked)));
        });
    // ... and by the type rules of old.
    if (core::CheckBox* box = controls_.naturalTypesToPostgres)
        p.step(form_load::RestoreNaturalTypesToPostgres, [&] {
            box->setValue(
                boxValueFromSetting(app_.settings.get(kNaturalTypesPostgresKey, kUnticked)));
        });
    if (core::CheckBox* box = controls_.naturalTypesToSqlServer)
        p.step(form_load::RestoreNaturalTypesToSqlServer, [&] {
            box->setValue(
                boxValueFromSetting(app_.settings.get(kNaturalTypesSqlServerKey, kUnticked)));
        });
}

void TransferScreen::setAllSelected(TableSide side, bool selected) {
    static const QString kHandlers[2][2] = {
        {QStringLiteral("PushButton11_Click"), QStringLiteral("PushButton10_Click")},
        {QStringLiteral("PushButton9_Click"), QStringLiteral("PushButton8_Click")}};
    const int sideIndex = side == TableSide::SqlServer ? 0 : 1;
    core::Procedure p(app_.platform, kModule, kHandlers[sideIndex][selected ? 1 : 0]);
    core::ListBox& list =
        side == TableSide::SqlServer ? controls().mssqlTables : controls().postgresTables;
    int count = 0;
    p.step(select_buttons::CountEntries, [&] { count = list.count(); });
    for (int i = 0; i < count; ++i) {
        p.step(select_buttons::SelectEntry, [&] { list.setSelected(i, selected); });
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
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton2_Click"));
    p.step(back_button::ShowConnectionScreen, [&] { connectionScreen_.window().show(); });
    p.step(back_button::HideTransferScreen, [&] { window().hide(); });
}

void TransferScreen::showHelp() {
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton12_Click"));
    p.step(one_step::OnlyStep, [&] {
        app_.platform.messageBox(QStringLiteral("Questions? Please contact Team Quenlor at ") +
                                 kContactAddress);
    });
}

void TransferScreen::customizationBoxClicked(TableSide side) {
    const bool postgresSide = side == TableSide::Postgres;
    saveBox(postgresSide ? QStringLiteral("Check16_Click") : QStringLiteral("Check15_Click"),
            postgresSide ? &controls().customizeToSqlServer : &controls().customizeToPostgres,
            postgresSide ? kCustomizeSqlServerKey : kCustomizePostgresKey);
}

void TransferScreen::fastCopyBoxClicked(TableSide side) {
    const bool postgresSide = side == TableSide::Postgres;
    saveBox(postgresSide ? QStringLiteral("Check18_Click") : QStringLiteral("Check17_Click"),
            postgresSide ? controls().fastCopyToSqlServer : controls().fastCopyToPostgres,
            postgresSide ? kFastCopySqlServerKey : kFastCopyPostgresKey);
}

void TransferScreen::naturalTypesBoxClicked(TableSide side) {
    const bool postgresSide = side == TableSide::Postgres;
    saveBox(postgresSide ? QStringLiteral("Check20_Click") : QStringLiteral("Check19_Click"),
            postgresSide ? controls().naturalTypesToSqlServer : controls().naturalTypesToPostgres,
            postgresSide ? kNaturalTypesSqlServerKey : kNaturalTypesPostgresKey);
}

void TransferScreen::saveBox(const QString& handler, const core::CheckBox* box,
                             const QString& key) {
    core::Procedure p(app_.platform, kModule, handler);
    p.step(one_step::OnlyStep, [&] {
        if (box) app_.settings.save(key, settingFromBoxValue(box->value()));
    });
}

transfer::CommandContext TransferScreen::commandContext() {
    return transfer::CommandContext{app_.platform,  connectionScreen_,       controls(),
                                    customization_, customizationCancelled_, stop_.request()};
}

// A command that changes the lists or the databases does not start while another
// one runs and yields to the event loop; the click is ignored.
template <class Command>
void TransferScreen::runExclusive(const QString& stopQuestion, Command&& command) {
    {
        CommandGuard::Scope scope(app_.commands);
        if (!scope.entered()) return;
        const CommandStop::Running running(stop_, stopQuestion);
        transfer::CommandContext context = commandContext();
        command(context);
    }
    if (stop_.closeAfterCommand()) form_.unload();
}

// Read as the run reads the box: once, as it begins.
const QString& TransferScreen::stopCopyQuestion(transfer::Direction direction) {
    return transfer::fastCopyBoxTicked(controls(), direction) ? kStopFastCopyQuestion
                                                              : kStopCopyQuestion;
}

void TransferScreen::sendToPostgres() {
    runExclusive(stopCopyQuestion(transfer::Direction::ToPostgres),
                 [](transfer::CommandContext& c) { transfer::sendTablesToPostgres(c); });
}

void TransferScreen::sendToSqlServer() {
    runExclusive(stopCopyQuestion(transfer::Direction::ToSqlServer),
                 [](transfer::CommandContext& c) { transfer::sendTablesToSqlServer(c); });
}

void TransferScreen::deleteTables(TableSide side) {
    // Only the SQL Server side lets events in between its tables.
    const QString stopQuestion = side == TableSide::SqlServer ? kStopDeletingQuestion : QString();
    runExclusive(stopQuestion, [side](transfer::CommandContext& c) {
        side == TableSide::SqlServer ? maintenance::deleteMssqlTables(c)
                                     : maintenance::deletePostgresTables(c);
    });
}

void TransferScreen::renameTable(TableSide side) {
    runExclusive(QString(), [side](transfer::CommandContext& c) {
        side == TableSide::SqlServer ? maintenance::renameMssqlTable(c)
                                     : maintenance::renamePostgresTable(c);
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

}  // namespace dorvane::screens
