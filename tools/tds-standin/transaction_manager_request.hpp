#pragma once

#include "byte_buffer.hpp"
#include "statements.hpp"

namespace standin {

// Decodes the body of a transaction manager request (after ALL_HEADERS) into the
// statement it stands for: TM_BEGIN_XACT is BEGIN TRAN, TM_COMMIT_XACT and
// TM_ROLLBACK_XACT are COMMIT and ROLLBACK, each possibly beginning the next transaction.
// Distributed transactions and savepoints are refused with an SqlError; an unknown
// request type is a protocol error.
TransactionStatement parseTransactionManagerRequest(ByteReader& reader);

}  // namespace standin
