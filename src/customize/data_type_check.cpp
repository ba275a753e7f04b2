#include "customize/data_type_check.h"

#include <QStringList>
#include <array>

namespace dorvane::customize {
namespace {

// In the order the dialog lists them; the first is accepted but not offered in Help.
// clang-format off
constexpr std::array<const char*, 27> kAcceptedTypes{
    "MEMO",           "bigint",        "Binary (50)",      "Bit",
    "Char (10)",      "DateTime",      "decimal(18, 0)",   "Float",
    "Image",          "int",           "Money",            "nchar (10)",
    "ntext",          "numeric(18, 0)", "nvarchar (50)",   "Real",
    "smalldatetime",  "SmallInt",      "smallmoney",       "sql_variant",
    "Text",           "TimeStamp",     "tinyint",          "uniqueidentifier",
    "VarBinary (50)", "VarChar (50)",  "xml",
};
// clang-format on

// Sized types pass whatever their size: "nvarchar(20)" matches "char(".
constexpr std::array<const char*, 4> kSizedTypePrefixes{"binary(", "char(", "decimal(", "numeric("};

QString joinedTypes(std::size_t first) {
    QStringList entries;
    for (std::size_t i = first; i < kAcceptedTypes.size(); ++i)
        entries << QString::fromLatin1(kAcceptedTypes[i]);
    return entries.join(QStringLiteral("\r\n"));
}

}  // namespace

const QString& acceptedTypeListText() {
    static const QString text = joinedTypes(0);
    return text;
}

const QString& helpTypeListText() {
    static const QString text = joinedTypes(1);
    return text;
}

bool IsValidDataType(const QString& typed) {
    if (acceptedTypeListText().contains(typed, Qt::CaseInsensitive)) return true;
    for (const char* prefix : kSizedTypePrefixes)
        if (typed.contains(QLatin1String(prefix), Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace dorvane::customize
