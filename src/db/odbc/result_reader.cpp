#include "db/odbc/result_reader.h"

#include <sqlext.h>

#include <array>
#include <vector>

#include "db/odbc/fetch_window.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/odbc/postgres_date_query.h"
#include "db/odbc/row_fetcher.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

QString columnName(SQLHSTMT statement, SQLUSMALLINT column, OdbcColumn& odbc, bool& takesNull) {
    std::vector<SQLWCHAR> name(256);
    SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    for (;;) {
        const SQLRETURN rc =
            SQLDescribeColW(statement, column, name.data(), static_cast<SQLSMALLINT>(name.size()),
                            &nameLength, &sqlType, &size, &digits, &nullable);
        checkOdbc(rc, SQL_HANDLE_STMT, statement, "SQLDescribeCol");
        if (nameLength < static_cast<SQLSMALLINT>(name.size())) break;
        name.resize(static_cast<std::size_t>(nameLength) + 1);
    }
    odbc.sqlType = sqlType;
    odbc.columnSize = size;
    odbc.decimalDigits = digits;
    takesNull = nullable != SQL_NO_NULLS;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()), nameLength);
}

QString typeName(SQLHSTMT statement, SQLUSMALLINT column) {
    std::array<SQLWCHAR, 128> name{};
    SQLSMALLINT bytes = 0;
    checkOdbc(SQLColAttributeW(statement, column, SQL_DESC_TYPE_NAME, name.data(),
                               static_cast<SQLSMALLINT>(sizeof name), &bytes, nullptr),
              SQL_HANDLE_STMT, statement, "SQLColAttribute(TYPE_NAME)");
    const auto length = std::min<qsizetype>(bytes / sizeof(SQLWCHAR), name.size() - 1);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()), length);
}

bool isUnsigned(SQLHSTMT statement, SQLUSMALLINT column) {
    SQLLEN flag = SQL_FALSE;
    checkOdbc(SQLColAttributeW(statement, column, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &flag),
              SQL_HANDLE_STMT, statement, "SQLColAttribute(UNSIGNED)");
    return flag == SQL_TRUE;
}

DescribedColumns describeColumns(SQLHSTMT statement, SQLSMALLINT count) {
    DescribedColumns result;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        OdbcColumn odbc;
        FieldInfo field;
        field.name = columnName(statement, column, odbc, field.nullable);
        odbc.typeName = typeName(statement, column);
        odbc.isUnsigned = isUnsigned(statement, column);
        field.typeName = odbc.typeName;
        const ColumnType type = translateColumnType(odbc);
        field.adoType = type.adoType;
        field.precision = type.precision;
        field.scale = type.scale;
        result.fields.push_back(std::move(field));
        result.kinds.push_back(type.fetch);
    }
    return result;
}

SQLSMALLINT resultColumns(SQLHSTMT statement) {
    SQLSMALLINT count = 0;
    checkOdbc(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement, "SQLNumResultCols");
    return count;
}

// False when there is no further result.
bool nextResult(SQLHSTMT statement) {
    const SQLRETURN rc = SQLMoreResults(statement);
    checkOdbc(rc, SQL_HANDLE_STMT, statement, "SQLMoreResults");
    return rc != SQL_NO_DATA;
}

std::unique_ptr<RowSource> readRows(SQLHDBC connection, SQLHSTMT statement,
                                    DescribedColumns columns, std::size_t rowMemoryBound,
                                    FetchWindow* window = nullptr) {
    RowBuffer rows(rowMemoryBound);
    RowFetcher fetcher(connection, statement, columns.kinds);
    while (const std::optional<std::size_t> rowBytes =
               fetcher.fetchRow(rows, window ? window->rows() : 0)) {
        if (window) window->rowRead(*rowBytes);
    }
    return std::make_unique<BufferedRows>(std::move(columns.fields), std::move(rows));
}

void executeDirect(SQLHSTMT statement, const QString& sql) {
    // The driver only reads the text, so it gets the string's own buffer, not a copy.
    auto* text = const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(sql.utf16()));
    checkOdbc(SQLExecDirectW(statement, text, static_cast<SQLINTEGER>(sql.size())), SQL_HANDLE_STMT,
              statement, "SQLExecDirect");
}

}  // namespace

void finishResults(SQLHSTMT statement) {
    while (nextResult(statement)) {
    }
}

namespace {

OdbcHandle executeDescribed(OdbcConnection& connection, const QString& sql, int queryTimeoutSeconds,
                            DescribedColumns& columns) {
    OdbcHandle statement = connection.newStatement(queryTimeoutSeconds);
    executeDirect(statement.get(), sql);
    SQLSMALLINT count = resultColumns(statement.get());
    // Row counts of statements before the query come as results without columns.
    while (count == 0 && nextResult(statement.get())) count = resultColumns(statement.get());
    columns = count == 0 ? DescribedColumns() : describeColumns(statement.get(), count);
    return statement;
}

// The columns of a query PostgreSQL can run inside another, learnt without reading a
// row; empty when it cannot, or the server refuses (the query itself then tells why).
DescribedColumns describeOnly(OdbcConnection& connection, const QString& wrappable,
                              int queryTimeoutSeconds) {
    DescribedColumns columns;
    try {
        executeDescribed(connection, describingQuery(wrappable), queryTimeoutSeconds, columns);
    } catch (const DbError&) {
        return DescribedColumns();
    }
    return columns;
}

// Runs a PostgreSQL query with its dates and timestamps read as the server's own text,
// described as the query describes them; a null handle when there are none to read so,
// or the query cannot be wrapped.
OdbcHandle executeWithDatesAsText(OdbcConnection& connection, const QString& sql,
                                  int queryTimeoutSeconds, DescribedColumns& columns) {
    const QString wrappable = wrappableQuery(sql);
    if (wrappable.isEmpty()) return OdbcHandle();
    DescribedColumns described = describeOnly(connection, wrappable, queryTimeoutSeconds);
    if (!hasDateColumns(described.kinds)) return OdbcHandle();
    const QString textQuery = datesAsTextQuery(wrappable, described.kinds);
    OdbcHandle statement = connection.newStatement(queryTimeoutSeconds);
    executeDirect(statement.get(), textQuery);
    if (static_cast<std::size_t>(resultColumns(statement.get())) != described.fields.size())
        throw DbError(QStringLiteral("The query's columns changed while it was read."));
    columns = std::move(described);
    return statement;
}

}  // namespace

OdbcHandle executeForRows(OdbcConnection& connection, ServerKind kind, const QString& sql,
                          int queryTimeoutSeconds, DescribedColumns& columns) {
    if (kind == ServerKind::Postgres) {
        if (OdbcHandle statement =
                executeWithDatesAsText(connection, sql, queryTimeoutSeconds, columns);
            statement.get() != SQL_NULL_HANDLE)
            return statement;
    }
    return executeDescribed(connection, sql, queryTimeoutSeconds, columns);
}

void executeDiscarding(OdbcConnection& connection, const QString& sql, int queryTimeoutSeconds) {
    OdbcHandle statement = connection.newStatement(queryTimeoutSeconds);
    executeDirect(statement.get(), sql);
    finishResults(statement.get());
}

std::unique_ptr<RowSource> executeReading(OdbcConnection& connection, ServerKind kind,
                                          const QString& sql, int queryTimeoutSeconds,
                                          std::size_t rowMemoryBound) {
    FetchWindow window(connection, kind);
    DescribedColumns columns;
    OdbcHandle statement = executeForRows(connection, kind, sql, queryTimeoutSeconds, columns);
    if (columns.fields.empty())
        return std::make_unique<BufferedRows>(std::vector<FieldInfo>(), RowBuffer(rowMemoryBound));
    auto rows =
        readRows(connection.handle(), statement.get(), std::move(columns), rowMemoryBound, &window);
    finishResults(statement.get());
    return rows;
}

std::unique_ptr<RowSource> readTablesCatalogue(OdbcConnection& connection, int queryTimeoutSeconds,
                                               std::size_t rowMemoryBound) {
    OdbcHandle statement = connection.newStatement(queryTimeoutSeconds);
    checkOdbc(SQLTablesW(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0),
              SQL_HANDLE_STMT, statement.get(), "SQLTables");
    DescribedColumns columns = describeColumns(statement.get(), resultColumns(statement.get()));
    // The catalogue's first five columns under the names callers look for, whatever
    // the driver's ODBC version calls them (TABLE_QUALIFIER, TABLE_OWNER in ODBC 2).
    static const std::array<QString, 5> kNames{
        QStringLiteral("TABLE_CATALOG"), QStringLiteral("TABLE_SCHEMA"),
        QStringLiteral("TABLE_NAME"), QStringLiteral("TABLE_TYPE"), QStringLiteral("DESCRIPTION")};
    for (std::size_t i = 0; i < kNames.size() && i < columns.fields.size(); ++i)
        columns.fields[i].name = kNames[i];
    return readRows(connection.handle(), statement.get(), std::move(columns), rowMemoryBound);
}

}  // namespace dorvane::db
