#pragma once
// What the file system says about the settings file. Symbolic links are not followed where
// that matters: the passwords' file gets owner-only permissions, nothing else does.

#include <QByteArray>
#include <QString>

namespace dorvane::core::settings_file {

enum class Kind { Absent, File, Folder, Other };

struct Entry {
    Kind kind = Kind::Absent;  // what the path leads to, through a symbolic link
    QString linkTarget;        // absolute; empty when the path is not a symbolic link
};
Entry entryAt(const QString& path);

// Creates an empty file readable and writable by its owner only. Fails when anything is
// already there, a symbolic link included. Returns the reason, or the empty text.
QString createOwnerOnly(const QString& path);

// Removes the group's and others' permissions from a regular file the effective user owns;
// leaves folders, symbolic links and other users' files alone.
void restrictToOwner(const QString& path);

// Why a new version could not replace the file, or the empty text. Qt saves into a new
// file renamed over the old one, so the folder must take new files too.
QString whyNotWritable(const QString& path);

struct Contents {
    QByteArray bytes;
    QString error;  // empty when read
};
Contents readAll(const QString& path);

struct SetAside {
    QString path;   // the file's new name
    QString error;  // empty when renamed
};
// Renames the file to "<path>.unreadable", or with the time added when that is taken.
SetAside setAside(const QString& path);

}  // namespace dorvane::core::settings_file
