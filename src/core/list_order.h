#pragma once
#include <QString>

namespace dorvane::core {

// The order of sorted list boxes: alphabetical, ignoring case. Ties keep insertion order.
inline bool listOrderLess(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace dorvane::core
