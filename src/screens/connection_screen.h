#pragma once
// The connection screen (Form1): the two connection profiles, their tests, the help
// messages, "Next >" and the start-up sequence, without any toolkit.

#include "core/procedure.h"
#include "db/odbc/waiting_call.h"
#include "db/values/connection_strings.h"
#include "screens/app_context.h"
#include "screens/connection_settings.h"
#include "screens/window.h"

namespace dorvane::screens {

class TransferScreen;

struct ConnectionScreenControls {
    Window& form;
    ConnectionFields fields;
    core::CheckBox& localConnection;  // "Local Connection"

    core::TextField& field(ConnectionField which) const { return *(fields.*which); }
};

class ConnectionScreen : public db::ProfileSource {
  public:
    ConnectionScreen(AppContext& app, ConnectionScreenControls& controls);

    // "Next >" fills and shows this screen.
    void attachTransferScreen(TransferScreen& transfer) { transfer_ = &transfer; }
    Window& window() { return controls_.form; }
    const ConnectionScreenControls& controls() const { return controls_; }

    // The profiles as the fields hold them now.
    db::PostgresProfile postgres() const override;
    db::MssqlProfile mssql() const override;

    // Loads the screen and shows it, unless the automatic advance moved on already.
    void startUp();
    // The load step ("Form_Load"): prepares the window, restores the fields, advances when both
    // connect.
    void load();

    // A field's text changed: its whole text goes to the store.
    void fieldChanged(ConnectionField field);
    // The "Local Connection" box was clicked: its state goes to the store.
    void localConnectionClicked();

    // "Test Connection" of the SQL Server frame (PushButton1_Click).
    void testMssqlConnection();
    // "Test Connection" of the PostgreSQL frame (PushButton3_Click).
    void testPostgresConnection();
    // "Next >" (PushButton2_Click); ignored while another command runs.
    void next();
    // "Help" of the SQL Server frame (PushButton4_Click).
    void showMssqlHelp();
    // "Help" of the PostgreSQL frame (PushButton5_Click).
    void showPostgresHelp();

    // Mouse moves: the window, a frame or a field; the PostgreSQL password field; the
    // "Local Connection" box or a push button.
    void mouseOverPlainArea();
    void mouseOverPostgresPassword();
    void mouseOverCommand();

    // The window was closed: the program ends.
    void unloaded();

  private:
    void applySkin();
    void restoreFields(core::Procedure& procedure);
    void advanceWhenBothConnect(core::Procedure& procedure);
    void runNext();
    TransferScreen& transferScreen();
    // For the database work of a command: events run while it waits on a server.
    db::WhileWaiting eventsWhileWaiting();

    AppContext& app_;
    ConnectionScreenControls& controls_;
    TransferScreen* transfer_ = nullptr;
};

}  // namespace dorvane::screens
