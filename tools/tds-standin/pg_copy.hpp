#pragma once

#include "pg_connection.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// COPY ... FROM STDIN in text format: rows are sent to the backend as they are added, in
// blocks, so that a load of any size runs in one command without being held. Ended
// without finish(), the COPY fails and the backend keeps none of its rows.
class PgCopyIn {
  public:
    // Throws BackendError when the backend refuses the COPY.
    PgCopyIn(PgConnection& conn, const std::string& relation,
             const std::vector<std::string>& columns);
    PgCopyIn(const PgCopyIn&) = delete;
    PgCopyIn& operator=(const PgCopyIn&) = delete;
    ~PgCopyIn();

    // One row; values in PostgreSQL's text form, nothing for NULL.
    void row(const std::vector<std::optional<std::string>>& values);
    // Ends the COPY; the rows it took. Throws BackendError when the backend refuses them.
    uint64_t finish();
    uint64_t rowsAdded() const { return rows_; }

  private:
    void flush();
    // Reads the COPY's outcome; throws BackendError on failure.
    void takeResult();

    PgConnection& conn_;
    std::string block_;
    uint64_t rows_ = 0;
    bool open_ = false;
};

}  // namespace standin
