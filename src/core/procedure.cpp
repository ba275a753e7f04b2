#include "core/procedure.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "core/error_report.h"
#include "core/platform.h"

namespace dorvane::core {

QString failureDescription(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

Procedure::Procedure(Platform& platform, const QString& module, const QString& name)
    : platform_(platform), module_(module), name_(name) {}

QString Procedure::label() const {
    return locationLabel(module_, name_);
}

void Procedure::report(const std::exception_ptr& failure) {
    if (beforeReport_) {
        std::function<void()> hook = std::exchange(beforeReport_, nullptr);
        hook();
        beforeReport_ = std::move(hook);
    }
    std::optional<QString> statement;
    if (statement_) statement = *statement_;
    const QString text = errorReportText(failureDescription(failure), label(), line_, statement);
    platform_.messageBox(text, MsgButtons::Ok, MsgIcon::Exclamation, kErrorReportTitle);
}

}  // namespace dorvane::core
