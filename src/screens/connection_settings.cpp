#include "screens/connection_settings.h"

#include <algorithm>
#include <stdexcept>

namespace dorvane::screens {

const ConnectionSetting& connectionSetting(ConnectionField field) {
    const auto found =
        std::find_if(kConnectionSettings.begin(), kConnectionSettings.end(),
                     [field](const ConnectionSetting& s) { return s.field == field; });
    if (found == kConnectionSettings.end()) throw std::out_of_range("No such connection field");
    return *found;
}

}  // namespace dorvane::screens
