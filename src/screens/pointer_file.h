#pragma once
// Reading the custom mouse pointer's file (the ICO layout with type 2, whose directory
// entry holds the hotspot) far enough to know it is one, before a window decodes its image.

#include <QByteArray>
#include <QString>

namespace dorvane::screens {

struct PointerFile {
    QByteArray bytes;  // the whole file, for the image reader
    int width = 0;
    int height = 0;
    int hotspotX = 0;
    int hotspotY = 0;
};

// Throws std::runtime_error when the file cannot be read or is no icon or cursor file.
PointerFile readPointerFile(const QString& path);
// The same check on bytes already read.
PointerFile parsePointerFile(const QByteArray& bytes);

}  // namespace dorvane::screens
