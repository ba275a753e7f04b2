#pragma once
// The texts of the layer's own errors, worded as callers of the original component
// know them.

#include <QString>

namespace dorvane::db {

inline const QString kObjectClosed =
    QStringLiteral("Operation is not allowed when the object is closed.");
inline const QString kObjectOpen =
    QStringLiteral("Operation is not allowed when the object is open.");
inline const QString kNoCurrentRecord = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.");
inline const QString kItemNotFound = QStringLiteral(
    "Item cannot be found in the collection corresponding to the requested name or ordinal.");

}  // namespace dorvane::db
