#pragma once
// Placing the designed controls: pixel positions at 15 twips per pixel (inside a frame,
// relative to the frame), Arial bold in the designed sizes.

#include <QFont>
#include <QString>
#include <QWidget>

namespace dorvane::ui {

inline constexpr double kFormFontPoints = 9;
inline constexpr double kButtonFontPoints = 11.25;

// "Arial" (served by Liberation Sans, which has the same metrics) in bold.
QFont arialBold(double points);

// Creates a control with its designer name at the given place.
template <class Control, class... Args>
Control* placeControl(QWidget* parent, const char* name, int x, int y, int width, int height,
                      Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, width, height);
    return control;
}

// A white background, as the designed frames, labels and check boxes have.
void paintWhite(QWidget* widget);

// Keyboard focus moves through the widgets in the given order.
void setTabOrder(std::initializer_list<QWidget*> order);

}  // namespace dorvane::ui
