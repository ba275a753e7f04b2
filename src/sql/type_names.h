#pragma once
#include <QString>
#include <cstdint>

namespace dorvane {

// The ADO name of a field type code ("adInteger", ...), or empty for a code without one.
QString adoTypeName(std::int16_t code);

}  // namespace dorvane
