#pragma once
// The transfer screen's window (Form2): the designed controls, their adapters and the
// wiring of their events to the screen's logic.

#include <QCheckBox>
#include <QProgressBar>
#include <memory>

#include "screens/transfer_screen.h"
#include "ui/form_window.h"
#include "ui/widget_controls.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

class TransferWindow {
  public:
    TransferWindow();

    FormWindow& form() { return form_; }
    QWidget* widget() const { return form_.widget(); }
    transfer::TransferScreenControls& controls() { return *controls_; }
    TableListWidget* mssqlList() const { return mssqlList_; }
    TableListWidget* postgresList() const { return postgresList_; }

    // Routes the window's events to the screen.
    void connectTo(screens::TransferScreen& screen);

  private:
    void build();

    // The designed client area, 8040 x 5970 twips, and below it the row of "Fast copy".
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 431;

    FormWindow form_;
    TableListWidget* mssqlList_ = nullptr;
    TableListWidget* postgresList_ = nullptr;
    QCheckBox* customizeToPostgresBox_ = nullptr;
    QCheckBox* customizeToSqlServerBox_ = nullptr;
    QCheckBox* fastCopyToPostgresBox_ = nullptr;
    QCheckBox* fastCopyToSqlServerBox_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    MouseMoveHooks* mouseMoves_;
    std::unique_ptr<WidgetListBox> mssqlTables_;
    std::unique_ptr<WidgetListBox> postgresTables_;
    std::unique_ptr<WidgetCheckBox> customizeToPostgres_;
    std::unique_ptr<WidgetCheckBox> customizeToSqlServer_;
    std::unique_ptr<WidgetCheckBox> fastCopyToPostgres_;
    std::unique_ptr<WidgetCheckBox> fastCopyToSqlServer_;
    std::unique_ptr<WidgetProgressBar> progress_;
    std::unique_ptr<transfer::TransferScreenControls> controls_;
};

}  // namespace dorvane::ui
