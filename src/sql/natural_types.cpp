#include "sql/natural_types.h"

#include <algorithm>
#include <array>

#include "sql/sql_quoting.h"

namespace dorvane::sql {
namespace {

using TypeOf = QString (*)(const SourceColumn&);

struct NaturalRow {
    const char16_t* source;  // the source server's name of the type
    TypeOf target;
};

QString sized(const char* name, qint64 size) {
    return QStringLiteral("%1(%2)").arg(QLatin1StringView(name)).arg(size);
}

QString exact(const char* name, const SourceColumn& c) {
    return QStringLiteral("%1(%2,%3)").arg(QLatin1StringView(name)).arg(c.precision).arg(c.scale);
}

// Fractions of a second: PostgreSQL keeps at most 6 digits, SQL Server 7.
int fractionDigits(const SourceColumn& c, int most) {
    return std::clamp(c.scale, 0, most);
}

template <std::size_t N>
QString lookUp(const std::array<NaturalRow, N>& rows, const SourceColumn& column,
               TypeOf otherwise) {
    for (const NaturalRow& row : rows)
        if (column.type == QStringView(row.source)) return row.target(column);
    return otherwise(column);
}

// clang-format off
// SQL Server to PostgreSQL, after both servers' documentation. Where PostgreSQL keeps less
// (the seventh digit of a second, a datetimeoffset's own offset: timestamptz keeps the
// instant), the value is rounded or kept as the instant. Types PostgreSQL has no
// counterpart of arrive as text, or as bytes where the driver hands over only bytes.
const std::array<NaturalRow, 30> kToPostgres{{
    {u"bit",              [](const SourceColumn&) { return QStringLiteral("boolean"); }},
    {u"tinyint",          [](const SourceColumn&) { return QStringLiteral("smallint"); }},
    {u"smallint",         [](const SourceColumn&) { return QStringLiteral("smallint"); }},
    {u"int",              [](const SourceColumn&) { return QStringLiteral("integer"); }},
    {u"bigint",           [](const SourceColumn&) { return QStringLiteral("bigint"); }},
    {u"decimal",          [](const SourceColumn& c) { return exact("numeric", c); }},
    {u"numeric",          [](const SourceColumn& c) { return exact("numeric", c); }},
    {u"money",            [](const SourceColumn&) { return QStringLiteral("numeric(19,4)"); }},
    {u"smallmoney",       [](const SourceColumn&) { return QStringLiteral("numeric(10,4)"); }},
    {u"real",             [](const SourceColumn&) { return QStringLiteral("real"); }},
    {u"float",            [](const SourceColumn&) { return QStringLiteral("double precision"); }},
    {u"char",             [](const SourceColumn& c) { return sized("char", c.length); }},
    {u"nchar",            [](const SourceColumn& c) { return sized("char", c.length); }},
    {u"varchar",          [](const SourceColumn& c) { return c.length > 0 ? sized("varchar", c.length) : QStringLiteral("text"); }},
    {u"nvarchar",         [](const SourceColumn& c) { return c.length > 0 ? sized("varchar", c.length) : QStringLiteral("text"); }},
    {u"sysname",          [](const SourceColumn&) { return QStringLiteral("varchar(128)"); }},
    {u"text",             [](const SourceColumn&) { return QStringLiteral("text"); }},
    {u"ntext",            [](const SourceColumn&) { return QStringLiteral("text"); }},
    {u"binary",           [](const SourceColumn&) { return QStringLiteral("bytea"); }},
    {u"varbinary",        [](const SourceColumn&) { return QStringLiteral("bytea"); }},
    {u"image",            [](const SourceColumn&) { return QStringLiteral("bytea"); }},
    {u"timestamp",        [](const SourceColumn&) { return QStringLiteral("bytea"); }},  // rowversion
    {u"date",             [](const SourceColumn&) { return QStringLiteral("date"); }},
    {u"time",             [](const SourceColumn& c) { return sized("time", fractionDigits(c, 6)); }},
    {u"datetime",         [](const SourceColumn&) { return QStringLiteral("timestamp(3)"); }},
    {u"smalldatetime",    [](const SourceColumn&) { return QStringLiteral("timestamp(0)"); }},
    {u"datetime2",        [](const SourceColumn& c) { return sized("timestamp", fractionDigits(c, 6)); }},
    {u"datetimeoffset",   [](const SourceColumn& c) { return sized("timestamptz", fractionDigits(c, 6)); }},
    {u"uniqueidentifier", [](const SourceColumn&) { return QStringLiteral("uuid"); }},
    {u"xml",              [](const SourceColumn&) { return QStringLiteral("xml"); }},
}};

// PostgreSQL to SQL Server, by the names of information_schema.columns.data_type (a domain
// is its base type there). SQL Server counts text in UTF-16 units, of which a PostgreSQL
// character may take two: a varchar(n) becomes NVARCHAR(2n), NVARCHAR(MAX) past 4 000. A
// character(n) stays NCHAR(n), as NCHAR(2n) would pad every value with n more spaces; a
// value of more units than that is refused aloud. JSON, XML, arrays, enums, intervals,
// network addresses, bit strings and every other type go as PostgreSQL's text of them.
const std::array<NaturalRow, 17> kToSqlServer{{
    {u"smallint",                    [](const SourceColumn&) { return QStringLiteral("SMALLINT"); }},
    {u"integer",                     [](const SourceColumn&) { return QStringLiteral("INT"); }},
    {u"bigint",                      [](const SourceColumn&) { return QStringLiteral("BIGINT"); }},
    {u"numeric",                     [](const SourceColumn& c) {
                                         const ExactSize size = *to_sqlserver::naturalExactSize(c);
                                         return QStringLiteral("DECIMAL(%1,%2)").arg(size.precision).arg(size.scale); }},
    {u"real",                        [](const SourceColumn&) { return QStringLiteral("REAL"); }},
    {u"double precision",            [](const SourceColumn&) { return QStringLiteral("FLOAT"); }},
    {u"boolean",                     [](const SourceColumn&) { return QStringLiteral("BIT"); }},
    {u"character",                   [](const SourceColumn& c) { return c.length > 0 && c.length <= 4000 ? sized("NCHAR", c.length) : QStringLiteral("NVARCHAR(MAX)"); }},
    {u"character varying",           [](const SourceColumn& c) { return c.length > 0 && c.length <= 2000 ? sized("NVARCHAR", 2 * c.length) : QStringLiteral("NVARCHAR(MAX)"); }},
    {u"text",                        [](const SourceColumn&) { return QStringLiteral("NVARCHAR(MAX)"); }},
    {u"bytea",                       [](const SourceColumn&) { return QStringLiteral("VARBINARY(MAX)"); }},
    {u"date",                        [](const SourceColumn&) { return QStringLiteral("DATE"); }},
    {u"time without time zone",      [](const SourceColumn& c) { return sized("TIME", fractionDigits(c, 7)); }},
    {u"timestamp without time zone", [](const SourceColumn& c) { return sized("DATETIME2", fractionDigits(c, 7)); }},
    {u"timestamp with time zone",    [](const SourceColumn& c) { return sized("DATETIMEOFFSET", fractionDigits(c, 7)); }},
    {u"uuid",                        [](const SourceColumn&) { return QStringLiteral("UNIQUEIDENTIFIER"); }},
    // MONEY's range is a thousandth of PostgreSQL's: amounts beyond it are refused aloud.
    {u"money",                       [](const SourceColumn&) { return QStringLiteral("MONEY"); }},
}};
// clang-format on

// Identity keeps its counterpart's integer type: PostgreSQL's identity columns are
// integers, and an exact number of no fraction fits the narrowest that holds its digits.
QString postgresIdentityType(const SourceColumn& c, const QString& natural) {
    if (c.type != u"decimal" && c.type != u"numeric") return natural;
    return c.precision <= 9 ? QStringLiteral("integer") : QStringLiteral("bigint");
}

bool identityFits(const QString& postgresType) {
    return postgresType == u"smallint" || postgresType == u"integer" || postgresType == u"bigint";
}

template <class AppendName>
void appendPrimaryKey(QString& sql, const SourceTable& source, AppendName&& appendName) {
    if (source.primaryKey.empty()) return;
    sql += u", PRIMARY KEY (";
    for (std::size_t i = 0; i < source.primaryKey.size(); ++i) {
        if (i > 0) sql += u", ";
        appendName(sql, source.primaryKey[i]);
    }
    sql += u')';
}

// CREATE TABLE t(each column's name and definition, PRIMARY KEY (...)).
template <class AppendName, class Definition>
QString createTable(const QString& quotedTable, const SourceTable& source, AppendName&& appendName,
                    Definition&& definition) {
    QString sql = QStringLiteral("CREATE TABLE ") + quotedTable + u'(';
    for (std::size_t i = 0; i < source.columns.size(); ++i) {
        if (i > 0) sql += u", ";
        appendName(sql, source.columns[i].name);
        sql += u' ' + definition(source.columns[i]);
    }
    appendPrimaryKey(sql, source, appendName);
    sql += u')';
    return sql;
}

}  // namespace

bool SourceTable::hasIdentity() const {
    return std::any_of(columns.begin(), columns.end(),
                       [](const SourceColumn& c) { return c.identity; });
}

namespace to_postgres {

QString naturalType(const SourceColumn& column) {
    return lookUp(kToPostgres, column, [](const SourceColumn&) { return QStringLiteral("text"); });
}

QString naturalDefinition(const SourceColumn& c) {
    QString type = naturalType(c);
    if (c.identity) type = postgresIdentityType(c, type);
    QString definition = type;
    if (!c.nullable) definition += u" NOT NULL";
    // Values copied keep theirs; the identity's next value is set after the rows.
    if (c.identity && identityFits(type)) definition += u" GENERATED BY DEFAULT AS IDENTITY";
    return definition;
}

}  // namespace to_postgres

namespace to_sqlserver {

QString naturalType(const SourceColumn& column) {
    return lookUp(kToSqlServer, column,
                  [](const SourceColumn&) { return QStringLiteral("NVARCHAR(MAX)"); });
}

std::optional<ExactSize> naturalExactSize(const SourceColumn& column) {
    if (column.type != u"numeric") return std::nullopt;
    // Unconstrained, or wider than SQL Server holds: as the copy's own rule sizes a number
    // of unknown size.
    if (column.precision == 0 || column.precision > 38) return ExactSize{38, 16};
    return ExactSize{column.precision, column.scale};
}

QString naturalDefinition(const SourceColumn& c) {
    QString definition = naturalType(c);
    // Values copied keep theirs (IDENTITY_INSERT); the server moves the seed past them.
    if (c.identity) definition += u" IDENTITY(1,1)";
    // Written out: a database's defaults may make a column NOT NULL otherwise.
    definition += c.nullable ? u" NULL" : u" NOT NULL";
    return definition;
}

}  // namespace to_sqlserver

QString naturalCreateTable(bool toPostgres, const QString& table, const SourceTable& source) {
    return toPostgres ? createTable(doubleQuotedName(table), source, appendDoubleQuotedName,
                                    to_postgres::naturalDefinition)
                      : createTable(bracketedName(table), source, appendBracketedName,
                                    to_sqlserver::naturalDefinition);
}

QString naturalProposal(bool toPostgres, const SourceTable& source, std::size_t column) {
    QString text = toPostgres ? to_postgres::naturalDefinition(source.columns.at(column))
                              : to_sqlserver::naturalDefinition(source.columns.at(column));
    // A key of several columns has no place in one column's type.
    if (source.primaryKey.size() == 1 && source.primaryKey[0] == source.columns[column].name)
        text += u" PRIMARY KEY";
    return text;
}

}  // namespace dorvane::sql
