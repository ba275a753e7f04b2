#include "ui/connection_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <array>

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

using F = screens::ConnectionFields;

// One profile's field as designed: the names of its label and its line edit, and the field.
struct DesignedField {
    const char* label;
    const char* edit;
    screens::ConnectionField field;
};

// The rows of both profiles' frames, from the server to the database.
struct ProfileRow {
    const char* caption;
    DesignedField postgres;
    DesignedField mssql;
};

// clang-format off
constexpr std::array<ProfileRow, 5> kProfileRows{{
    {"Server:",   {"Label2", "Text1", &F::postgresServer},   {"Label7",  "Text6",  &F::mssqlServer}},
    {"Port:",     {"Label3", "Text2", &F::postgresPort},     {"Label10", "Text10", &F::mssqlPort}},
    {"Username:", {"Label1", "Text3", &F::postgresUser},     {"Label5",  "Text7",  &F::mssqlUser}},
    {"Password:", {"Label4", "Text4", &F::postgresPassword}, {"Label9",  "Text8",  &F::mssqlPassword}},
    {"Database:", {"Label6", "Text5", &F::postgresDatabase}, {"Label8",  "Text9",  &F::mssqlDatabase}},
}};
// clang-format on

}  // namespace

// Where a profile's frame stands, and what the two frames place differently in their rows.
struct ProfileFrameDesign {
    const char* name;
    const char* caption;
    int top;
    int height;
    int portLabelLeft;
    int portLeft;
    int databaseLabelWidth;
    DesignedField ProfileRow::*fields;
};

namespace {
// clang-format off
//                                          frame     caption                top  height  port label, field  database label
constexpr ProfileFrameDesign kPostgresFrame{"Frame1", "PostgreSQL Database", 8,   193,    400, 432,          73,  &ProfileRow::postgres};
constexpr ProfileFrameDesign kMssqlFrame   {"Frame2", "MS SQL Server Login", 206, 212,    408, 440,          65,  &ProfileRow::mssql};
// clang-format on
}  // namespace

ConnectionWindow::ConnectionWindow()
    : DesignedWindow(kClientWidth, kClientHeight),
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

    const ProfileEdits postgres = buildProfileFrame(window, kPostgresFrame);
    postgresFrame_ = postgres.frame;
    testPostgresButton_ = button(postgresFrame_, "PushButton3", "Test Connection", 16, 152, 240);
    postgresHelpButton_ = button(postgresFrame_, "PushButton5", "Help", 264, 152, 240);

    const ProfileEdits mssql = buildProfileFrame(window, kMssqlFrame);
    mssqlFrame_ = mssql.frame;
    localConnectionBox_ = placeControl<QCheckBox>(mssqlFrame_, "Check6", 87, 150, 130, 17,
                                                  QStringLiteral("Local Connection"));
    paintWhite(localConnectionBox_);
    testMssqlButton_ = button(mssqlFrame_, "PushButton1", "Test Connection", 16, 174, 240);
    mssqlHelpButton_ = button(mssqlFrame_, "PushButton4", "Help", 264, 174, 240);

    nextButton_ = button(window, "PushButton2", "Next >", 8, 426, 520);

    for (QLineEdit* password : {postgres.password, mssql.password}) {
        password->setEchoMode(QLineEdit::Password);
        password->setStyle(starStyle);
    }

    setTabOrder({postgres.server, postgres.port, postgres.user, postgres.password,
                 postgres.database, testPostgresButton_, postgresHelpButton_, mssql.server,
                 mssql.port, mssql.user, mssql.password, mssql.database, localConnectionBox_,
                 testMssqlButton_, mssqlHelpButton_, nextButton_});
    for (const FieldEdit& e : fieldEdits_) selectAllOnFocus_->watch(e.edit);
}

// The server and the port share the first row; the username, password and database follow,
// a row each. Each field but the server's ends at the frame's right margin.
ConnectionWindow::ProfileEdits ConnectionWindow::buildProfileFrame(QWidget* window,
                                                                   const ProfileFrameDesign& d) {
    constexpr int kRightMargin = 505;
    constexpr int kRowHeight = 32;
    QGroupBox* f = frame(window, d.name, d.caption, 8, d.top, 520, d.height);
    std::array<QLineEdit*, kProfileRows.size()> edits{};
    for (std::size_t i = 0; i < kProfileRows.size(); ++i) {
        const DesignedField& designed = kProfileRows[i].*d.fields;
        const bool port = i == 1;
        const int top = 24 + kRowHeight * static_cast<int>(i == 0 ? 0 : i - 1);
        const bool database = i + 1 == kProfileRows.size();
        const int labelWidth = port ? 33 : database ? d.databaseLabelWidth : 73;
        label(f, designed.label, kProfileRows[i].caption, port ? d.portLabelLeft : 16, top + 3,
              labelWidth);
        const int editLeft = port ? d.portLeft : 88;
        const int editWidth = i == 0 ? 305 : kRightMargin - editLeft;
        edits[i] = placeControl<QLineEdit>(f, designed.edit, editLeft, top, editWidth, 23);
        fieldEdits_.push_back({designed.field, edits[i], nullptr});
    }
    return {f, edits[0], edits[1], edits[2], edits[3], edits[4]};
}

void ConnectionWindow::connectTo(screens::ConnectionScreen& screen) {
    QWidget* window = form_.widget();
    for (const FieldEdit& e : fieldEdits_) {
        QObject::connect(e.edit, &QLineEdit::textChanged, window,
                         [&screen, field = e.field] { screen.fieldChanged(field); });
    }
    QObject::connect(localConnectionBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.localConnectionClicked(); });

    using Screen = screens::ConnectionScreen;
    for (const auto& [button, onClick] :
         {std::pair{testMssqlButton_, &Screen::testMssqlConnection},
          std::pair{nextButton_, &Screen::next},
          std::pair{testPostgresButton_, &Screen::testPostgresConnection},
          std::pair{mssqlHelpButton_, &Screen::showMssqlHelp},
          std::pair{postgresHelpButton_, &Screen::showPostgresHelp}})
        watchCommand(*mouseMoves_, button, screen, onClick, &Screen::mouseOverCommand);
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
