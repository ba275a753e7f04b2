#pragma once

#include "catalogue.hpp"
#include "pg_connection.hpp"
#include "server_error.hpp"
#include "statements.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// IDENTITY columns are numbered by a backend sequence per table: like SQL Server's identity
// value, a sequence is not rolled back with the transaction that drew from it.

// Refuses identity declarations that SQL Server refuses in CREATE TABLE.
void checkIdentityColumns(const std::string& table, const std::vector<ColumnDefinition>& columns);

// The CREATE SEQUENCE of the table's identity column, run before the table is made.
std::string identitySequenceDdl(const CatalogueObject& table, size_t column);

// The DEFAULT that numbers rows given no identity value.
std::string identityDefault(const CatalogueObject& table);

// An explicit identity value, as the stored text of its column's type.
int64_t identityValue(const std::string& text);

// After explicit identity values went in under IDENTITY_INSERT: one beyond the current
// identity value (in the direction of the increment) becomes the current value.
void advanceIdentity(PgConnection& conn, const CatalogueObject& table,
                     const std::vector<int64_t>& explicitValues);

// The table's current identity value: the last one drawn, or the seed before any was.
int64_t currentIdentity(PgConnection& conn, const CatalogueObject& table);

// The backend's "sequence exhausted" as SQL Server reports an identity past its type's range.
bool isIdentityExhausted(const BackendError& e);
SqlError identityOverflow(const DeclaredType& type);

}  // namespace standin
