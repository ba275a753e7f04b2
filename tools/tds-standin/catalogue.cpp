#include "catalogue.hpp"

#include "server_error.hpp"
#include "text_encoding.hpp"

#include <cinttypes>
#include <cstdio>

namespace standin {
namespace {

constexpr const char* kUniqueViolation = "23505";
constexpr const char* kAllowSnapshot = "allow_snapshot_isolation";

constexpr size_t kGeneratedTablePrefix = 8;

SqlError alreadyExists(const std::string& name) {
    return SqlError(2714, 16, 6,
                    "There is already an object named '" + name + "' in the database.");
}

// As SQL Server names a key declared without a name: PK__ or UQ__, the table name's first
// eight characters, two underscores and sixteen hex digits, here drawn from the table's id.
std::string generatedKeyName(const CatalogueObject& table, const CatalogueKey& key,
                             size_t ordinal) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the id and the key's place
    for (uint64_t part : {static_cast<uint64_t>(table.id), static_cast<uint64_t>(ordinal)}) {
        for (int i = 0; i < 8; ++i) {
            hash ^= (part >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(hash));
    std::u16string prefix = utf8ToUtf16(table.name).substr(0, kGeneratedTablePrefix);
    return std::string(key.primary ? "PK__" : "UQ__") + utf16ToUtf8(prefix) + "__" + hex;
}

std::string intArray(const std::vector<size_t>& values) {
    std::string out = "{";
    for (size_t i = 0; i < values.size(); ++i) out += (i ? "," : "") + std::to_string(values[i]);
    return out + "}";
}

std::vector<size_t> parseIntArray(const std::string& text) {
    std::vector<size_t> out;
    size_t at = text.find_first_of("0123456789");
    while (at != std::string::npos) {
        size_t end = text.find_first_not_of("0123456789", at);
        out.push_back(std::stoul(text.substr(at, end - at)));
        at = text.find_first_of("0123456789", end);
    }
    return out;
}

}  // namespace

std::string CatalogueObject::backendName() const {
    return (isView ? "v_" : "t_") + std::to_string(id);
}

std::string CatalogueObject::backendKey(size_t ordinal) const {
    return "k_" + std::to_string(id) + "_" + std::to_string(ordinal + 1);
}

std::optional<size_t> CatalogueObject::identityColumn() const {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].identity) return i;
    }
    return std::nullopt;
}

Catalogue::Catalogue(PgConnection& conn) : conn_(conn) {
    PgTransaction tx(conn_);
    // Sessions may meet a fresh database at the same moment.
    conn_.exec("SELECT pg_advisory_xact_lock(7470001)");
    conn_.exec(
        "CREATE TABLE IF NOT EXISTS standin_objects ("
        " id bigserial PRIMARY KEY, name text NOT NULL, folded_name text NOT NULL UNIQUE,"
        " is_view boolean NOT NULL)");
    conn_.exec(
        "CREATE TABLE IF NOT EXISTS standin_columns ("
        " object_id bigint NOT NULL REFERENCES standin_objects(id) ON DELETE CASCADE,"
        " ordinal int NOT NULL, name text NOT NULL, type_keyword text NOT NULL,"
        " length int NOT NULL, precision int NOT NULL, scale int NOT NULL,"
        " not_null boolean NOT NULL, identity_seed bigint, identity_increment bigint,"
        " PRIMARY KEY (object_id, ordinal))");
    // A catalogue made before identity columns gains them empty. Only then: ALTER TABLE
    // would wait for every session that has read the catalogue in an open transaction.
    auto identityKept = conn_.exec(
        "SELECT 1 FROM pg_attribute WHERE attrelid = 'standin_columns'::regclass"
        " AND attname = 'identity_seed'");
    if (PQntuples(identityKept.get()) == 0) {
        conn_.exec(
            "ALTER TABLE standin_columns ADD COLUMN identity_seed bigint,"
            " ADD COLUMN identity_increment bigint");
    }
    conn_.exec(
        "CREATE TABLE IF NOT EXISTS standin_keys ("
        " object_id bigint NOT NULL REFERENCES standin_objects(id) ON DELETE CASCADE,"
        " ordinal int NOT NULL, name text NOT NULL, folded_name text NOT NULL UNIQUE,"
        " is_primary boolean NOT NULL, columns int[] NOT NULL, PRIMARY KEY (object_id, ordinal))");
    conn_.exec(
        "CREATE TABLE IF NOT EXISTS standin_settings (name text PRIMARY KEY, value text NOT NULL)");
    tx.commit();
}

std::optional<CatalogueObject> Catalogue::find(const std::string& name) {
    auto r = conn_.exec("SELECT id, name, is_view FROM standin_objects WHERE folded_name = $1",
                        {foldCase(name)});
    if (PQntuples(r.get()) == 0) return std::nullopt;
    CatalogueObject o;
    o.id = std::stoll(PQgetvalue(r.get(), 0, 0));
    o.name = PQgetvalue(r.get(), 0, 1);
    o.isView = PQgetvalue(r.get(), 0, 2)[0] == 't';
    o.columns = columnsOf(o.id);
    return o;
}

std::vector<CatalogueObject> Catalogue::objects() {
    auto r = conn_.exec("SELECT id, name, is_view FROM standin_objects ORDER BY folded_name");
    std::vector<CatalogueObject> out;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
        CatalogueObject o;
        o.id = std::stoll(PQgetvalue(r.get(), i, 0));
        o.name = PQgetvalue(r.get(), i, 1);
        o.isView = PQgetvalue(r.get(), i, 2)[0] == 't';
        out.push_back(std::move(o));
    }
    return out;
}

std::vector<CatalogueColumn> Catalogue::columnsOf(int64_t id) {
    auto r = conn_.exec(
        "SELECT name, type_keyword, length, precision, scale, not_null, identity_seed,"
        " identity_increment FROM standin_columns WHERE object_id = $1 ORDER BY ordinal",
        {std::to_string(id)});
    std::vector<CatalogueColumn> columns;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
        CatalogueColumn c;
        c.name = PQgetvalue(r.get(), i, 0);
        c.type = typeFromCatalogue(PQgetvalue(r.get(), i, 1), std::stoi(PQgetvalue(r.get(), i, 2)),
                                   std::stoi(PQgetvalue(r.get(), i, 3)),
                                   std::stoi(PQgetvalue(r.get(), i, 4)));
        c.notNull = PQgetvalue(r.get(), i, 5)[0] == 't';
        if (!PQgetisnull(r.get(), i, 6)) {
            c.identity = IdentityProperty{std::stoll(PQgetvalue(r.get(), i, 6)),
                                      std::stoll(PQgetvalue(r.get(), i, 7))};
        }
        columns.push_back(std::move(c));
    }
    return columns;
}

CatalogueObject Catalogue::addTable(const std::string& name,
                                    const std::vector<CatalogueColumn>& columns,
                                    std::vector<CatalogueKey> keys) {
    CatalogueObject o = add(name, false, columns);
    for (size_t i = 0; i < keys.size(); ++i) {
        CatalogueKey& k = keys[i];
        if (k.name.empty()) k.name = generatedKeyName(o, k, i);
        if (find(k.name)) throw alreadyExists(k.name);
        try {
            conn_.exec("INSERT INTO standin_keys VALUES ($1, $2, $3, $4, $5, $6)",
                       {std::to_string(o.id), std::to_string(i + 1), k.name, foldCase(k.name),
                        k.primary ? "true" : "false", intArray(k.columns)});
        } catch (const BackendError& e) {
            if (e.sqlState == kUniqueViolation) throw alreadyExists(k.name);
            throw;
        }
    }
    return o;
}

std::vector<CatalogueKey> Catalogue::keysOf(const CatalogueObject& table) {
    auto r = conn_.exec(
        "SELECT name, is_primary, columns FROM standin_keys WHERE object_id = $1 ORDER BY ordinal",
        {std::to_string(table.id)});
    std::vector<CatalogueKey> keys;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
        keys.push_back({PQgetvalue(r.get(), i, 0), PQgetvalue(r.get(), i, 1)[0] == 't',
                        parseIntArray(PQgetvalue(r.get(), i, 2))});
    }
    return keys;
}

bool Catalogue::keyNamed(const std::string& name) {
    auto r = conn_.exec("SELECT 1 FROM standin_keys WHERE folded_name = $1", {foldCase(name)});
    return PQntuples(r.get()) > 0;
}

std::optional<KeyOwner> Catalogue::keyOwner(const std::string& backendConstraint) {
    int64_t id = 0;
    int ordinal = 0;
    char rest = 0;
    if (std::sscanf(backendConstraint.c_str(), "k_%" SCNd64 "_%d%c", &id, &ordinal, &rest) != 2) {
        return std::nullopt;
    }
    auto r = conn_.exec(
        "SELECT o.name, k.name, k.is_primary, k.columns FROM standin_keys k"
        " JOIN standin_objects o ON o.id = k.object_id WHERE k.object_id = $1 AND k.ordinal = $2",
        {std::to_string(id), std::to_string(ordinal)});
    if (PQntuples(r.get()) == 0) return std::nullopt;
    KeyOwner owner;
    owner.table.id = id;
    owner.table.name = PQgetvalue(r.get(), 0, 0);
    owner.table.columns = columnsOf(id);
    owner.key.name = PQgetvalue(r.get(), 0, 1);
    owner.key.primary = PQgetvalue(r.get(), 0, 2)[0] == 't';
    owner.key.columns = parseIntArray(PQgetvalue(r.get(), 0, 3));
    return owner;
}

CatalogueObject Catalogue::addView(const std::string& name,
                                   const std::vector<CatalogueColumn>& columns) {
    return add(name, true, columns);
}

CatalogueObject Catalogue::add(const std::string& name, bool isView,
                               const std::vector<CatalogueColumn>& columns) {
    CatalogueObject o;
    o.name = name;
    o.isView = isView;
    o.columns = columns;
    if (keyNamed(name)) throw alreadyExists(name);
    try {
        auto r = conn_.exec(
            "INSERT INTO standin_objects(name, folded_name, is_view) VALUES ($1, $2, $3) RETURNING "
            "id",
            {name, foldCase(name), isView ? "true" : "false"});
        o.id = std::stoll(PQgetvalue(r.get(), 0, 0));
    } catch (const BackendError& e) {
        if (e.sqlState == kUniqueViolation) throw alreadyExists(name);
        throw;
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto& c = columns[i];
        PgParams params = {std::to_string(o.id),
                           std::to_string(i + 1),
                           c.name,
                           c.type.keyword(),
                           std::to_string(c.type.length),
                           std::to_string(c.type.precision),
                           std::to_string(c.type.scale),
                           c.notNull ? "true" : "false",
                           std::nullopt,
                           std::nullopt};
        if (c.identity) {
            params[8] = std::to_string(c.identity->seed);
            params[9] = std::to_string(c.identity->increment);
        }
        conn_.exec("INSERT INTO standin_columns VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)",
                   params);
    }
    return o;
}

void Catalogue::remove(const CatalogueObject& object) {
    conn_.exec("DELETE FROM standin_objects WHERE id = $1", {std::to_string(object.id)});
}

bool Catalogue::rename(const CatalogueObject& object, const std::string& newName) {
    if (keyNamed(newName)) return false;
    try {
        conn_.exec("UPDATE standin_objects SET name = $1, folded_name = $2 WHERE id = $3",
                   {newName, foldCase(newName), std::to_string(object.id)});
    } catch (const BackendError& e) {
        if (e.sqlState == kUniqueViolation) return false;
        throw;
    }
    return true;
}

bool Catalogue::allowsSnapshotIsolation() {
    auto r = conn_.exec("SELECT value FROM standin_settings WHERE name = $1", {kAllowSnapshot});
    return PQntuples(r.get()) == 1 && std::string(PQgetvalue(r.get(), 0, 0)) == "on";
}

void Catalogue::setAllowsSnapshotIsolation(bool allow) {
    conn_.exec(
        "INSERT INTO standin_settings(name, value) VALUES ($1, $2)"
        " ON CONFLICT (name) DO UPDATE SET value = EXCLUDED.value",
        {kAllowSnapshot, allow ? "on" : "off"});
}

}  // namespace standin
