#pragma once
// The transfer screen (Form2): both table lists and the commands that work on them,
// without any toolkit. Its load step runs the first time the screen is used.

#include "screens/app_context.h"
#include "screens/command_stop.h"
#include "screens/window.h"
#include "transfer/command_context.h"

namespace dorvane::screens {

class ConnectionScreen;

constexpr int kBackButtonTopPixels = 364;
constexpr int kBackButtonHeightPixels = 27;
// The "Fast copy" and "Natural types" boxes, each pair under its side's frame, in a row of
// their own below "< Back" and "Help", so that every other control keeps its place.
constexpr int kFastCopyRowTopPixels = 397;
constexpr int kFastCopyRowHeightPixels = 27;
// The window's height below its lowest row, so that row is not cut off.
constexpr int kMarginBelowLowestRowTwips = 580;

inline const QString kContactAddress = QStringLiteral("https://www.quenlor.com/contact");

enum class TableSide { SqlServer, Postgres };

class TransferScreen {
  public:
    TransferScreen(AppContext& app, Window& form, transfer::TransferScreenControls& controls,
                   ConnectionScreen& connectionScreen, transfer::CustomizationDialog& customization,
                   bool& customizationCancelled);

    // The controls and the window, loaded on first use.
    transfer::TransferScreenControls& controls();
    Window& window();
    bool loaded() const { return loaded_; }
    void show();

    // "Select All" / "Deselect All" (PushButton10/11 for List1, PushButton8/9 for List2).
    void selectAll(TableSide side);
    void deselectAll(TableSide side);
    // "< Back" (PushButton2_Click); ignored while another command runs.
    void back();
    // "Help" (PushButton12_Click).
    void showHelp();
    // Check15_Click / Check16_Click: the box's state goes to the store.
    void customizationBoxClicked(TableSide side);
    // Check17_Click / Check18_Click: "Fast copy" of the side's transfer, to the store.
    void fastCopyBoxClicked(TableSide side);
    // Check19_Click / Check20_Click: "Natural types" of the side's transfer, to the store.
    void naturalTypesBoxClicked(TableSide side);

    // The commands of both frames, one at a time.
    void sendToPostgres();              // PushButton3
    void sendToSqlServer();             // PushButton4
    void deleteTables(TableSide side);  // PushButton1 / PushButton5
    void renameTable(TableSide side);   // PushButton6 / PushButton7

    void mouseOverPlainArea();
    void mouseOverCommand();
    // Esc: during a copy or a deletion, asks whether to stop it.
    void escapePressed() { stop_.escapePressed(); }
    // Asked before the window closes; true keeps it open. During a copy or a deletion
    // the user is asked whether to stop it, and the window closes once it has ended.
    bool queryUnload() { return stop_.keepWindowOpen(); }
    // The window was closed: the program ends.
    void unloaded();

  private:
    // A box's click: its state goes to the store under `key`, reported as `handler`; a
    // box the screen does not have is left alone.
    void saveBox(const QString& handler, const core::CheckBox* box, const QString& key);
    void load();
    void setAllSelected(TableSide side, bool selected);
    // `stopQuestion`: what Esc asks while the command runs; empty when it cannot stop.
    template <class Command>
    void runExclusive(const QString& stopQuestion, Command&& command);
    const QString& stopCopyQuestion(transfer::Direction direction);
    transfer::CommandContext commandContext();

    AppContext& app_;
    Window& form_;
    transfer::TransferScreenControls& controls_;
    ConnectionScreen& connectionScreen_;
    transfer::CustomizationDialog& customization_;
    bool& customizationCancelled_;
    CommandStop stop_{app_.platform};
    bool loaded_ = false;
};

}  // namespace dorvane::screens
