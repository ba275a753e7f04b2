#pragma once
// Telling the user, once, what went wrong with the settings store.

#include <QObject>

#include "core/platform.h"
#include "core/settings_store.h"

namespace dorvane::screens {

// Shows the store's untold problem, if any, in a message box with the application title.
void tellSettingsProblem(core::Platform& platform, core::SettingsStore& settings);

// The store as the running program writes to it: a problem a save runs into is told once
// control is back in the event loop, not in the middle of the keystroke that saved.
class ProblemTellingStore : public core::SettingsStore {
  public:
    ProblemTellingStore(core::SettingsStore& store, core::Platform& platform)
        : store_(store), platform_(platform) {}

    QString get(const QString& key, const QString& defaultValue) const override {
        return store_.get(key, defaultValue);
    }
    void save(const QString& key, const QString& value) override;
    QString untoldProblem() const override { return store_.untoldProblem(); }
    void problemTold() override { store_.problemTold(); }

  private:
    core::SettingsStore& store_;
    core::Platform& platform_;
    QObject pending_;  // the queued telling dies with the store
    bool queued_ = false;
};

}  // namespace dorvane::screens
