#include "sql/type_proposals.h"

#include <algorithm>

#include "sql/general_value_text.h"
#include "sql/postgres_type_map.h"
#include "sql/sqlserver_type_map.h"

namespace dorvane::sql {
namespace {

// SQL Server's exact numbers hold at most 38 digits.
constexpr int kMaxSqlServerPrecision = 38;

QString exactNumberType(const QString& name, int precision, int scale) {
    // No precision reported: the bare name, as the server's default.
    if (precision <= 0) return name;
    const int p = std::min(precision, kMaxSqlServerPrecision);
    const int s = std::clamp(scale, 0, p);
    return QStringLiteral("%1(%2,%3)").arg(name).arg(p).arg(s);
}

const Proposal& proposalFor(TargetServer target, db::AdoType type) {
    return target == TargetServer::PostgreSQL ? to_postgres::targetTypes().rowFor(type).proposal
                                              : to_sqlserver::targetTypes().rowFor(type).proposal;
}

}  // namespace

QString sampledTextType(const db::Value* firstRowValue, const QString& longTextType) {
    static const QString kDefault = QStringLiteral("VARCHAR(255)");
    if (!firstRowValue || firstRowValue->isNull()) return kDefault;
    const auto length = sql::valueText(*firstRowValue).size();
    if (length == 0) return kDefault;
    if (length > 255) return longTextType;
    return QStringLiteral("VARCHAR(%1)").arg(length);
}

QString proposedType(TargetServer target, const db::FieldInfo& field,
                     const db::Value* firstRowValue) {
    const Proposal& proposal = proposalFor(target, field.adoType);
    const QString text = QString::fromLatin1(proposal.text);
    switch (proposal.rule) {
        case ProposalRule::Fixed:
            return text;
        case ProposalRule::SampledText:
            return sampledTextType(firstRowValue, text);
        case ProposalRule::ExactNumber:
            return exactNumberType(text, field.precision, field.scale);
    }
    return text;
}

}  // namespace dorvane::sql
