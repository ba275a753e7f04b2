#pragma once
// With DORVANE_REPORT_STARTUP set, the program prints how long after its start the first
// window was shown and then exposed on screen, and ends: scripts/bench.sh reads it.

class QApplication;

namespace dorvane::ui {

// Call at the top of main, before the windows exist. Does nothing unless asked for.
void reportStartupWhenAsked(QApplication& application);

}  // namespace dorvane::ui
