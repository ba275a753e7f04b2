#include "app/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace dorvane {
namespace {
const QString kApplication = QStringLiteral("Quenlor");
const QString kSection = QStringLiteral("Dorvane");
constexpr auto kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
}  // namespace

QString FileSettingsStore::defaultFilePath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(kApplication + QStringLiteral("/") + kApplication + QStringLiteral(".ini"));
}

FileSettingsStore::FileSettingsStore() : FileSettingsStore(defaultFilePath()) {}

FileSettingsStore::FileSettingsStore(const QString& filePath) {
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    // Create the file owner-only before anything is written, so no password is ever
    // readable by others; later saves replace it keeping these permissions.
    if (!QFileInfo::exists(filePath)) {
        QFile file(filePath);
        if (file.open(QIODevice::WriteOnly)) file.close();
    }
    QFile::setPermissions(filePath, kOwnerOnly);
    settings_ = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

FileSettingsStore::~FileSettingsStore() = default;

QString FileSettingsStore::filePath() const { return settings_->fileName(); }

QString FileSettingsStore::get(const QString& key, const QString& defaultValue) const {
    const QString path = kSection + u'/' + key;
    if (!settings_->contains(path)) return defaultValue;
    return settings_->value(path).toString();
}

void FileSettingsStore::save(const QString& key, const QString& value) {
    settings_->setValue(kSection + u'/' + key, value);
    settings_->sync();
    restrictToOwner();
}

void FileSettingsStore::restrictToOwner() const {
    QFile::setPermissions(settings_->fileName(), kOwnerOnly);
}

}  // namespace dorvane
