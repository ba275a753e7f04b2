#pragma once
// The connection screen's window (Form1): the designed controls, their adapters and the
// wiring of their events to the screen's logic.

#include <QCheckBox>
#include <QLineEdit>
#include <array>
#include <memory>

#include "screens/connection_screen.h"
#include "ui/form_window.h"
#include "ui/widget_controls.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

class ConnectionWindow {
  public:
    ConnectionWindow();

    FormWindow& form() { return form_; }
    QWidget* widget() const { return form_.widget(); }
    screens::ConnectionScreenControls& controls() { return *controls_; }
    QLineEdit* textField(int number) const { return edits_.at(number - 1); }
    QCheckBox* localConnectionBox() const { return localConnectionBox_; }

    // Routes the window's events to the screen.
    void connectTo(screens::ConnectionScreen& screen);

  private:
    void build();

    // The designed client area, 8040 x 6900 twips.
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 460;

    FormWindow form_;
    std::array<QLineEdit*, 10> edits_{};
    QCheckBox* localConnectionBox_ = nullptr;
    std::array<std::unique_ptr<WidgetTextField>, 10> texts_;
    std::unique_ptr<WidgetCheckBox> localConnection_;
    std::unique_ptr<screens::ConnectionScreenControls> controls_;
    MouseMoveHooks* mouseMoves_;
    SelectAllOnFocus* selectAllOnFocus_;
};

}  // namespace dorvane::ui
