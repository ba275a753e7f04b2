// Shows the customization dialog with a few columns, for looking at its layout (for
// example under Xvfb with a screenshot). Closes itself after the given milliseconds.

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include "scripted_platform.h"
#include "ui/customize_window.h"

namespace {
class NoProfiles : public dorvane::db::ProfileSource {
  public:
    dorvane::db::PostgresProfile postgres() const override { return {}; }
    dorvane::db::MssqlProfile mssql() const override { return {}; }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int lifetime = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3000;
    dorvane::testing::ScriptedPlatform platform;
    NoProfiles profiles;
    bool cancelled = true;
    dorvane::ui::CustomizeWindow window(platform, profiles, cancelled);
    QTimer::singleShot(0, window.widget(), [&] {
        auto* fields = window.widget()->findChild<QListWidget*>(QStringLiteral("List1"));
        auto* types = window.widget()->findChild<QListWidget*>(QStringLiteral("List2"));
        const std::pair<const char*, const char*> columns[] = {
            {"id", "INT"},        {"name", "VARCHAR(12)"},  {"notes", "MEMO"},
            {"price", "NUMERIC"}, {"created", "timestamp"}, {"active", "bool"}};
        for (const auto& [name, type] : columns) {
            fields->addItem(QString::fromLatin1(name));
            types->addItem(QString::fromLatin1(type));
        }
        fields->setCurrentRow(1);
        window.widget()->move(20, 20);
    });
    QTimer::singleShot(lifetime, window.widget(), [&] { window.widget()->close(); });
    window.showModal();
    return 0;
}
