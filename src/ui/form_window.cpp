#include "ui/form_window.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <cmath>
#include <stdexcept>

#include "screens/pointer_file.h"

namespace dorvane::ui {

void FormWidget::closeEvent(QCloseEvent* event) {
    if (queryUnload && queryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (unloaded) unloaded();
}

bool FormWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) {
        const QSize decoration = frameGeometry().size() - size();
        if (decoration != decoration_) {
            decoration_ = decoration;
            if (frameChanged) frameChanged();
        }
    }
    return handled;
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/dorvane/dorvane.png"));
}

FormWindow::FormWindow(int clientWidth, int clientHeight)
    : widget_(std::make_unique<FormWidget>()),
      outerHeightTwips_(clientHeight * screens::kTwipsPerPixel) {
    widget_->setFixedSize(clientWidth, clientHeight);
    widget_->setMouseTracking(true);
    widget_->unloaded = [this] { onUnloaded(); };
    widget_->frameChanged = [this] { onFrameChanged(); };
}

void FormWindow::placeAmong(ScreenPlacement& placement) {
    placement_ = &placement;
    placement.add(*widget_);
}

void FormWindow::place() {
    if (placement_) {
        placement_->place(*widget_);
    } else if (dialog_) {
        centreOverOwner(*widget_);
    }
}

// The outer height and the place counted the frame as it was known then; on X11 the
// window manager adds it only after the window is shown.
void FormWindow::onFrameChanged() {
    if (outerHeightSet_) setOuterHeightTwips(outerHeightTwips_);
    if (placementPending_) {
        placementPending_ = false;
        place();
    }
}

FormWindow::~FormWindow() = default;

QCursor FormWindow::cursorFor(core::MousePointer pointer) const {
    switch (pointer) {
        case core::MousePointer::Busy:
            return QCursor(Qt::WaitCursor);
        case core::MousePointer::Custom:
            // Without a cursor file the custom pointer looks like the default one.
            return customCursor_ ? *customCursor_ : QCursor(Qt::ArrowCursor);
        case core::MousePointer::Default:
            break;
    }
    return QCursor(Qt::ArrowCursor);
}

// Text fields keep their I-beam, except that the busy pointer shows over them too.
void FormWindow::setPointer(core::MousePointer pointer) {
    pointer_ = pointer;
    widget_->setCursor(cursorFor(pointer));
    for (QLineEdit* edit : widget_->findChildren<QLineEdit*>()) {
        edit->setCursor(pointer == core::MousePointer::Busy ? QCursor(Qt::WaitCursor)
                                                            : QCursor(Qt::IBeamCursor));
    }
}

QString FormWindow::caption() const {
    return widget_->windowTitle();
}

void FormWindow::setCaption(const QString& caption) {
    widget_->setWindowTitle(caption);
}

void FormWindow::setAppIcon() {
    widget_->setWindowIcon(applicationIcon());
}

void FormWindow::loadCustomPointer(const QString& path) {
    const screens::PointerFile file = screens::readPointerFile(path);
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull()) throw std::runtime_error("Invalid picture");
    customCursor_ = QCursor(QPixmap::fromImage(image), file.hotspotX, file.hotspotY);
    if (pointer_ == core::MousePointer::Custom) setPointer(pointer_);
}

void FormWindow::applyFormColors() {
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    auto paint = [&](QWidget* w) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, buttonFace);
        w->setPalette(palette);
        w->setAutoFillBackground(true);
    };
    paint(widget_.get());
    for (QWidget* child : widget_->findChildren<QWidget*>()) {
        if (qobject_cast<QGroupBox*>(child) || qobject_cast<QCheckBox*>(child) ||
            qobject_cast<QLabel*>(child) || qobject_cast<QRadioButton*>(child)) {
            paint(child);
        }
    }
}

void FormWindow::ensureLoaded() {
    if (loaded_) return;
    loaded_ = true;
    if (loadStep_) loadStep_();
}

void FormWindow::show() {
    ensureLoaded();
    const bool firstShowing = !shownBefore_;
    shownBefore_ = true;
    // The outer height counts the borders: as far as they are known before and after.
    if (firstShowing && outerHeightSet_) setOuterHeightTwips(outerHeightTwips_);
    if (!widget_->isVisible()) {
        place();
        placementPending_ = placement_ || dialog_;
    }
    widget_->show();
    if (firstShowing && outerHeightSet_) setOuterHeightTwips(outerHeightTwips_);
    widget_->raise();
    widget_->activateWindow();
}

void FormWindow::hide() {
    if (placement_) placement_->leave(*widget_);
    placementPending_ = false;
    widget_->hide();
}

bool FormWindow::visible() const {
    return widget_->isVisible();
}

// The outer height counts the title bar and borders; the client area gets the rest.
void FormWindow::setOuterHeightTwips(int twips) {
    outerHeightTwips_ = twips;
    outerHeightSet_ = true;
    const int outer =
        static_cast<int>(std::lround(static_cast<double>(twips) / screens::kTwipsPerPixel));
    const int decoration = widget_->frameGeometry().height() - widget_->height();
    widget_->setFixedHeight(std::max(0, outer - decoration));
}

void FormWindow::showModal() {
    widget_->setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (widget_->isVisible()) loop.exec();
    modalLoop_ = nullptr;
    widget_->setWindowModality(Qt::NonModal);
}

void FormWindow::unload() {
    widget_->close();
}

void FormWindow::onUnloaded() {
    loaded_ = false;
    if (modalLoop_) modalLoop_->quit();
    if (unloadHandler_) unloadHandler_();
}

}  // namespace dorvane::ui
