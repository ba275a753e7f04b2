#pragma once
// A small SQL tokenizer for checking generated statements: it finds where each quoted
// name and literal ends the way the server would, so a value that escapes its quotes
// shows up as a token sequence different from the one expected.

#include <QString>
#include <vector>

namespace dorvane::fuzz {

enum class Dialect { Postgres, SqlServer };

struct Token {
    enum class Kind { Name, Literal, Word, Number, Punct, Bad };
    Kind kind;
    QString text;           // names and literals decoded; words upper-cased
    bool national = false;  // N'...' (SQL Server) or E'...' (PostgreSQL)
    friend bool operator==(const Token&, const Token&) = default;
};

// Tokens of a statement; anything the tokenizer cannot read (an unterminated name or
// literal, an escape the builders never write) gives a Bad token and ends the list.
std::vector<Token> tokenize(const QString& sql, Dialect dialect);

// Helpers for the expected sequences.
inline Token name(const QString& s) {
    return {Token::Kind::Name, s};
}
inline Token literal(const QString& s, bool national = false) {
    return {Token::Kind::Literal, s, national};
}
inline Token word(const QString& s) {
    return {Token::Kind::Word, s.toUpper()};
}
inline Token number(const QString& s) {
    return {Token::Kind::Number, s};
}
inline Token punct(char16_t c) {
    return {Token::Kind::Punct, QString(QChar(c))};
}

// Readable form for failure messages.
QString describe(const std::vector<Token>& tokens);

}  // namespace dorvane::fuzz
