#include "sql/sqlserver_statements.h"

#include <algorithm>

#include "sql/sql_quoting.h"

namespace dorvane::sql::to_sqlserver {
namespace {

constexpr int kMaxPrecision = 38;
constexpr ExactSize kUnknownSize{38, 16};

}  // namespace

ExactSize exactSizeOf(const db::FieldInfo& field) {
    // psqlODBC reports a numeric declared without precision as (28,6), and some drivers
    // report no precision at all. Both get 22 integer and 16 fractional digits, which
    // also hold every value of a column really declared (28,6). Values that still do not
    // fit are refused row by row (checkExactValueFits), never rounded by the server.
    const bool unknownSize = field.precision <= 0 || (field.precision == 28 && field.scale == 6);
    if (unknownSize) return kUnknownSize;
    const int precision = std::min(field.precision, kMaxPrecision);
    return {precision, std::clamp(field.scale, 0, precision)};
}

QString selectStatement(const QString& sourceTable) {
    return QStringLiteral("SELECT * FROM ") + doubleQuotedName(sourceTable);
}

QString columnHead(const QString& table) {
    return QStringLiteral("CREATE TABLE ") + bracketedName(table) + u'(';
}

std::optional<ExactSize> appendColumn(QString& sql, const db::FieldInfo& field,
                                      const CopyColumn& copy) {
    appendBracketedName(sql, field.name);
    sql += u' ';
    sql += QLatin1StringView(copy.type);
    std::optional<ExactSize> size;
    if (copy.detail == Size::FromSource) {
        size = exactSizeOf(field);
        sql += QStringLiteral("(%1,%2)").arg(size->precision).arg(size->scale);
    }
    sql += u',';
    return size;
}

QString dropStatement(const QString& table) {
    return QStringLiteral("DROP TABLE ") + bracketedName(table);
}

QString countStatement(const QString& table) {
    return QStringLiteral("SELECT COUNT_BIG(*) FROM ") + bracketedName(table);
}

QString columnsStatement(const QString& table) {
    return QStringLiteral("SELECT * FROM ") + bracketedName(table) + QStringLiteral(" WHERE 1 = 0");
}

QString renameStatement(const QString& oldName, const QString& newName) {
    return QStringLiteral("sp_rename ") + singleQuotedText(oldName) + QStringLiteral(", ") +
           singleQuotedText(newName);
}

QString codePageStatement() {
    return QStringLiteral(
        "SELECT CONVERT(int, COLLATIONPROPERTY(CONVERT(nvarchar(128), "
        "DATABASEPROPERTYEX(DB_NAME(), 'Collation')), 'CodePage'))");
}

void startInsertHead(QString& sql, const QString& table, QStringView columns) {
    sql.resize(0);  // keeps the capacity of earlier rows
    sql += u"INSERT INTO ";
    appendBracketedName(sql, table);
    sql += columns;
    sql += u" VALUES";
}

void startRow(QString& sql, bool firstRow) {
    sql += firstRow ? u"('" : u",('";
}

void startInsert(QString& sql, const QString& table, QStringView columns) {
    startInsertHead(sql, table, columns);
    startRow(sql, true);
}

void appendValue(QString& sql, const db::Value& value, SqlServerTextForm form) {
    if (value.isNull()) {
        sql.chop(1);  // the opening quote the previous value left
        sql += u"NULL, '";
        return;
    }
    const QString text = sqlServerValueText(value, form);
    if (!isAscii(text)) {
        sql.chop(1);
        sql += u"N'";
    }
    appendWithQuotesDoubled(sql, text);
    sql += u"', '";
}

void appendBinaryConstant(QString& sql, const QByteArray& bytes) {
    sql.chop(1);  // the opening quote the previous value left
    sql += u"0x";
    sql += QLatin1StringView(bytes.toHex());
    sql += u", '";
}

void closeInsert(QString& sql) {
    sql.chop(3);
    sql += u')';
}

QString naturalSessionZoneStatement() {
    return QStringLiteral("SET TIME ZONE 'UTC'");
}

QString identityInsertStatement(const QString& table, bool on) {
    return QStringLiteral("SET IDENTITY_INSERT ") + bracketedName(table) +
           (on ? QStringLiteral(" ON") : QStringLiteral(" OFF"));
}

QString insertColumnList(const std::vector<QString>& columns) {
    QString list = QStringLiteral("(");
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) list += u", ";
        appendBracketedName(list, columns[i]);
    }
    return list + u')';
}

QString createTableStatement(const QString& table, std::span<const db::FieldInfo> fields) {
    QString sql = columnHead(table);
    std::vector<std::optional<ExactSize>> exactColumns;
    PiecesAtOnce steps;
    appendColumnList(sql, FieldList{fields}, steps, exactColumns);
    return sql;
}

QString insertStatement(const QString& table, std::span<const db::Value> row) {
    QString sql;
    const RowValues values{row};
    PiecesAtOnce steps;
    buildInsert(sql, table, values, steps, [](int) { return false; });
    return sql;
}

}  // namespace dorvane::sql::to_sqlserver
