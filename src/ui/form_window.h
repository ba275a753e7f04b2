#pragma once
// A top-level window of the program on a QWidget: caption, icon, pointer, colours,
// showing (also modally) and closing with query-unload.

#include <QCursor>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "screens/window.h"

class QEventLoop;

namespace dorvane::ui {

class FormWidget : public QWidget {
  public:
    using QWidget::QWidget;
    // Asked before the window closes for any reason; true keeps it open.
    std::function<bool()> queryUnload;
    // The window has closed.
    std::function<void()> unloaded;

  protected:
    void closeEvent(QCloseEvent* event) override;
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
    void unload();
    // Query-unload: true keeps the window open. Unload: after the window has closed.
    void setQueryUnload(std::function<bool()> handler) {
        widget_->queryUnload = std::move(handler);
    }
    void setUnloadHandler(std::function<void()> handler) { unloadHandler_ = std::move(handler); }
    void centreWhenFirstShown() { centreOnFirstShow_ = true; }
    bool hasCustomCursor() const { return customCursor_.has_value(); }
    QCursor shownCursor() const { return widget_->cursor(); }

  private:
    QCursor cursorFor(core::MousePointer pointer) const;
    void onUnloaded();

    std::unique_ptr<FormWidget> widget_;
    core::MousePointer pointer_ = core::MousePointer::Default;
    std::optional<QCursor> customCursor_;
    int outerHeightTwips_;
    std::function<void()> loadStep_;
    std::function<void()> unloadHandler_;
    bool outerHeightSet_ = false;
    bool loaded_ = false;
    bool centreOnFirstShow_ = false;
    bool shownBefore_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

// The application icon, from the program's resources.
QIcon applicationIcon();

}  // namespace dorvane::ui
