#include "sql/postgres_statements.h"

#include <stdexcept>

#include <QList>

#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "sql/value_text.h"

namespace dorvane::sql::to_postgres {

QString selectStatement(const QString& sourceTable) {
    return QStringLiteral("SELECT * FROM ") + doubleQuotedName(sourceTable);
}

QString columnHead(const QString& table) {
    return QStringLiteral("CREATE TABLE ") + doubleQuotedName(table) + u'(';
}

void appendColumn(QString& sql, const QString& fieldName, const CopyColumn& copy) {
    appendDoubleQuotedName(sql, fieldName);
    sql += u' ';
    sql += QLatin1StringView(copy.type);
    sql += u',';
}

QString dropStatement(const QString& table) {
    return QStringLiteral("DROP TABLE ") + doubleQuotedName(table);
}

QString countStatement(const QString& table) {
    return QStringLiteral("SELECT count(*) FROM ") + doubleQuotedName(table);
}

QString renameStatement(const QString& oldName, const QString& newName) {
    return QStringLiteral("ALTER TABLE ") + doubleQuotedName(oldName) +
           QStringLiteral(" RENAME TO ") + doubleQuotedName(newName) + u';';
}

void checkNameFits(QStringView name) {
    const qsizetype bytes = name.toUtf8().size();
    if (bytes <= kMaxNameBytes) return;
    throw std::runtime_error(
        QStringLiteral("The name %1 is %2 bytes long. PostgreSQL keeps only "
                       "the first %3 bytes of a name, so the table is not "
                       "created.")
            .arg(name.toString(), QString::number(bytes), QString::number(kMaxNameBytes))
            .toStdString());
}

std::vector<bool> unquotedColumns(QStringView numericList, int fieldCount) {
    std::vector<bool> unquoted(fieldCount > 0 ? fieldCount : 0, false);
    const auto items = numericList.split(u',');
    // A list without a comma names no column.
    if (items.size() <= 1) return unquoted;
    qsizetype position = 0;
    for (int field = 0; field < fieldCount && position < items.size(); ++field) {
        bool isNumber = false;
        const int named = items[position].trimmed().toInt(&isNumber);
        if (isNumber && named == field) {
            unquoted[field] = true;
            ++position;
        }
    }
    return unquoted;
}

std::vector<bool> unquotedColumns(const std::vector<bool>& numericList, int fieldCount) {
    std::vector<bool> unquoted(numericList);
    unquoted.resize(fieldCount > 0 ? fieldCount : 0, false);
    return unquoted;
}

void startInsert(QString& sql, const QString& table) {
    sql.resize(0);  // keeps the capacity of earlier rows
    sql += u"INSERT INTO ";
    appendDoubleQuotedName(sql, table);
    sql += u" VALUES(";
}

namespace {

void appendNull(QString& sql, bool firstColumn) {
    // The blank after the previous comma goes: the NULL joins it directly.
    if (!firstColumn) sql.chop(1);
    sql += u"NULL, ";
}

bool isTextKind(db::Value::Kind kind) {
    return kind == db::Value::Kind::Text || kind == db::Value::Kind::Decimal ||
           kind == db::Value::Kind::Guid;
}

}  // namespace

void appendValue(QString& sql, const db::Value& value, bool unquoted, bool firstColumn) {
    if (value.isNull()) return appendNull(sql, firstColumn);
    if (isTextKind(value.kind())) {
        const QString& text = value.asString();
        if (unquoted && text.isEmpty()) return appendNull(sql, firstColumn);
        if (unquoted && readsAsSqlNumber(text)) {
            // Digits, a sign, a point: nothing to double. Anything else goes in quotes
            // below: a value must never be read as SQL, and the server then judges the
            // text against the column type.
            sql += text;
        } else {
            appendPostgresLiteral(sql, text);
        }
        sql += u", ";
        return;
    }
    // Numbers, times and the like are written straight into the statement and put in
    // quotes there: no string of their own for every value of every row. Only the
    // text of binary values ("\\x...") holds a character a literal must escape.
    if (!unquoted && value.kind() != db::Value::Kind::Binary) {
        sql += u'\'';
        appendValueText(sql, value);
        sql += u"', ";
        return;
    }
    const qsizetype start = sql.size();
    appendValueText(sql, value);
    const QStringView text = QStringView(sql).sliced(start);
    if (unquoted && text.isEmpty()) {
        sql.truncate(start);
        return appendNull(sql, firstColumn);
    }
    if (unquoted && readsAsSqlNumber(text)) {  // digits, a sign, a point: nothing to double
        sql += u", ";
        return;
    }
    if (text.contains(u'\\') || text.contains(u'\'')) {
        const QString written = text.toString();
        sql.truncate(start);
        appendPostgresLiteral(sql, written);
    } else {
        sql.insert(start, u'\'');
        sql += u'\'';
    }
    sql += u", ";
}

void closeInsert(QString& sql) {
    sql.chop(2);
    sql += u')';
}

CreateTable createTableStatement(const QString& table, std::span<const db::FieldInfo> fields) {
    CreateTable out{columnHead(table), {}};
    PiecesAtOnce steps;
    appendColumnList(out.sql, FieldList{fields}, steps, out.numericList);
    return out;
}

QString insertStatement(const QString& table, std::span<const db::Value> row,
                        const std::vector<bool>& unquoted) {
    QString sql;
    const RowValues values{row};
    PiecesAtOnce steps;
    buildInsert(sql, table, values, steps, unquoted);
    return sql;
}

QString identityRestartStatement(const QString& table, const QString& column) {
    return QStringLiteral("SELECT setval(pg_get_serial_sequence(") +
           singleQuotedText(doubleQuotedName(table)) + QStringLiteral(", ") +
           singleQuotedText(column) + QStringLiteral("), coalesce(max(") +
           doubleQuotedName(column) + QStringLiteral("), 0) + 1, false) FROM ") +
           doubleQuotedName(table);
}

}  // namespace dorvane::sql::to_postgres
