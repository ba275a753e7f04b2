#include "statement_executor.hpp"

#include "bulk_load.hpp"
#include "duplicate_key.hpp"
#include "identity.hpp"
#include "literal_conversion.hpp"
#include "scalar_expressions.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"
#include "value_encoding.hpp"

#include <algorithm>
#include <chrono>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace standin {
namespace {

constexpr size_t kRowsBetweenCancelChecks = 32;
// The most parameters PostgreSQL takes in one command.
constexpr size_t kMaxBackendParams = 65535;
// How long a wait goes between looks for the client's cancel.
constexpr std::chrono::milliseconds kCancelPollSlice{20};

SqlError invalidObject(const ObjectName& name) {
    return SqlError(208, 16, 1, "Invalid object name '" + name.written() + "'.", true);
}

// PostgreSQL's serialization failure and deadlock: SQL Server reports either as a deadlock
// whose victim's transaction is gone.
bool isConflict(const BackendError& e) {
    return e.sqlState == "40001" || e.sqlState == "40P01";
}

SqlError deadlockVictim(uint16_t processId) {
    return SqlError(1205, 13, 51,
                    "Transaction (Process ID " + std::to_string(processId) +
                        ") was deadlocked on lock resources with another process and has been "
                        "chosen as the deadlock victim. Rerun the transaction.",
                    true);
}

// The WHERE clause a SELECT keeps: only a constant false one is parsed.
std::string rowFilter(const SelectStatement& s) {
    return s.excludesAllRows ? " WHERE false" : "";
}

std::vector<ResultColumn> resultColumns(const CatalogueObject& object) {
    std::vector<ResultColumn> columns;
    for (const auto& c : object.columns)
        columns.push_back({utf8ToUtf16(c.name), c.type, !c.notNull, c.identity.has_value()});
    return columns;
}

std::string columnList(size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) out += (i ? ", " : "") + CatalogueObject::backendColumn(i);
    return out;
}

}  // namespace

std::vector<size_t> requireColumns(const CatalogueObject& object,
                                   const std::vector<std::string>& names) {
    std::map<std::string, size_t> byName;
    for (size_t i = 0; i < object.columns.size(); ++i) byName[foldCase(object.columns[i].name)] = i;
    std::vector<size_t> ordinals;
    for (const auto& c : names) {
        auto it = byName.find(foldCase(c));
        if (it == byName.end())
            throw SqlError(207, 16, 1, "Invalid column name '" + c + "'.", true);
        ordinals.push_back(it->second);
    }
    return ordinals;
}

StatementOutcome StatementExecutor::execute(const Statement& statement) {
    return std::visit(
        [this](const auto& s) -> StatementOutcome {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, SelectStatement>)
                return accessDatabase([&] { return select(s); });
            else if constexpr (std::is_same_v<T, CountStatement>)
                return accessDatabase([&] { return count(s); });
            else if constexpr (std::is_same_v<T, SelectValuesStatement>)
                return selectValues(s);
            else if constexpr (std::is_same_v<T, CreateTableStatement>)
                return accessDatabase([&] { return createTable(s); });
            else if constexpr (std::is_same_v<T, CreateViewStatement>)
                return accessDatabase([&] { return createView(s); });
            else if constexpr (std::is_same_v<T, DropStatement>)
                return accessDatabase([&] { return drop(s); });
            else if constexpr (std::is_same_v<T, InsertStatement>)
                return accessDatabase([&] { return insert(s); });
            else if constexpr (std::is_same_v<T, InsertBulkStatement>)
                return insertBulk(s);
            else if constexpr (std::is_same_v<T, SetStatement>)
                return set(s);
            else if constexpr (std::is_same_v<T, SetIsolationStatement>)
                return setIsolation(s);
            else if constexpr (std::is_same_v<T, TransactionStatement>)
                return transactionControl(s);
            else if constexpr (std::is_same_v<T, AlterDatabaseStatement>)
                return alterDatabase(s);
            else if constexpr (std::is_same_v<T, WaitForStatement>)
                return waitFor(s);
            else if constexpr (std::is_same_v<T, IdentityInsertStatement>)
                return accessDatabase([&] { return identityInsert(s); });
            else
                return call(s);
        },
        statement);
}

StatementOutcome StatementExecutor::accessDatabase(const std::function<StatementOutcome()>& run) {
    const IsolationLevel level = state_.isolationLevel;
    const bool inTransaction = transaction_.active();
    if (!inTransaction) {
        if (level == IsolationLevel::Snapshot) requireSnapshotAllowed();
    } else if (auto opened = transaction_.openedAt()) {
        // The backend keeps the level it opened with; only a switch to SNAPSHOT matters,
        // since SQL Server refuses it once the transaction has touched data.
        if (level == IsolationLevel::Snapshot && *opened != IsolationLevel::Snapshot) {
            transaction_.rollback(out_.tokens());
            throw SqlError(3951, 16, 1,
                           "Transaction failed in database '" + state_.database +
                               "' because the statement was run under snapshot isolation but "
                               "the transaction did not start in snapshot isolation. You cannot "
                               "change the isolation level of the transaction to snapshot after "
                               "the transaction has started unless the transaction was "
                               "originally started under snapshot isolation level.");
        }
    } else {
        // Checked before the backend transaction opens, so that a refused one has not begun.
        if (level == IsolationLevel::Snapshot) requireSnapshotAllowed();
        transaction_.openBackend(level);
    }
    std::optional<PgSavepoint> savepoint;
    if (inTransaction) savepoint.emplace(conn_);
    try {
        StatementOutcome outcome = run();
        if (savepoint) savepoint->release();
        return outcome;
    } catch (const BackendError& e) {
        if (!isConflict(e)) {
            // Only a statement rolled back can look its refused key up in the catalogue.
            savepoint.reset();
            if (auto refused = duplicateKeyError(catalogue_, e)) throw *refused;
            throw;
        }
        savepoint.reset();
        if (transaction_.active()) transaction_.rollback(out_.tokens());
        throw deadlockVictim(state_.processId);
    }
}

void StatementExecutor::requireSnapshotAllowed() {
    if (catalogue_.allowsSnapshotIsolation()) return;
    throw SqlError(3952, 16, 1,
                   "Snapshot isolation transaction failed accessing database '" + state_.database +
                       "' because snapshot isolation is not allowed in this database. Use ALTER "
                       "DATABASE to allow snapshot isolation.");
}

std::string StatementExecutor::localName(const ObjectName& name, bool forCreate) {
    if (name.parts.size() >= 2) {
        const std::string& schema = name.parts[name.parts.size() - 2];
        if (foldCase(schema) != "dbo") {
            if (forCreate) {
                throw SqlError(
                    2760, 16, 1,
                    "The specified schema name \"" + schema +
                        "\" either does not exist or you do not have permission to use it.");
            }
            throw invalidObject(name);
        }
    }
    if (name.parts.size() == 3 && foldCase(name.parts[0]) != foldCase(state_.database)) {
        throw unsupported("objects of another database ('" + name.written() + "')");
    }
    return name.name();
}

CatalogueObject StatementExecutor::resolve(const ObjectName& name) {
    auto object = catalogue_.find(localName(name, false));
    if (!object) throw invalidObject(name);
    return *object;
}

StatementOutcome StatementExecutor::select(const SelectStatement& s) {
    CatalogueObject object = resolve(s.table);
    if (state_.fmtOnly) {
        tokens::columnMetadata(out_.tokens(), resultColumns(object), utf8ToUtf16(object.name));
        return {tokens::kDone, done_command::kSelect, std::nullopt};
    }
    std::string sql = "SELECT " + columnList(object.columns.size()) + " FROM " +
                      quoteIdentifier(object.backendName()) + rowFilter(s) +
                      " ORDER BY standin_row";
    if (s.top) sql += " LIMIT " + std::to_string(*s.top);
    PgRowStream rows(conn_, sql);

    std::vector<ResultColumn> columns = resultColumns(object);
    std::u16string tableName = utf8ToUtf16(object.name);
    tokens::columnMetadata(out_.tokens(), columns, tableName);

    StatementOutcome outcome{tokens::kDone, done_command::kSelect, 0};
    for (size_t r = 0;; ++r) {
        const PGresult* row = rows.next();
        if (!row) break;
        if (r % kRowsBetweenCancelChecks == 0 && out_.cancelled()) break;
        out_.tokens().u8(tokens::kRow);
        for (size_t c = 0; c < columns.size(); ++c) {
            int field = static_cast<int>(c);
            const char* text = PQgetisnull(row, 0, field) ? nullptr : PQgetvalue(row, 0, field);
            writeColumnValue(out_.tokens(), columns[c].type, text, state_.textSize);
        }
        out_.flushIfLarge();
        ++*outcome.rowCount;
    }
    return outcome;
}

StatementOutcome StatementExecutor::count(const CountStatement& s) {
    CatalogueObject object = resolve(s.source.table);
    // An expression's column: no name, and nullable as SQL Server describes aggregates.
    std::vector<ResultColumn> columns = {
        {u"", DeclaredType{s.big ? SqlType::BigInt : SqlType::Int}, true}};
    if (state_.fmtOnly) {
        tokens::columnMetadata(out_.tokens(), columns, u"");
        return {tokens::kDone, done_command::kSelect, std::nullopt};
    }
    std::string relation = quoteIdentifier(object.backendName());
    std::string sql = s.source.top ? "SELECT count(*) FROM (SELECT 1 FROM " + relation +
                                         rowFilter(s.source) + " LIMIT " +
                                         std::to_string(*s.source.top) + ") AS counted"
                                   : "SELECT count(*) FROM " + relation + rowFilter(s.source);
    auto result = conn_.exec(sql);
    const char* value = PQgetvalue(result.get(), 0, 0);
    if (!s.big && std::stoll(value) > std::numeric_limits<int32_t>::max()) {
        throw SqlError(8115, 16, 2,
                       "Arithmetic overflow error converting expression to data type int.");
    }
    tokens::columnMetadata(out_.tokens(), columns, u"");
    out_.tokens().u8(tokens::kRow);
    writeColumnValue(out_.tokens(), columns[0].type, value, state_.textSize);
    return {tokens::kDone, done_command::kSelect, 1};
}

StatementOutcome StatementExecutor::selectValues(const SelectValuesStatement& s) {
    std::vector<ScalarValue> values;
    std::vector<ResultColumn> columns;
    for (const auto& e : s.values) {
        values.push_back(e.function == "ident_current"
                             ? identCurrent(e)
                             : evaluate(e, state_.database, transaction_.active()));
        if (values.back().isVariant)
            throw unsupported("sql_variant results; CONVERT them to a type");
        // An expression's column has no name.
        columns.push_back({u"", values.back().type, true});
    }
    tokens::columnMetadata(out_.tokens(), columns, u"");
    if (state_.fmtOnly) return {tokens::kDone, done_command::kSelect, std::nullopt};
    out_.tokens().u8(tokens::kRow);
    for (size_t i = 0; i < values.size(); ++i) {
        const auto& text = values[i].text;
        writeColumnValue(out_.tokens(), columns[i].type, text ? text->c_str() : nullptr,
                         state_.textSize);
    }
    return {tokens::kDone, done_command::kSelect, 1};
}

ScalarValue StatementExecutor::identCurrent(const Expression& e) {
    if (e.arguments.size() != 1 || e.arguments[0].kind != Expression::Kind::Constant) {
        throw unsupported("IDENT_CURRENT of anything but one quoted table name");
    }
    // NULL for a table that does not exist or has no identity column.
    ScalarValue value{DeclaredType{SqlType::Numeric, 0, 38, 0}, false, std::nullopt};
    std::string name = e.arguments[0].constant.text;
    if (name.size() > 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    std::optional<CatalogueObject> table = catalogue_.find(name);
    if (table && table->identityColumn())
        value.text = std::to_string(currentIdentity(conn_, *table));
    return value;
}

StatementOutcome StatementExecutor::createTable(const CreateTableStatement& s) {
    std::string name = localName(s.table, true);
    std::set<std::string> seen;
    std::vector<CatalogueColumn> columns;
    for (const auto& c : s.columns) {
        if (!seen.insert(foldCase(c.name)).second) {
            throw SqlError(2705, 16, 3,
                           "Column names in each table must be unique. Column name '" + c.name +
                               "' in table '" + name + "' is specified more than once.");
        }
        // An identity column is NOT NULL whether or not it says so.
        columns.push_back({c.name, c.type, c.notNull || c.identity.has_value(), c.identity});
    }
    checkIdentityColumns(name, s.columns);
    std::vector<CatalogueKey> keys = tableKeys(s, name, columns);
    PgTransaction tx(conn_);
    CatalogueObject object = catalogue_.addTable(name, columns, keys);
    const std::optional<size_t> identity = object.identityColumn();
    if (identity) conn_.exec(identitySequenceDdl(object, *identity));
    std::string ddl = "CREATE TABLE " + quoteIdentifier(object.backendName()) +
                      " (standin_row bigserial PRIMARY KEY";
    for (size_t i = 0; i < columns.size(); ++i) {
        ddl += ", " + CatalogueObject::backendColumn(i) + " " + backendStorageType(columns[i].type);
        if (i == identity) ddl += " " + identityDefault(object);
    }
    conn_.exec(ddl + ")");
    if (identity) {
        // Dropped with its table.
        conn_.exec("ALTER SEQUENCE " + quoteIdentifier(object.backendIdentitySequence()) +
                   " OWNED BY " + quoteIdentifier(object.backendName()) + "." +
                   CatalogueObject::backendColumn(*identity));
    }
    // The backend's one primary key orders the rows, so every key is a unique index there.
    // Like SQL Server's, it lets one NULL in and no second, and compares characters as the
    // case-insensitive database collation does, trailing spaces aside.
    for (size_t k = 0; k < keys.size(); ++k) {
        std::string index = "CREATE UNIQUE INDEX " + object.backendKey(k) + " ON " +
                            quoteIdentifier(object.backendName()) + " (";
        for (size_t i = 0; i < keys[k].columns.size(); ++i) {
            const size_t c = keys[k].columns[i];
            const std::string column = CatalogueObject::backendColumn(c);
            index += i ? ", " : "";
            index +=
                isCharacterType(columns[c].type.type) ? "(lower(rtrim(" + column + ")))" : column;
        }
        conn_.exec(index + ") NULLS NOT DISTINCT");
    }
    tx.commit();
    return {tokens::kDone, done_command::kCreateTable, std::nullopt};
}

std::vector<CatalogueKey> StatementExecutor::tableKeys(const CreateTableStatement& s,
                                                       const std::string& table,
                                                       std::vector<CatalogueColumn>& columns) {
    CatalogueObject declared;
    declared.columns = columns;
    std::vector<CatalogueKey> keys;
    for (const auto& k : s.keys) {
        if (k.primary && std::any_of(keys.begin(), keys.end(),
                                     [](const CatalogueKey& key) { return key.primary; })) {
            throw SqlError(8110, 16, 0,
                           "Cannot add multiple PRIMARY KEY constraints to table '" + table + "'.");
        }
        CatalogueKey key{k.name.value_or(""), k.primary, {}};
        for (const auto& c : k.columns) {
            std::vector<size_t> found;
            try {
                found = requireColumns(declared, {c});
            } catch (const SqlError&) {
                throw SqlError(
                    1911, 16, 1,
                    "Column name '" + c + "' does not exist in the target table or view.");
            }
            const DeclaredType& type = columns[found[0]].type;
            if (type.isMax() || type.type == SqlType::Text || type.type == SqlType::NText ||
                type.type == SqlType::Image || type.type == SqlType::Xml) {
                throw SqlError(1919, 16, 1,
                               "Column '" + columns[found[0]].name + "' in table '" + table +
                                   "' is of a type that is invalid for use as a key column in an "
                                   "index.");
            }
            key.columns.push_back(found[0]);
        }
        keys.push_back(std::move(key));
    }
    // A primary key's columns are NOT NULL; one declared NULL outright is refused.
    for (const auto& key : keys) {
        if (!key.primary) continue;
        for (size_t c : key.columns) {
            if (s.columns[c].explicitNull) {
                throw SqlError(
                    8111, 16, 1,
                    "Cannot define PRIMARY KEY constraint on nullable column in table '" + table +
                        "'.");
            }
            columns[c].notNull = true;
        }
    }
    return keys;
}

StatementOutcome StatementExecutor::createView(const CreateViewStatement& s) {
    std::string name = localName(s.view, true);
    CatalogueObject base = resolve(s.select.table);
    PgTransaction tx(conn_);
    CatalogueObject view = catalogue_.addView(name, base.columns);
    std::string sql = "CREATE VIEW " + quoteIdentifier(view.backendName()) + " AS SELECT * FROM " +
                      quoteIdentifier(base.backendName()) + rowFilter(s.select) +
                      " ORDER BY standin_row";
    if (s.select.top) sql += " LIMIT " + std::to_string(*s.select.top);
    conn_.exec(sql);
    tx.commit();
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::drop(const DropStatement& s) {
    const char* what = s.isView ? "view" : "table";
    auto cannotDrop = [&] {
        return SqlError(3701, 11, 5,
                        std::string("Cannot drop the ") + what + " '" + s.object.written() +
                            "', because it does not exist or you do not have permission.");
    };
    std::optional<CatalogueObject> object;
    try {
        object = catalogue_.find(localName(s.object, false));
    } catch (const SqlError& e) {
        if (e.number == 208) throw cannotDrop();
        throw;
    }
    if (!object) throw cannotDrop();
    if (object->isView != s.isView) {
        const std::string& n = s.object.written();
        throw SqlError(3705, 16, 1,
                       s.isView ? "Cannot use DROP VIEW with '" + n + "' because '" + n +
                                      "' is a table. Use DROP TABLE."
                                : "Cannot use DROP TABLE with '" + n + "' because '" + n +
                                      "' is a view. Use DROP VIEW.");
    }
    PgTransaction tx(conn_);
    catalogue_.remove(*object);
    if (state_.identityInsert && state_.identityInsert->tableId == object->id)
        state_.identityInsert.reset();
    try {
        conn_.exec(std::string("DROP ") + (s.isView ? "VIEW " : "TABLE ") +
                   quoteIdentifier(object->backendName()));
    } catch (const BackendError& e) {
        if (e.sqlState == "2BP01")
            throw unsupported("dropping a table that a view still selects from");
        throw;
    }
    tx.commit();
    return {tokens::kDone, done_command::kDropTable, std::nullopt};
}

StatementOutcome StatementExecutor::insert(const InsertStatement& s) {
    CatalogueObject object = resolve(s.table);
    if (object.isView) throw unsupported("INSERT into a view");

    // Which table column each value goes to: without a column list, every column but the
    // identity column.
    const std::optional<size_t> identity = object.identityColumn();
    std::vector<size_t> targets;
    if (s.columns.empty()) {
        for (size_t i = 0; i < object.columns.size(); ++i) {
            if (i != identity) targets.push_back(i);
        }
    } else {
        targets = requireColumns(object, s.columns);
    }
    for (const auto& row : s.rows) {
        if (row.size() == targets.size()) continue;
        if (s.columns.empty()) {
            if (identity && row.size() == object.columns.size()) {
                throw SqlError(8101, 16, 1,
                               "An explicit value for the identity column in table '" +
                                   object.name +
                                   "' can only be specified when a column list is used and "
                                   "IDENTITY_INSERT is ON.");
            }
            throw SqlError(
                213, 16, 1,
                "Column name or number of supplied values does not match table definition.", true);
        }
        if (row.size() > targets.size()) {
            throw SqlError(
                110, 15, 1,
                "There are fewer columns in the INSERT statement than values specified in "
                "the VALUES clause. The number of values in the VALUES clause must match the "
                "number of columns specified in the INSERT statement.",
                true);
        }
        throw SqlError(
            109, 15, 1,
            "There are more columns in the INSERT statement than values specified in the "
            "VALUES clause. The number of values in the VALUES clause must match the number "
            "of columns specified in the INSERT statement.",
            true);
    }

    const bool identityGiven =
        identity && std::find(targets.begin(), targets.end(), *identity) != targets.end();
    const bool identityInsertOn =
        state_.identityInsert && state_.identityInsert->tableId == object.id;
    if (identityGiven && !identityInsertOn) {
        throw SqlError(544, 16, 1,
                       "Cannot insert explicit value for identity column in table '" + object.name +
                           "' when IDENTITY_INSERT is set to OFF.");
    }
    if (identity && !identityGiven && identityInsertOn) {
        throw SqlError(545, 16, 1,
                       "Explicit value must be specified for identity column in table '" +
                           object.name +
                           "' either when IDENTITY_INSERT is set to ON or when a replication "
                           "user is inserting into a NOT FOR REPLICATION identity column.");
    }

    // Under SET FMTONLY ON no row is processed.
    if (state_.fmtOnly) return {tokens::kDone, done_command::kInsert, std::nullopt};

    // SQL Server takes the rows of one statement whole or not at all. PostgreSQL takes at
    // most 65535 parameters in one command, fewer than a VALUES list of 1000 wide rows
    // holds, so the rows may go in several backend commands of one transaction.
    const size_t width = std::max<size_t>(object.columns.size(), 1);
    const size_t rowsPerCommand = std::max<size_t>(kMaxBackendParams / width, 1);
    const std::string head = "INSERT INTO " + quoteIdentifier(object.backendName()) + " (" +
                             columnList(object.columns.size()) + ") VALUES ";
    std::optional<PgTransaction> tx;
    if (s.rows.size() > rowsPerCommand) tx.emplace(conn_);
    std::vector<int64_t> explicitIdentities;
    for (size_t first = 0; first < s.rows.size(); first += rowsPerCommand) {
        PgParams params;
        std::string sql = head;
        const size_t end = std::min(s.rows.size(), first + rowsPerCommand);
        for (size_t r = first; r < end; ++r) {
            std::vector<std::optional<std::string>> values(object.columns.size());
            for (size_t v = 0; v < targets.size(); ++v) {
                values[targets[v]] = convertLiteral(s.rows[r][v], object.columns[targets[v]].type);
            }
            sql += r > first ? ", (" : "(";
            for (size_t c = 0; c < values.size(); ++c) {
                if (c == identity && !identityGiven) {
                    sql += c ? ", DEFAULT" : "DEFAULT";
                    continue;
                }
                if (c == identity && values[c])
                    explicitIdentities.push_back(identityValue(*values[c]));
                if (!values[c] && object.columns[c].notNull) {
                    throw SqlError(515, 16, 2,
                                   "Cannot insert the value NULL into column '" +
                                       object.columns[c].name + "', table '" + state_.database +
                                       ".dbo." + object.name +
                                       "'; column does not allow nulls. INSERT fails.");
                }
                params.push_back(std::move(values[c]));
                sql += (c ? ", $" : "$") + std::to_string(params.size());
            }
            sql += ")";
        }
        try {
            conn_.exec(sql, params);
        } catch (const BackendError& e) {
            if (identity && isIdentityExhausted(e))
                throw identityOverflow(object.columns[*identity].type);
            throw;
        }
    }
    advanceIdentity(conn_, object, explicitIdentities);
    if (tx) tx->commit();
    return {tokens::kDone, done_command::kInsert, s.rows.size()};
}

StatementOutcome StatementExecutor::insertBulk(const InsertBulkStatement& s) {
    if (config_.refuseBulkLoad == BulkLoadRefusal::AtStart)
        throw SqlError(4834, 16, 1, "You do not have permission to use the bulk load statement.");
    CatalogueObject object = resolve(s.table);
    if (object.isView) throw unsupported("bulk load into a view");
    requireColumns(object, s.columns);
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::bulkLoad(const ObjectName& table, BulkMessageReader& rows) {
    return accessDatabase([&] {
        CatalogueObject object = resolve(table);
        // The caller reads the rest of the message before it answers.
        if (config_.refuseBulkLoad == BulkLoadRefusal::Garbled)
            throw SqlError(4815, 16, 1,
                           "Received an invalid column length from the bcp client for colid 1.");
        BulkLoad load(conn_, object, state_.database, out_);
        return StatementOutcome{tokens::kDone, done_command::kInsert, load.run(rows)};
    });
}

StatementOutcome StatementExecutor::set(const SetStatement& s) {
    // Options whose other setting would change what the stand-in does are refused.
    static const std::set<std::string> kHarmless = {
        "ansi_nulls",   "ansi_null_dflt_on",  "concat_null_yields_null",
        "arithabort",   "numeric_roundabort", "cursor_close_on_commit",
        "ansi_defaults"};
    static const std::set<std::string> kMustBeOn = {"ansi_warnings", "ansi_padding",
                                                    "quoted_identifier"};
    for (const auto& option : s.options) {
        if (option == "textsize") {
            long long size = std::stoll(s.value);
            state_.textSize =
                size <= 0 ? SessionState::kDefaultTextSize : static_cast<size_t>(size);
        } else if (option == "nocount" && (s.value == "on" || s.value == "off")) {
            state_.noCount = s.value == "on";
        } else if (option == "fmtonly" && (s.value == "on" || s.value == "off")) {
            state_.fmtOnly = s.value == "on";
        } else if (option == "xact_abort" && (s.value == "on" || s.value == "off")) {
            state_.xactAbort = s.value == "on";
        } else if (option == "implicit_transactions" && s.value == "off") {
        } else if (option == "language" && s.value == "us_english") {
        } else if (option == "dateformat" && s.value == "mdy") {
        } else if ((option == "lock_timeout" || option == "datefirst") && !s.value.empty() &&
                   (std::isdigit(static_cast<unsigned char>(s.value[0])) || s.value[0] == '-')) {
        } else if (kHarmless.count(option) && (s.value == "on" || s.value == "off")) {
        } else if (kMustBeOn.count(option) && s.value == "on") {
        } else {
            throw unsupported("SET " + option + " " + s.value);
        }
    }
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::identityInsert(const IdentityInsertStatement& s) {
    CatalogueObject object = resolve(s.table);
    if (!object.identityColumn()) {
        throw SqlError(8106, 16, 1,
                       "Table '" + s.table.written() +
                           "' does not have the identity property. Cannot perform SET operation.");
    }
    auto& current = state_.identityInsert;
    if (!s.on) {
        if (current && current->tableId == object.id) current.reset();
    } else if (current && current->tableId != object.id) {
        throw SqlError(8107, 16, 1,
                       "IDENTITY_INSERT is already ON for table '" + current->qualifiedName +
                           "'. Cannot perform SET operation for table '" + s.table.written() +
                           "'.");
    } else {
        current =
            SessionState::IdentityInsertTable{object.id, state_.database + ".dbo." + object.name};
    }
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::waitFor(const WaitForStatement& s) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + s.delay;
    for (Clock::time_point now = Clock::now(); now < until; now = Clock::now()) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        if (out_.cancelledWithin(std::min(left, kCancelPollSlice))) break;
    }
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::setIsolation(const SetIsolationStatement& s) {
    state_.isolationLevel = s.level;
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::transactionControl(const TransactionStatement& s) {
    auto begin = [&] {
        if (s.isolationLevel) state_.isolationLevel = *s.isolationLevel;
        transaction_.begin(out_.tokens());
    };
    switch (s.kind) {
        case TransactionStatement::Kind::Begin:
            begin();
            break;
        case TransactionStatement::Kind::Commit:
            try {
                transaction_.commit(out_.tokens());
            } catch (const BackendError& e) {
                // A serializable transaction may learn of its conflict only as it commits.
                if (isConflict(e)) throw deadlockVictim(state_.processId);
                throw;
            }
            break;
        case TransactionStatement::Kind::Rollback:
            transaction_.rollback(out_.tokens());
            break;
    }
    // After the end's ENVCHANGE, so that the client takes the new descriptor.
    if (s.beginAfterwards) begin();
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

StatementOutcome StatementExecutor::alterDatabase(const AlterDatabaseStatement& s) {
    if (transaction_.active()) {
        throw SqlError(226, 16, 6,
                       "ALTER DATABASE statement not allowed within multi-statement transaction.");
    }
    if (!s.database || foldCase(*s.database) == foldCase(state_.database)) {
        catalogue_.setAllowsSnapshotIsolation(s.allowSnapshotIsolation);
        return {tokens::kDone, done_command::kNone, std::nullopt};
    }
    std::unique_ptr<PgConnection> other;
    try {
        other = std::make_unique<PgConnection>(config_.conninfoFor(*s.database));
    } catch (const BackendError& e) {
        if (e.sqlState != "3D000") throw;
        throw SqlError(911, 16, 1,
                       "Database '" + *s.database +
                           "' does not exist. Make sure that the name is entered correctly.");
    }
    Catalogue(*other).setAllowsSnapshotIsolation(s.allowSnapshotIsolation);
    return {tokens::kDone, done_command::kNone, std::nullopt};
}

}  // namespace standin
