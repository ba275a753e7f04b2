#include "sql_parser.hpp"

#include "server_error.hpp"
#include "sql_lexer.hpp"
#include "text_encoding.hpp"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace standin {

std::string ObjectName::written() const {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : ".") + p;
    return out;
}

namespace {

constexpr size_t kMaxIdentifier = 128;
constexpr size_t kMaxInsertRows = 1000;

// Reads the digits at `at` into `value`: at least one and at most maxDigits of them.
bool digits(const std::string& text, size_t& at, size_t maxDigits, int& value,
            size_t* count = nullptr) {
    size_t start = at;
    value = 0;
    while (at < text.size() && at - start < maxDigits &&
           std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at++] - '0');
    }
    if (count) *count = at - start;
    return at > start && (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])));
}

// A WAITFOR DELAY time, hh:mm[:ss[.fff]] below 24 hours; nothing when malformed.
std::optional<std::chrono::milliseconds> waitDelay(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    std::string t = text.substr(begin, end - begin + 1);
    size_t at = 0;
    int hours = 0, minutes = 0, seconds = 0, fraction = 0;
    size_t fractionDigits = 0;
    if (!digits(t, at, 2, hours) || at >= t.size() || t[at++] != ':') return std::nullopt;
    if (!digits(t, at, 2, minutes)) return std::nullopt;
    if (at < t.size()) {
        if (t[at++] != ':' || !digits(t, at, 2, seconds)) return std::nullopt;
        if (at < t.size()) {
            if (t[at++] != '.' || !digits(t, at, 3, fraction, &fractionDigits)) return std::nullopt;
        }
    }
    if (at != t.size() || hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    for (size_t d = fractionDigits; d < 3; ++d) fraction *= 10;
    return std::chrono::hours(hours) + std::chrono::minutes(minutes) +
           std::chrono::seconds(seconds) + std::chrono::milliseconds(fraction);
}

class Parser {
  public:
    Parser(const std::string& sql, std::vector<SqlToken> tokens)
        : sql_(sql), tokens_(std::move(tokens)) {}

    std::vector<Statement> run() {
        std::vector<Statement> statements;
        while (peek().kind != SqlToken::Kind::End) {
            if (acceptSymbol(";")) continue;
            statementStart_ = peek().offset;
            statements.push_back(statement(statements.empty()));
        }
        return statements;
    }

  private:
    const SqlToken& peek(size_t ahead = 0) const {
        size_t i = pos_ + ahead;
        return tokens_[i < tokens_.size() ? i : tokens_.size() - 1];
    }
    const SqlToken& next() {
        const SqlToken& t = peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return t;
    }

    bool isKeyword(const SqlToken& t, const char* word) const {
        return t.kind == SqlToken::Kind::Word && foldCase(t.text) == word;
    }
    bool acceptKeyword(const char* word) {
        if (!isKeyword(peek(), word)) return false;
        next();
        return true;
    }
    void expectKeyword(const char* word) {
        if (!acceptKeyword(word)) fail();
    }
    bool acceptSymbol(const char* symbol) {
        if (peek().kind != SqlToken::Kind::Symbol || peek().text != symbol) return false;
        next();
        return true;
    }
    void expectSymbol(const char* symbol) {
        if (!acceptSymbol(symbol)) fail();
    }

    [[noreturn]] void fail() const {
        // At the end of the text SQL Server names the last token it read.
        const SqlToken& at =
            peek().kind == SqlToken::Kind::End && pos_ > 0 ? tokens_[pos_ - 1] : peek();
        std::string statement = sql_.substr(statementStart_);
        if (statement.size() > 2000) statement = statement.substr(0, 2000) + "...";
        throw SqlError(102, 15, 1,
                       "Incorrect syntax near '" + sql_.substr(at.offset, at.end - at.offset) +
                           "'. (The SQL Server stand-in supports only the T-SQL its program sends; "
                           "statement: " +
                           statement + ")",
                       true);
    }

    std::string identifier() {
        const SqlToken& t = peek();
        if (t.kind != SqlToken::Kind::Word && t.kind != SqlToken::Kind::QuotedName) fail();
        if (utf8ToUtf16(t.text).size() > kMaxIdentifier) {
            throw SqlError(103, 15, 4,
                           "The identifier that starts with '" + t.text.substr(0, 128) +
                               "' is too long. Maximum length is 128.",
                           true);
        }
        if (t.text.empty()) {
            throw SqlError(
                1038, 15, 4,
                "An object or column name is missing or empty. For SELECT INTO statements, "
                "verify each column has a name. For other statements, look for empty alias "
                "names. Aliases defined as \"\" or [] are not allowed. Change the alias to a "
                "valid name.",
                true);
        }
        return next().text;
    }

    ObjectName objectName() {
        ObjectName name;
        name.parts.push_back(identifier());
        while (name.parts.size() < 3 && acceptSymbol(".")) name.parts.push_back(identifier());
        return name;
    }

    Statement statement(bool firstInBatch) {
        if (acceptKeyword("select")) return selectOrCount();
        if (acceptKeyword("create")) {
            if (acceptKeyword("table")) return createTable();
            if (acceptKeyword("view")) return createView();
            fail();
        }
        if (acceptKeyword("drop")) {
            DropStatement drop;
            if (acceptKeyword("view"))
                drop.isView = true;
            else
                expectKeyword("table");
            drop.object = objectName();
            return drop;
        }
        if (acceptKeyword("insert")) return insert();
        if (acceptKeyword("set")) {
            if (acceptKeyword("transaction")) return isolationLevel();
            if (acceptKeyword("identity_insert")) {
                IdentityInsertStatement s;
                s.table = objectName();
                if (acceptKeyword("on")) {
                    s.on = true;
                } else {
                    expectKeyword("off");
                }
                return s;
            }
            return set();
        }
        if (acceptKeyword("begin")) {
            // A bare BEGIN opens a block, which the stand-in does not run.
            if (!acceptKeyword("tran")) expectKeyword("transaction");
            return transactionStatement(TransactionStatement::Kind::Begin);
        }
        if (acceptKeyword("commit")) {
            acceptTransactionWord();
            return transactionStatement(TransactionStatement::Kind::Commit);
        }
        if (acceptKeyword("rollback")) {
            acceptTransactionWord();
            return transactionStatement(TransactionStatement::Kind::Rollback);
        }
        if (acceptKeyword("alter")) {
            expectKeyword("database");
            return alterDatabase();
        }
        if (acceptKeyword("exec") || acceptKeyword("execute")) return procedureCall();
        if (acceptKeyword("waitfor")) return waitFor();
        // A procedure may be called without EXEC as the first statement of a batch.
        if (firstInBatch && peek().kind == SqlToken::Kind::Word &&
            (foldCase(peek().text).rfind("sp_", 0) == 0)) {
            return procedureCall();
        }
        fail();
    }

    bool isSymbol(const SqlToken& t, const char* symbol) const {
        return t.kind == SqlToken::Kind::Symbol && t.text == symbol;
    }

    // After SELECT: a count of rows, the rows themselves, or values computed without a table.
    Statement selectOrCount() {
        bool count = isKeyword(peek(), "count");
        bool countBig = isKeyword(peek(), "count_big");
        if (isSymbol(peek(), "*") || isKeyword(peek(), "top")) return select();
        if (!(count || countBig) || !isSymbol(peek(1), "(")) return selectValues();
        next();
        next();
        expectSymbol("*");
        expectSymbol(")");
        expectKeyword("from");
        CountStatement c;
        c.big = countBig;
        if (acceptSymbol("(")) {
            expectKeyword("select");
            c.source = select();
            expectSymbol(")");
            acceptKeyword("as");
            identifier();  // a derived table must be named, though nothing refers to it
        } else {
            c.source.table = objectName();
        }
        return c;
    }

    SelectStatement select() {
        SelectStatement s;
        if (acceptKeyword("top")) {
            bool parenthesised = acceptSymbol("(");
            if (peek().kind != SqlToken::Kind::Number ||
                peek().text.find_first_not_of("0123456789") != std::string::npos)
                fail();
            s.top = std::stoll(next().text);
            if (parenthesised) expectSymbol(")");
        }
        expectSymbol("*");
        expectKeyword("from");
        s.table = objectName();
        if (acceptKeyword("where")) s.excludesAllRows = !constantCondition();
        return s;
    }

    // A comparison of two integer constants, as in WHERE 1 = 0; whether it holds.
    bool constantCondition() {
        auto integer = [&] {
            bool negative = acceptSymbol("-");
            if (!negative) acceptSymbol("+");
            const SqlToken& t = peek();
            if (t.kind != SqlToken::Kind::Number) {
                throw unsupported("WHERE conditions other than a comparison of two integers");
            }
            if (t.text.find_first_not_of("0123456789") != std::string::npos) fail();
            std::string digits = next().text;
            digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
            return (negative && digits != "0" ? "-" : "") + digits;
        };
        std::string left = integer();
        bool equal = true;
        if (acceptSymbol("<")) {
            expectSymbol(">");
            equal = false;
        } else if (acceptSymbol("!")) {
            expectSymbol("=");
            equal = false;
        } else {
            expectSymbol("=");
        }
        std::string right = integer();
        return (left == right) == equal;
    }

    // SELECT expression [, expression ...] without FROM.
    SelectValuesStatement selectValues() {
        SelectValuesStatement s;
        do s.values.push_back(expression());
        while (acceptSymbol(","));
        if (isKeyword(peek(), "from") || isKeyword(peek(), "as")) {
            throw unsupported("SELECT of expressions with FROM or column aliases");
        }
        return s;
    }

    Expression expression() {
        Expression e;
        if (peek().kind == SqlToken::Kind::Word && isSymbol(peek(1), "(") &&
            !isKeyword(peek(), "null")) {
            e.function = foldCase(next().text);
            next();
            if (e.function == "convert") {
                e.kind = Expression::Kind::Convert;
                std::string typeName = identifier();
                std::vector<int> args = typeArguments();
                e.target = declareType(typeName, args, 1, "");
                // CONVERT without a length gives 30 characters, not the 1 of a column.
                bool characters =
                    e.target.type == SqlType::Char || e.target.type == SqlType::VarChar ||
                    e.target.type == SqlType::NChar || e.target.type == SqlType::NVarChar;
                if (characters && args.empty()) e.target.length = 30;
                expectSymbol(",");
                e.arguments.push_back(expression());
                if (acceptSymbol(",")) throw unsupported("CONVERT with a style");
            } else {
                e.kind = Expression::Kind::Function;
                if (!isSymbol(peek(), ")")) {
                    do e.arguments.push_back(expression());
                    while (acceptSymbol(","));
                }
            }
            expectSymbol(")");
            return e;
        }
        e.constant = literal();
        return e;
    }

    // The parenthesised arguments of a type name, "max" as DeclaredType::kMax; none if absent.
    std::vector<int> typeArguments() {
        std::vector<int> args;
        if (!acceptSymbol("(")) return args;
        do {
            if (acceptKeyword("max")) {
                args.push_back(DeclaredType::kMax);
            } else if (peek().kind == SqlToken::Kind::Number) {
                args.push_back(std::stoi(next().text));
            } else {
                fail();
            }
        } while (acceptSymbol(","));
        expectSymbol(")");
        return args;
    }

    CreateTableStatement createTable() {
        CreateTableStatement c;
        c.table = objectName();
        expectSymbol("(");
        do {
            if (startsKeyConstraint()) {
                c.keys.push_back(keyConstraint(true));
                continue;
            }
            ColumnDefinition column;
            column.name = identifier();
            std::string typeName = identifier();
            std::vector<int> args = typeArguments();
            column.type =
                declareType(typeName, args, static_cast<int>(c.columns.size()) + 1, column.name);
            for (;;) {
                if (acceptKeyword("not")) {
                    expectKeyword("null");
                    column.notNull = true;
                } else if (acceptKeyword("null")) {
                    column.explicitNull = true;
                } else if (acceptKeyword("identity")) {
                    column.identity = identityProperty();
                } else if (startsKeyConstraint()) {
                    c.keys.push_back(keyConstraint(false));
                    c.keys.back().columns.push_back(column.name);
                } else {
                    break;
                }
            }
            c.columns.push_back(std::move(column));
        } while (acceptSymbol(","));
        expectSymbol(")");
        return c;
    }

    // After IDENTITY: the optional (seed, increment), which come both or not at all.
    IdentityProperty identityProperty() {
        IdentityProperty property;
        if (!acceptSymbol("(")) return property;
        property.seed = signedInteger();
        expectSymbol(",");
        property.increment = signedInteger();
        expectSymbol(")");
        return property;
    }

    int64_t signedInteger() {
        bool negative = acceptSymbol("-");
        if (!negative) acceptSymbol("+");
        const SqlToken& t = peek();
        if (t.kind != SqlToken::Kind::Number ||
            t.text.find_first_not_of("0123456789") != std::string::npos) {
            fail();
        }
        try {
            int64_t value = std::stoll(t.text);
            next();
            return negative ? -value : value;
        } catch (const std::out_of_range&) {
            throw unsupported("identity seeds and increments beyond the bigint range");
        }
    }

    bool startsKeyConstraint() const {
        return isKeyword(peek(), "constraint") || isKeyword(peek(), "primary") ||
               isKeyword(peek(), "unique");
    }

    // [CONSTRAINT name] PRIMARY KEY|UNIQUE [CLUSTERED|NONCLUSTERED], and for a table
    // constraint its (column [ASC|DESC], ...). The index kind and order change nothing the
    // stand-in shows.
    KeyConstraint keyConstraint(bool forTable) {
        KeyConstraint k;
        if (acceptKeyword("constraint")) k.name = identifier();
        if (acceptKeyword("primary")) {
            expectKeyword("key");
            k.primary = true;
        } else {
            expectKeyword("unique");
        }
        if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        if (!forTable) return k;
        expectSymbol("(");
        do {
            k.columns.push_back(identifier());
            if (!acceptKeyword("asc")) acceptKeyword("desc");
        } while (acceptSymbol(","));
        expectSymbol(")");
        return k;
    }

    CreateViewStatement createView() {
        CreateViewStatement v;
        v.view = objectName();
        expectKeyword("as");
        expectKeyword("select");
        v.select = select();
        return v;
    }

    // After INSERT BULK. The column types only repeat what the bulk load message declares;
    // table hints are taken and left alone.
    InsertBulkStatement insertBulk() {
        InsertBulkStatement s;
        s.table = objectName();
        expectSymbol("(");
        do {
            s.columns.push_back(identifier());
            identifier();
            typeArguments();
            if (acceptKeyword("collate")) identifier();
        } while (acceptSymbol(","));
        expectSymbol(")");
        if (acceptKeyword("with")) {
            expectSymbol("(");
            for (int depth = 1; depth > 0;) {
                if (peek().kind == SqlToken::Kind::End) fail();
                if (isSymbol(peek(), "(")) ++depth;
                if (isSymbol(peek(), ")")) --depth;
                next();
            }
        }
        return s;
    }

    Statement insert() {
        if (acceptKeyword("bulk")) return insertBulk();
        InsertStatement s;
        acceptKeyword("into");
        s.table = objectName();
        if (acceptSymbol("(")) {
            do s.columns.push_back(identifier());
            while (acceptSymbol(","));
            expectSymbol(")");
        }
        expectKeyword("values");
        do {
            expectSymbol("(");
            std::vector<Literal> row;
            do row.push_back(literal());
            while (acceptSymbol(","));
            expectSymbol(")");
            s.rows.push_back(std::move(row));
        } while (acceptSymbol(","));
        if (s.rows.size() > kMaxInsertRows) {
            throw SqlError(
                10738, 15, 1,
                "The number of row value expressions in the INSERT statement exceeds the maximum "
                "allowed number of 1000 row values.",
                true);
        }
        return s;
    }

    Literal literal() {
        Literal l;
        if (acceptKeyword("null")) return l;
        const SqlToken& t = peek();
        switch (t.kind) {
            case SqlToken::Kind::String:
                l.kind = Literal::Kind::String;
                break;
            case SqlToken::Kind::NationalString:
                l.kind = Literal::Kind::NationalString;
                break;
            case SqlToken::Kind::Hex:
                l.kind = Literal::Kind::Hex;
                break;
            case SqlToken::Kind::Number:
                l.kind = Literal::Kind::Number;
                break;
            case SqlToken::Kind::Symbol:
                if (t.text == "-" || t.text == "+") {
                    std::string sign = next().text;
                    if (peek().kind != SqlToken::Kind::Number) fail();
                    l.kind = Literal::Kind::Number;
                    l.text = (sign == "-" ? "-" : "") + next().text;
                    return l;
                }
                fail();
            default:
                fail();
        }
        l.text = next().text;
        return l;
    }

    ProcedureCall procedureCall() {
        ProcedureCall call;
        ObjectName name = objectName();
        call.procedure = foldCase(name.name());
        if (peek().kind == SqlToken::Kind::End ||
            (peek().kind == SqlToken::Kind::Symbol && peek().text == ";")) {
            return call;
        }
        do {
            ProcedureArgument argument;
            if (peek().kind == SqlToken::Kind::Word && peek().text[0] == '@') {
                argument.name = foldCase(next().text);
                expectSymbol("=");
            }
            argument.value = literal();
            call.arguments.push_back(std::move(argument));
        } while (acceptSymbol(","));
        return call;
    }

    WaitForStatement waitFor() {
        if (acceptKeyword("time")) throw unsupported("WAITFOR TIME");
        expectKeyword("delay");
        const SqlToken& t = peek();
        if (t.kind != SqlToken::Kind::String && t.kind != SqlToken::Kind::NationalString) fail();
        auto delay = waitDelay(t.text);
        if (!delay) {
            throw SqlError(
                148, 15, 1,
                "Incorrect time syntax in time string '" + t.text + "' used with WAITFOR.", true);
        }
        next();
        return WaitForStatement{*delay};
    }

    static TransactionStatement transactionStatement(TransactionStatement::Kind kind) {
        TransactionStatement s;
        s.kind = kind;
        return s;
    }

    void acceptTransactionWord() {
        if (!acceptKeyword("tran") && !acceptKeyword("transaction")) acceptKeyword("work");
    }

    // After SET TRANSACTION.
    SetIsolationStatement isolationLevel() {
        expectKeyword("isolation");
        expectKeyword("level");
        if (acceptKeyword("read")) {
            if (acceptKeyword("uncommitted")) return {IsolationLevel::ReadUncommitted};
            expectKeyword("committed");
            return {IsolationLevel::ReadCommitted};
        }
        if (acceptKeyword("repeatable")) {
            expectKeyword("read");
            return {IsolationLevel::RepeatableRead};
        }
        if (acceptKeyword("snapshot")) return {IsolationLevel::Snapshot};
        expectKeyword("serializable");
        return {IsolationLevel::Serializable};
    }

    // After ALTER DATABASE.
    AlterDatabaseStatement alterDatabase() {
        AlterDatabaseStatement a;
        // Only the bare word means the session's database; [CURRENT] names one.
        if (!acceptKeyword("current")) a.database = identifier();
        expectKeyword("set");
        if (!acceptKeyword("allow_snapshot_isolation")) {
            if (peek().kind == SqlToken::Kind::Word) {
                throw unsupported("ALTER DATABASE ... SET " + peek().text);
            }
            fail();
        }
        if (acceptKeyword("on")) {
            a.allowSnapshotIsolation = true;
        } else {
            expectKeyword("off");
        }
        return a;
    }

    SetStatement set() {
        SetStatement s;
        do {
            if (peek().kind != SqlToken::Kind::Word) fail();
            s.options.push_back(foldCase(next().text));
        } while (acceptSymbol(","));
        const SqlToken& value = peek();
        if (value.kind == SqlToken::Kind::Word || value.kind == SqlToken::Kind::Number) {
            s.value = foldCase(next().text);
        } else if (value.kind == SqlToken::Kind::Symbol && value.text == "-" &&
                   peek(1).kind == SqlToken::Kind::Number) {
            next();
            s.value = "-" + next().text;
        } else {
            fail();
        }
        return s;
    }

    const std::string& sql_;
    std::vector<SqlToken> tokens_;
    size_t pos_ = 0;
    size_t statementStart_ = 0;
};

}  // namespace

std::vector<Statement> parseBatch(const std::string& sql) {
    return Parser(sql, tokenize(sql)).run();
}

}  // namespace standin
