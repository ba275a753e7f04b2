#include "sql/type_proposals.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "sql/type_names.h"

namespace dorvane {
namespace {

enum class Rule {
    Fixed,        // the text as it stands
    SampledText,  // sized from the first row; the text is the long-text type
    ExactNumber,  // the text followed by the column's own "(precision,scale)"
};

struct Proposal {
    Rule rule;
    const char* text;
};

constexpr Proposal fixed(const char* text) {
    return {Rule::Fixed, text};
}
constexpr Proposal sampled(const char* longText) {
    return {Rule::SampledText, longText};
}
constexpr Proposal exact(const char* name) {
    return {Rule::ExactNumber, name};
}

struct TypeRow {
    std::array<std::string_view, 5> adoNames;
    Proposal towardsPostgreSQL;
    Proposal towardsSqlServer;
};

// Tested from the top; the first row naming the type decides. SQL Server has real,
// float and exact numbers of its own, so those keep their precision instead of a bare
// NUMERIC, which SQL Server reads as NUMERIC(18,0) and rounds to whole numbers.
// clang-format off
constexpr std::array kTypeRows{
    //     ADO type names                                         to PostgreSQL       to SQL Server
    TypeRow{{"adLongVarWChar", "adLongVarChar"},                 fixed("MEMO"),      fixed("TEXT")},
    TypeRow{{"adVarChar", "adChar", "adVarWChar", "adWChar"},    sampled("MEMO"),    sampled("TEXT")},
    TypeRow{{"adBoolean"},                                       fixed("bool"),      fixed("BIT")},
    TypeRow{{"adCurrency"},                                      fixed("NUMERIC"),   fixed("NUMERIC(19,4)")},
    TypeRow{{"adSingle"},                                        fixed("NUMERIC"),   fixed("REAL")},
    TypeRow{{"adNumeric"},                                       fixed("NUMERIC"),   exact("NUMERIC")},
    TypeRow{{"adDouble"},                                        fixed("NUMERIC"),   fixed("FLOAT")},
    TypeRow{{"adDecimal"},                                       fixed("NUMERIC"),   exact("DECIMAL")},
    TypeRow{{"adUnsignedSmallInt", "adSmallInt"},                fixed("SMALLINT"),  fixed("SMALLINT")},
    TypeRow{{"adUnsignedTinyInt", "adTinyInt"},                  fixed("SMALLINT"),  fixed("TINYINT")},
    TypeRow{{"adUnsignedBigInt", "adBigInt"},                    fixed("BIGINT"),    fixed("BIGINT")},
    TypeRow{{"adUnsignedInt", "adInteger"},                      fixed("INT"),       fixed("INT")},
    TypeRow{{"adDBDate", "adDate", "adDBTime", "adDBTimeStamp", "adFileTime"},
                                                                 fixed("timestamp"), fixed("DATETIME")},
};
// clang-format on
// Every other type (binary, GUID, variants, ...).
constexpr Proposal kOtherTowardsPostgreSQL = sampled("MEMO");
constexpr Proposal kOtherTowardsSqlServer = sampled("TEXT");

// SQL Server's exact numbers hold at most 38 digits.
constexpr int kMaxSqlServerPrecision = 38;

QString exactNumberType(const QString& name, int precision, int scale) {
    // No precision reported: the bare name, as the server's default.
    if (precision <= 0) return name;
    const int p = std::min(precision, kMaxSqlServerPrecision);
    const int s = std::clamp(scale, 0, p);
    return QStringLiteral("%1(%2,%3)").arg(name).arg(p).arg(s);
}

const Proposal& proposalFor(TargetServer target, const QString& adoName) {
    const QByteArray name = adoName.toLatin1();
    const std::string_view wanted(name.constData(), static_cast<std::size_t>(name.size()));
    for (const TypeRow& row : kTypeRows) {
        if (wanted.empty()) break;
        if (std::find(row.adoNames.begin(), row.adoNames.end(), wanted) != row.adoNames.end())
            return target == TargetServer::PostgreSQL ? row.towardsPostgreSQL
                                                      : row.towardsSqlServer;
    }
    return target == TargetServer::PostgreSQL ? kOtherTowardsPostgreSQL : kOtherTowardsSqlServer;
}

}  // namespace

QString sampledTextType(const db::Value* firstRowValue, const QString& longTextType) {
    static const QString kDefault = QStringLiteral("VARCHAR(255)");
    if (!firstRowValue || firstRowValue->isNull()) return kDefault;
    const auto length = firstRowValue->toText().size();
    if (length == 0) return kDefault;
    if (length > 255) return longTextType;
    return QStringLiteral("VARCHAR(%1)").arg(length);
}

QString proposedType(TargetServer target, const db::FieldInfo& field,
                     const db::Value* firstRowValue) {
    const Proposal& proposal = proposalFor(target, adoTypeName(field.adoType));
    const QString text = QString::fromLatin1(proposal.text);
    switch (proposal.rule) {
        case Rule::Fixed:
            return text;
        case Rule::SampledText:
            return sampledTextType(firstRowValue, text);
        case Rule::ExactNumber:
            return exactNumberType(text, field.precision, field.scale);
    }
    return text;
}

}  // namespace dorvane
