#pragma once
// The connection screen's window (Form1): the designed controls, their adapters and the
// wiring of their events to the screen's logic.

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <vector>

#include "screens/connection_screen.h"
#include "ui/designed_window.h"
#include "ui/widget_controls.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

struct ProfileFrameDesign;

class ConnectionWindow : public DesignedWindow {
  public:
    ConnectionWindow();

    screens::ConnectionScreenControls& controls() { return *controls_; }
    QCheckBox* localConnectionBox() const { return localConnectionBox_; }

    // Routes the window's events to the screen.
    void connectTo(screens::ConnectionScreen& screen);

  private:
    // A profile's frame as built: the frame and its fields.
    struct ProfileEdits {
        QGroupBox* frame;
        QLineEdit* server;
        QLineEdit* port;
        QLineEdit* user;
        QLineEdit* password;
        QLineEdit* database;
    };

    void build();
    ProfileEdits buildProfileFrame(QWidget* window, const ProfileFrameDesign& design);

    // The designed client area, 8040 x 6900 twips.
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 460;

    // A field's line edit and its adapter, in the order the window lays them out.
    struct FieldEdit {
        screens::ConnectionField field;
        QLineEdit* edit;
        std::unique_ptr<WidgetTextField> adapter;
    };

    std::vector<FieldEdit> fieldEdits_;
    QGroupBox* postgresFrame_ = nullptr;
    QGroupBox* mssqlFrame_ = nullptr;
    QPushButton* testPostgresButton_ = nullptr;
    QPushButton* postgresHelpButton_ = nullptr;
    QPushButton* testMssqlButton_ = nullptr;
    QPushButton* mssqlHelpButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QCheckBox* localConnectionBox_ = nullptr;
    std::unique_ptr<WidgetCheckBox> localConnection_;
    std::unique_ptr<screens::ConnectionScreenControls> controls_;
    SelectAllOnFocus* selectAllOnFocus_;
};

}  // namespace dorvane::ui
