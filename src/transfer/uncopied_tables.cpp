#include "transfer/uncopied_tables.h"

namespace dorvane {

void UncopiedTables::tell(Platform& platform) const {
    if (tables_.isEmpty()) return;
    platform.messageBox(QStringLiteral("These tables were not copied, or not completely:\r\n\r\n") +
                            tables_.join(QStringLiteral("\r\n")),
                        MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace dorvane
