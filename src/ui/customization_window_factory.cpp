#include "ui/customization_window_factory.h"

#if DORVANE_HAVE_CUSTOMIZE_WINDOW
#include "ui/customize_window.h"
#endif

namespace dorvane::ui {

#if DORVANE_HAVE_CUSTOMIZE_WINDOW

std::unique_ptr<CustomizationDialog> makeCustomizationWindow(Platform& platform,
                                                             const db::ProfileSource& profiles,
                                                             bool& customizationCancelled) {
    return std::make_unique<CustomizeWindow>(platform, profiles, customizationCancelled);
}

#else

namespace {
// Stands in while the dialog window is not part of the build: it says so, and the flag
// stays set, so the transfer ends its run without creating anything.
class MissingCustomizationWindow : public CustomizationDialog {
  public:
    explicit MissingCustomizationWindow(Platform& platform) : platform_(platform) {}
    CustomizationMembers& members() override { return members_; }
    void showModal() override {
        platform_.messageBox(QStringLiteral("Data type customization is not part of this build."));
    }

  private:
    Platform& platform_;
    CustomizationMembers members_;
};
}  // namespace

std::unique_ptr<CustomizationDialog> makeCustomizationWindow(Platform& platform,
                                                             const db::ProfileSource&, bool&) {
    return std::make_unique<MissingCustomizationWindow>(platform);
}

#endif

}  // namespace dorvane::ui
