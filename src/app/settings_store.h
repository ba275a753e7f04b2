#pragma once
// The per-user settings store: strings under application "Quenlor", section "Dorvane".

#include <QString>
#include <memory>

class QSettings;

namespace dorvane {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value; the default only when the key is absent (an empty value stays empty).
    virtual QString get(const QString& key, const QString& defaultValue) const = 0;
    virtual void save(const QString& key, const QString& value) = 0;
};

// Kept in an INI file readable and writable by its owner only, since it holds passwords.
class FileSettingsStore : public SettingsStore {
public:
    // The user's own store (Qt's per-user configuration folder).
    FileSettingsStore();
    // A store kept in the given file (tests, demos).
    explicit FileSettingsStore(const QString& filePath);
    ~FileSettingsStore() override;

    QString get(const QString& key, const QString& defaultValue) const override;
    void save(const QString& key, const QString& value) override;
    QString filePath() const;

    static QString defaultFilePath();

private:
    void restrictToOwner() const;

    std::unique_ptr<QSettings> settings_;
};

}  // namespace dorvane
