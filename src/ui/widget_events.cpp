#include "ui/widget_events.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace dorvane::ui {

void MouseMoveHooks::watch(QWidget* widget, std::function<void()> onMove) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    handlers_[widget] = std::move(onMove);
}

bool MouseMoveHooks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        auto* widget = static_cast<QWidget*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        // A move a child did not take arrives here as well: only the widget under the
        // pointer reacts.
        if (!widget->childAt(at)) {
            const auto found = handlers_.find(watched);
            if (found != handlers_.end()) found->second();
        }
    }
    return false;
}

void SelectAllOnFocus::watch(QLineEdit* edit) {
    edit->installEventFilter(this);
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto* edit = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    }
    return false;
}

}  // namespace dorvane::ui
