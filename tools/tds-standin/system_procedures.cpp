// The system procedures the stand-in offers, and sp_rename and sp_tables among them.
#include "procedure_arguments.hpp"
#include "server_error.hpp"
#include "sql_lexer.hpp"
#include "statement_executor.hpp"
#include "text_encoding.hpp"
#include "value_encoding.hpp"

#include <algorithm>
#include <map>

namespace standin {
namespace {

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
    if (c.procedure == "sp_columns") return accessDatabase([&] { return columns(c); });
    if (c.procedure == "sp_pkeys") return accessDatabase([&] { return primaryKeys(c); });
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
