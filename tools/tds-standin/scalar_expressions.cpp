#include "scalar_expressions.hpp"

#include "database_collation.hpp"
#include "literal_conversion.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"

namespace standin {
namespace {

// sysname, the type of names that functions take and return.
constexpr int kNameLength = 128;

DeclaredType typeOf(SqlType type, int length = 0) {
    DeclaredType t;
    t.type = type;
    t.length = length;
    return t;
}

bool isIntegerType(SqlType t) {
    return t == SqlType::TinyInt || t == SqlType::SmallInt || t == SqlType::Int ||
           t == SqlType::BigInt;
}

ScalarValue constant(const Literal& l) {
    switch (l.kind) {
        case Literal::Kind::Null:
            return {typeOf(SqlType::Int), false, std::nullopt};
        case Literal::Kind::String:
            return {typeOf(SqlType::VarChar, static_cast<int>(l.text.size())), false, l.text};
        case Literal::Kind::NationalString:
            return {typeOf(SqlType::NVarChar, static_cast<int>(utf8ToUtf16(l.text).size())), false,
                    l.text};
        case Literal::Kind::Number:
            if (l.text.find_first_not_of("-0123456789") == std::string::npos) {
                return {typeOf(SqlType::Int), false, convertLiteral(l, typeOf(SqlType::Int))};
            }
            break;
        default:
            break;
    }
    throw unsupported("constants other than strings and integers in a SELECT list");
}

void requireArguments(const Expression& e, size_t count, const char* name) {
    if (e.arguments.size() == count) return;
    throw SqlError(174, 15, 1,
                   std::string("The ") + name + " function requires " + std::to_string(count) +
                       " argument(s).",
                   true);
}

// A name or property argument: sql_variant needs an explicit CONVERT first.
std::optional<std::string> nameArgument(const ScalarValue& v) {
    if (v.isVariant) {
        throw SqlError(257, 16, 3,
                       "Implicit conversion from data type sql_variant to nvarchar is not allowed. "
                       "Use the CONVERT function to run this query.");
    }
    return v.text;
}

ScalarValue databaseProperty(const std::optional<std::string>& database,
                             const std::optional<std::string>& property,
                             const std::string& current) {
    if (!property || foldCase(*property) != "collation") {
        throw unsupported("DATABASEPROPERTYEX(..., '" + property.value_or("NULL") + "')");
    }
    ScalarValue v{typeOf(SqlType::NVarChar, kNameLength), true, std::nullopt};
    if (!database) return v;
    if (foldCase(*database) != foldCase(current)) {
        throw unsupported("DATABASEPROPERTYEX of a database other than the session's");
    }
    v.text = kDatabaseCollation.name;
    return v;
}

ScalarValue collationProperty(const std::optional<std::string>& collation,
                              const std::optional<std::string>& property) {
    if (!property || foldCase(*property) != "codepage") {
        throw unsupported("COLLATIONPROPERTY(..., '" + property.value_or("NULL") + "')");
    }
    ScalarValue v{typeOf(SqlType::Int), true, std::nullopt};
    if (!collation) return v;
    if (foldCase(*collation) != foldCase(kDatabaseCollation.name)) {
        throw unsupported("COLLATIONPROPERTY of a collation other than the database's ('" +
                          *collation + "')");
    }
    v.text = std::to_string(kDatabaseCollation.codePage);
    return v;
}

ScalarValue convert(const DeclaredType& target, const ScalarValue& operand) {
    ScalarValue out{target, false, std::nullopt};
    if (!operand.text) return out;
    Literal l;
    l.text = *operand.text;
    if (isCharacterType(operand.type.type)) {
        l.kind = isUnicodeType(operand.type.type) ? Literal::Kind::NationalString
                                                  : Literal::Kind::String;
        // An explicit conversion cuts a long string where an INSERT would fail.
        if (isCharacterType(target.type) && !target.isMax()) {
            std::u16string units = utf8ToUtf16(l.text);
            if (units.size() > static_cast<size_t>(target.length)) {
                l.text = utf16ToUtf8(units.substr(0, static_cast<size_t>(target.length)));
            }
        }
    } else if (isIntegerType(operand.type.type)) {
        l.kind = Literal::Kind::Number;
    } else {
        throw unsupported("CONVERT from " + operand.type.displayName());
    }
    out.text = convertLiteral(l, target);
    return out;
}

}  // namespace

ScalarValue evaluate(const Expression& e, const std::string& database, bool inTransaction) {
    switch (e.kind) {
        case Expression::Kind::Constant:
            return constant(e.constant);
        case Expression::Kind::Convert:
            return convert(e.target, evaluate(e.arguments.at(0), database, inTransaction));
        case Expression::Kind::Function:
            break;
    }
    std::vector<ScalarValue> args;
    for (const auto& a : e.arguments) args.push_back(evaluate(a, database, inTransaction));
    if (e.function == "db_name") {
        if (!args.empty()) throw unsupported("DB_NAME of a database id");
        return {typeOf(SqlType::NVarChar, kNameLength), false, database};
    }
    if (e.function == "databasepropertyex") {
        requireArguments(e, 2, "databasepropertyex");
        return databaseProperty(nameArgument(args[0]), nameArgument(args[1]), database);
    }
    if (e.function == "xact_state") {
        // 1: a transaction that can still commit; the stand-in never keeps one that
        // cannot (a conflict rolls it back whole), so otherwise 0: none.
        requireArguments(e, 0, "xact_state");
        return {typeOf(SqlType::SmallInt), false, inTransaction ? "1" : "0"};
    }
    if (e.function == "collationproperty") {
        requireArguments(e, 2, "collationproperty");
        return collationProperty(nameArgument(args[0]), nameArgument(args[1]));
    }
    throw SqlError(195, 15, 10, "'" + e.function + "' is not a recognized built-in function name.",
                   true);
}

}  // namespace standin
