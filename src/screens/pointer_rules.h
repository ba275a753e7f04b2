#pragma once
// What moving the mouse does to a window's pointer. A running command's busy pointer
// stays, except where a rule says otherwise.

#include "core/controls.h"

namespace dorvane::screens {

// Over a window's free area, a frame, a list or most text fields.
inline void pointerOverPlainArea(core::PointerSurface& window) {
    if (window.pointer() != core::MousePointer::Busy)
        window.setPointer(core::MousePointer::Default);
}

// Over a push button (or the connection screen's "Local Connection" box).
inline void pointerOverCommand(core::PointerSurface& window) {
    if (window.pointer() != core::MousePointer::Busy) window.setPointer(core::MousePointer::Custom);
}

// Over the PostgreSQL password field: the default pointer even while busy.
inline void pointerOverPostgresPassword(core::PointerSurface& window) {
    window.setPointer(core::MousePointer::Default);
}

}  // namespace dorvane::screens
