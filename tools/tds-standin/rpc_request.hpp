#pragma once

#include "byte_buffer.hpp"
#include "statements.hpp"

namespace standin {

// Skips the ALL_HEADERS block that starts SQL batch and RPC requests (TDS 7.2+).
void skipAllHeaders(ByteReader& reader);

// Decodes an RPC request naming a procedure, with its parameters as literals. Requests by
// procedure id (sp_executesql and friends) and parameter types the stand-in does not
// read are refused with an SqlError.
ProcedureCall parseRpcRequest(const Bytes& payload);

}  // namespace standin
