#include "transfer/uncopied_tables.h"

namespace dorvane::transfer {

void UncopiedTables::tell(core::Platform& platform) const {
    if (tables_.isEmpty()) return;
    platform.messageBox(QStringLiteral("These tables were not copied, or not completely:\r\n\r\n") +
                            tables_.join(QStringLiteral("\r\n")),
                        core::MsgButtons::Ok, core::MsgIcon::Exclamation);
}

}  // namespace dorvane::transfer
