#include "sql/copy_text.h"

#include <QStringEncoder>
#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "sql/value_text.h"

namespace dorvane::sql {
namespace {

// The byte after the backslash that stands for `c`, or 0 when `c` goes as it is.
// UTF-8 never uses these bytes inside a character of more than one byte.
constexpr char escapeFor(char c) {
    switch (c) {
        case '\\':
            return '\\';
        case '\t':
            return 't';
        case '\n':
            return 'n';
        case '\r':
            return 'r';
        default:
            return 0;
    }
}

constexpr char kNull[] = {'\\', 'N'};

// Half of a surrogate pair never stands alone in text the server could store.
[[noreturn]] void refuseSurrogate() {
    throw std::runtime_error(
        "The value holds half of a UTF-16 surrogate pair, which is no character, so "
        "PostgreSQL cannot store it.");
}

// `text` escaped at `at`, which has room for three bytes per UTF-16 unit; gives the end.
// `refuseNul`: a NUL character is refused, as checkPostgresCanHold refuses it, and before
// a lone surrogate is.
char* writeCopyText(char* at, QStringView text, bool refuseNul) {
    // Most text is ASCII, written byte by byte here; Qt's encoder takes the rest.
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i < size; ++i) {
        const char16_t c = units[i];
        if (c >= 0x80) break;
        // Above the carriage return only the backslash is escaped, and NUL is below it.
        if (c <= u'\r' || c == u'\\') {
            const char escaped = escapeFor(static_cast<char>(c));
            if (escaped != 0) {
                *at++ = '\\';
                *at++ = escaped;
                continue;
            }
            if (c == 0 && refuseNul) refuseNulCharacter();
        }
        *at++ = static_cast<char>(c);
    }
    if (i == size) return at;

    const QStringView rest = text.sliced(i);
    if (refuseNul && containsChar(rest, u'\0')) refuseNulCharacter();
    // Stateless: a surrogate left at the end of one value must not pair with the next.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype length = utf8.appendToBuffer(at, rest) - at;
    if (utf8.hasError()) refuseSurrogate();
    const qsizetype escapes =
        std::count_if(at, at + length, [](char c) { return escapeFor(c) != 0; });
    // From the end backwards, so each byte moves once.
    for (qsizetype from = length, to = length + escapes; from != to;) {
        const char c = at[--from];
        const char escaped = escapeFor(c);
        if (escaped == 0) {
            at[--to] = c;
        } else {
            at[--to] = escaped;
            at[--to] = '\\';
        }
    }
    return at + length + escapes;
}

bool holdsText(db::Value::Kind kind) {
    return kind == db::Value::Kind::Text || kind == db::Value::Kind::Decimal ||
           kind == db::Value::Kind::Guid;
}

}  // namespace

void appendCopyText(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + 3 * text.size());
    try {
        out.truncate(writeCopyText(out.data() + start, text, false) - out.constData());
    } catch (...) {
        out.truncate(start);
        throw;
    }
}

void appendCopyField(QByteArray& out, const db::Value& value, bool unquoted) {
    const qsizetype start = out.size();
    out.resize(start + copyFieldRoom(value));
    try {
        out.truncate(writeCopyField(out.data() + start, value, unquoted) - out.constData());
    } catch (...) {
        out.truncate(start);
        throw;
    }
}

qsizetype copyFieldRoom(const db::Value& value) {
    // Escaped, a UTF-16 unit takes at most three bytes, as in UTF-8.
    switch (value.kind()) {
        case db::Value::Kind::Null:
            return sizeof kNull;
        case db::Value::Kind::Binary:
            return 3 * (2 + 2 * value.asBinary().size());  // \x and two digits a byte
        default:
            return holdsText(value.kind())
                       ? std::max<qsizetype>(sizeof kNull, 3 * value.asString().size())
                       : kScalarTextRoom;
    }
}

char* writeCopyField(char* at, const db::Value& value, bool unquoted) {
    const auto null = [at] { return std::copy(std::begin(kNull), std::end(kNull), at); };
    const db::Value::Kind kind = value.kind();
    if (kind == db::Value::Kind::Null) return null();
    if (holdsText(kind)) {
        const QString& text = value.asString();
        // No number reads as empty: the INSERT writes NULL there.
        if (unquoted && text.isEmpty()) return null();
        return writeCopyText(at, text, kind != db::Value::Kind::Decimal);
    }
    // Numbers, dates, times and booleans are ASCII without a character to escape.
    const int length = scalarValueChars(value, at);
    if (length >= 0) return unquoted && length == 0 ? null() : at + length;
    QString written;
    appendValueText(written, value);
    if (unquoted && written.isEmpty()) return null();
    return writeCopyText(at, written, false);
}

}  // namespace dorvane::sql
