#include "ui/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace dorvane::ui {
namespace {

// The frame's size; before the window manager has framed the window, the client's.
QSize frameSize(const QWidget& window) {
    return window.frameGeometry().size().expandedTo(window.size());
}

QRect desktopOf(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Moves the frame's top-left to `at`, kept inside the desktop where the frame fits.
void moveFrameTo(QWidget& window, QPoint at) {
    const QRect desktop = desktopOf(window);
    if (desktop.isValid()) {
        const QSize size = frameSize(window);
        at.setX(std::clamp(at.x(), desktop.left(),
                           std::max(desktop.left(), desktop.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), desktop.top(),
                           std::max(desktop.top(), desktop.bottom() + 1 - size.height())));
    }
    window.move(at);
}

void centreOn(QWidget& window, const QRect& area) {
    QRect frame(QPoint(), frameSize(window));
    frame.moveCenter(area.center());
    moveFrameTo(window, frame.topLeft());
}

}  // namespace

void ScreenPlacement::place(QWidget& screen) const {
    for (const QWidget* other : screens_) {
        if (other != &screen && other->isVisible()) {
            moveFrameTo(screen, other->frameGeometry().topLeft());
            return;
        }
    }
    if (leftAt_) {
        moveFrameTo(screen, *leftAt_);
    } else {
        centreOn(screen, desktopOf(screen));
    }
}

void ScreenPlacement::leave(const QWidget& screen) {
    if (screen.isVisible()) leftAt_ = screen.frameGeometry().topLeft();
}

void centreOverOwner(QWidget& dialog) {
    const QWidget* owner = QApplication::activeWindow();
    if (!owner || owner == &dialog) {
        owner = nullptr;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &dialog && w->isVisible() && !w->isMinimized()) {
                owner = w;
                break;
            }
        }
    }
    centreOn(dialog, owner ? owner->frameGeometry() : desktopOf(dialog));
}

}  // namespace dorvane::ui
