#pragma once

#include "bulk_message_reader.hpp"
#include "catalogue.hpp"
#include "pg_connection.hpp"
#include "response_writer.hpp"
#include "scalar_expressions.hpp"
#include "server_config.hpp"
#include "session_state.hpp"
#include "session_transaction.hpp"
#include "statements.hpp"

#include <functional>

namespace standin {

// How a statement ended, for its DONE token.
struct StatementOutcome {
    uint8_t doneToken = tokens::kDone;
    uint16_t command = done_command::kNone;
    std::optional<uint64_t> rowCount;  // set when SQL Server reports a count
};

// The table's columns of those names, by ordinal; raises 207 for a name it lacks.
std::vector<size_t> requireColumns(const CatalogueObject& object,
                                   const std::vector<std::string>& names);

// Runs parsed statements against the backend and writes their result tokens (all but
// the final DONE, which the caller writes). Raises SqlError as SQL Server would.
class StatementExecutor {
  public:
    StatementExecutor(PgConnection& conn, Catalogue& catalogue, SessionTransaction& transaction,
                      SessionState& state, const ServerConfig& config, ResponseWriter& out)
        : conn_(conn),
          catalogue_(catalogue),
          transaction_(transaction),
          state_(state),
          config_(config),
          out_(out) {}

    StatementOutcome execute(const Statement& statement);
    // A procedure called by RPC or EXEC.
    StatementOutcome call(const ProcedureCall& call);
    // The rows of a bulk load message, into the table its INSERT BULK named.
    StatementOutcome bulkLoad(const ObjectName& table, BulkMessageReader& rows);

  private:
    // Runs a statement that reads or writes the database: checks the isolation level, and
    // in an explicit transaction joins it under a savepoint of the statement's own.
    StatementOutcome accessDatabase(const std::function<StatementOutcome()>& run);
    void requireSnapshotAllowed();

    StatementOutcome select(const SelectStatement& s);
    StatementOutcome count(const CountStatement& s);
    StatementOutcome selectValues(const SelectValuesStatement& s);
    // IDENT_CURRENT('table'): the last identity value drawn, or the seed before any.
    ScalarValue identCurrent(const Expression& e);
    StatementOutcome createTable(const CreateTableStatement& s);
    // The declared keys by column ordinal; marks primary key columns NOT NULL.
    std::vector<CatalogueKey> tableKeys(const CreateTableStatement& s, const std::string& table,
                                        std::vector<CatalogueColumn>& columns);
    StatementOutcome createView(const CreateViewStatement& s);
    StatementOutcome drop(const DropStatement& s);
    StatementOutcome insert(const InsertStatement& s);
    StatementOutcome insertBulk(const InsertBulkStatement& s);
    StatementOutcome set(const SetStatement& s);
    StatementOutcome waitFor(const WaitForStatement& s);
    StatementOutcome identityInsert(const IdentityInsertStatement& s);
    StatementOutcome setIsolation(const SetIsolationStatement& s);
    StatementOutcome transactionControl(const TransactionStatement& s);
    StatementOutcome alterDatabase(const AlterDatabaseStatement& s);
    StatementOutcome rename(const ProcedureCall& c);
    StatementOutcome tables(const ProcedureCall& c);
    StatementOutcome columns(const ProcedureCall& c);
    StatementOutcome primaryKeys(const ProcedureCall& c);

    // The unqualified name, after checking that any schema is dbo and any database is ours.
    std::string localName(const ObjectName& name, bool forCreate);
    CatalogueObject resolve(const ObjectName& name);

    PgConnection& conn_;
    Catalogue& catalogue_;
    SessionTransaction& transaction_;
    SessionState& state_;
    const ServerConfig& config_;
    ResponseWriter& out_;
};

}  // namespace standin
