#include "core/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "core/settings_file.h"

namespace dorvane::core {
namespace {
const QString kApplication = QStringLiteral("Quenlor");
const QString kSection = QStringLiteral("Dorvane");
const QString kNotSaved = QStringLiteral("Changes to the connection details are not saved.");

QString fileProblem(const QString& path, const QString& what, const QString& consequence) {
    return QStringLiteral("The settings file ") + path + u' ' + what + QStringLiteral(".\r\n") +
           consequence;
}

// Qt reads sections only when asked for them, and only then reports what it cannot parse.
// It parses a NUL byte into a value silently; no settings file holds one.
bool unparsable(QSettings& settings, const QByteArray& contents) {
    settings.allKeys();
    return settings.status() == QSettings::FormatError || contents.contains('\0');
}

// What Qt parsed, less values holding a NUL: those are the garbage, not the user's text.
QHash<QString, QString> valuesIn(const QSettings& settings) {
    QHash<QString, QString> values;
    for (const QString& key : settings.allKeys()) {
        const QString value = settings.value(key).toString();
        if (!value.contains(QChar(u'\0'))) values.insert(key, value);
    }
    return values;
}
}  // namespace

QString FileSettingsStore::defaultFilePath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(kApplication + QStringLiteral("/") + kApplication +
                               QStringLiteral(".ini"));
}

FileSettingsStore::FileSettingsStore() : FileSettingsStore(defaultFilePath()) {}

FileSettingsStore::FileSettingsStore(const QString& filePath)
    : path_(QFileInfo(filePath).absoluteFilePath()) {
    using settings_file::Kind;
    const settings_file::Entry entry = settings_file::entryAt(path_);
    switch (entry.kind) {
        case Kind::Folder:
            keepForTheRunOnly(QStringLiteral("is a folder, not a file"));
            return;
        case Kind::Other:
            keepForTheRunOnly(QStringLiteral("is not a regular file"));
            return;
        case Kind::Absent:
            createFile(entry.linkTarget);
            settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
            return;
        case Kind::File: {
            const settings_file::Contents contents = settings_file::readAll(path_);
            if (!contents.error.isEmpty()) {
                keepForTheRunOnly(QStringLiteral("cannot be read: ") + contents.error);
                return;
            }
            // Through a symbolic link the file is someone's arrangement: its mode stays theirs.
            if (entry.linkTarget.isEmpty()) ownedPath_ = path_;
            openFile(contents.bytes);
            return;
        }
    }
}

FileSettingsStore::~FileSettingsStore() = default;

QString FileSettingsStore::filePath() const {
    return path_;
}

// Created owner-only before anything is written, so no password is ever readable by others;
// Qt's later saves replace the file keeping its permissions.
void FileSettingsStore::createFile(const QString& linkTarget) {
    const QString created = linkTarget.isEmpty() ? path_ : linkTarget;
    QDir().mkpath(QFileInfo(created).absolutePath());
    const QString error = settings_file::createOwnerOnly(created);
    if (error.isEmpty()) {
        ownedPath_ = created;
    } else {
        noteWriteFailure(error);
    }
}

void FileSettingsStore::openFile(const QByteArray& contents) {
    settings_file::restrictToOwner(ownedPath_);
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    if (unparsable(*settings_, contents)) {
        keepUnparsableFileAside(valuesIn(*settings_));
        return;
    }
    const QString unwritable = settings_file::whyNotWritable(path_);
    if (!unwritable.isEmpty()) noteWriteFailure(unwritable);
}

// The first save would drop what Qt could not parse, so the file is renamed first; what Qt
// did parse moves into a new file.
void FileSettingsStore::keepUnparsableFileAside(QHash<QString, QString> values) {
    settings_.reset();
    const QString what = QStringLiteral("cannot be read as settings (format error)");
    const settings_file::SetAside aside = settings_file::setAside(path_);
    if (!aside.error.isEmpty()) {
        keepForTheRunOnly(what + QStringLiteral(" and cannot be set aside: ") + aside.error,
                          values);
        return;
    }
    noteProblem(fileProblem(path_, what,
                            QStringLiteral("It is kept as ") + aside.path +
                                QStringLiteral(", and a new settings file is started.")));
    ownedPath_.clear();
    createFile(QString());
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        settings_->setValue(value.key(), value.value());
    settings_->sync();
    settings_file::restrictToOwner(ownedPath_);
}

void FileSettingsStore::keepForTheRunOnly(const QString& what,
                                          const QHash<QString, QString>& values) {
    const QString prefix = kSection + u'/';
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        if (value.key().startsWith(prefix))
            runOnly_.insert(value.key().mid(prefix.size()), value.value());
    }
    writeFailureKnown_ = true;
    noteProblem(fileProblem(path_, what, kNotSaved));
}

void FileSettingsStore::noteWriteFailure(const QString& reason) {
    if (writeFailureKnown_) return;
    writeFailureKnown_ = true;
    noteProblem(fileProblem(path_, QStringLiteral("cannot be written: ") + reason, kNotSaved));
}

// Problems found before the user is told go into the same message.
void FileSettingsStore::noteProblem(const QString& text) {
    problem_ = told_ || problem_.isEmpty() ? text : problem_ + QStringLiteral("\r\n\r\n") + text;
    told_ = false;
}

QString FileSettingsStore::get(const QString& key, const QString& defaultValue) const {
    if (!settings_) return runOnly_.value(key, defaultValue);
    const QString path = kSection + u'/' + key;
    if (!settings_->contains(path)) return defaultValue;
    return settings_->value(path).toString();
}

void FileSettingsStore::save(const QString& key, const QString& value) {
    if (!settings_) {
        runOnly_.insert(key, value);
        return;
    }
    settings_->setValue(kSection + u'/' + key, value);
    settings_->sync();
    if (settings_->status() == QSettings::AccessError) {
        const QString reason = settings_file::whyNotWritable(path_);
        noteWriteFailure(reason.isEmpty() ? QStringLiteral("access error") : reason);
    }
    // Qt creates the file anew, with the default mode, when it was gone at the save.
    settings_file::restrictToOwner(ownedPath_);
}

}  // namespace dorvane::core
