// "Next >": both connections must open; then both lists are filled from the
// catalogues and the transfer screen takes over from the connection screen.
#include "core/procedure.h"
#include "screens/connection_screen.h"
#include "screens/connection_settings.h"
#include "screens/transfer_screen.h"

#include <stdexcept>

namespace dorvane {

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
    Procedure p(app_.platform, QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    Window& form = controls_.form;
    p.step(100, [&] { form.setPointer(MousePointer::Busy); });
    if (p.test(102, [&] { return app_.databases.openPostgresSucceeds(postgres()); }) &&
        p.test(104, [&] { return app_.databases.openMssqlSucceeds(mssql()); })) {
        // The first use of the transfer screen runs its load step, before any list is filled.
        p.step(106, [&] {
            app_.databases.listMssqlTables(mssql(), transferScreen().controls().mssqlTables,
                                           app_.platform);
        });
        p.step(108, [&] {
            app_.databases.listPostgresTables(
                postgres(), transferScreen().controls().postgresTables, app_.platform);
        });
        p.step(110, [&] {
            transferScreen().controls().customizeToPostgres.setValue(
                boxValueFromSetting(app_.settings.get(kCustomizePostgresKey, kUnticked)));
        });
        p.step(112, [&] {
            transferScreen().controls().customizeToSqlServer.setValue(
                boxValueFromSetting(app_.settings.get(kCustomizeSqlServerKey, kUnticked)));
        });
        p.step(114, [&] { transferScreen().show(); });
        p.step(116, [&] { form.hide(); });
    }
    p.step(118, [&] { form.setPointer(MousePointer::Default); });
}

}  // namespace dorvane
