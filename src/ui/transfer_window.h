#pragma once
// The transfer screen's window (Form2): the designed controls, their adapters and the
// wiring of their events to the screen's logic.

#include <QCheckBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "screens/transfer_screen.h"
#include "ui/designed_window.h"
#include "ui/widget_controls.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

// One side's frame as built: its list, its buttons and its customization box.
struct TableFrameWidgets {
    QGroupBox* frame = nullptr;
    TableListWidget* list = nullptr;
    QPushButton* selectAll = nullptr;
    QPushButton* deselectAll = nullptr;
    QPushButton* send = nullptr;
    QCheckBox* customizationBox = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* rename = nullptr;
};

class TransferWindow : public DesignedWindow {
  public:
    TransferWindow();

    transfer::TransferScreenControls& controls() { return *controls_; }
    TableListWidget* mssqlList() const { return mssqlFrame_.list; }
    TableListWidget* postgresList() const { return postgresFrame_.list; }

    // Routes the window's events to the screen.
    void connectTo(screens::TransferScreen& screen);

  private:
    void build();

    // The designed client area, 8040 x 5970 twips, and below it the row of "Fast copy" and
    // "Natural types".
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 431;

    TableFrameWidgets mssqlFrame_;     // SQL Server tables, on the left
    TableFrameWidgets postgresFrame_;  // PostgreSQL tables, on the right
    QPushButton* backButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QCheckBox* fastCopyToPostgresBox_ = nullptr;
    QCheckBox* fastCopyToSqlServerBox_ = nullptr;
    QCheckBox* naturalTypesToPostgresBox_ = nullptr;
    QCheckBox* naturalTypesToSqlServerBox_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    std::unique_ptr<WidgetListBox> mssqlTables_;
    std::unique_ptr<WidgetListBox> postgresTables_;
    std::unique_ptr<WidgetCheckBox> customizeToPostgres_;
    std::unique_ptr<WidgetCheckBox> customizeToSqlServer_;
    std::unique_ptr<WidgetCheckBox> fastCopyToPostgres_;
    std::unique_ptr<WidgetCheckBox> fastCopyToSqlServer_;
    std::unique_ptr<WidgetCheckBox> naturalTypesToPostgres_;
    std::unique_ptr<WidgetCheckBox> naturalTypesToSqlServer_;
    std::unique_ptr<WidgetProgressBar> progress_;
    std::unique_ptr<transfer::TransferScreenControls> controls_;
};

}  // namespace dorvane::ui
