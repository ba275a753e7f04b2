#pragma once
// A window as the screens' logic sees it: caption, icon, pointer, colours, showing.

#include <QString>

#include "core/controls.h"

namespace dorvane::screens {

constexpr int kTwipsPerPixel = 15;

class Window : public core::PointerSurface {
  public:
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setAppIcon() = 0;
    // Makes the cursor file the window's custom pointer; throws when it cannot be read.
    virtual void loadCustomPointer(const QString& path) = 0;
    // The system button-face colour on the window and its frames, check boxes and labels.
    virtual void applyFormColors() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Closes the window as its close box does: query-unload first, then unload.
    virtual void unload() = 0;
    virtual bool visible() const = 0;
    virtual int outerHeightTwips() const = 0;
    virtual void setOuterHeightTwips(int twips) = 0;
};

}  // namespace dorvane::screens
