#include "sql/natural_catalogue.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "db/odbc/recordset.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"

namespace dorvane::sql {
namespace {

QString text(const CatalogueRow& row, std::size_t i) {
    return i < row.size() && !row[i].isNull() ? valueText(row[i]) : QString();
}

qint64 number(const CatalogueRow& row, std::size_t i) {
    return text(row, i).toLongLong();
}

// The key's column names, from column `name` of its rows, in the order of column `order`.
std::vector<QString> keyColumns(std::span<const CatalogueRow> key, std::size_t name,
                                std::size_t order) {
    std::vector<std::pair<qint64, QString>> ordered;
    for (const CatalogueRow& row : key) ordered.emplace_back(number(row, order), text(row, name));
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QString> columns;
    for (auto& [position, column] : ordered) columns.push_back(column);
    return columns;
}

// A LIKE pattern matching `name` alone: SQL Server's wildcards bracketed.
QString likeOnly(const QString& name) {
    QString pattern;
    for (const QChar c : name) {
        if (c == u'_' || c == u'%' || c == u'[') {
            pattern += u'[';
            pattern += c;
            pattern += u']';
        } else {
            pattern += c;
        }
    }
    return pattern;
}

}  // namespace

namespace from_sqlserver {

// sp_columns: COLUMN_NAME 3, TYPE_NAME 5, PRECISION 6, SCALE 8, NULLABLE 10.
enum Column : std::size_t {
    TableName = 2,
    Name = 3,
    TypeName = 5,
    Precision = 6,
    Scale = 8,
    Nullable = 10
};

QString columnsStatement(const QString& table) {
    return QStringLiteral("EXEC sp_columns @table_name = N") + singleQuotedText(likeOnly(table));
}

// sp_pkeys takes the name as it is: COLUMN_NAME 3, KEY_SEQ 4.
QString primaryKeyStatement(const QString& table) {
    return QStringLiteral("EXEC sp_pkeys @table_name = N") + singleQuotedText(table);
}

SourceTable sourceTable(const QString& table, std::span<const CatalogueRow> columns,
                        std::span<const CatalogueRow> key) {
    SourceTable source;
    for (const CatalogueRow& row : columns) {
        if (text(row, TableName).compare(table, Qt::CaseInsensitive) != 0) continue;
        SourceColumn c;
        c.name = text(row, Name);
        QString type = text(row, TypeName).toLower();
        // "int identity": the type and its property.
        if (type.endsWith(u" identity")) {
            type.chop(9);
            c.identity = true;
        }
        c.type = type;
        const qint64 precision = number(row, Precision);
        // A (max) type reports some 2^30 or 2^31 characters.
        c.length = precision > 0 && precision < (qint64{1} << 30) ? precision : 0;
        c.precision = static_cast<int>(precision);
        c.scale = static_cast<int>(number(row, Scale));
        c.nullable = number(row, Nullable) != 0;
        source.columns.push_back(c);
    }
    source.primaryKey = keyColumns(key, 3, 4);
    return source;
}

}  // namespace from_sqlserver

namespace from_postgres {

enum Column : std::size_t {
    Name,
    DataType,
    Length,
    Precision,
    Scale,
    Fraction,
    Nullable,
    Identity
};

namespace {
// The schema the table's name finds, as a SELECT of it would.
QString schemaOf(const QString& table) {
    return QStringLiteral(
               "(SELECT n.nspname FROM pg_catalog.pg_class k JOIN pg_catalog.pg_namespace n ON "
               "n.oid = k.relnamespace WHERE k.oid = to_regclass(") +
           singleQuotedText(doubleQuotedName(table)) + QStringLiteral("))");
}
}  // namespace

QString columnsStatement(const QString& table) {
    return QStringLiteral(
               "SELECT column_name, data_type, character_maximum_length, numeric_precision, "
               "numeric_scale, datetime_precision, is_nullable = 'YES', is_identity = 'YES' OR "
               "coalesce(column_default LIKE 'nextval(%', false) FROM information_schema.columns "
               "WHERE table_name = ") +
           singleQuotedText(table) + QStringLiteral(" AND table_schema = ") + schemaOf(table) +
           QStringLiteral(" ORDER BY ordinal_position");
}

QString primaryKeyStatement(const QString& table) {
    return QStringLiteral(
               "SELECT a.attname, array_position(i.indkey::int2[], a.attnum) FROM "
               "pg_catalog.pg_index i JOIN pg_catalog.pg_attribute a ON "
               "a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) WHERE i.indisprimary AND "
               "i.indrelid = to_regclass(") +
           singleQuotedText(doubleQuotedName(table)) + QStringLiteral(")");
}

SourceTable sourceTable(std::span<const CatalogueRow> columns, std::span<const CatalogueRow> key) {
    SourceTable source;
    for (const CatalogueRow& row : columns) {
        SourceColumn c;
        c.name = text(row, Name);
        c.type = text(row, DataType).toLower();
        c.length = number(row, Length);
        const bool exactNumber = c.type == u"numeric";
        c.precision = exactNumber ? static_cast<int>(number(row, Precision)) : 0;
        // Times: the digits of a second's fraction, 6 unless declared.
        c.scale = exactNumber ? static_cast<int>(number(row, Scale))
                              : static_cast<int>(number(row, Fraction));
        const QString nullable = text(row, Nullable).toLower();
        c.nullable = nullable != u"false" && nullable != u"0";
        const QString identity = text(row, Identity).toLower();
        c.identity = identity == u"true" || identity == u"1";
        source.columns.push_back(c);
    }
    source.primaryKey = keyColumns(key, 0, 1);
    return source;
}

}  // namespace from_postgres

namespace {
std::vector<CatalogueRow> rowsOf(db::Connection& connection, const QString& sql) {
    std::vector<CatalogueRow> read;
    for (db::Recordset r = connection.query(sql); !r.eof(); r.moveNext()) {
        CatalogueRow& row = read.emplace_back();
        for (int i = 0; i < r.fieldCount(); ++i) row.push_back(r.value(i));
    }
    return read;
}
}  // namespace

SourceTable describeTable(db::Connection& source, bool sqlServer, const QString& table) {
    SourceTable described =
        sqlServer
            ? from_sqlserver::sourceTable(
                  table, rowsOf(source, from_sqlserver::columnsStatement(table)),
                  rowsOf(source, from_sqlserver::primaryKeyStatement(table)))
            : from_postgres::sourceTable(rowsOf(source, from_postgres::columnsStatement(table)),
                                         rowsOf(source, from_postgres::primaryKeyStatement(table)));
    if (described.columns.empty())
        throw std::runtime_error(
            QStringLiteral("The catalogue describes no column of the table %1.")
                .arg(table)
                .toStdString());
    return described;
}

}  // namespace dorvane::sql
