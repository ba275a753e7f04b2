#include "ui/transfer_window.h"

#include <QGroupBox>
#include <QPushButton>

#include "ui/form_layout.h"

namespace dorvane::ui {
namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
    auto* b = placeControl<QPushButton>(parent, name, x, y, w, 27, QString::fromLatin1(caption));
    b->setFont(arialBold(kButtonFontPoints));
    return b;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int x) {
    auto* f = placeControl<QGroupBox>(parent, name, x, 8, 256, 313, QString::fromLatin1(caption));
    paintWhite(f);
    return f;
}

TableListWidget* tableList(QWidget* frame, const char* name) {
    auto* list = placeControl<TableListWidget>(frame, name, 16, 24, 222, 109);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QCheckBox* customizationBox(QWidget* frame, const char* name) {
    auto* box = placeControl<QCheckBox>(frame, name, 16, 207, 222, 27,
                                        QStringLiteral("Send with data type customization"));
    paintWhite(box);
    return box;
}

}  // namespace

TransferWindow::TransferWindow()
    : form_(kClientWidth, kClientHeight), mouseMoves_(new MouseMoveHooks(form_.widget())) {
    build();
    form_.centreWhenFirstShown();
    mssqlTables_ = std::make_unique<WidgetListBox>(mssqlList_);
    postgresTables_ = std::make_unique<WidgetListBox>(postgresList_);
    customizeToPostgres_ = std::make_unique<WidgetCheckBox>(customizeToPostgresBox_);
    customizeToSqlServer_ = std::make_unique<WidgetCheckBox>(customizeToSqlServerBox_);
    progress_ = std::make_unique<WidgetProgressBar>(progressBar_);
    controls_ = std::make_unique<TransferScreenControls>(
        TransferScreenControls{*mssqlTables_, *postgresTables_, *customizeToPostgres_,
                               *customizeToSqlServer_, *progress_, form_});
}

void TransferWindow::build() {
    QWidget* window = form_.widget();
    window->setObjectName(QStringLiteral("Form2"));
    window->setFont(arialBold(kFormFontPoints));

    // SQL Server tables on the left; the PostgreSQL frame repeats its inner layout.
    QGroupBox* frame2 = frame(window, "Frame2", "MS SQL Server Tables", 8);
    mssqlList_ = tableList(frame2, "List1");
    QPushButton* pushButton10 = button(frame2, "PushButton10", "Select All", 16, 140, 107);
    QPushButton* pushButton11 = button(frame2, "PushButton11", "Deselect All", 131, 140, 107);
    QPushButton* pushButton3 =
        button(frame2, "PushButton3", "Send Table/s To PostgreSQL", 16, 173, 222);
    customizeToPostgresBox_ = customizationBox(frame2, "Check15");
    QPushButton* pushButton1 = button(frame2, "PushButton1", "Delete Table/s", 16, 240, 222);
    QPushButton* pushButton6 = button(frame2, "PushButton6", "Rename Table", 16, 273, 222);

    QGroupBox* frame1 = frame(window, "Frame1", "PostgreSQL Tables", 272);
    postgresList_ = tableList(frame1, "List2");
    QPushButton* pushButton8 = button(frame1, "PushButton8", "Select All", 16, 140, 107);
    QPushButton* pushButton9 = button(frame1, "PushButton9", "Deselect All", 131, 140, 107);
    QPushButton* pushButton4 =
        button(frame1, "PushButton4", "Send Table/s To SQL Server", 16, 173, 222);
    customizeToSqlServerBox_ = customizationBox(frame1, "Check16");
    QPushButton* pushButton5 = button(frame1, "PushButton5", "Delete Table/s", 16, 240, 222);
    QPushButton* pushButton7 = button(frame1, "PushButton7", "Rename Table", 16, 273, 222);

    progressBar_ = placeControl<QProgressBar>(window, "ProgressBar1", 8, 329, 520, 27);
    QPushButton* pushButton2 =
        button(window, "PushButton2", "< Back", 8, kBackButtonTopPixels, 256);
    QPushButton* pushButton12 = button(window, "PushButton12", "Help", 272, 364, 256);

    setTabOrder({mssqlList_, postgresList_, pushButton10, pushButton11, pushButton3, pushButton1,
                 pushButton6, pushButton8, pushButton9, pushButton4, pushButton5, pushButton7,
                 pushButton2, customizeToPostgresBox_, customizeToSqlServerBox_, pushButton12});
}

void TransferWindow::connectTo(TransferScreen& screen) {
    QWidget* window = form_.widget();
    auto onClick = [&](const char* name, std::function<void()> handler) {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(name));
        QObject::connect(b, &QPushButton::clicked, window, std::move(handler));
        mouseMoves_->watch(b, [&screen] { screen.mouseOverCommand(); });
    };
    onClick("PushButton1", [&screen] { screen.deleteTables(TableSide::SqlServer); });
    onClick("PushButton2", [&screen] { screen.back(); });
    onClick("PushButton3", [&screen] { screen.sendToPostgres(); });
    onClick("PushButton4", [&screen] { screen.sendToSqlServer(); });
    onClick("PushButton5", [&screen] { screen.deleteTables(TableSide::Postgres); });
    onClick("PushButton6", [&screen] { screen.renameTable(TableSide::SqlServer); });
    onClick("PushButton7", [&screen] { screen.renameTable(TableSide::Postgres); });
    onClick("PushButton8", [&screen] { screen.selectAll(TableSide::Postgres); });
    onClick("PushButton9", [&screen] { screen.deselectAll(TableSide::Postgres); });
    onClick("PushButton10", [&screen] { screen.selectAll(TableSide::SqlServer); });
    onClick("PushButton11", [&screen] { screen.deselectAll(TableSide::SqlServer); });
    onClick("PushButton12", [&screen] { screen.showHelp(); });

    QObject::connect(customizeToPostgresBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.customizationBoxClicked(TableSide::SqlServer); });
    QObject::connect(customizeToSqlServerBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.customizationBoxClicked(TableSide::Postgres); });

    auto plain = [&screen] { screen.mouseOverPlainArea(); };
    mouseMoves_->watch(window, plain);
    mouseMoves_->watch(window->findChild<QWidget*>(QStringLiteral("Frame1")), plain);
    mouseMoves_->watch(window->findChild<QWidget*>(QStringLiteral("Frame2")), plain);
    mouseMoves_->watch(mssqlList_->viewport(), plain);
    mouseMoves_->watch(postgresList_->viewport(), plain);

    form_.setUnloadHandler([&screen] { screen.unloaded(); });
}

}  // namespace dorvane::ui
