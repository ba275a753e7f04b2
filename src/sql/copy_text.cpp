#include "sql/copy_text.h"

#include <QStringEncoder>
#include <algorithm>
#include <stdexcept>

#include "sql/general_value_text.h"
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

void appendNull(QByteArray& out) {
    out += "\\N";
}

}  // namespace

void appendCopyText(QByteArray& out, QStringView text) {
    // Stateless: a surrogate left at the end of one value must not pair with the next.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype start = out.size();
    // Room for the text and its escapes: an escaped character takes two of the three
    // bytes a UTF-16 unit may need.
    const qsizetype most = start + utf8.requiredSpace(text.size());
    if (out.capacity() < most) out.reserve(std::max(most, 2 * out.capacity()));
    out.resize(most);
    char* const base = out.data() + start;
    const qsizetype length = utf8.appendToBuffer(base, text) - base;
    if (utf8.hasError()) {
        out.truncate(start);
        throw std::runtime_error(
            "The value holds half of a UTF-16 surrogate pair, which is no character, so "
            "PostgreSQL cannot store it.");
    }

    const qsizetype escapes =
        std::count_if(base, base + length, [](char c) { return escapeFor(c) != 0; });
    // From the end backwards, so each byte moves once.
    for (qsizetype from = length, to = length + escapes; from != to;) {
        const char c = base[--from];
        const char escaped = escapeFor(c);
        if (escaped == 0) {
            base[--to] = c;
        } else {
            base[--to] = escaped;
            base[--to] = '\\';
        }
    }
    out.truncate(start + length + escapes);
}

void appendCopyField(QByteArray& out, const db::Value& value, bool unquoted) {
    checkPostgresCanHold(value);
    if (value.isNull()) return appendNull(out);
    QString written;
    const db::Value::Kind kind = value.kind();
    const bool holdsText = kind == db::Value::Kind::Text || kind == db::Value::Kind::Decimal ||
                           kind == db::Value::Kind::Guid;
    if (!holdsText) appendValueText(written, value);
    const QStringView text = holdsText ? QStringView(value.asString()) : QStringView(written);
    // No number reads as empty: the INSERT writes NULL there.
    if (unquoted && text.isEmpty()) return appendNull(out);
    appendCopyText(out, text);
}

}  // namespace dorvane::sql
