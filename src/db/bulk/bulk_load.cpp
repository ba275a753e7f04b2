#include "db/bulk/bulk_load.h"

#include <algorithm>
#include <cstring>

#include "db/bulk/freetds_bulk_copy_abi.h"
#include "db/bulk/freetds_bulk_copy_check.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/odbc_diagnostics.h"

namespace dorvane::db {
namespace {

namespace abi = freetds_bcp;
constexpr int kPrefixBytes = 4;

// The driver's number for each form: the host variable's type.
int hostType(BulkForm form) {
    switch (form) {
        case BulkForm::Text:
            return abi::kHostChar;
        case BulkForm::Bytes:
            return abi::kHostBinary;
        case BulkForm::TinyInt:
            return abi::kHostInt1;
        case BulkForm::SmallInt:
            return abi::kHostInt2;
        case BulkForm::Int:
            return abi::kHostInt4;
        case BulkForm::BigInt:
            return abi::kHostInt8;
        case BulkForm::Bit:
            return abi::kHostBit;
        case BulkForm::Float:
            return abi::kHostFloat8;
        case BulkForm::Numeric:
            return abi::kHostChar;
        case BulkForm::Datetime:
            return abi::kHostDatetime;
    }
    return abi::kHostChar;
}

void call(SQLHDBC dbc, SQLINTEGER attribute, void* params, const char* action) {
    checkOdbc(SQLSetConnectAttrW(dbc, attribute, params, SQL_IS_POINTER), SQL_HANDLE_DBC, dbc,
              action);
}

}  // namespace

BulkLoad::BulkLoad(OdbcConnection& connection, const QString& table, int columns)
    : dbc_(connection.handle()), slots_(columns) {
    // Another driver would read the parameter blocks below as something else.
    if (const auto mismatch = bulkCopyMismatch(bulkCopyDriverOf(dbc_))) throw DbError(*mismatch);
    std::u16string name = table.toStdU16String();
    abi::InitParams init{.table = name.c_str()};
    call(dbc_, abi::kInitW, &init, "bcp_init");
    for (int c = 0; c < columns; ++c) setNull(c);
}

BulkLoad::~BulkLoad() {
    if (finished_) return;
    abi::RowCountParams done;
    // A failure here leaves the rows to the rollback that follows.
    SQLSetConnectAttrW(dbc_, abi::kDone, &done, SQL_IS_POINTER);
}

// A NULL keeps the column's type: the driver reads no value behind the length -1.
void BulkLoad::setNull(int column) {
    Slot& slot = slots_[column];
    slot.data.resize(std::max<std::size_t>(slot.data.size(), kPrefixBytes));
    const std::int32_t null = abi::kNullLength;
    std::memcpy(slot.data.data(), &null, kPrefixBytes);
    if (slot.hostType == 0) slot.hostType = hostType(BulkForm::Text);
    if (slot.boundAt != slot.data.data()) bind(column);
}

void BulkLoad::set(int column, BulkForm form, QByteArrayView data) {
    Slot& slot = slots_[column];
    const auto length = static_cast<std::int32_t>(data.size());
    slot.data.resize(kPrefixBytes + data.size());
    std::memcpy(slot.data.data(), &length, kPrefixBytes);
    if (!data.empty()) std::memcpy(slot.data.data() + kPrefixBytes, data.data(), data.size());
    if (slot.hostType != hostType(form)) {
        slot.hostType = hostType(form);
        slot.boundAt = nullptr;
    }
    if (slot.boundAt != slot.data.data()) bind(column);
}

// Binding again only when the value moved or changed kind keeps a row to one call.
void BulkLoad::bind(int column) {
    Slot& slot = slots_[column];
    abi::BindParams params{.data = reinterpret_cast<const unsigned char*>(slot.data.data()),
                           .prefixLength = kPrefixBytes,
                           .length = abi::kVariableLength,
                           .terminator = nullptr,
                           .terminatorLength = 0,
                           .hostType = slot.hostType,
                           .tableColumn = column + 1};
    call(dbc_, abi::kBind, &params, "bcp_bind");
    slot.boundAt = slot.data.data();
}

void BulkLoad::sendRow() {
    call(dbc_, abi::kSendRow, nullptr, "bcp_sendrow");
}

std::int64_t BulkLoad::finish() {
    abi::RowCountParams done;
    finished_ = true;
    call(dbc_, abi::kDone, &done, "bcp_done");
    return done.rows;
}

}  // namespace dorvane::db
