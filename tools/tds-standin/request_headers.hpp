#pragma once

#include "byte_buffer.hpp"

#include <cstdint>

namespace standin {

// Reads the ALL_HEADERS block that starts SQL batch, RPC and transaction manager requests
// (TDS 7.2+) and returns the transaction descriptor it names: the one the client last
// learned from an ENVCHANGE, or 0 outside a transaction.
uint64_t readTransactionDescriptor(ByteReader& reader);

}  // namespace standin
