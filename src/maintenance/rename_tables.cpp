// "Rename Table" on both sides: the user types the new name into an input box that
// offers the old one; the list entry is replaced by the new name.

#include <optional>

#include "app/procedure.h"
#include "db/connection.h"
#include "maintenance/table_maintenance.h"
#include "transfer/sql_quoting.h"

namespace dorvane {
namespace {
QString renamePrompt(const QString& oldName) {
    return QStringLiteral("Enter new name of ") + oldName + u':';
}
}  // namespace

void renameMssqlTable(CommandContext& context) {
    Procedure p(context.platform, QStringLiteral("Form2"), QStringLiteral("PushButton6_Click"));
    ListBox& list1 = context.form2.list1;
    Platform& platform = context.platform;
    std::optional<db::Connection> connection;

    p.step(100, [&] { connection.emplace(); });
    if (p.test(102, [&] { return list1.currentIndex() == -1; })) {
        p.step(142, [&] { platform.messageBox(QStringLiteral("Please select a table")); });
        return;
    }
    QString oldName;
    int index = 0;
    std::int16_t selectedCount = 0;
    int count = 0;
    p.step(104, [&] { count = list1.count(); });
    for (int i = 0; i < count; ++i) {
        if (p.test(106, [&] { return list1.selected(i); })) {
            p.step(108, [&] { oldName = list1.text(i); });
            p.step(110, [&] { index = i; });
            p.step(112, [&] { ++selectedCount; });
        }
    }
    if (p.test(116, [&] { return selectedCount != 1; })) {
        p.step(140, [&] {
            platform.messageBox(QStringLiteral("Please select just one table to rename"));
        });
        return;
    }
    p.step(118, [&] { context.form2.pointer.setPointer(MousePointer::Busy); });
    QString newName;
    p.step(120, [&] { newName = platform.inputBox(renamePrompt(oldName), oldName); });
    if (p.test(122, [&] { return newName.isEmpty(); })) {
        p.step(122, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
        return;
    }
    const db::MssqlProfile profile = context.profiles.mssql();
    if (p.test(124, [&] { return profile.localConnection; })) {
        p.step(126, [&] { connection->open(db::mssqlLocalConnectionString(profile)); });
    } else {
        p.step(128, [&] { connection->open(db::mssqlPortConnectionString(profile)); });
    }
    p.step(130, [&] {
        connection->execute(QStringLiteral("sp_rename ") + singleQuotedText(oldName) +
                            QStringLiteral(", ") + singleQuotedText(newName));
    });
    p.step(132, [&] { connection->close(); });
    p.step(134, [&] { list1.remove(index); });
    p.step(136, [&] { list1.add(newName); });
    p.step(138, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
}

void renamePostgresTable(CommandContext& context) {
    Procedure p(context.platform, QStringLiteral("Form2"), QStringLiteral("PushButton7_Click"));
    ListBox& list2 = context.form2.list2;
    Platform& platform = context.platform;
    std::optional<db::Connection> connection;

    p.step(100, [&] { connection.emplace(); });
    p.step(102, [&] { context.form2.pointer.setPointer(MousePointer::Busy); });
    p.step(104, [&] { connection->open(db::postgresConnectionString(context.profiles.postgres())); });
    const auto restorePointer = [&] {
        p.step(134, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
    };
    if (p.test(106, [&] { return list2.currentIndex() == -1; })) {
        p.step(132, [&] { platform.messageBox(QStringLiteral("Please select a table to rename.")); });
        restorePointer();
        return;
    }
    if (p.test(108, [&] { return list2.selectedCount() != 1; })) {
        p.step(130, [&] {
            platform.messageBox(QStringLiteral("Please select just one table to rename."));
        });
        restorePointer();
        return;
    }
    int count = 0;
    p.step(110, [&] { count = list2.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (!p.test(112, [&] { return list2.selected(i); })) continue;
        QString oldName;
        QString newName;
        p.step(114, [&] { oldName = list2.text(i); });
        p.step(116, [&] { newName = platform.inputBox(renamePrompt(oldName), oldName); });
        if (p.test(118, [&] { return newName.isEmpty(); })) continue;
        p.step(120, [&] {
            connection->execute(QStringLiteral("ALTER TABLE ") + doubleQuotedName(oldName) +
                                QStringLiteral(" RENAME TO ") + doubleQuotedName(newName) + u';');
        });
        p.step(122, [&] { list2.remove(i); });
        p.step(124, [&] { list2.add(newName); });
        p.step(126, [&] {
            if (list2.count() > 0) list2.setCurrentIndex(0);
        });
    }
    restorePointer();
}

}  // namespace dorvane
