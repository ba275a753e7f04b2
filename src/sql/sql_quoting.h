#pragma once
// Names and values in SQL text. Each form doubles its own closing character, so a
// name or value can never end its identifier or literal early; ordinary names and
// values come out exactly as they went in, between the delimiters.

#include <QString>
#include <QStringView>

namespace dorvane::sql {

// True when `text` holds `c`. Most values are short, and for them a plain loop costs
// less than the call into Qt's vectorised search, which pays off on longer texts.
inline bool containsChar(QStringView text, char16_t c) {
    constexpr qsizetype kShortText = 64;
    if (text.size() > kShortText) return text.contains(QChar(c));
    for (const QChar ch : text)
        if (ch.unicode() == c) return true;
    return false;
}

// `text` appended to `out` with every `doubled` character in it doubled.
inline void appendDoubling(QString& out, QStringView text, char16_t doubled) {
    if (!containsChar(text, doubled)) {
        out += text;
        return;
    }
    for (QChar c : text) {
        out += c;
        if (c == doubled) out += c;
    }
}

// `open` text `close` appended to `out`, with every `close` in the text doubled.
inline void appendDelimited(QString& out, QStringView text, char16_t open, char16_t close) {
    out += QChar(open);
    appendDoubling(out, text, close);
    out += QChar(close);
}

inline QString delimited(QStringView text, char16_t open, char16_t close) {
    QString out;
    appendDelimited(out, text, open, close);
    return out;
}

// [name] with "]" doubled.
inline void appendBracketedName(QString& out, QStringView name) {
    appendDelimited(out, name, u'[', u']');
}
inline QString bracketedName(QStringView name) {
    return delimited(name, u'[', u']');
}

// "name" with '"' doubled.
inline void appendDoubleQuotedName(QString& out, QStringView name) {
    appendDelimited(out, name, u'"', u'"');
}
inline QString doubleQuotedName(QStringView name) {
    return delimited(name, u'"', u'"');
}

// 'text' with "'" doubled.
inline QString singleQuotedText(QStringView text) {
    return delimited(text, u'\'', u'\'');
}

}  // namespace dorvane::sql
