#include "sql_tokens.h"

namespace dorvane::fuzz {
namespace {

bool isWordStart(QChar c) {
    return c == u'_' || (c.unicode() < 0x80 ? c.isLetter() : c.isLetter() || c.isSurrogate());
}

bool isWordPart(QChar c) {
    return isWordStart(c) || (c >= u'0' && c <= u'9') || c == u'$';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

class Reader {
  public:
    Reader(const QString& sql, Dialect dialect) : s_(sql), d_(dialect) {}

    std::vector<Token> all() {
        std::vector<Token> out;
        while (true) {
            skipBlanks();
            if (at_ >= s_.size()) return out;
            Token t = next();
            out.push_back(t);
            if (t.kind == Token::Kind::Bad) return out;
        }
    }

  private:
    QChar peek(qsizetype ahead = 0) const {
        return at_ + ahead < s_.size() ? s_[at_ + ahead] : QChar();
    }

    void skipBlanks() {
        while (at_ < s_.size() &&
               (s_[at_] == u' ' || s_[at_] == u'\t' || s_[at_] == u'\n' || s_[at_] == u'\r'))
            ++at_;
    }

    static Token bad(const QString& why) { return {Token::Kind::Bad, why}; }

    // Text up to `close`, where a doubled `close` stands for itself.
    Token delimited(Token::Kind kind, QChar close, bool national) {
        QString text;
        ++at_;
        while (at_ < s_.size()) {
            const QChar c = s_[at_++];
            if (c != close) {
                text += c;
                continue;
            }
            if (peek() == close) {
                text += close;
                ++at_;
                continue;
            }
            return {kind, text, national};
        }
        return bad(QStringLiteral("unterminated"));
    }

    // PostgreSQL E'...': backslash escapes as well as doubled quotes.
    Token escapeLiteral() {
        QString text;
        ++at_;
        while (at_ < s_.size()) {
            const QChar c = s_[at_++];
            if (c == u'\'') {
                if (peek() == u'\'') {
                    text += c;
                    ++at_;
                    continue;
                }
                return {Token::Kind::Literal, text, true};
            }
            if (c != u'\\') {
                text += c;
                continue;
            }
            if (at_ >= s_.size()) break;
            const QChar e = s_[at_++];
            switch (e.unicode()) {
                case u'b':
                    text += u'\b';
                    break;
                case u'f':
                    text += u'\f';
                    break;
                case u'n':
                    text += u'\n';
                    break;
                case u'r':
                    text += u'\r';
                    break;
                case u't':
                    text += u'\t';
                    break;
                case u'x':
                case u'u':
                case u'U':
                    return bad(QStringLiteral("numeric escape"));
                default:
                    if (e >= u'0' && e <= u'7') return bad(QStringLiteral("octal escape"));
                    text += e;
            }
        }
        return bad(QStringLiteral("unterminated"));
    }

    Token numberToken() {
        const qsizetype start = at_;
        while (isDigit(peek())) ++at_;
        if (peek() == u'.') {
            ++at_;
            while (isDigit(peek())) ++at_;
        }
        if ((peek() == u'e' || peek() == u'E') &&
            (isDigit(peek(1)) || ((peek(1) == u'+' || peek(1) == u'-') && isDigit(peek(2))))) {
            at_ += 2;
            while (isDigit(peek())) ++at_;
        }
        return {Token::Kind::Number, s_.mid(start, at_ - start)};
    }

    Token next() {
        const QChar c = s_[at_];
        const bool pg = d_ == Dialect::Postgres;
        if (pg && c == u'"') return delimited(Token::Kind::Name, u'"', false);
        if (!pg && c == u'[') return delimited(Token::Kind::Name, u']', false);
        if (c == u'\'') return delimited(Token::Kind::Literal, u'\'', false);
        if ((c == u'-' && peek(1) == u'-') || (c == u'/' && peek(1) == u'*'))
            return bad(QStringLiteral("comment"));
        if (!pg && c == u'"') return bad(QStringLiteral("double quote"));
        if (isDigit(c) || (c == u'.' && isDigit(peek(1)))) return numberToken();
        if (isWordStart(c)) {
            // A prefix letter directly before a quote opens a literal of its own kind.
            const QChar prefix = pg ? u'E' : u'N';
            if (c.toUpper() == prefix && peek(1) == u'\'') {
                ++at_;
                if (pg) return escapeLiteral();
                return delimited(Token::Kind::Literal, u'\'', true);
            }
            const qsizetype start = at_;
            while (at_ < s_.size() && isWordPart(s_[at_])) ++at_;
            return {Token::Kind::Word, s_.mid(start, at_ - start).toUpper()};
        }
        ++at_;
        return {Token::Kind::Punct, QString(c)};
    }

    const QString& s_;
    Dialect d_;
    qsizetype at_ = 0;
};

}  // namespace

std::vector<Token> tokenize(const QString& sql, Dialect dialect) {
    return Reader(sql, dialect).all();
}

QString describe(const std::vector<Token>& tokens) {
    QString out;
    for (const Token& t : tokens) {
        switch (t.kind) {
            case Token::Kind::Name:
                out += QStringLiteral("name<") + t.text + u'>';
                break;
            case Token::Kind::Literal:
                out +=
                    (t.national ? QStringLiteral("nlit<") : QStringLiteral("lit<")) + t.text + u'>';
                break;
            case Token::Kind::Word:
                out += QStringLiteral("word<") + t.text + u'>';
                break;
            case Token::Kind::Number:
                out += QStringLiteral("num<") + t.text + u'>';
                break;
            case Token::Kind::Punct:
                out += QStringLiteral("p<") + t.text + u'>';
                break;
            case Token::Kind::Bad:
                out += QStringLiteral("BAD<") + t.text + u'>';
                break;
        }
        out += u' ';
    }
    return out;
}

}  // namespace dorvane::fuzz
