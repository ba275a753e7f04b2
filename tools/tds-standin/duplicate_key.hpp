#pragma once

#include "catalogue.hpp"
#include "pg_connection.hpp"
#include "server_error.hpp"

#include <optional>

namespace standin {

// Error 2627 as SQL Server raises it for a row whose key a PRIMARY KEY or UNIQUE constraint
// already holds, from the backend's unique violation; nothing when the violated constraint
// is not one of the client's keys. Reads the catalogue, so the failed command's
// transaction or savepoint must have been rolled back first.
std::optional<SqlError> duplicateKeyError(Catalogue& catalogue, const BackendError& e);

}  // namespace standin
