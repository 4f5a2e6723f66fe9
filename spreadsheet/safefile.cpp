#include "safefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace {

QString describe(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

SafeFile::SafeFile(const QString& path) : path_(path) {}

SafeFile::~SafeFile() {
    cancel();
}

bool SafeFile::failWith(int errorNumber) {
    if (!failed_)
        error_ = describe(errorNumber);
    failed_ = true;
    return false;
}

#ifdef Q_OS_UNIX

bool SafeFile::open() {
    cancel();
    failed_ = false;
    replaceFailed_ = false;
    error_.clear();
    // A link stays a link: the file it points to is the one replaced.
    if (const QFileInfo link(path_); link.isSymLink() && !link.symLinkTarget().isEmpty())
        path_ = link.symLinkTarget();
    const QFileInfo target(path_);
    if (target.isDir())
        return failWith(EISDIR);
    // Same directory as the target, so that the final rename cannot cross file systems.
    QByteArray pattern = QFile::encodeName(target.absoluteFilePath()) + ".XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        return failWith(errno);
    temporary_ = QFile::decodeName(pattern);
    // mkostemp makes the file 0600; a saved file gets the old file's mode or the usual one.
    struct stat old;
    mode_t mode = 0;
    if (::stat(QFile::encodeName(path_).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    return true;
}

bool SafeFile::write(const char* data, qint64 size) {
    if (failed_)
        return false;
    if (fd_ < 0)
        return failWith(EBADF);
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failWith(errno);
        }
        data += n;
        size -= n;
    }
    return true;
}

bool SafeFile::commit() {
    if (fd_ < 0 && !failed_)
        return failWith(EBADF);
    if (!failed_) {
        // Some file systems report a full disk only here; those that cannot sync say EINVAL.
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP)
            failWith(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        failWith(errno);
    if (!failed_ && ::rename(QFile::encodeName(temporary_).constData(),
                             QFile::encodeName(path_).constData()) != 0) {
        replaceFailed_ = true;
        failWith(errno);
    }
    if (failed_) {
        ::unlink(QFile::encodeName(temporary_).constData());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    return true;
}

void SafeFile::cancel() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
        temporary_.clear();
    }
}

#else

bool SafeFile::open() {
    cancel();
    failed_ = false;
    replaceFailed_ = false;
    error_.clear();
    fallback_ = new QSaveFile(path_);
    // Unbuffered: every write reaches the file at once and reports its own failure.
    if (!fallback_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error_ = fallback_->errorString();
        failed_ = true;
        return false;
    }
    return true;
}

bool SafeFile::write(const char* data, qint64 size) {
    if (failed_ || !fallback_)
        return false;
    if (fallback_->write(data, size) != size) {
        error_ = fallback_->errorString();
        failed_ = true;
        return false;
    }
    return true;
}

bool SafeFile::commit() {
    if (!fallback_)
        return false;
    if (failed_ || !fallback_->commit()) {
        if (!failed_)
            error_ = fallback_->errorString();
        failed_ = true;
        cancel();
        return false;
    }
    delete fallback_;
    fallback_ = nullptr;
    return true;
}

void SafeFile::cancel() {
    if (fallback_) {
        fallback_->cancelWriting();
        delete fallback_;
        fallback_ = nullptr;
    }
}

#endif

bool saveFile(const QString& path, const QByteArray& bytes, QString* error) {
    SafeFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
