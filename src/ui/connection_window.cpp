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
    screens::ConnectionFields fields;
    for (FieldEdit& e : fieldEdits_) {
        e.adapter = std::make_unique<WidgetTextField>(e.edit);
        fields.*e.field = e.adapter.get();
    }
    localConnection_ = std::make_unique<WidgetCheckBox>(localConnectionBox_);
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

    auto edit = [&](QWidget* parent, screens::ConnectionField field, const char* name, int x, int y,
                    int w) {
        QLineEdit* e = placeControl<QLineEdit>(parent, name, x, y, w, 23);
        fieldEdits_.push_back({field, e, nullptr});
        return e;
    };
    using F = screens::ConnectionFields;

    // The PostgreSQL profile.
    postgresFrame_ = frame(window, "Frame1", "PostgreSQL Database", 8, 8, 520, 193);
    label(postgresFrame_, "Label2", "Server:", 16, 27, 73);
    QLineEdit* postgresServer = edit(postgresFrame_, &F::postgresServer, "Text1", 88, 24, 305);
    label(postgresFrame_, "Label3", "Port:", 400, 27, 33);
    QLineEdit* postgresPort = edit(postgresFrame_, &F::postgresPort, "Text2", 432, 24, 73);
    label(postgresFrame_, "Label1", "Username:", 16, 59, 73);
    QLineEdit* postgresUser = edit(postgresFrame_, &F::postgresUser, "Text3", 88, 56, 417);
    label(postgresFrame_, "Label4", "Password:", 16, 91, 73);
    QLineEdit* postgresPassword = edit(postgresFrame_, &F::postgresPassword, "Text4", 88, 88, 417);
    label(postgresFrame_, "Label6", "Database:", 16, 123, 73);
    QLineEdit* postgresDatabase = edit(postgresFrame_, &F::postgresDatabase, "Text5", 88, 120, 417);
    testPostgresButton_ = button(postgresFrame_, "PushButton3", "Test Connection", 16, 152, 240);
    postgresHelpButton_ = button(postgresFrame_, "PushButton5", "Help", 264, 152, 240);

    // The SQL Server profile.
    mssqlFrame_ = frame(window, "Frame2", "MS SQL Server Login", 8, 206, 520, 212);
    label(mssqlFrame_, "Label7", "Server:", 16, 27, 73);
    QLineEdit* mssqlServer = edit(mssqlFrame_, &F::mssqlServer, "Text6", 88, 24, 305);
    label(mssqlFrame_, "Label10", "Port:", 408, 27, 33);
    QLineEdit* mssqlPort = edit(mssqlFrame_, &F::mssqlPort, "Text10", 440, 24, 65);
    label(mssqlFrame_, "Label5", "Username:", 16, 59, 73);
    QLineEdit* mssqlUser = edit(mssqlFrame_, &F::mssqlUser, "Text7", 88, 56, 417);
    label(mssqlFrame_, "Label9", "Password:", 16, 91, 73);
    QLineEdit* mssqlPassword = edit(mssqlFrame_, &F::mssqlPassword, "Text8", 88, 88, 417);
    label(mssqlFrame_, "Label8", "Database:", 16, 123, 65);
    QLineEdit* mssqlDatabase = edit(mssqlFrame_, &F::mssqlDatabase, "Text9", 88, 120, 417);
    localConnectionBox_ = placeControl<QCheckBox>(mssqlFrame_, "Check6", 87, 150, 130, 17,
                                                  QStringLiteral("Local Connection"));
    paintWhite(localConnectionBox_);
    testMssqlButton_ = button(mssqlFrame_, "PushButton1", "Test Connection", 16, 174, 240);
    mssqlHelpButton_ = button(mssqlFrame_, "PushButton4", "Help", 264, 174, 240);

    nextButton_ = button(window, "PushButton2", "Next >", 8, 426, 520);

    for (QLineEdit* password : {postgresPassword, mssqlPassword}) {
        password->setEchoMode(QLineEdit::Password);
        password->setStyle(starStyle);
    }

    setTabOrder({postgresServer, postgresPort, postgresUser, postgresPassword, postgresDatabase,
                 testPostgresButton_, postgresHelpButton_, mssqlServer, mssqlPort, mssqlUser,
                 mssqlPassword, mssqlDatabase, localConnectionBox_, testMssqlButton_,
                 mssqlHelpButton_, nextButton_});
    for (const FieldEdit& e : fieldEdits_) selectAllOnFocus_->watch(e.edit);
}

void ConnectionWindow::connectTo(screens::ConnectionScreen& screen) {
    QWidget* window = form_.widget();
    for (const FieldEdit& e : fieldEdits_) {
        QObject::connect(e.edit, &QLineEdit::textChanged, window,
                         [&screen, field = e.field] { screen.fieldChanged(field); });
    }
    QObject::connect(localConnectionBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.localConnectionClicked(); });

    auto onClick = [&](QPushButton* b, void (screens::ConnectionScreen::*handler)()) {
        QObject::connect(b, &QPushButton::clicked, window,
                         [&screen, handler] { (screen.*handler)(); });
        mouseMoves_->watch(b, [&screen] { screen.mouseOverCommand(); });
    };
    onClick(testMssqlButton_, &screens::ConnectionScreen::testMssqlConnection);
    onClick(nextButton_, &screens::ConnectionScreen::next);
    onClick(testPostgresButton_, &screens::ConnectionScreen::testPostgresConnection);
    onClick(mssqlHelpButton_, &screens::ConnectionScreen::showMssqlHelp);
    onClick(postgresHelpButton_, &screens::ConnectionScreen::showPostgresHelp);
    mouseMoves_->watch(localConnectionBox_, [&screen] { screen.mouseOverCommand(); });

    mouseMoves_->watch(window, [&screen] { screen.mouseOverPlainArea(); });
    for (QGroupBox* frame : {postgresFrame_, mssqlFrame_})
        mouseMoves_->watch(frame, [&screen] { screen.mouseOverPlainArea(); });
    using F = screens::ConnectionFields;
    for (const FieldEdit& e : fieldEdits_) {
        if (e.field == &F::postgresPassword) {
            mouseMoves_->watch(e.edit, [&screen] { screen.mouseOverPostgresPassword(); });
        } else if (e.field != &F::postgresUser) {  // the user name field has no pointer rule
            mouseMoves_->watch(e.edit, [&screen] { screen.mouseOverPlainArea(); });
        }
    }

    form_.setUnloadHandler([&screen] { screen.unloaded(); });
}

}  // namespace dorvane::ui
