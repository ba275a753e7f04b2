#include "screens/pointer_file.h"

#include <QFile>
#include <stdexcept>

namespace dorvane::screens {
namespace {
constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr quint16 kIconType = 1;
constexpr quint16 kCursorType = 2;

quint16 word(const QByteArray& b, int at) {
    return static_cast<quint16>(static_cast<quint8>(b[at]) | static_cast<quint8>(b[at + 1]) << 8);
}

quint32 dword(const QByteArray& b, int at) {
    return static_cast<quint32>(word(b, at)) | static_cast<quint32>(word(b, at + 2)) << 16;
}

[[noreturn]] void invalidPicture() {
    throw std::runtime_error("Invalid picture");
}
}  // namespace

PointerFile parsePointerFile(const QByteArray& bytes) {
    if (bytes.size() < kDirectorySize + kEntrySize) invalidPicture();
    const quint16 reserved = word(bytes, 0);
    const quint16 type = word(bytes, 2);
    const quint16 count = word(bytes, 4);
    if (reserved != 0 || (type != kIconType && type != kCursorType) || count == 0) invalidPicture();
    if (bytes.size() < kDirectorySize + kEntrySize * count) invalidPicture();

    const int entry = kDirectorySize;
    const quint32 imageSize = dword(bytes, entry + 8);
    const quint32 imageOffset = dword(bytes, entry + 12);
    if (imageSize == 0 || imageOffset > static_cast<quint32>(bytes.size()) ||
        imageSize > static_cast<quint32>(bytes.size()) - imageOffset) {
        invalidPicture();
    }

    PointerFile file;
    file.bytes = bytes;
    // A width or height byte of 0 stands for 256.
    file.width = static_cast<quint8>(bytes[entry]) ? static_cast<quint8>(bytes[entry]) : 256;
    file.height =
        static_cast<quint8>(bytes[entry + 1]) ? static_cast<quint8>(bytes[entry + 1]) : 256;
    if (type == kCursorType) {
        file.hotspotX = word(bytes, entry + 4);
        file.hotspotY = word(bytes, entry + 6);
    }
    return file;
}

PointerFile readPointerFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) throw std::runtime_error("File not found");
        throw std::runtime_error("Permission denied");
    }
    return parsePointerFile(file.readAll());
}

}  // namespace dorvane::screens
