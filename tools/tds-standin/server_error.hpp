#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace standin {

// An error that SQL Server would report to the client as an ERROR token.
struct SqlError : std::runtime_error {
    SqlError(int32_t number, uint8_t severity, uint8_t state, const std::string& text,
             bool abortsBatch = false)
        : std::runtime_error(text), number(number), severity(severity), state(state),
          abortsBatch(abortsBatch) {}

    int32_t number;
    uint8_t severity;
    uint8_t state;
    // Compile-time errors end the whole batch; run-time ones only the statement.
    bool abortsBatch;
};

// The client broke the protocol or went away; the session ends.
struct ProtocolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Something the stand-in cannot do like SQL Server; reported loudly instead of guessed.
inline SqlError unsupported(const std::string& what) {
    return SqlError(50000, 16, 1, "The SQL Server stand-in does not support " + what + ".");
}

}  // namespace standin
