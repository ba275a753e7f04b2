#include "transaction_manager_request.hpp"

#include "server_error.hpp"

#include <string>

namespace standin {
namespace {

namespace request_type {
constexpr uint16_t kGetDtcAddress = 0;
constexpr uint16_t kPropagate = 1;
constexpr uint16_t kBegin = 5;
constexpr uint16_t kPromote = 6;
constexpr uint16_t kCommit = 7;
constexpr uint16_t kRollback = 8;
constexpr uint16_t kSave = 9;
}  // namespace request_type

constexpr uint8_t kBeginAfterwardsFlag = 0x01;

// ISOLATION_LEVEL: 0 keeps the session's level.
std::optional<IsolationLevel> isolationLevel(uint8_t code) {
    switch (code) {
        case 0:
            return std::nullopt;
        case 1:
            return IsolationLevel::ReadUncommitted;
        case 2:
            return IsolationLevel::ReadCommitted;
        case 3:
            return IsolationLevel::RepeatableRead;
        case 4:
            return IsolationLevel::Serializable;
        case 5:
            return IsolationLevel::Snapshot;
        default:
            throw ProtocolError("unknown isolation level " + std::to_string(code));
    }
}

// A B_VARBYTE transaction name; named transactions only label, so the name is dropped.
void skipName(ByteReader& reader) {
    reader.skip(reader.u8());
}

}  // namespace

TransactionStatement parseTransactionManagerRequest(ByteReader& reader) {
    TransactionStatement s;
    uint16_t type = reader.u16();
    switch (type) {
        case request_type::kBegin:
            s.kind = TransactionStatement::Kind::Begin;
            s.isolationLevel = isolationLevel(reader.u8());
            skipName(reader);
            return s;
        case request_type::kCommit:
        case request_type::kRollback:
            s.kind = type == request_type::kCommit ? TransactionStatement::Kind::Commit
                                                   : TransactionStatement::Kind::Rollback;
            skipName(reader);
            s.beginAfterwards = (reader.u8() & kBeginAfterwardsFlag) != 0;
            if (s.beginAfterwards && reader.remaining() > 0) {
                s.isolationLevel = isolationLevel(reader.u8());
                skipName(reader);
            }
            return s;
        case request_type::kGetDtcAddress:
        case request_type::kPropagate:
        case request_type::kPromote:
            throw unsupported("distributed transactions");
        case request_type::kSave:
            throw unsupported("savepoints (TM_SAVE_XACT)");
        default:
            throw ProtocolError("unknown transaction manager request type " + std::to_string(type));
    }
}

}  // namespace standin
