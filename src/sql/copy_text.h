#pragma once
// Rows in the text format of PostgreSQL's COPY ... FROM STDIN, in UTF-8: fields
// separated by a tab, each row ended by a newline, a null written \N, and a backslash,
// tab, newline or carriage return inside a value escaped with a backslash.
//
// A field carries exactly what the value's literal in the row-by-row INSERT stands for
// (postgres_statements.h): the value's text, a null as NULL, an empty text in an
// unquoted column as NULL; and a value the INSERT refuses is refused here as well.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "db/values/value.h"
#include "sql/refused_value.h"
#include "sql/statement_pieces.h"

namespace dorvane::sql {

// `text` in UTF-8 with the four characters the format reserves escaped. Throws, leaving
// `out` as it was, when the text holds half of a surrogate pair: UTF-8 has no form for it.
void appendCopyText(QByteArray& out, QStringView text);

// One value as a field, without a separator. `unquoted` as for appendValue of the INSERT:
// the column's values go without quotes there. Throws, as checkPostgresCanHold does, for
// a value PostgreSQL cannot hold; `out` is then as it was.
void appendCopyField(QByteArray& out, const db::Value& value, bool unquoted);

// The most bytes writeCopyField writes for `value`.
qsizetype copyFieldRoom(const db::Value& value);
// appendCopyField's field written at `at`, which has copyFieldRoom(value) bytes of room;
// gives the end of what it wrote. Throws as appendCopyField does.
char* writeCopyField(char* at, const db::Value& value, bool unquoted);

// Where a row comes from, to name a refused value as the row-by-row copy names it.
struct CopyRowPlace {
    const QString& table;
    std::span<const QString> columns;  // in field order
    std::int64_t row;                  // counted from 1
};

// One row of `row` (which gives fieldCount() and value(index), as for buildInsert).
// A refused value is thrown as checkValueAt reports it, and `out` keeps only the rows
// before this one.
template <class Row>
void appendCopyRow(QByteArray& out, Row& row, const std::vector<bool>& unquoted,
                   const CopyRowPlace& place) {
    const qsizetype start = out.size();
    try {
        // Written in room made past `end`, once for most rows: resizing the array for each
        // field would cost as much as writing it.
        constexpr qsizetype kRowRoom = qsizetype{16} << 10;
        qsizetype end = start;
        const auto makeRoom = [&](qsizetype room) {
            if (out.size() - end >= room) return;
            const qsizetype size = end + std::max(room, kRowRoom);
            if (out.capacity() < size) out.reserve(std::max(size, 2 * out.capacity()));
            out.resize(size);
        };
        const int fieldCount = row.fieldCount();
        for (int j = 0; j < fieldCount; ++j) {
            const db::Value& value = row.value(j);
            makeRoom(copyFieldRoom(value) + 1);  // and a tab or the newline
            char* const at = out.data() + end;
            checkValueAt(place.table, place.columns[j], place.row,
                         [&] { end += writeCopyField(at, value, isFlagged(unquoted, j)) - at; });
            out.data()[end++] = j + 1 < fieldCount ? '\t' : '\n';
        }
        if (fieldCount == 0) {
            makeRoom(1);
            out.data()[end++] = '\n';
        }
        out.truncate(end);
    } catch (...) {
        out.truncate(start);
        throw;
    }
}

}  // namespace dorvane::sql
