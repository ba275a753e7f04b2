#include "core/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace dorvane::core::settings_file {
namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

Kind kindOf(mode_t mode) {
    if (S_ISREG(mode)) return Kind::File;
    if (S_ISDIR(mode)) return Kind::Folder;
    return Kind::Other;
}

bool nothingAt(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) != 0 && errno == ENOENT;
}

}  // namespace

Entry entryAt(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0) return {};
    Entry entry;
    if (S_ISLNK(status.st_mode)) {
        entry.linkTarget = QFileInfo(path).symLinkTarget();
        if (::stat(name.constData(), &status) != 0) return entry;
    }
    entry.kind = kindOf(status.st_mode);
    return entry;
}

QString createOwnerOnly(const QString& path) {
    const Descriptor file(::open(QFile::encodeName(path).constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                 S_IRUSR | S_IWUSR));
    return file.valid() ? QString() : errorText(errno);
}

void restrictToOwner(const QString& path) {
    if (path.isEmpty()) return;
    const Descriptor file(::open(QFile::encodeName(path).constData(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0) return;
    if (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) return;
    const mode_t others = S_IRWXG | S_IRWXO;
    if (status.st_mode & others) ::fchmod(file.get(), status.st_mode & 07777 & ~others);
}

QString whyNotWritable(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (!nothingAt(name)) {
        const Descriptor file(
            ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!file.valid()) return errorText(errno);
    }
    // A symbolic link is saved through: the new file goes beside its target.
    const QFileInfo written(
        QFileInfo(path).canonicalFilePath().isEmpty() ? path : QFileInfo(path).canonicalFilePath());
    const QByteArray folder = QFile::encodeName(written.absolutePath());
    if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return errorText(errno);
    return {};
}

Contents readAll(const QString& path) {
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) return {{}, errorText(errno)};
    Contents contents;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) return contents;
        if (got < 0) {
            if (errno == EINTR) continue;
            return {{}, errorText(errno)};
        }
        contents.bytes.append(buffer, got);
    }
}

SetAside setAside(const QString& path) {
    const QString plain = path + QStringLiteral(".unreadable");
    const QString stamped =
        plain + u'-' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = plain;
    for (int n = 1; !nothingAt(QFile::encodeName(candidate)); ++n) {
        if (n == 100) return {{}, QStringLiteral("no free name beside it")};
        candidate = n == 1 ? stamped : stamped + u'-' + QString::number(n);
    }
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(candidate).constData()) !=
        0)
        return {{}, errorText(errno)};
    return {candidate, {}};
}

}  // namespace dorvane::core::settings_file
