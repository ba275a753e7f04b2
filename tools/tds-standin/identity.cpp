#include "identity.hpp"

#include "text_encoding.hpp"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

namespace standin {
namespace {

struct Range {
    int64_t min;
    int64_t max;
};

bool allowsIdentity(const DeclaredType& t) {
    switch (t.type) {
        case SqlType::TinyInt:
        case SqlType::SmallInt:
        case SqlType::Int:
        case SqlType::BigInt:
            return true;
        case SqlType::Decimal:
        case SqlType::Numeric:
            return t.scale == 0;
        default:
            return false;
    }
}

// The values the column's type holds, as far as a bigint sequence reaches.
Range rangeOf(const DeclaredType& t) {
    switch (t.type) {
        case SqlType::TinyInt:
            return {0, 255};
        case SqlType::SmallInt:
            return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
        case SqlType::Int:
            return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
        default: {
            int64_t limit = std::numeric_limits<int64_t>::max();
            if (t.type != SqlType::BigInt && t.precision < 19) {
                limit = 1;
                for (int i = 0; i < t.precision; ++i) limit *= 10;
                limit -= 1;
            }
            return {-limit, limit};
        }
    }
}

// Whether a lies beyond b in the direction the identity counts.
bool beyond(int64_t a, int64_t b, int64_t increment) {
    return increment > 0 ? a > b : a < b;
}

// The last value the table's sequence gave, if it gave any.
std::optional<int64_t> lastDrawn(PgConnection& conn, const CatalogueObject& table) {
    auto r = conn.exec("SELECT last_value, is_called FROM " +
                       quoteIdentifier(table.backendIdentitySequence()));
    if (PQgetvalue(r.get(), 0, 1)[0] != 't') return std::nullopt;
    return std::stoll(PQgetvalue(r.get(), 0, 0));
}

}  // namespace

void checkIdentityColumns(const std::string& table, const std::vector<ColumnDefinition>& columns) {
    bool seen = false;
    for (const auto& c : columns) {
        if (!c.identity) continue;
        if (!allowsIdentity(c.type)) {
            throw SqlError(2749, 16, 2,
                           "Identity column '" + c.name +
                               "' must be of data type int, bigint, smallint, tinyint, or decimal "
                               "or numeric with a scale of 0, and constrained to be nonnullable.");
        }
        if (seen) {
            throw SqlError(2744, 16, 2,
                           "Multiple identity columns specified for table '" + table +
                               "'. Only one identity column per table is allowed.");
        }
        seen = true;
        if (c.explicitNull) {
            throw SqlError(8147, 16, 1,
                           "Could not create IDENTITY attribute on nullable column '" + c.name +
                               "', table '" + table + "'.");
        }
        const Range range = rangeOf(c.type);
        if (c.identity->increment == 0) throw unsupported("an identity increment of 0");
        if (c.identity->seed < range.min || c.identity->seed > range.max) {
            throw unsupported("an identity seed outside the range of its column's type");
        }
    }
}

std::string identitySequenceDdl(const CatalogueObject& table, size_t column) {
    const CatalogueColumn& c = table.columns[column];
    const Range range = rangeOf(c.type);
    return "CREATE SEQUENCE " + quoteIdentifier(table.backendIdentitySequence()) +
           " AS bigint INCREMENT BY " + std::to_string(c.identity->increment) + " MINVALUE " +
           std::to_string(range.min) + " MAXVALUE " + std::to_string(range.max) + " START WITH " +
           std::to_string(c.identity->seed);
}

std::string identityDefault(const CatalogueObject& table) {
    return "DEFAULT nextval('" + quoteIdentifier(table.backendIdentitySequence()) + "')";
}

int64_t identityValue(const std::string& text) {
    try {
        return std::stoll(text);
    } catch (const std::out_of_range&) {
        throw unsupported("identity values beyond the bigint range");
    }
}

void advanceIdentity(PgConnection& conn, const CatalogueObject& table,
                     const std::vector<int64_t>& explicitValues) {
    auto column = table.identityColumn();
    if (!column || explicitValues.empty()) return;
    const IdentityProperty& property = *table.columns[*column].identity;
    const int64_t furthest = property.increment > 0
                                 ? *std::max_element(explicitValues.begin(), explicitValues.end())
                                 : *std::min_element(explicitValues.begin(), explicitValues.end());
    // Before its first value the sequence stands one step short of the seed.
    const int64_t current = lastDrawn(conn, table).value_or(property.seed - property.increment);
    if (!beyond(furthest, current, property.increment)) return;
    conn.exec("SELECT setval('" + quoteIdentifier(table.backendIdentitySequence()) + "', $1, true)",
              {std::to_string(furthest)});
}

int64_t currentIdentity(PgConnection& conn, const CatalogueObject& table) {
    return lastDrawn(conn, table).value_or(table.columns[*table.identityColumn()].identity->seed);
}

bool isIdentityExhausted(const BackendError& e) {
    return e.sqlState == "2200H";
}

SqlError identityOverflow(const DeclaredType& type) {
    return SqlError(
        8115, 16, 1,
        "Arithmetic overflow error converting IDENTITY to data type " + type.keyword() + ".");
}

}  // namespace standin
