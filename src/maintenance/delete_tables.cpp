// "Delete Table/s" on both sides: one DROP per selected entry, walking the list from
// the bottom so that removing an entry never shifts one still to be visited.

#include <optional>

#include "app/procedure.h"
#include "db/connection.h"
#include "maintenance/table_maintenance.h"
#include "transfer/sql_quoting.h"

namespace dorvane {

void deleteMssqlTables(CommandContext& context) {
    Procedure p(context.platform, QStringLiteral("Form2"), QStringLiteral("PushButton1_Click"));
    ListBox& list1 = context.form2.list1;
    std::optional<db::Connection> connection;

    p.step(100, [&] { connection.emplace(); });
    if (p.test(102, [&] { return list1.currentIndex() == -1; })) {
        p.step(128, [&] { context.platform.messageBox(QStringLiteral("Please select a table")); });
        return;
    }
    p.step(104, [&] { context.form2.pointer.setPointer(MousePointer::Busy); });
    int count = 0;
    p.step(106, [&] { count = list1.count(); });
    for (int i = count - 1; i >= 0; --i) {
        p.step(108, [&] { context.platform.processEvents(); });
        if (p.test(110, [&] { return list1.selected(i); })) {
            const db::MssqlProfile profile = context.profiles.mssql();
            if (p.test(112, [&] { return profile.localConnection; })) {
                p.step(114, [&] { connection->open(db::mssqlLocalConnectionString(profile)); });
            } else {
                p.step(116, [&] { connection->open(db::mssqlPortConnectionString(profile)); });
            }
            p.step(118, [&] {
                connection->execute(QStringLiteral("DROP TABLE ") + bracketedName(list1.text(i)) +
                                    u';');
            });
            p.step(120, [&] { connection->close(); });
            p.step(122, [&] { list1.remove(i); });
        }
    }
    p.step(126, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
}

void deletePostgresTables(CommandContext& context) {
    Procedure p(context.platform, QStringLiteral("Form2"), QStringLiteral("PushButton5_Click"));
    ListBox& list2 = context.form2.list2;
    std::optional<db::Connection> connection;

    p.step(100, [&] { connection.emplace(); });
    p.step(102, [&] { context.form2.pointer.setPointer(MousePointer::Busy); });
    p.step(104, [&] { connection->open(db::postgresConnectionString(context.profiles.postgres())); });
    if (p.test(106, [&] { return list2.currentIndex() == -1; })) {
        p.step(118, [&] { context.platform.messageBox(QStringLiteral("Please select a table")); });
        p.step(120, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
        return;
    }
    int count = 0;
    p.step(108, [&] { count = list2.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (p.test(110, [&] { return list2.selected(i); })) {
            p.step(112, [&] {
                connection->execute(QStringLiteral("DROP TABLE ") + doubleQuotedName(list2.text(i)));
            });
            p.step(114, [&] { list2.remove(i); });
        }
    }
    p.step(120, [&] { context.form2.pointer.setPointer(MousePointer::Default); });
}

}  // namespace dorvane
