#include "core/error_report.h"

namespace dorvane::core {

QString locationLabel(const QString& module, const QString& procedure) {
    return QStringLiteral("in Ambrelin2021/08/31.") + module + u'.' + procedure + u' ';
}

QString errorReportText(const QString& description, const QString& label, int line,
                        const std::optional<QString>& statement) {
    QString text = description + QStringLiteral("\r\n") + label + QStringLiteral("at line ") +
                   QString::number(line) + QStringLiteral("\r\r") +
                   QStringLiteral("Please email screenshot of this message to ") + kSupportEmail;
    if (statement) text += QStringLiteral("\r\rsql: ") + *statement;
    return text;
}

}  // namespace dorvane::core
