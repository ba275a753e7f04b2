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
    std::optional<IdentityProperty> identity;
};

// A PRIMARY KEY or UNIQUE constraint of a table.
struct CatalogueKey {
    std::string name;  // as declared, or as the server named it
    bool primary = false;
    std::vector<size_t> columns;  // ordinals into the table's columns
};

struct CatalogueObject {
    int64_t id = 0;
    std::string name;  // as declared
    bool isView = false;
    std::vector<CatalogueColumn> columns;

    // Backend relation: a safe generated name, whatever characters the declared one has.
    std::string backendName() const;
    static std::string backendColumn(size_t ordinal) { return "c" + std::to_string(ordinal + 1); }
    // The backend constraint of the table's key at `ordinal`: named after the table's id, so
    // that no two tables' constraints clash and a renamed table keeps its own.
    std::string backendKey(size_t ordinal) const;
    // The backend sequence that numbers the identity column, named after the table's id.
    std::string backendIdentitySequence() const { return "s_" + std::to_string(id); }
    // The ordinal of the identity column, if the table has one.
    std::optional<size_t> identityColumn() const;
};

// The table and key that a backend constraint enforces.
struct KeyOwner {
    CatalogueObject table;
    CatalogueKey key;
};

// The side catalogue in each backend database: declared names and SQL Server types of
// the tables and views created through the stand-in, and the database's settings.
class Catalogue {
  public:
    explicit Catalogue(PgConnection& conn);

    // Lookup by name under the case-insensitive collation.
    std::optional<CatalogueObject> find(const std::string& name);
    std::vector<CatalogueObject> objects();
    // The table's PRIMARY KEY and UNIQUE constraints, in declaration order.
    std::vector<CatalogueKey> keysOf(const CatalogueObject& table);

    // Each raises 2714 when the name (or a key's) is taken. Callers run them in a transaction.
    // Keys without a name get one as SQL Server makes them.
    CatalogueObject addTable(const std::string& name, const std::vector<CatalogueColumn>& columns,
                             std::vector<CatalogueKey> keys);
    CatalogueObject addView(const std::string& name, const std::vector<CatalogueColumn>& columns);
    void remove(const CatalogueObject& object);
    // The key that the backend constraint of that name enforces, if it is one of ours.
    std::optional<KeyOwner> keyOwner(const std::string& backendConstraint);
    // False when the new name is taken.
    bool rename(const CatalogueObject& object, const std::string& newName);

    // The database's ALLOW_SNAPSHOT_ISOLATION, off until set as on SQL Server.
    bool allowsSnapshotIsolation();
    void setAllowsSnapshotIsolation(bool allow);

  private:
    CatalogueObject add(const std::string& name, bool isView,
                        const std::vector<CatalogueColumn>& columns);
    std::vector<CatalogueColumn> columnsOf(int64_t id);
    // Whether a key is named so: tables and constraints share one namespace.
    bool keyNamed(const std::string& name);

    PgConnection& conn_;
};

}  // namespace standin
