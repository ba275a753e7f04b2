// The system procedures the stand-in offers: sp_rename and sp_tables.
#include "server_error.hpp"
#include "sql_lexer.hpp"
#include "statement_executor.hpp"
#include "text_encoding.hpp"
#include "value_encoding.hpp"

#include <algorithm>
#include <map>

namespace standin {
namespace {

// Arguments by parameter name, positional ones named after the procedure's signature.
std::map<std::string, Literal> namedArguments(const ProcedureCall& c,
                                              const std::vector<std::string>& signature) {
    std::map<std::string, Literal> out;
    for (size_t i = 0; i < c.arguments.size(); ++i) {
        const auto& a = c.arguments[i];
        std::string name = a.name.empty() ? (i < signature.size() ? signature[i] : "") : a.name;
        if (std::find(signature.begin(), signature.end(), name) == signature.end()) {
            throw SqlError(8145, 16, 2,
                           (a.name.empty() ? std::string("Too many arguments") : a.name + " is not a parameter") +
                               " for procedure " + c.procedure + ".");
        }
        out[name] = a.value;
    }
    return out;
}

std::optional<std::string> textArgument(const std::map<std::string, Literal>& args, const std::string& name) {
    auto it = args.find(name);
    if (it == args.end() || it->second.kind == Literal::Kind::Null) return std::nullopt;
    return it->second.text;
}

// SQL LIKE with % and _, compared case-insensitively as the default collation does.
bool likeMatch(const std::u16string& text, size_t t, const std::u16string& pattern, size_t p) {
    for (; p < pattern.size(); ++p, ++t) {
        char16_t c = pattern[p];
        if (c == u'%') {
            for (size_t k = t; k <= text.size(); ++k) {
                if (likeMatch(text, k, pattern, p + 1)) return true;
            }
            return false;
        }
        if (c == u'[' && p + 2 < pattern.size() && pattern[p + 2] == u']') {
            c = pattern[++p];  // [x] stands for x itself
            ++p;
            if (t >= text.size() || text[t] != c) return false;
            continue;
        }
        if (t >= text.size() || (c != u'_' && text[t] != c)) return false;
    }
    return t == text.size();
}

bool like(const std::string& text, const std::optional<std::string>& pattern) {
    if (!pattern) return true;
    return likeMatch(utf8ToUtf16(foldCase(text)), 0, utf8ToUtf16(foldCase(*pattern)), 0);
}

// @table_type holds a list such as 'TABLE','VIEW'.
bool typeRequested(const std::optional<std::string>& list, const std::string& type) {
    if (!list) return true;
    std::string upper = *list;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper.find("'" + type + "'") != std::string::npos ||
           (upper.find('\'') == std::string::npos && upper.find(type) != std::string::npos);
}

DeclaredType sysname() { return DeclaredType{SqlType::NVarChar, 128, 0, 0}; }
DeclaredType varcharOf(int n) { return DeclaredType{SqlType::VarChar, n, 0, 0}; }

}  // namespace

StatementOutcome StatementExecutor::call(const ProcedureCall& c) {
    if (c.procedure == "sp_rename") return accessDatabase([&] { return rename(c); });
    if (c.procedure == "sp_tables") return accessDatabase([&] { return tables(c); });
    throw SqlError(2812, 16, 62, "Could not find stored procedure '" + c.procedure + "'.");
}

namespace {
// Splits a name the way the server splits @objname: parts separated by '.', each either
// [bracketed] with "]]" for "]", "quoted" with doubled quotes, or taken as it stands.
ObjectName multipartName(const std::string& text) {
    ObjectName name;
    size_t pos = 0;
    for (;;) {
        std::string part;
        const char open = pos < text.size() ? text[pos] : '\0';
        if (open == '[' || open == '"') {
            const char close = open == '[' ? ']' : '"';
            ++pos;
            while (pos < text.size()) {
                if (text[pos] == close) {
                    if (pos + 1 < text.size() && text[pos + 1] == close) {
                        part += close;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                part += text[pos++];
            }
        } else {
            while (pos < text.size() && text[pos] != '.') part += text[pos++];
        }
        name.parts.push_back(part);
        if (pos >= text.size() || text[pos] != '.') break;
        ++pos;
    }
    return name;
}
}  // namespace

StatementOutcome StatementExecutor::rename(const ProcedureCall& c) {
    auto args = namedArguments(c, {"@objname", "@newname", "@objtype"});
    auto oldText = textArgument(args, "@objname");
    auto newName = textArgument(args, "@newname");
    auto type = textArgument(args, "@objtype");
    if (type && foldCase(*type) != "object") throw unsupported("sp_rename of a " + *type);
    if (!oldText || !newName || newName->empty()) {
        throw SqlError(15223, 11, 1, "Error: The input parameter '@newname' is not allowed to be null.");
    }
    // @objname is a multi-part name; @newname is taken literally.
    ObjectName oldName = multipartName(*oldText);
    std::optional<CatalogueObject> object;
    if (!oldName.parts.empty()) {
        try {
            object = catalogue_.find(localName(oldName, false));
        } catch (const SqlError&) {
            object.reset();
        }
    }
    if (!object) {
        throw SqlError(15248, 11, 1,
                       "Either the parameter @objname is ambiguous or the claimed @objtype (" +
                           (type ? *type : std::string("null")) + ") is wrong.");
    }
    auto inUse = [&] {
        return SqlError(15335, 11, 1,
                        "Error: The new name '" + *newName +
                            "' is already in use as a object name and would cause a duplicate that is not permitted.");
    };
    auto existing = catalogue_.find(*newName);
    if (existing && existing->id != object->id) throw inUse();
    PgTransaction tx(conn_);
    if (!catalogue_.rename(*object, *newName)) throw inUse();
    tx.commit();
    tokens::info(out_.tokens(), 15477, 10, 1,
                 "Caution: Changing any part of an object name could break scripts and stored procedures.");
    tokens::returnStatus(out_.tokens(), 0);
    return {tokens::kDoneProc, done_command::kExecute, std::nullopt};
}

StatementOutcome StatementExecutor::tables(const ProcedureCall& c) {
    auto args = namedArguments(c, {"@table_name", "@table_owner", "@table_qualifier", "@table_type", "@fusepattern"});
    auto name = textArgument(args, "@table_name");
    auto owner = textArgument(args, "@table_owner");
    auto qualifier = textArgument(args, "@table_qualifier");
    auto types = textArgument(args, "@table_type");
    if (qualifier && *qualifier == "%" && (!name || name->empty()) && (!owner || owner->empty())) {
        throw unsupported("listing databases with sp_tables");
    }
    if (qualifier && !qualifier->empty() && foldCase(*qualifier) != foldCase(state_.database)) {
        throw SqlError(15250, 16, 1,
                       "The database name component of the object qualifier must be the name of the current database.");
    }
    std::vector<ResultColumn> columns = {{u"TABLE_QUALIFIER", sysname(), true},
                                         {u"TABLE_OWNER", sysname(), true},
                                         {u"TABLE_NAME", sysname(), true},
                                         {u"TABLE_TYPE", varcharOf(32), true},
                                         {u"REMARKS", varcharOf(254), true}};
    tokens::columnMetadata(out_.tokens(), columns, u"");

    // Only objects made through the stand-in exist; sys and INFORMATION_SCHEMA do not.
    std::vector<CatalogueObject> found;
    if (like("dbo", owner ? std::optional<std::string>(*owner) : std::nullopt)) {
        for (auto& o : catalogue_.objects()) {
            if (like(o.name, name) && typeRequested(types, o.isView ? "VIEW" : "TABLE")) found.push_back(o);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.isView < b.isView; });
    for (const auto& o : found) {
        out_.tokens().u8(tokens::kRow);
        writeColumnValue(out_.tokens(), columns[0].type, state_.database.c_str(), state_.textSize);
        writeColumnValue(out_.tokens(), columns[1].type, "dbo", state_.textSize);
        writeColumnValue(out_.tokens(), columns[2].type, o.name.c_str(), state_.textSize);
        writeColumnValue(out_.tokens(), columns[3].type, o.isView ? "VIEW" : "TABLE", state_.textSize);
        writeColumnValue(out_.tokens(), columns[4].type, nullptr, state_.textSize);
        out_.flushIfLarge();
    }
    out_.done(tokens::kDoneInProc, static_cast<uint16_t>(done_status::kMore | done_status::kCount),
              done_command::kSelect, found.size());
    tokens::returnStatus(out_.tokens(), 0);
    return {tokens::kDoneProc, done_command::kExecute, std::nullopt};
}

}  // namespace standin
