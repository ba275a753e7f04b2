#include "bulk_load.hpp"

#include "bulk_values.hpp"
#include "identity.hpp"
#include "pg_copy.hpp"
#include "server_error.hpp"
#include "statement_executor.hpp"

#include <optional>
#include <vector>

namespace standin {
namespace {

constexpr uint8_t kColumnMetadataToken = 0x81;
constexpr uint8_t kRowToken = 0xD1;
constexpr uint8_t kDoneToken = 0xFD;
constexpr size_t kDoneBodyBytes = 2 + 2 + 8;  // status, command, row count
constexpr uint64_t kRowsBetweenCancelChecks = 256;

}  // namespace

SqlError BulkLoad::nullRefused(size_t column) const {
    return SqlError(515, 16, 2,
                    "Cannot insert the value NULL into column '" + table_.columns[column].name +
                        "', table '" + database_ + ".dbo." + table_.name +
                        "'; column does not allow nulls. INSERT fails.");
}

uint64_t BulkLoad::run(BulkMessageReader& in) {
    if (in.u8() != kColumnMetadataToken) {
        throw ProtocolError("bulk load message without COLMETADATA");
    }
    std::vector<BulkColumn> wire(in.u16());
    std::vector<std::string> names;
    for (auto& w : wire) {
        w = readBulkColumn(in);
        names.push_back(w.name);
    }
    const std::vector<size_t> targets = requireColumns(table_, names);
    std::vector<std::string> backendColumns;
    std::vector<bool> sent(table_.columns.size(), false);
    for (size_t t : targets) {
        backendColumns.push_back(CatalogueObject::backendColumn(t));
        sent[t] = true;
    }
    // A column the load leaves out gets NULL, which a NOT NULL one refuses; the identity
    // column numbers the rows instead.
    const std::optional<size_t> identity = table_.identityColumn();
    std::optional<size_t> missingNotNull;
    for (size_t c = 0; c < sent.size() && !missingNotNull; ++c) {
        if (!sent[c] && table_.columns[c].notNull && c != identity) missingNotNull = c;
    }
    std::vector<int64_t> explicitIdentities;

    PgCopyIn copy(conn_, quoteIdentifier(table_.backendName()), backendColumns);
    std::vector<std::optional<std::string>> values(wire.size());
    while (!in.atEnd()) {
        uint8_t token = in.u8();
        if (token == kDoneToken) {
            in.skip(kDoneBodyBytes);
            continue;
        }
        if (token != kRowToken) {
            throw ProtocolError("unexpected token " + std::to_string(token) + " in a bulk load");
        }
        if (missingNotNull) throw nullRefused(*missingNotNull);
        for (size_t i = 0; i < wire.size(); ++i) {
            const CatalogueColumn& column = table_.columns[targets[i]];
            values[i] = readBulkValue(in, wire[i], column.type, targets[i] + 1);
            if (!values[i] && column.notNull) throw nullRefused(targets[i]);
            if (targets[i] == identity) explicitIdentities.push_back(identityValue(*values[i]));
        }
        copy.row(values);
        if (copy.rowsAdded() % kRowsBetweenCancelChecks == 0 && out_.cancelled()) {
            throw SqlError(0, 0, 0, "bulk load cancelled");
        }
    }
    uint64_t rows = 0;
    try {
        rows = copy.finish();
    } catch (const BackendError& e) {
        if (identity && isIdentityExhausted(e))
            throw identityOverflow(table_.columns[*identity].type);
        throw;
    }
    advanceIdentity(conn_, table_, explicitIdentities);
    return rows;
}

}  // namespace standin
