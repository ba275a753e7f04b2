#include "ui/transfer_window.h"

#include <QGroupBox>
#include <QPushButton>
#include <QShortcut>

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

// Under its side's frame, below "< Back" and "Help", in the columns of "Select All" and
// "Deselect All".
QCheckBox* copyOptionBox(QWidget* window, const char* name, int left, const QString& caption,
                         const QString& toolTip) {
    auto* box = placeControl<QCheckBox>(window, name, left, screens::kFastCopyRowTopPixels, 107,
                                        screens::kFastCopyRowHeightPixels, caption);
    box->setToolTip(toolTip);
    return box;
}

QCheckBox* fastCopyBox(QWidget* window, const char* name, int frameLeft) {
    return copyOptionBox(
        window, name, frameLeft + 16, QStringLiteral("Fast copy"),
        QStringLiteral("Each table in one transaction: it arrives whole, or not at all"));
}

QCheckBox* naturalTypesBox(QWidget* window, const char* name, int frameLeft) {
    return copyOptionBox(
        window, name, frameLeft + 131, QStringLiteral("Natural types"),
        QStringLiteral(
            "Keep the source's column types, sizes, NULL rules, primary key and identity"));
}

// The object names and captions of one side's frame; both frames share one layout.
struct TableFrameDesign {
    const char* frame;
    const char* caption;
    int left;
    const char* list;
    const char* selectAll;
    const char* deselectAll;
    const char* send;
    const char* sendCaption;
    const char* customizationBox;
    const char* remove;
    const char* rename;
};

TableFrameWidgets tableFrame(QWidget* window, const TableFrameDesign& d) {
    QGroupBox* f = frame(window, d.frame, d.caption, d.left);
    return {f,
            tableList(f, d.list),
            button(f, d.selectAll, "Select All", 16, 140, 107),
            button(f, d.deselectAll, "Deselect All", 131, 140, 107),
            button(f, d.send, d.sendCaption, 16, 173, 222),
            customizationBox(f, d.customizationBox),
            button(f, d.remove, "Delete Table/s", 16, 240, 222),
            button(f, d.rename, "Rename Table", 16, 273, 222)};
}

}  // namespace

TransferWindow::TransferWindow() : DesignedWindow(kClientWidth, kClientHeight) {
    build();
    mssqlTables_ = std::make_unique<WidgetListBox>(mssqlFrame_.list);
    postgresTables_ = std::make_unique<WidgetListBox>(postgresFrame_.list);
    customizeToPostgres_ = std::make_unique<WidgetCheckBox>(mssqlFrame_.customizationBox);
    customizeToSqlServer_ = std::make_unique<WidgetCheckBox>(postgresFrame_.customizationBox);
    fastCopyToPostgres_ = std::make_unique<WidgetCheckBox>(fastCopyToPostgresBox_);
    fastCopyToSqlServer_ = std::make_unique<WidgetCheckBox>(fastCopyToSqlServerBox_);
    naturalTypesToPostgres_ = std::make_unique<WidgetCheckBox>(naturalTypesToPostgresBox_);
    naturalTypesToSqlServer_ = std::make_unique<WidgetCheckBox>(naturalTypesToSqlServerBox_);
    progress_ = std::make_unique<WidgetProgressBar>(progressBar_);
    controls_ = std::make_unique<transfer::TransferScreenControls>(transfer::TransferScreenControls{
        *mssqlTables_, *postgresTables_, *customizeToPostgres_, *customizeToSqlServer_, *progress_,
        form_, fastCopyToPostgres_.get(), fastCopyToSqlServer_.get(), naturalTypesToPostgres_.get(),
        naturalTypesToSqlServer_.get()});
}

void TransferWindow::build() {
    QWidget* window = form_.widget();
    window->setObjectName(QStringLiteral("Form2"));
    window->setFont(arialBold(kFormFontPoints));

    // SQL Server tables on the left, PostgreSQL tables on the right.
    mssqlFrame_ = tableFrame(window, {"Frame2", "MS SQL Server Tables", 8, "List1", "PushButton10",
                                      "PushButton11", "PushButton3", "Send Table/s To PostgreSQL",
                                      "Check15", "PushButton1", "PushButton6"});
    postgresFrame_ = tableFrame(window, {"Frame1", "PostgreSQL Tables", 272, "List2", "PushButton8",
                                         "PushButton9", "PushButton4", "Send Table/s To SQL Server",
                                         "Check16", "PushButton5", "PushButton7"});

    progressBar_ = placeControl<QProgressBar>(window, "ProgressBar1", 8, 329, 520, 27);
    backButton_ = button(window, "PushButton2", "< Back", 8, screens::kBackButtonTopPixels, 256);
    helpButton_ = button(window, "PushButton12", "Help", 272, 364, 256);
    fastCopyToPostgresBox_ = fastCopyBox(window, "Check17", 8);
    fastCopyToSqlServerBox_ = fastCopyBox(window, "Check18", 272);
    naturalTypesToPostgresBox_ = naturalTypesBox(window, "Check19", 8);
    naturalTypesToSqlServerBox_ = naturalTypesBox(window, "Check20", 272);

    const TableFrameWidgets& mssql = mssqlFrame_;
    const TableFrameWidgets& postgres = postgresFrame_;
    setTabOrder({mssql.list,
                 postgres.list,
                 mssql.selectAll,
                 mssql.deselectAll,
                 mssql.send,
                 mssql.remove,
                 mssql.rename,
                 postgres.selectAll,
                 postgres.deselectAll,
                 postgres.send,
                 postgres.remove,
                 postgres.rename,
                 backButton_,
                 mssql.customizationBox,
                 postgres.customizationBox,
                 helpButton_,
                 fastCopyToPostgresBox_,
                 naturalTypesToPostgresBox_,
                 fastCopyToSqlServerBox_,
                 naturalTypesToSqlServerBox_});
}

void TransferWindow::connectTo(screens::TransferScreen& screen) {
    QWidget* window = form_.widget();
    auto onClick = [&](QPushButton* b, std::function<void()> handler) {
        QObject::connect(b, &QPushButton::clicked, window, std::move(handler));
        mouseMoves_->watch(b, [&screen] { screen.mouseOverCommand(); });
    };
    using screens::TableSide;
    const TableFrameWidgets& mssql = mssqlFrame_;
    const TableFrameWidgets& postgres = postgresFrame_;
    onClick(mssql.remove, [&screen] { screen.deleteTables(TableSide::SqlServer); });
    onClick(backButton_, [&screen] { screen.back(); });
    onClick(mssql.send, [&screen] { screen.sendToPostgres(); });
    onClick(postgres.send, [&screen] { screen.sendToSqlServer(); });
    onClick(postgres.remove, [&screen] { screen.deleteTables(TableSide::Postgres); });
    onClick(mssql.rename, [&screen] { screen.renameTable(TableSide::SqlServer); });
    onClick(postgres.rename, [&screen] { screen.renameTable(TableSide::Postgres); });
    onClick(postgres.selectAll, [&screen] { screen.selectAll(TableSide::Postgres); });
    onClick(postgres.deselectAll, [&screen] { screen.deselectAll(TableSide::Postgres); });
    onClick(mssql.selectAll, [&screen] { screen.selectAll(TableSide::SqlServer); });
    onClick(mssql.deselectAll, [&screen] { screen.deselectAll(TableSide::SqlServer); });
    onClick(helpButton_, [&screen] { screen.showHelp(); });

    QObject::connect(mssql.customizationBox, &QCheckBox::toggled, window,
                     [&screen] { screen.customizationBoxClicked(TableSide::SqlServer); });
    QObject::connect(postgres.customizationBox, &QCheckBox::toggled, window,
                     [&screen] { screen.customizationBoxClicked(TableSide::Postgres); });
    QObject::connect(fastCopyToPostgresBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.fastCopyBoxClicked(TableSide::SqlServer); });
    QObject::connect(fastCopyToSqlServerBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.fastCopyBoxClicked(TableSide::Postgres); });
    QObject::connect(naturalTypesToPostgresBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.naturalTypesBoxClicked(TableSide::SqlServer); });
    QObject::connect(naturalTypesToSqlServerBox_, &QCheckBox::toggled, window,
                     [&screen] { screen.naturalTypesBoxClicked(TableSide::Postgres); });

    auto plain = [&screen] { screen.mouseOverPlainArea(); };
    mouseMoves_->watch(window, plain);
    mouseMoves_->watch(postgres.frame, plain);
    mouseMoves_->watch(mssql.frame, plain);
    mouseMoves_->watch(mssql.list->viewport(), plain);
    mouseMoves_->watch(postgres.list->viewport(), plain);

    // Esc anywhere in the window, whichever control has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, [&screen] { screen.escapePressed(); });

    form_.setQueryUnload([&screen] { return screen.queryUnload(); });
    form_.setUnloadHandler([&screen] { screen.unloaded(); });
}

}  // namespace dorvane::ui
