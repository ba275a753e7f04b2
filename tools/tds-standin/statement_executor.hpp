#pragma once

#include "catalogue.hpp"
#include "pg_connection.hpp"
#include "response_writer.hpp"
#include "session_state.hpp"
#include "statements.hpp"

namespace standin {

// How a statement ended, for its DONE token.
struct StatementOutcome {
    uint8_t doneToken = tokens::kDone;
    uint16_t command = done_command::kNone;
    std::optional<uint64_t> rowCount;  // set when SQL Server reports a count
};

// Runs parsed statements against the backend and writes their result tokens (all but
// the final DONE, which the caller writes). Raises SqlError as SQL Server would.
class StatementExecutor {
public:
    StatementExecutor(PgConnection& conn, Catalogue& catalogue, SessionState& state,
                      ResponseWriter& out)
        : conn_(conn), catalogue_(catalogue), state_(state), out_(out) {}

    StatementOutcome execute(const Statement& statement);
    // A procedure called by RPC or EXEC.
    StatementOutcome call(const ProcedureCall& call);

private:
    StatementOutcome select(const SelectStatement& s);
    StatementOutcome createTable(const CreateTableStatement& s);
    StatementOutcome createView(const CreateViewStatement& s);
    StatementOutcome drop(const DropStatement& s);
    StatementOutcome insert(const InsertStatement& s);
    StatementOutcome set(const SetStatement& s);
    StatementOutcome waitFor(const WaitForStatement& s);
    StatementOutcome rename(const ProcedureCall& c);
    StatementOutcome tables(const ProcedureCall& c);

    // The unqualified name, after checking that any schema is dbo and any database is ours.
    std::string localName(const ObjectName& name, bool forCreate);
    CatalogueObject resolve(const ObjectName& name);

    PgConnection& conn_;
    Catalogue& catalogue_;
    SessionState& state_;
    ResponseWriter& out_;
};

}  // namespace standin
