// "Next >": both connections must open; then both lists are filled from the
// catalogues and the transfer screen takes over from the connection screen.
#include "core/procedure.h"
#include "screens/connection_screen.h"
#include "screens/connection_settings.h"
#include "screens/database_gateway.h"
#include "screens/transfer_screen.h"

#include <stdexcept>

namespace dorvane::screens {
namespace {

// The numbered lines of "Next >", in the order of their numbers.
namespace next_button {
enum Line : int {
    BusyPointer = 100,
    PostgresOpensCheck = 102,
    MssqlOpensCheck = 104,
    ListMssqlTables = 106,
    ListPostgresTables = 108,
    RestoreCustomizeToPostgres = 110,
    RestoreCustomizeToSqlServer = 112,
    ShowTransferScreen = 114,
    HideConnectionScreen = 116,
    DefaultPointer = 118,
};
}  // namespace next_button

}  // namespace

db::WhileWaiting ConnectionScreen::eventsWhileWaiting() {
    return [this] { app_.platform.processEvents(); };
}

TransferScreen& ConnectionScreen::transferScreen() {
    if (!transfer_) throw std::logic_error("The transfer screen is not attached");
    return *transfer_;
}

void ConnectionScreen::next() {
    // Refilling the lists while a command works on them would corrupt both.
    CommandGuard::Scope command(app_.commands);
    if (!command.entered()) return;
    runNext();
}

void ConnectionScreen::runNext() {
    core::Procedure p(app_.platform, QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    Window& form = controls_.form;
    using enum next_button::Line;
    p.step(BusyPointer, [&] { form.setPointer(core::MousePointer::Busy); });
    const db::WhileWaiting whileWaiting = eventsWhileWaiting();
    if (p.test(PostgresOpensCheck,
               [&] { return app_.databases.openPostgresSucceeds(postgres(), whileWaiting); }) &&
        p.test(MssqlOpensCheck,
               [&] { return app_.databases.openMssqlSucceeds(mssql(), whileWaiting); })) {
        // The first use of the transfer screen runs its load step, before any list is filled.
        p.step(ListMssqlTables, [&] {
            core::ListBox& list = transferScreen().controls().mssqlTables;
            showTableNames(list, app_.databases.mssqlTableNames(mssql(), whileWaiting),
                           app_.platform);
        });
        p.step(ListPostgresTables, [&] {
            core::ListBox& list = transferScreen().controls().postgresTables;
            showTableNames(list, app_.databases.postgresTableNames(postgres(), whileWaiting),
                           app_.platform);
        });
        p.step(RestoreCustomizeToPostgres, [&] {
            transferScreen().controls().customizeToPostgres.setValue(
                boxValueFromSetting(app_.settings.get(kCustomizePostgresKey, kUnticked)));
        });
        p.step(RestoreCustomizeToSqlServer, [&] {
            transferScreen().controls().customizeToSqlServer.setValue(
                boxValueFromSetting(app_.settings.get(kCustomizeSqlServerKey, kUnticked)));
        });
        p.step(ShowTransferScreen, [&] { transferScreen().show(); });
        p.step(HideConnectionScreen, [&] { form.hide(); });
    }
    p.step(DefaultPointer, [&] { form.setPointer(core::MousePointer::Default); });
}

}  // namespace dorvane::screens
