#pragma once
// A top-level window of the program on a QWidget: caption, icon, pointer, colours,
// showing (also modally) and closing with query-unload.

#include <QCursor>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "screens/window.h"
#include "ui/window_placement.h"

class QEventLoop;

namespace dorvane::ui {

class FormWidget : public QWidget {
  public:
    using QWidget::QWidget;
    // Asked before the window closes for any reason; true keeps it open.
    std::function<bool()> queryUnload;
    // The window has closed.
    std::function<void()> unloaded;
    // The window manager's frame around the window changed (on X11: it became known).
    std::function<void()> frameChanged;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QSize decoration_{0, 0};  // none until a window manager frames the window
};

class FormWindow : public screens::Window {
  public:
    // The client area in pixels, as designed.
    FormWindow(int clientWidth, int clientHeight);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    FormWidget* widget() const { return widget_.get(); }

    core::MousePointer pointer() const override { return pointer_; }
    void setPointer(core::MousePointer pointer) override;
    QString caption() const override;
    void setCaption(const QString& caption) override;
    void setAppIcon() override;
    void loadCustomPointer(const QString& path) override;
    void applyFormColors() override;
    void show() override;
    void hide() override;
    bool visible() const override;
    int outerHeightTwips() const override { return outerHeightTwips_; }
    void setOuterHeightTwips(int twips) override;

    // Runs once each time the window is loaded: before its first showing, and again
    // after it was unloaded.
    void setLoadStep(std::function<void()> step) { loadStep_ = std::move(step); }
    void ensureLoaded();
    // Shows the window modally; returns once it has been unloaded.
    void showModal();
    // Closes the window from code; query-unload may keep it open.
    void unload() override;
    // Query-unload: true keeps the window open. Unload: after the window has closed.
    void setQueryUnload(std::function<bool()> handler) {
        widget_->queryUnload = std::move(handler);
    }
    void setUnloadHandler(std::function<void()> handler) { unloadHandler_ = std::move(handler); }
    // A screen: shown where the other screen is or was (the first one centred).
    void placeAmong(ScreenPlacement& placement);
    // A dialog: shown centred over the window it was opened from.
    void placeAsDialog() { dialog_ = true; }
    bool hasCustomCursor() const { return customCursor_.has_value(); }
    QCursor shownCursor() const { return widget_->cursor(); }

  private:
    QCursor cursorFor(core::MousePointer pointer) const;
    void onUnloaded();
    void place();
    void onFrameChanged();

    std::unique_ptr<FormWidget> widget_;
    core::MousePointer pointer_ = core::MousePointer::Default;
    std::optional<QCursor> customCursor_;
    int outerHeightTwips_;
    std::function<void()> loadStep_;
    std::function<void()> unloadHandler_;
    bool outerHeightSet_ = false;
    bool loaded_ = false;
    ScreenPlacement* placement_ = nullptr;
    bool dialog_ = false;
    bool placementPending_ = false;  // shown, and placed before its frame was known
    bool shownBefore_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

// The application icon, from the program's resources.
QIcon applicationIcon();

}  // namespace dorvane::ui
