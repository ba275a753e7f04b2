#pragma once
// Small event hooks the windows attach to their widgets: mouse moves straight over a
// widget (not over one of its children) and keyboard focus entering a text field.

#include <QObject>
#include <QPushButton>
#include <functional>
#include <unordered_map>

class QLineEdit;
class QWidget;

namespace dorvane::ui {

class MouseMoveHooks : public QObject {
  public:
    using QObject::QObject;
    void watch(QWidget* widget, std::function<void()> onMove);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::unordered_map<QObject*, std::function<void()>> handlers_;
};

// Focus entering the field selects its whole text, so typing replaces it. The click
// that brought the focus has placed the caret by then.
class SelectAllOnFocus : public QObject {
  public:
    using QObject::QObject;
    void watch(QLineEdit* edit);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A command button of a window whose handlers are `logic`'s: its clicks call `onClick`, and
// the mouse moving straight over it `onMove`.
template <class Logic>
void watchCommand(MouseMoveHooks& moves, QPushButton* button, Logic& logic,
                  void (Logic::*onClick)(), void (Logic::*onMove)()) {
    QObject::connect(button, &QPushButton::clicked, button,
                     [&logic, onClick] { (logic.*onClick)(); });
    moves.watch(button, [&logic, onMove] { (logic.*onMove)(); });
}

}  // namespace dorvane::ui
