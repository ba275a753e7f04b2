#pragma once
// What each of the program's windows is built on: its form, at the designed client size,
// and the hooks through which the mouse moving over its controls reaches its pointer rules.

#include "ui/form_window.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

class DesignedWindow {
  public:
    FormWindow& form() { return form_; }
    QWidget* widget() const { return form_.widget(); }

  protected:
    DesignedWindow(int clientWidth, int clientHeight)
        : form_(clientWidth, clientHeight), mouseMoves_(new MouseMoveHooks(form_.widget())) {}

    FormWindow form_;
    MouseMoveHooks* mouseMoves_;  // a child of the form's widget
};

}  // namespace dorvane::ui
