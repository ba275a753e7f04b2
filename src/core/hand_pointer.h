#pragma once
// The hand pointer every window shows over its commands, read by the window's load step
// from the program's folder when the file is there.

#include <QString>

#include "core/app_info.h"
#include "core/platform.h"
#include "core/procedure.h"

namespace dorvane::core {

inline const QString kHandPointerFile = QStringLiteral("HAND-M.CUR");

// Tests for the file at `checkLine`, then has `window` load it at `loadLine`.
template <class Window>
void loadHandPointer(Procedure& p, int checkLine, int loadLine, Platform& platform,
                     Window& window) {
    const QString file = programFile(platform.programFolder(), kHandPointerFile);
    if (p.test(checkLine, [&] { return fileFound(file); }))
        p.step(loadLine, [&] { window.loadCustomPointer(file); });
}

}  // namespace dorvane::core
