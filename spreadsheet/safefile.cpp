#include "safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace safefile {

QString text(const char* source) {
    return QCoreApplication::translate("SafeFile", source);
}

} // namespace safefile

namespace {

using safefile::text;

QString describe(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

struct Fault {
    std::atomic<int> step{int(SafeFile::Step::None)};
    std::atomic<int> error{0};
    std::atomic<qint64> afterBytes{0};
} fault;

bool faultAt(SafeFile::Step step) {
    return fault.step.load() == int(step);
}

struct ProtectedFile {
    QString path; // absolute, its folder's links resolved
    SafeFile::Role role;
    bool hasIdentity = false;
    quint64 device = 0, inode = 0;
};

std::mutex protectedMutex;
std::vector<ProtectedFile> protectedFiles;

// Absolute, with the folder's links resolved, so that two spellings of one file compare equal.
QString normalPath(const QString& path) {
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

QString roleText(SafeFile::Role role) {
    return role == SafeFile::Role::HistoryDatabase
               ? text(QT_TRANSLATE_NOOP("SafeFile", "the history database"))
               : text(QT_TRANSLATE_NOOP("SafeFile", "an input of this command"));
}

#ifdef Q_OS_UNIX

bool identity(const QString& path, quint64& device, quint64& inode) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    device = quint64(st.st_dev);
    inode = quint64(st.st_ino);
    return true;
}

// Why a file of this kind is neither written nor read; empty for a regular file.
QString kindProblem(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return text(QT_TRANSLATE_NOOP("SafeFile", "is a directory"));
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return text(QT_TRANSLATE_NOOP("SafeFile", "is a device, not a regular file"));
    if (S_ISFIFO(mode))
        return text(QT_TRANSLATE_NOOP("SafeFile", "is a FIFO, not a regular file"));
    if (S_ISSOCK(mode))
        return text(QT_TRANSLATE_NOOP("SafeFile", "is a socket, not a regular file"));
    return text(QT_TRANSLATE_NOOP("SafeFile", "is not a regular file"));
}

// Root's links and the user's own are followed; one another user could have put in the way (in
// /tmp, say) could lead a save or a read anywhere the user may go, so it is refused.
bool trustedOwner(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

struct Resolved {
    QString path;
    bool exists = false;
    struct stat st = {};
};

// Follows the links at the end of path under the rule above. The folders on the way are the
// kernel's to guard (protected_symlinks).
bool resolve(const QString& path, Resolved& out, QString& error) {
    QString current = path;
    for (int hops = 0;; ++hops) {
        const QByteArray native = QFile::encodeName(current);
        struct stat st;
        if (::lstat(native.constData(), &st) != 0) {
            if (errno != ENOENT) {
                error = describe(errno);
                return false;
            }
            out = {current, false, {}};
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            out = {current, true, st};
            return true;
        }
        if (hops >= 8) {
            error = describe(ELOOP);
            return false;
        }
        const QString folder = QFileInfo(current).absolutePath();
        struct stat folderSt;
        if (::stat(QFile::encodeName(folder).constData(), &folderSt) != 0) {
            error = describe(errno);
            return false;
        }
        if (!trustedOwner(st.st_uid) || !trustedOwner(folderSt.st_uid)) {
            error = text(QT_TRANSLATE_NOOP(
                "SafeFile", "is a link another user could have planted; it is not followed"));
            return false;
        }
        QByteArray target(4096, '\0');
        const ssize_t n = ::readlink(native.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) {
            error = describe(n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = QFileInfo(next).isAbsolute() ? next : QDir(folder).filePath(next);
    }
}

#endif

// The role of a protected file the resolved target is, if any.
bool isProtected(const QString& target, SafeFile::Role& role) {
    const std::lock_guard<std::mutex> lock(protectedMutex);
    if (protectedFiles.empty())
        return false;
    const QString normal = normalPath(target);
    quint64 device = 0, inode = 0;
#ifdef Q_OS_UNIX
    const bool known = identity(target, device, inode);
#else
    const bool known = false;
#endif
    for (const ProtectedFile& p : protectedFiles) {
        const bool same =
            (known && p.hasIdentity && p.device == device && p.inode == inode) || normal == p.path;
        const bool journal =
            p.role == SafeFile::Role::HistoryDatabase &&
            (normal == p.path + QLatin1String("-wal") || normal == p.path + QLatin1String("-shm") ||
             normal == p.path + QLatin1String("-journal"));
        if (same || journal) {
            role = p.role;
            return true;
        }
    }
    return false;
}

QString protectedProblem(SafeFile::Role role) {
    return text(QT_TRANSLATE_NOOP("SafeFile", "is %1, which this program has open; it is not "
                                              "overwritten"))
        .arg(roleText(role));
}

// The checks a target must pass, with the file actually replaced in *target.
bool checkedTarget(const QString& path, QString* target, QString& error) {
    if (path.isEmpty()) {
        error = describe(ENOENT);
        return false;
    }
#ifdef Q_OS_UNIX
    Resolved resolved;
    if (!resolve(path, resolved, error))
        return false;
    if (resolved.exists) {
        if (const QString why = kindProblem(resolved.st.st_mode); !why.isEmpty()) {
            error = why;
            return false;
        }
    }
    const QString file = resolved.path;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = info.isDir() ? text(QT_TRANSLATE_NOOP("SafeFile", "is a directory"))
                             : text(QT_TRANSLATE_NOOP("SafeFile", "is not a regular file"));
        return false;
    }
    const QString file = path;
#endif
    SafeFile::Role role;
    if (isProtected(file, role)) {
        error = protectedProblem(role);
        return false;
    }
    if (target)
        *target = file;
    return true;
}

} // namespace

void SafeFile::protect(const QString& path, Role role) {
    if (path.isEmpty())
        return;
    ProtectedFile entry{normalPath(path), role, false, 0, 0};
#ifdef Q_OS_UNIX
    entry.hasIdentity = identity(path, entry.device, entry.inode);
#endif
    const std::lock_guard<std::mutex> lock(protectedMutex);
    // A database opened again and again is one entry; it may be a new file by the same name.
    for (ProtectedFile& p : protectedFiles) {
        if (p.path == entry.path && p.role == role) {
            p = entry;
            return;
        }
    }
    protectedFiles.push_back(entry);
}

void SafeFile::unprotect(const QString& path) {
    const QString normal = normalPath(path);
    const std::lock_guard<std::mutex> lock(protectedMutex);
    protectedFiles.erase(
        std::remove_if(protectedFiles.begin(), protectedFiles.end(),
                       [&normal](const ProtectedFile& p) { return p.path == normal; }),
        protectedFiles.end());
}

void SafeFile::clearProtected() {
    const std::lock_guard<std::mutex> lock(protectedMutex);
    protectedFiles.clear();
}

void SafeFile::injectFault(Step step, int errorNumber, qint64 afterBytes) {
    fault.error = errorNumber;
    fault.afterBytes = afterBytes;
    fault.step = int(step);
}

bool SafeFile::checkTarget(const QString& path, QString* error) {
    QString why;
    if (checkedTarget(path, nullptr, why))
        return true;
    if (error)
        *error = why;
    return false;
}

SafeFile::SafeFile(const QString& path) : path_(path) {}

SafeFile::~SafeFile() {
    cancel();
}

bool SafeFile::failWith(Failure failure, const QString& reason) {
    if (failure_ == Failure::None) {
        error_ = reason;
        failure_ = failure;
    }
    return false;
}

bool SafeFile::failWithErrno(Failure failure, int errorNumber) {
    return failWith(failure, describe(errorNumber));
}

#ifdef Q_OS_UNIX

bool SafeFile::open() {
    cancel();
    failure_ = Failure::None;
    error_.clear();
    written_ = 0;
    QString why;
    if (!checkedTarget(path_, &target_, why))
        return failWith(Failure::Refused, why);
    // Same folder as the target, so that the final rename cannot cross file systems; mkostemp
    // creates the file anew (O_EXCL), so nothing planted under its name is written through.
    const QFileInfo target(target_);
    QByteArray pattern = QFile::encodeName(target.absoluteFilePath()) + ".XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        return failWithErrno(Failure::Write, errno);
    temporary_ = QFile::decodeName(pattern);
    // mkostemp makes the file 0600; a saved file gets the old file's mode or the usual one.
    struct stat old;
    mode_t mode = 0;
    if (::stat(QFile::encodeName(target_).constData(), &old) == 0) {
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
    if (failure_ != Failure::None)
        return false;
    if (fd_ < 0)
        return failWithErrno(Failure::Write, EBADF);
    if (faultAt(Step::Write) && written_ + size > fault.afterBytes) {
        const qint64 room = std::max<qint64>(0, fault.afterBytes - written_);
        if (room > 0 && !write(data, room))
            return false;
        return failWithErrno(Failure::Write, fault.error);
    }
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failWithErrno(Failure::Write, errno);
        }
        data += n;
        size -= n;
        written_ += n;
    }
    return true;
}

bool SafeFile::commit() {
    if (fd_ < 0 && failure_ == Failure::None)
        return failWithErrno(Failure::Write, EBADF);
    if (failure_ == Failure::None) {
        // Some file systems report a full disk only here; those that cannot sync say EINVAL.
        if (faultAt(Step::Sync))
            failWithErrno(Failure::Write, fault.error);
        else if (::fsync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP)
            failWithErrno(Failure::Write, errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0) {
        // After close the descriptor is gone whatever it says, EINTR included: never retried.
        const int closed = ::close(fd);
        if (faultAt(Step::Close))
            failWithErrno(Failure::Write, fault.error);
        else if (closed != 0 && errno != EINTR)
            failWithErrno(Failure::Write, errno);
    }
    // The target is checked again: it may have become a device or a directory while the file
    // was made.
    QString why;
    if (failure_ == Failure::None && !checkedTarget(target_, nullptr, why))
        failWith(Failure::Refused, why);
    // rename() never follows a link at its destination: a link planted there meanwhile is
    // replaced, not written through.
    if (failure_ == Failure::None && ::rename(QFile::encodeName(temporary_).constData(),
                                              QFile::encodeName(target_).constData()) != 0)
        failWithErrno(Failure::Replace, errno);
    if (failure_ != Failure::None) {
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

bool readInputFile(const QString& path, qint64 budget, QByteArray& bytes, QString* error,
                   InputFailure* failure) {
    auto failed = [error, failure](InputFailure kind, const QString& why) {
        if (error)
            *error = why;
        if (failure)
            *failure = kind;
        return false;
    };
    if (failure)
        *failure = InputFailure::None;
    Resolved resolved;
    QString why;
    if (!resolve(path, resolved, why))
        return failed(InputFailure::Refused, why);
    if (!resolved.exists)
        return failed(InputFailure::NotFound, describe(ENOENT));
    if (const QString kind = kindProblem(resolved.st.st_mode); !kind.isEmpty())
        return failed(InputFailure::Refused, kind);
    // Non-blocking and not following a link: were the file swapped for a FIFO or a link since
    // it was looked at, the open neither waits nor goes elsewhere; fstat then judges what
    // was opened.
    const int fd = ::open(QFile::encodeName(resolved.path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0)
        return failed(errno == ENOENT ? InputFailure::NotFound : InputFailure::Read,
                      describe(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return failed(InputFailure::Read, describe(errno));
    if (const QString kind = kindProblem(st.st_mode); !kind.isEmpty())
        return failed(InputFailure::Refused, kind);
    const auto tooLarge = [&](qint64 size) {
        return failed(InputFailure::TooLarge,
                      text(QT_TRANSLATE_NOOP("SafeFile", "is too large (%1 bytes; at most %2)"))
                          .arg(size)
                          .arg(budget));
    };
    if (qint64(st.st_size) > budget)
        return tooLarge(qint64(st.st_size));
    QByteArray out;
    // One byte more than the file held when looked at tells a file that grew since.
    out.resize(qsizetype(st.st_size) + 1);
    qint64 have = 0;
    for (;;) {
        if (have == out.size()) {
            if (have > budget)
                return tooLarge(have);
            out.resize(qsizetype(std::min<qint64>(budget + 1, have * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, out.data() + have, size_t(out.size() - have));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(InputFailure::Read, describe(errno));
        }
        if (n == 0)
            break;
        have += n;
    }
    if (have > budget)
        return tooLarge(have);
    out.truncate(qsizetype(have));
    bytes = std::move(out);
    return true;
}

#else

bool SafeFile::open() {
    cancel();
    failure_ = Failure::None;
    error_.clear();
    written_ = 0;
    QString why;
    if (!checkedTarget(path_, &target_, why))
        return failWith(Failure::Refused, why);
    fallback_ = new QSaveFile(target_);
    // Unbuffered: every write reaches the file at once and reports its own failure.
    if (!fallback_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWith(Failure::Write, fallback_->errorString());
    return true;
}

bool SafeFile::write(const char* data, qint64 size) {
    if (failure_ != Failure::None || !fallback_)
        return false;
    if (fallback_->write(data, size) != size)
        return failWith(Failure::Write, fallback_->errorString());
    written_ += size;
    return true;
}

bool SafeFile::commit() {
    if (!fallback_)
        return failWithErrno(Failure::Write, EBADF);
    if (failure_ != Failure::None || !static_cast<QSaveFile*>(fallback_)->commit()) {
        failWith(Failure::Replace, fallback_->errorString());
        cancel();
        return false;
    }
    delete fallback_;
    fallback_ = nullptr;
    return true;
}

void SafeFile::cancel() {
    if (fallback_) {
        static_cast<QSaveFile*>(fallback_)->cancelWriting();
        delete fallback_;
        fallback_ = nullptr;
    }
}

bool readInputFile(const QString& path, qint64 budget, QByteArray& bytes, QString* error,
                   InputFailure* failure) {
    const QFileInfo info(path);
    QString why;
    InputFailure kind = InputFailure::None;
    const QString tooLarge =
        text(QT_TRANSLATE_NOOP("SafeFile", "is too large (%1 bytes; at most %2)"));
    if (!info.exists()) {
        why = describe(ENOENT);
        kind = InputFailure::NotFound;
    } else if (!info.isFile()) {
        why = info.isDir() ? text(QT_TRANSLATE_NOOP("SafeFile", "is a directory"))
                           : text(QT_TRANSLATE_NOOP("SafeFile", "is not a regular file"));
        kind = InputFailure::Refused;
    } else if (info.size() > budget) {
        why = tooLarge.arg(info.size()).arg(budget);
        kind = InputFailure::TooLarge;
    }
    QFile file(path);
    if (why.isEmpty() && !file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        kind = InputFailure::Read;
    }
    if (why.isEmpty()) {
        QByteArray out = file.read(budget + 1);
        if (file.error() != QFileDevice::NoError) {
            why = file.errorString();
            kind = InputFailure::Read;
        } else if (out.size() > budget) {
            why = tooLarge.arg(out.size()).arg(budget);
            kind = InputFailure::TooLarge;
        } else {
            bytes = std::move(out);
        }
    }
    if (failure)
        *failure = kind;
    if (why.isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
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
