#include "ui/customize_window.h"

#include <QGroupBox>
#include <QPushButton>
#include <cmath>

#include "ui/form_layout.h"

namespace dorvane::ui {
namespace {

int pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / screens::kTwipsPerPixel));
}

// Creates a control placed in twips, as the design gives them.
template <class Control, class... Args>
Control* placeInTwips(QWidget* parent, const char* name, int left, int top, int width, int height,
                      Args&&... args) {
    return placeControl<Control>(parent, name, pixels(left), pixels(top), pixels(width),
                                 pixels(height), std::forward<Args>(args)...);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top,
                    int width, int height) {
    auto* b = placeInTwips<QPushButton>(parent, name, left, top, width, height,
                                        QString::fromLatin1(caption));
    b->setFont(arialBold(kButtonFontPoints));
    return b;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int left, int top,
                 int width, int height) {
    return placeInTwips<QGroupBox>(parent, name, left, top, width, height,
                                   QString::fromLatin1(caption));
}

// The columns keep the source's field order.
QListWidget* list(QWidget* frame, const char* name, int left, int top, int width, int height) {
    auto* l = placeInTwips<TableListWidget>(frame, name, left, top, width, height);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

}  // namespace

CustomizeWindow::CustomizeWindow(core::Platform& platform, const db::ProfileSource& profiles,
                                 bool& customizationCancelled)
    : DesignedWindow(kClientWidth, kClientHeight) {
    build();
    form_.placeAsDialog();
    fields_ = std::make_unique<WidgetListBox>(fieldsList_, false);
    dataTypes_ = std::make_unique<WidgetListBox>(dataTypesList_, false);
    typeText_ = std::make_unique<WidgetTextField>(dataTypeEdit_);
    logic_ = std::make_unique<customize::CustomizeDialogLogic>(
        platform, profiles, customizationCancelled,
        customize::CustomizeDialogControls{*fields_, *dataTypes_, *typeText_, form_},
        static_cast<customize::CustomizeWindowActions&>(*this));
    connectEvents();
}

void CustomizeWindow::build() {
    QWidget* window = form_.widget();
    window->setObjectName(QStringLiteral("Form3"));
    window->setWindowTitle(QStringLiteral("Data Type Customization"));
    window->setFont(arialBold(kFormFontPoints));

    // clang-format off
    //      control                               caption                      left  top   width height
    helpButton_ = button(window, "PushButton3", "Help",                        120,  120,  7800, 405);
    fieldsFrame_ = frame(window, "Frame1", "Fields",                           120,  570,  3840, 3660);
    fieldsList_ = list(fieldsFrame_, "List1",                                  255,  300,  3330, 3210);
    dataTypesFrame_ = frame(window, "Frame2", "Data Type",                     4080, 570,  3840, 3660);
    dataTypesList_ = list(dataTypesFrame_, "List2",                            255,  300,  3330, 3210);
    changeFrame_ = frame(window, "Frame3", "Change selected data type to",     120,  4305, 7800, 870);
    dataTypeEdit_ = placeInTwips<QLineEdit>(changeFrame_, "Text1",             240,  300,  5820, 400);
    changeButton_ = button(changeFrame_, "PushButton1", "Change",              6120, 300,  1440, 405);
    okButton_ = button(window, "PushButton2", "OK",                            120,  5310, 3840, 405);
    cancelButton_ = button(window, "PushButton4", "Cancel",                    4080, 5310, 3840, 405);
    // clang-format on
}

void CustomizeWindow::connectEvents() {
    QWidget* window = form_.widget();
    customize::CustomizeDialogLogic& logic = *logic_;

    form_.setLoadStep([&logic] { logic.load(); });
    form_.setQueryUnload([&logic] {
        bool cancel = false;
        logic.onQueryUnload(cancel);
        return cancel;
    });

    // A click on the current row, or a row reached by the keyboard, is a click as well.
    auto onClick = [&](QListWidget* list, void (customize::CustomizeDialogLogic::*handler)()) {
        QObject::connect(list, &QListWidget::currentRowChanged, window,
                         [&logic, handler] { (logic.*handler)(); });
        QObject::connect(list, &QListWidget::itemClicked, window,
                         [&logic, handler] { (logic.*handler)(); });
    };
    onClick(fieldsList_, &customize::CustomizeDialogLogic::onFieldsClicked);
    onClick(dataTypesList_, &customize::CustomizeDialogLogic::onDataTypesClicked);

    using Logic = customize::CustomizeDialogLogic;
    for (const auto& [button, onClick] :
         {std::pair{changeButton_, &Logic::onChangeClicked},
          std::pair{okButton_, &Logic::onOkClicked}, std::pair{helpButton_, &Logic::onHelpClicked},
          std::pair{cancelButton_, &Logic::onCancelClicked}})
        watchCommand(*mouseMoves_, button, logic, onClick, &Logic::pushButtonMouseMove);

    mouseMoves_->watch(window, [&logic] { logic.surfaceMouseMove(); });
    for (QGroupBox* f : {fieldsFrame_, dataTypesFrame_, changeFrame_})
        mouseMoves_->watch(f, [&logic] { logic.surfaceMouseMove(); });
    for (QListWidget* l : {fieldsList_, dataTypesList_})
        mouseMoves_->watch(l->viewport(), [&logic] { logic.surfaceMouseMove(); });
    mouseMoves_->watch(dataTypeEdit_, [&logic] { logic.surfaceMouseMove(); });
}

}  // namespace dorvane::ui
