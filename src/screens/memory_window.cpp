#include "screens/memory_window.h"

#include "screens/cursor_file.h"

namespace dorvane::screens {

void MemoryWindow::loadCustomPointer(const QString& path) {
    readCursorFile(path);
    hasCustomPointer = true;
}

void MemoryWindow::show() {
    visible_ = true;
    ++showCount;
}

}  // namespace dorvane::screens
