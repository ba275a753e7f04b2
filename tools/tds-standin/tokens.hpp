#pragma once

#include "byte_buffer.hpp"
#include "server_error.hpp"
#include "sql_types.hpp"

#include <string>
#include <vector>

namespace standin {

namespace done_status {
constexpr uint16_t kFinal = 0x00;
constexpr uint16_t kMore = 0x01;
constexpr uint16_t kError = 0x02;
constexpr uint16_t kCount = 0x10;
constexpr uint16_t kAttention = 0x20;
}  // namespace done_status

namespace done_command {
constexpr uint16_t kNone = 0x00;
constexpr uint16_t kSelect = 0xC1;
constexpr uint16_t kInsert = 0xC3;
constexpr uint16_t kCreateTable = 0xD8;
constexpr uint16_t kDropTable = 0xD9;
constexpr uint16_t kExecute = 0xE0;
}  // namespace done_command

namespace env_change {
constexpr uint8_t kDatabase = 1;
constexpr uint8_t kLanguage = 2;
constexpr uint8_t kPacketSize = 4;
constexpr uint8_t kCollation = 7;
constexpr uint8_t kBeginTransaction = 8;
constexpr uint8_t kCommitTransaction = 9;
constexpr uint8_t kRollbackTransaction = 10;
}  // namespace env_change

struct ResultColumn {
    std::u16string name;
    DeclaredType type;
    bool nullable = true;
    bool identity = false;
};

// Writers for the tokens of a tabular result stream.
namespace tokens {

constexpr uint8_t kDone = 0xFD;
constexpr uint8_t kDoneProc = 0xFE;
constexpr uint8_t kDoneInProc = 0xFF;
constexpr uint8_t kRow = 0xD1;

void envChange(ByteWriter& out, uint8_t type, const std::u16string& newValue,
               const std::u16string& oldValue);
void collationChange(ByteWriter& out);
// A transaction's begin, commit or rollback; a descriptor of 0 is sent as no value.
void transactionChange(ByteWriter& out, uint8_t type, uint64_t newDescriptor,
                       uint64_t oldDescriptor);
void info(ByteWriter& out, int32_t number, uint8_t severity, uint8_t state,
          const std::string& text);
void error(ByteWriter& out, const SqlError& e);
void loginAck(ByteWriter& out);
void done(ByteWriter& out, uint8_t token, uint16_t status, uint16_t command, uint64_t rows);
void returnStatus(ByteWriter& out, int32_t value);
void columnMetadata(ByteWriter& out, const std::vector<ResultColumn>& columns,
                    const std::u16string& tableName);

}  // namespace tokens
}  // namespace standin
