#include "transfer_harness.h"

#include <gtest/gtest.h>

#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"

namespace dorvane::testing {

void ScriptedDialog::showModal() {
    shown.push_back(members_);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected customization dialog for " << members_.tableName.toStdString();
        return;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    answer(members_, cancelled_);
}

ScriptedDialog::Answer ScriptedDialog::cancel() {
    return [](transfer::CustomizationMembers&, bool&) {};
}

ScriptedDialog::Answer ScriptedDialog::okUnchanged() {
    return [](transfer::CustomizationMembers&, bool& cancelled) { cancelled = false; };
}

ScriptedDialog::Answer ScriptedDialog::ok(QString sql, QString numeric) {
    return [sql, numeric](transfer::CustomizationMembers& m, bool& cancelled) {
        m.createTableSql = sql;
        m.numericColumns = numeric;
        cancelled = false;
    };
}

void TransferHarness::select(core::MemoryListBox& list, const QStringList& names) {
    for (const QString& name : names) list.add(name);
    for (const QString& name : names) {
        for (int i = 0; i < list.count(); ++i) {
            if (list.text(i) != name) continue;
            list.setSelected(i, true);
            list.setCurrentIndex(i);
        }
    }
}

namespace {

Rows readAll(db::Connection& connection, const QString& sql) {
    db::Recordset rs;
    rs.open(sql, connection);
    Rows rows;
    while (!rs.eof()) {
        std::vector<db::Value> row;
        for (int i = 0; i < rs.fieldCount(); ++i) row.push_back(rs.value(i));
        rows.push_back(std::move(row));
        rs.moveNext();
    }
    return rows;
}

}  // namespace

Rows postgresRows(const QString& sql) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(db::postgresConnectionString(postgresProfile()));
    return readAll(c, sql);
}

Rows mssqlRows(const QString& sql) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(db::mssqlConnectionString(mssqlProfile()));
    return readAll(c, sql);
}

std::vector<db::FieldInfo> postgresFields(const QString& sql) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(db::postgresConnectionString(postgresProfile()));
    db::Recordset rs;
    rs.open(sql, c);
    std::vector<db::FieldInfo> fields;
    for (int i = 0; i < rs.fieldCount(); ++i) fields.push_back(rs.field(i));
    return fields;
}

QStringList postgresColumns(const QString& table) {
    QStringList columns;
    const Rows rows =
        postgresRows(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                    "WHERE table_name = ") +
                     sql::singleQuotedText(table) + QStringLiteral(" ORDER BY ordinal_position"));
    for (const auto& row : rows) columns << sql::valueText(row[0]) + u' ' + sql::valueText(row[1]);
    return columns;
}

}  // namespace dorvane::testing
