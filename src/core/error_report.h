#pragma once
#include <QString>
#include <optional>

namespace dorvane::core {

inline const QString kSupportEmail = QStringLiteral("support@quenlor.com");

// "in Ambrelin2021/08/31.<module>.<procedure> " (the date is part of the label, not today's).
QString locationLabel(const QString& module, const QString& procedure);

// The text of the error report. A statement, when given, is appended after "sql: ".
QString errorReportText(const QString& description, const QString& label, int line,
                        const std::optional<QString>& statement = std::nullopt);

inline const QString kErrorReportTitle = QStringLiteral("Application Error");

}  // namespace dorvane::core
