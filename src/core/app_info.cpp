#include "core/app_info.h"

#include <QDir>
#include <QFileInfo>

namespace dorvane::core {

QString shortenedAppTitle(const QString& displayName) {
    QString title = displayName;
    while (title.size() > 40) {
        const auto blank = title.lastIndexOf(u' ');
        if (blank < 0) break;  // nothing left to cut at: keep it rather than loop forever
        title.truncate(blank);
    }
    return title;
}

bool fileFound(const QString& path) noexcept {
    try {
        if (path.isEmpty()) return false;
        const QFileInfo info(path);
        return info.exists() && info.lastModified().isValid();
    } catch (...) {
        return false;
    }
}

QString programFile(const QString& programFolder, const QString& relativePath) {
    return QDir(programFolder).filePath(relativePath);
}

}  // namespace dorvane::core
