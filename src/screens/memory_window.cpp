#include "screens/memory_window.h"

#include "screens/pointer_file.h"

namespace dorvane::screens {

void MemoryWindow::loadCustomPointer(const QString& path) {
    readPointerFile(path);
    hasCustomPointer = true;
}

void MemoryWindow::show() {
    visible_ = true;
    ++showCount;
}

}  // namespace dorvane::screens
