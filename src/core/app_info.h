#pragma once
#include <QString>

namespace dorvane::core {

inline const QString kDisplayName = QStringLiteral("Dorvane");

// The application title made from a display name: while longer than 40 characters,
// cut before the last blank.
QString shortenedAppTitle(const QString& displayName);

// True when the modification time of the item at the path can be read; never throws.
bool fileFound(const QString& path) noexcept;

// A file beside the program ("HAND-M.CUR", "local-connection-example.jpg", "x/o.cjs").
QString programFile(const QString& programFolder, const QString& relativePath);

}  // namespace dorvane::core
