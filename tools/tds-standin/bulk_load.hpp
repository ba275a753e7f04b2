#pragma once

#include "bulk_message_reader.hpp"
#include "catalogue.hpp"
#include "pg_connection.hpp"
#include "response_writer.hpp"

#include <cstdint>
#include <string>

namespace standin {

// The rows of one bulk load message (COLMETADATA, ROWs, DONE) into a table, streamed to
// the backend as they arrive. The caller provides the transaction or savepoint that takes
// the rows whole or not at all.
class BulkLoad {
  public:
    BulkLoad(PgConnection& conn, const CatalogueObject& table, const std::string& database,
             ResponseWriter& out)
        : conn_(conn), table_(table), database_(database), out_(out) {}

    // The number of rows loaded. Raises SqlError as SQL Server refuses a load, and a
    // SqlError that the caller drops when the client cancelled it.
    uint64_t run(BulkMessageReader& in);

  private:
    SqlError nullRefused(size_t column) const;

    PgConnection& conn_;
    const CatalogueObject& table_;
    const std::string& database_;
    ResponseWriter& out_;
};

}  // namespace standin
