#pragma once
// What moving the mouse does to a window's pointer. A running command's busy pointer
// stays, except where a rule says otherwise.

#include "core/controls.h"

namespace dorvane {

// Over a window's free area, a frame, a list or most text fields.
inline void pointerOverPlainArea(PointerSurface& window) {
    if (window.pointer() != MousePointer::Busy) window.setPointer(MousePointer::Default);
}

// Over a push button (or the connection screen's "Local Connection" box).
inline void pointerOverCommand(PointerSurface& window) {
    if (window.pointer() != MousePointer::Busy) window.setPointer(MousePointer::Custom);
}

// Over the PostgreSQL password field: the default pointer even while busy.
inline void pointerOverPostgresPassword(PointerSurface& window) {
    window.setPointer(MousePointer::Default);
}

}  // namespace dorvane
