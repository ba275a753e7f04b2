#pragma once
// Where the program's windows appear: the first screen centred on the desktop, a screen
// that takes over from another where the user had that one, a dialog centred over the
// window it was opened from.

#include <QPoint>
#include <optional>
#include <vector>

class QWidget;

namespace dorvane::ui {

class ScreenPlacement {
  public:
    // A top-level window that takes turns with the others.
    void add(const QWidget& screen) { screens_.push_back(&screen); }
    // Before a screen is shown: over the screen still showing, else where the last one
    // was left, else centred.
    void place(QWidget& screen) const;
    // Before a screen is hidden.
    void leave(const QWidget& screen);

  private:
    std::vector<const QWidget*> screens_;
    std::optional<QPoint> leftAt_;
};

// Centres the dialog over the active window, or over any other window that shows.
void centreOverOwner(QWidget& dialog);

}  // namespace dorvane::ui
