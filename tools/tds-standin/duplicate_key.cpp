#include "duplicate_key.hpp"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace standin {
namespace {

constexpr const char* kUniqueViolation = "23505";

// One key value as SQL Server writes it in the message, from PostgreSQL's text of it.
std::string keyValueText(std::string value, const DeclaredType& type) {
    if (value == "null" && !isCharacterType(type.type)) return "<NULL>";
    switch (type.type) {
        case SqlType::Bit:
            return value == "t" ? "1" : value == "f" ? "0" : value;
        case SqlType::Binary:
        case SqlType::VarBinary:
            if (value.rfind("\\x", 0) != 0) return value;
            std::transform(value.begin() + 2, value.end(), value.begin() + 2,
                           [](unsigned char c) { return std::toupper(c); });
            return "0x" + value.substr(2);
        case SqlType::UniqueIdentifier:
            std::transform(value.begin(), value.end(), value.begin(),
                           [](unsigned char c) { return std::toupper(c); });
            return value;
        default:
            return value;
    }
}

// "(v1, v2)" from PostgreSQL's "Key (c1, c2)=(v1, v2) already exists.", each value as SQL
// Server writes it. The key's expressions hold no "=", so the first ")=(" ends them.
// Values are split at ", " only when that gives one per column; a character value holding
// ", " leaves the text as PostgreSQL wrote it.
std::string keyValues(const std::string& detail, const KeyOwner& owner) {
    const std::string suffix = ") already exists.";
    const size_t start = detail.find(")=(");
    if (detail.rfind("Key (", 0) != 0 || start == std::string::npos ||
        detail.size() < start + 3 + suffix.size() ||
        detail.compare(detail.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return "(" + detail + ")";
    }
    std::string joined = detail.substr(start + 3, detail.size() - start - 3 - suffix.size());
    std::vector<std::string> values;
    for (size_t at = 0;;) {
        size_t comma = joined.find(", ", at);
        values.push_back(joined.substr(at, comma == std::string::npos ? comma : comma - at));
        if (comma == std::string::npos) break;
        at = comma + 2;
    }
    if (values.size() != owner.key.columns.size()) return "(" + joined + ")";
    std::string out;
    for (size_t i = 0; i < values.size(); ++i) {
        const DeclaredType& type = owner.table.columns.at(owner.key.columns[i]).type;
        out += (i ? ", " : "") + keyValueText(values[i], type);
    }
    return "(" + out + ")";
}

}  // namespace

std::optional<SqlError> duplicateKeyError(Catalogue& catalogue, const BackendError& e) {
    if (e.sqlState != kUniqueViolation) return std::nullopt;
    std::optional<KeyOwner> owner = catalogue.keyOwner(e.constraint);
    if (!owner) return std::nullopt;
    return SqlError(2627, 14, 1,
                    std::string("Violation of ") +
                        (owner->key.primary ? "PRIMARY KEY" : "UNIQUE KEY") + " constraint '" +
                        owner->key.name + "'. Cannot insert duplicate key in object 'dbo." +
                        owner->table.name + "'. The duplicate key value is " +
                        keyValues(e.detail, *owner) + ".");
}

}  // namespace standin
