#pragma once
// A window without a display, for the command line and the tests of the screens' logic.
// Loading a cursor file checks it as the real window does.

#include "screens/window.h"

namespace dorvane::screens {

class MemoryWindow : public Window {
  public:
    core::MousePointer pointer() const override { return pointer_; }
    void setPointer(core::MousePointer pointer) override { pointer_ = pointer; }
    QString caption() const override { return caption_; }
    void setCaption(const QString& caption) override { caption_ = caption; }
    void setAppIcon() override { ++appIconCount; }
    void loadCustomPointer(const QString& path) override;
    void applyFormColors() override { hasFormColors = true; }
    void show() override;
    void hide() override { visible_ = false; }
    void unload() override {
        visible_ = false;
        ++unloadCount;
    }
    bool visible() const override { return visible_; }
    int outerHeightTwips() const override { return outerHeightTwips_; }
    void setOuterHeightTwips(int twips) override { outerHeightTwips_ = twips; }

    int appIconCount = 0;
    bool hasFormColors = false;
    bool hasCustomPointer = false;
    int showCount = 0;
    int unloadCount = 0;

  private:
    core::MousePointer pointer_ = core::MousePointer::Default;
    QString caption_;
    bool visible_ = false;
    int outerHeightTwips_ = 0;
};

}  // namespace dorvane::screens
