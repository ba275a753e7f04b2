#include "db/values/ado_type.h"

namespace dorvane::db {
namespace {

// Without a default, the compiler names any type left out here.
const char* latin1Name(AdoType type) {
    // clang-format off
    switch (type) {
        case AdoType::Empty: return "adEmpty";
        case AdoType::SmallInt: return "adSmallInt";
        case AdoType::Integer: return "adInteger";
        case AdoType::Single: return "adSingle";
        case AdoType::Double: return "adDouble";
        case AdoType::Currency: return "adCurrency";
        case AdoType::Date: return "adDate";
        case AdoType::BSTR: return "adBSTR";
        case AdoType::IDispatch: return "adIDispatch";
        case AdoType::Error: return "adError";
        case AdoType::Boolean: return "adBoolean";
        case AdoType::Variant: return "adVariant";
        case AdoType::IUnknown: return "adIUnknown";
        case AdoType::Decimal: return "adDecimal";
        case AdoType::TinyInt: return "adTinyInt";
        case AdoType::UnsignedTinyInt: return "adUnsignedTinyInt";
        case AdoType::UnsignedSmallInt: return "adUnsignedSmallInt";
        case AdoType::UnsignedInt: return "adUnsignedInt";
        case AdoType::BigInt: return "adBigInt";
        case AdoType::UnsignedBigInt: return "adUnsignedBigInt";
        case AdoType::FileTime: return "adFileTime";
        case AdoType::Guid: return "adGUID";
        case AdoType::Binary: return "adBinary";
        case AdoType::Char: return "adChar";
        case AdoType::WChar: return "adWChar";
        case AdoType::Numeric: return "adNumeric";
        case AdoType::UserDefined: return "adUserDefined";
        case AdoType::DBDate: return "adDBDate";
        case AdoType::DBTime: return "adDBTime";
        case AdoType::DBTimeStamp: return "adDBTimeStamp";
        case AdoType::Chapter: return "adChapter";
        case AdoType::PropVariant: return "adPropVariant";
        case AdoType::VarNumeric: return "adVarNumeric";
        case AdoType::VarChar: return "adVarChar";
        case AdoType::LongVarChar: return "adLongVarChar";
        case AdoType::VarWChar: return "adVarWChar";
        case AdoType::LongVarWChar: return "adLongVarWChar";
        case AdoType::VarBinary: return "adVarBinary";
        case AdoType::LongVarBinary: return "adLongVarBinary";
    }
    // clang-format on
    return nullptr;
}

}  // namespace

QString adoTypeName(AdoType type) {
    return QString::fromLatin1(latin1Name(type));
}

}  // namespace dorvane::db
