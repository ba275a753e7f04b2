#pragma once

#include "pg_connection.hpp"
#include "sql_types.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

struct CatalogueColumn {
    std::string name;
    DeclaredType type;
    bool notNull = false;
};

struct CatalogueObject {
    int64_t id = 0;
    std::string name;  // as declared
    bool isView = false;
    std::vector<CatalogueColumn> columns;

    // Backend relation: a safe generated name, whatever characters the declared one has.
    std::string backendName() const;
    static std::string backendColumn(size_t ordinal) { return "c" + std::to_string(ordinal + 1); }
};

// The side catalogue in each backend database: declared names and SQL Server types of
// the tables and views created through the stand-in, and the database's settings.
class Catalogue {
public:
    explicit Catalogue(PgConnection& conn);

    // Lookup by name under the case-insensitive collation.
    std::optional<CatalogueObject> find(const std::string& name);
    std::vector<CatalogueObject> objects();

    // Each raises 2714 when the name is taken. Callers run them in a transaction.
    CatalogueObject addTable(const std::string& name, const std::vector<CatalogueColumn>& columns);
    CatalogueObject addView(const std::string& name, const std::vector<CatalogueColumn>& columns);
    void remove(const CatalogueObject& object);
    // False when the new name is taken.
    bool rename(const CatalogueObject& object, const std::string& newName);

    // The database's ALLOW_SNAPSHOT_ISOLATION, off until set as on SQL Server.
    bool allowsSnapshotIsolation();
    void setAllowsSnapshotIsolation(bool allow);

private:
    CatalogueObject add(const std::string& name, bool isView, const std::vector<CatalogueColumn>& columns);
    std::vector<CatalogueColumn> columnsOf(int64_t id);

    PgConnection& conn_;
};

}  // namespace standin
