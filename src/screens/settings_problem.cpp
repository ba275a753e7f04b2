#include "screens/settings_problem.h"

#include <QTimer>

namespace dorvane::screens {

void tellSettingsProblem(core::Platform& platform, core::SettingsStore& settings) {
    const QString problem = settings.untoldProblem();
    if (problem.isEmpty()) return;
    // Marked before the box shows: saves made while it is open must not queue another.
    settings.problemTold();
    platform.messageBox(problem, core::MsgButtons::Ok, core::MsgIcon::Exclamation);
}

void ProblemTellingStore::save(const QString& key, const QString& value) {
    store_.save(key, value);
    if (queued_ || store_.untoldProblem().isEmpty()) return;
    queued_ = true;
    QTimer::singleShot(0, &pending_, [this] {
        queued_ = false;
        tellSettingsProblem(platform_, store_);
    });
}

}  // namespace dorvane::screens
