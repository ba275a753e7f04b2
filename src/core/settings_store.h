#pragma once
// The per-user settings store: strings under application "Quenlor", section "Dorvane".

#include <QHash>
#include <QString>
#include <memory>

class QSettings;

namespace dorvane::core {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value; the default only when the key is absent (an empty value stays empty).
    virtual QString get(const QString& key, const QString& defaultValue) const = 0;
    virtual void save(const QString& key, const QString& value) = 0;
    // What went wrong with the store that the user has not been told of; empty when nothing.
    virtual QString untoldProblem() const { return {}; }
    virtual void problemTold() {}
};

// Kept in an INI file readable and writable by its owner only, since it holds passwords.
// A file that cannot serve is never overwritten: a folder, a file that cannot be read, or
// one Qt cannot parse that cannot be set aside first. What the user types then lives for
// the run only, and untoldProblem() says why, naming the file.
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

    QString untoldProblem() const override { return told_ ? QString() : problem_; }
    void problemTold() override { told_ = true; }

    static QString defaultFilePath();

  private:
    void createFile(const QString& linkTarget);
    void openFile(const QByteArray& contents);
    void keepUnparsableFileAside(QHash<QString, QString> values);
    void keepForTheRunOnly(const QString& what, const QHash<QString, QString>& values = {});
    void noteWriteFailure(const QString& reason);
    void noteProblem(const QString& text);

    QString path_;
    // The file whose mode is narrowed after each save: ours, or a link's target we created;
    // empty for anything else.
    QString ownedPath_;
    std::unique_ptr<QSettings> settings_;  // null while values live for the run only
    QHash<QString, QString> runOnly_;      // keys of the section, while settings_ is null
    QString problem_;
    bool told_ = false;
    bool writeFailureKnown_ = false;
};

}  // namespace dorvane::core
