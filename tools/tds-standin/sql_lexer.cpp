#include "sql_lexer.hpp"

#include "server_error.hpp"

#include <cctype>

namespace standin {
namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '@' || c == '#' || c >= 0x80; }
bool isWordPart(unsigned char c) { return isWordStart(c) || std::isdigit(c) || c == '$'; }

class Lexer {
public:
    explicit Lexer(const std::string& sql) : sql_(sql) {}

    std::vector<SqlToken> run() {
        std::vector<SqlToken> tokens;
        while (skipBlanksAndComments(), pos_ < sql_.size()) {
            SqlToken token;
            token.offset = pos_;
            readToken(token);
            token.end = pos_;
            tokens.push_back(std::move(token));
        }
        SqlToken end;
        end.offset = end.end = sql_.size();
        tokens.push_back(end);
        return tokens;
    }

private:
    unsigned char at(size_t i) const { return i < sql_.size() ? static_cast<unsigned char>(sql_[i]) : 0; }

    void skipBlanksAndComments() {
        for (;;) {
            if (pos_ < sql_.size() && std::isspace(at(pos_))) {
                ++pos_;
            } else if (at(pos_) == '-' && at(pos_ + 1) == '-') {
                while (pos_ < sql_.size() && sql_[pos_] != '\n') ++pos_;
            } else if (at(pos_) == '/' && at(pos_ + 1) == '*') {
                int depth = 0;
                do {
                    if (at(pos_) == '/' && at(pos_ + 1) == '*') ++depth, pos_ += 2;
                    else if (at(pos_) == '*' && at(pos_ + 1) == '/') --depth, pos_ += 2;
                    else ++pos_;
                } while (depth > 0 && pos_ < sql_.size());
                if (depth > 0) throw SqlError(113, 15, 1, "Missing end comment mark '*/'.", true);
            } else {
                return;
            }
        }
    }

    // Reads up to the closing quote; a doubled quote stands for itself.
    std::string quoted(char close, bool isString) {
        size_t start = pos_;
        ++pos_;
        std::string value;
        for (;;) {
            if (pos_ >= sql_.size()) {
                std::string tail = sql_.substr(start + 1);
                if (isString) {
                    throw SqlError(105, 15, 1,
                                   "Unclosed quotation mark after the character string '" + tail + "'.", true);
                }
                throw SqlError(105, 15, 1,
                               "Unclosed quotation mark before the character string '" + tail + "'.", true);
            }
            char c = sql_[pos_++];
            if (c == close) {
                if (at(pos_) == static_cast<unsigned char>(close)) {
                    value += close;
                    ++pos_;
                    continue;
                }
                return value;
            }
            value += c;
        }
    }

    void readToken(SqlToken& token) {
        unsigned char c = at(pos_);
        if ((c == 'N' || c == 'n') && at(pos_ + 1) == '\'') {
            ++pos_;
            token.kind = SqlToken::Kind::NationalString;
            token.text = quoted('\'', true);
        } else if (c == '\'') {
            token.kind = SqlToken::Kind::String;
            token.text = quoted('\'', true);
        } else if (c == '[') {
            token.kind = SqlToken::Kind::QuotedName;
            token.text = quoted(']', false);
        } else if (c == '"') {
            token.kind = SqlToken::Kind::QuotedName;
            token.text = quoted('"', false);
        } else if (c == '0' && (at(pos_ + 1) == 'x' || at(pos_ + 1) == 'X')) {
            readHex(token);
        } else if (std::isdigit(c) || (c == '.' && std::isdigit(at(pos_ + 1)))) {
            readNumber(token);
        } else if (isWordStart(c)) {
            token.kind = SqlToken::Kind::Word;
            size_t start = pos_;
            while (pos_ < sql_.size() && isWordPart(at(pos_))) ++pos_;
            token.text = sql_.substr(start, pos_ - start);
        } else {
            token.kind = SqlToken::Kind::Symbol;
            token.text = std::string(1, static_cast<char>(c));
            ++pos_;
        }
    }

    void readHex(SqlToken& token) {
        token.kind = SqlToken::Kind::Hex;
        pos_ += 2;
        std::string digits;
        while (std::isxdigit(at(pos_))) digits += static_cast<char>(at(pos_++));
        if (digits.size() % 2 != 0) digits.insert(0, "0");
        for (size_t i = 0; i < digits.size(); i += 2) {
            token.text += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
        }
    }

    void readNumber(SqlToken& token) {
        token.kind = SqlToken::Kind::Number;
        size_t start = pos_;
        while (std::isdigit(at(pos_))) ++pos_;
        if (at(pos_) == '.') {
            ++pos_;
            while (std::isdigit(at(pos_))) ++pos_;
        }
        if ((at(pos_) == 'e' || at(pos_) == 'E') &&
            (std::isdigit(at(pos_ + 1)) || ((at(pos_ + 1) == '+' || at(pos_ + 1) == '-') && std::isdigit(at(pos_ + 2))))) {
            pos_ += 2;
            while (std::isdigit(at(pos_))) ++pos_;
        }
        token.text = sql_.substr(start, pos_ - start);
    }

    const std::string& sql_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<SqlToken> tokenize(const std::string& sql) { return Lexer(sql).run(); }

}  // namespace standin
