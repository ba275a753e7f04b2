#include "db/odbc/column_fetcher.h"

#include <sqlext.h>

#include <QString>
#include <algorithm>
#include <stdexcept>

#include "db/odbc/odbc_diagnostics.h"
#include "db/values/money_text.h"
#include "db/values/postgres_date_text.h"
#include "db/values/time_text.h"

namespace dorvane::db {
namespace {

constexpr std::size_t kFirstPieceUnits = 512;

constexpr std::size_t terminatorUnits(SQLSMALLINT cType) {
    return cType == SQL_C_BINARY ? 0 : 1;
}

// Year, month and day of an ODBC date or timestamp.
template <class OdbcDate>
DateTimeParts dateParts(const OdbcDate& date) {
    DateTimeParts p;
    p.year = date.year;
    p.month = date.month;
    p.day = date.day;
    return p;
}

DateTimeParts timestampParts(const SQL_TIMESTAMP_STRUCT& ts) {
    DateTimeParts p = dateParts(ts);
    p.hour = ts.hour;
    p.minute = ts.minute;
    p.second = ts.second;
    p.nanosecond = static_cast<int>(ts.fraction);  // ODBC gives nanoseconds
    return p;
}

}  // namespace

FetchForm fetchForm(FetchKind kind) {
    switch (kind) {
        case FetchKind::Integer:
            return {SQL_C_SBIGINT, sizeof(SQLBIGINT)};
        case FetchKind::Single:
        case FetchKind::Double:
            return {SQL_C_DOUBLE, sizeof(SQLDOUBLE)};
        case FetchKind::Boolean:
            // psqlODBC reports bool as character data ("1"/"0"); it converts to bit as asked.
            return {SQL_C_BIT, sizeof(unsigned char)};
        case FetchKind::Date:
            return {SQL_C_TYPE_DATE, sizeof(SQL_DATE_STRUCT)};
        case FetchKind::Timestamp:
            return {SQL_C_TYPE_TIMESTAMP, sizeof(SQL_TIMESTAMP_STRUCT)};
        case FetchKind::Binary:
            return {SQL_C_BINARY, 0};
        case FetchKind::Text:
            return {SQL_C_WCHAR, 0};
        default:
            return {SQL_C_CHAR, 0};
    }
}

void appendFixedValue(FetchKind kind, const FixedValue* value, RowBuffer& out) {
    switch (kind) {
        case FetchKind::Integer:
            return out.appendInteger(value->integer);
        case FetchKind::Single:
            return out.appendSingle(static_cast<float>(value->real));
        case FetchKind::Double:
            return out.appendDouble(value->real);
        case FetchKind::Boolean:
            return out.appendBoolean(value->bit != 0);
        case FetchKind::Date:
            return out.appendDateTime(Value::Kind::Date, dateParts(value->date));
        case FetchKind::Timestamp:
            return out.appendDateTime(Value::Kind::Timestamp, timestampParts(value->timestamp));
        default:
            throw std::logic_error("Not a value of a fixed size.");
    }
}

ColumnFetcher::ColumnFetcher(SQLHSTMT statement, std::vector<FetchKind> kinds)
    : statement_(statement), kinds_(std::move(kinds)) {}

std::size_t ColumnFetcher::fetchRow(RowBuffer& out) {
    // The buffer moves rows to its file only at the end of a row.
    const std::size_t before = out.memoryUsed();
    // SQLGetData is called for the columns in ascending order, as every driver allows.
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        fetchColumn(static_cast<SQLUSMALLINT>(i + 1), kinds_[i], out);
    const std::size_t rowBytes = out.memoryUsed() - before;
    out.endRow();
    return rowBytes;
}

bool ColumnFetcher::readFixed(SQLUSMALLINT column, SQLSMALLINT cType, void* value,
                              std::size_t bytes) {
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(statement_, column, cType, value, static_cast<SQLLEN>(bytes), &indicator);
    checkOdbc(rc, SQL_HANDLE_STMT, statement_, "SQLGetData");
    return rc != SQL_NO_DATA && indicator != SQL_NULL_DATA;
}

template <class Unit>
bool ColumnFetcher::readWhole(SQLUSMALLINT column, SQLSMALLINT cType, std::vector<Unit>& buffer,
                              std::size_t& length) {
    const std::size_t terminator = terminatorUnits(cType);
    length = 0;
    if (buffer.size() < kFirstPieceUnits) buffer.resize(kFirstPieceUnits);
    for (;;) {
        const std::size_t room = buffer.size() - length;
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement_, column, cType, buffer.data() + length,
                                        static_cast<SQLLEN>(room * sizeof(Unit)), &indicator);
        if (rc == SQL_NO_DATA) return true;  // the previous piece was the last
        checkOdbc(rc, SQL_HANDLE_STMT, statement_, "SQLGetData");
        if (indicator == SQL_NULL_DATA) return false;
        const std::size_t fits = room - terminator;
        // A cut value comes back as success with info (01004) and the length still to
        // come, or SQL_NO_TOTAL when the driver cannot tell (FreeTDS while converting).
        const bool cut = rc == SQL_SUCCESS_WITH_INFO &&
                         (indicator == SQL_NO_TOTAL ||
                          static_cast<std::size_t>(indicator) / sizeof(Unit) > fits);
        if (!cut) {
            length += static_cast<std::size_t>(indicator) / sizeof(Unit);
            return true;
        }
        length += fits;
        const std::size_t rest = indicator == SQL_NO_TOTAL
                                     ? buffer.size()
                                     : static_cast<std::size_t>(indicator) / sizeof(Unit) - fits;
        buffer.resize(length + std::max(rest, kFirstPieceUnits) + terminator);
    }
}

void ColumnFetcher::fetchColumn(SQLUSMALLINT column, FetchKind kind, RowBuffer& out) {
    const FetchForm form = fetchForm(kind);
    if (form.fixedBytes != 0) {
        FixedValue value{};
        if (!readFixed(column, form.cType, &value, form.fixedBytes)) return out.appendNull();
        return appendFixedValue(kind, &value, out);
    }
    std::size_t length = 0;
    switch (kind) {
        case FetchKind::Binary:
            if (!readWhole(column, SQL_C_BINARY, bytes_, length)) return out.appendNull();
            out.appendBinary(bytes_.data(), length);
            return;
        case FetchKind::Text:
            if (!readWhole(column, SQL_C_WCHAR, wide_, length)) return out.appendNull();
            out.appendText(Value::Kind::Text, wide_.data(), length);
            return;
        default:
            if (!readWhole(column, SQL_C_CHAR, narrow_, length)) return out.appendNull();
            appendNarrowText(kind, std::string_view(narrow_.data(), length), out);
            return;
    }
}

void ColumnFetcher::appendNarrowText(FetchKind kind, std::string_view text, RowBuffer& out) {
    if (kind == FetchKind::OffsetTimestamp) {
        const std::string year = fourDigitYear(text);
        converted_.assign(year.begin(), year.end());
        out.appendText(Value::Kind::Text, converted_.data(), converted_.size());
        return;
    }
    if (kind == FetchKind::PostgresTimestamp) {
        out.appendDateTime(Value::Kind::Timestamp, parsePostgresTimestamp(text));
        return;
    }
    if (kind == FetchKind::PostgresDate) {
        out.appendDateTime(Value::Kind::Date, parsePostgresDate(text));
        return;
    }
    if (kind == FetchKind::Time) {
        out.appendDateTime(Value::Kind::Time, parseTimeText(text));
        return;
    }
    if (kind == FetchKind::Money) {
        const QString digits = normaliseMoneyText(
            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        out.appendText(Value::Kind::Decimal, reinterpret_cast<const char16_t*>(digits.utf16()),
                       static_cast<std::size_t>(digits.size()));
        return;
    }
    // ASCII widened in place, without a string per value. GUIDs stay as the driver
    // writes them: FreeTDS in canonical order, psqlODBC in upper case.
    converted_.assign(text.begin(), text.end());
    out.appendText(kind == FetchKind::Guid ? Value::Kind::Guid : Value::Kind::Decimal,
                   converted_.data(), converted_.size());
}

}  // namespace dorvane::db
