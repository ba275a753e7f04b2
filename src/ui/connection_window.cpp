#include "ui/connection_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>

#include "ui/form_layout.h"

namespace dorvane::ui {
namespace {

// Passwords show one "*" per character, whatever the style's own mask.
class StarPasswordStyle : public QProxyStyle {
  public:
    StarPasswordStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLabel* label(QWidget* frame, const char* name, const char* caption, int x, int y, int w) {
    auto* l = placeControl<QLabel>(frame, name, x, y, w, 17, QString::fromLatin1(caption));
    paintWhite(l);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
    auto* b = placeControl<QPushButton>(parent, name, x, y, w, 27, QString::fromLatin1(caption));
    b->setFont(arialBold(kButtonFontPoints));
    return b;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                 int h) {
    auto* f = placeControl<QGroupBox>(parent, name, x, y, w, h, QString::fromLatin1(caption));
    paintWhite(f);
    return f;
}

}  // namespace

ConnectionWindow::ConnectionWindow()
    : form_(kClientWidth, kClientHeight),
      mouseMoves_(new MouseMoveHooks(form_.widget())),
      selectAllOnFocus_(new SelectAllOnFocus(form_.widget())) {
    build();
    for (int i = 0; i < 10; ++i) texts_[i] = std::make_unique<WidgetTextField>(edits_[i]);
    localConnection_ = std::make_unique<WidgetCheckBox>(localConnectionBox_);
    std::array<core::TextField*, 10> fields{};
    for (int i = 0; i < 10; ++i) fields[i] = texts_[i].get();
    controls_ = std::make_unique<screens::ConnectionScreenControls>(
        screens::ConnectionScreenControls{form_, fields, *localConnection_});
}

void ConnectionWindow::build() {
    QWidget* window = form_.widget();
    window->setObjectName(QStringLiteral("Form1"));
    window->setFont(arialBold(kFormFontPoints));
    paintWhite(window);
    auto* starStyle = new StarPasswordStyle;
    starStyle->setParent(window);

    auto edit = [&](QWidget* parent, int number, int x, int y, int w) {
        const QByteArray name = "Text" + QByteArray::number(number);
        QLineEdit* e = placeControl<QLineEdit>(parent, name.constData(), x, y, w, 23);
        edits_[number - 1] = e;
        return e;
    };

    // The PostgreSQL profile.
    QGroupBox* frame1 = frame(window, "Frame1", "PostgreSQL Database", 8, 8, 520, 193);
    label(frame1, "Label2", "Server:", 16, 27, 73);
    edit(frame1, 1, 88, 24, 305);
    label(frame1, "Label3", "Port:", 400, 27, 33);
    edit(frame1, 2, 432, 24, 73);
    label(frame1, "Label1", "Username:", 16, 59, 73);
    edit(frame1, 3, 88, 56, 417);
    label(frame1, "Label4", "Password:", 16, 91, 73);
    edit(frame1, 4, 88, 88, 417);
    label(frame1, "Label6", "Database:", 16, 123, 73);
    edit(frame1, 5, 88, 120, 417);
    QPushButton* pushButton3 = button(frame1, "PushButton3", "Test Connection", 16, 152, 240);
    QPushButton* pushButton5 = button(frame1, "PushButton5", "Help", 264, 152, 240);

    // The SQL Server profile.
    QGroupBox* frame2 = frame(window, "Frame2", "MS SQL Server Login", 8, 206, 520, 212);
    label(frame2, "Label7", "Server:", 16, 27, 73);
    edit(frame2, 6, 88, 24, 305);
    label(frame2, "Label10", "Port:", 408, 27, 33);
    edit(frame2, 10, 440, 24, 65);
    label(frame2, "Label5", "Username:", 16, 59, 73);
    edit(frame2, 7, 88, 56, 417);
    label(frame2, "Label9", "Password:", 16, 91, 73);
    edit(frame2, 8, 88, 88, 417);
    label(frame2, "Label8", "Database:", 16, 123, 65);
    edit(frame2, 9, 88, 120, 417);
    localConnectionBox_ = placeControl<QCheckBox>(frame2, "Check6", 87, 150, 130, 17,
                                                  QStringLiteral("Local Connection"));
    paintWhite(localConnectionBox_);
    QPushButton* pushButton1 = button(frame2, "PushButton1", "Test Connection", 16, 174, 240);
    QPushButton* pushButton4 = button(frame2, "PushButton4", "Help", 264, 174, 240);

    QPushButton* pushButton2 = button(window, "PushButton2", "Next >", 8, 426, 520);

    for (int password : {4, 8}) {
        edits_[password - 1]->setEchoMode(QLineEdit::Password);
        edits_[password - 1]->setStyle(starStyle);
    }

    setTabOrder({edits_[0], edits_[1], edits_[2], edits_[3], edits_[4], pushButton3, pushButton5,
                 edits_[5], edits_[9], edits_[6], edits_[7], edits_[8], localConnectionBox_,
                 pushButton1, pushButton4, pushButton2});
    for (QLineEdit* e : edits_) selectAllOnFocus_->watch(e);
}

void ConnectionWindow::connectTo(screens::ConnectionScreen& screen) {
    QWidget* window = form_.widget();
    for (int number = 1; number <= 10; ++number) {
        QObject::connect(textField(number), &QLineEdit::textChanged, window,
                         [&screen, number] { screen.textChanged(number); });
    }
    QObject::connect(localConnectionBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.localConnectionClicked(); });

    auto onClick = [&](const char* name, void (screens::ConnectionScreen::*handler)()) {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(name));
        QObject::connect(b, &QPushButton::clicked, window,
                         [&screen, handler] { (screen.*handler)(); });
        mouseMoves_->watch(b, [&screen] { screen.mouseOverCommand(); });
    };
    onClick("PushButton1", &screens::ConnectionScreen::testMssqlConnection);
    onClick("PushButton2", &screens::ConnectionScreen::next);
    onClick("PushButton3", &screens::ConnectionScreen::testPostgresConnection);
    onClick("PushButton4", &screens::ConnectionScreen::showMssqlHelp);
    onClick("PushButton5", &screens::ConnectionScreen::showPostgresHelp);
    mouseMoves_->watch(localConnectionBox_, [&screen] { screen.mouseOverCommand(); });

    mouseMoves_->watch(window, [&screen] { screen.mouseOverPlainArea(); });
    for (const char* name : {"Frame1", "Frame2"}) {
        mouseMoves_->watch(window->findChild<QWidget*>(QString::fromLatin1(name)),
                           [&screen] { screen.mouseOverPlainArea(); });
    }
    for (int number : {1, 2, 5, 6, 7, 8, 9, 10}) {
        mouseMoves_->watch(textField(number), [&screen] { screen.mouseOverPlainArea(); });
    }
    mouseMoves_->watch(textField(4), [&screen] { screen.mouseOverPostgresPassword(); });
    // Text3 has no pointer rule.

    form_.setUnloadHandler([&screen] { screen.unloaded(); });
}

}  // namespace dorvane::ui
