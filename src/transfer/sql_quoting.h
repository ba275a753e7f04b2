#pragma once
// Names and values in SQL text. Each form doubles its own closing character, so a
// name or value can never end its identifier or literal early; ordinary names and
// values come out exactly as they went in, between the delimiters.

#include <QString>

namespace dorvane {

// [name] with "]" doubled.
inline QString bracketedName(const QString& name) {
    QString inner = name;
    inner.replace(QStringLiteral("]"), QStringLiteral("]]"));
    return u'[' + inner + u']';
}

// "name" with '"' doubled.
inline QString doubleQuotedName(const QString& name) {
    QString inner = name;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

// 'text' with "'" doubled.
inline QString singleQuotedText(const QString& text) {
    QString inner = text;
    inner.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

}  // namespace dorvane
