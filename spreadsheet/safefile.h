#pragma once
// The one way the program writes a file the user keeps (workbooks, CSV files, report PDFs, made
// libraries, spectral exports) and the one way it reads a file it was given.
//
// Writing: the bytes go to a new file beside the target, every write, the sync and the close are
// checked, and only then does the new file take the old one's place. The target must be a
// regular file or absent; a link is followed only when it and its folder belong to the user (or
// to root); the program's own open files (the history database, an input of the running command)
// are never targets. On any failure the old file stays byte for byte, the new one is removed and
// errorString() says why in the system's words ("No space left on device", "is a device").
//
// Reading: readInputFile() takes regular files only, under the same link rule, and checks the
// size against the caller's budget before reading a byte, so a device, a FIFO or a huge file
// costs neither memory nor a wait.

#include <QByteArray>
#include <QString>

class SafeFile {
  public:
    // Why a save failed.
    enum class Failure {
        None,
        Refused, // the target is not a file we may replace (device, FIFO, directory, planted
                 // link, one of the program's own open files)
        Write,   // creating, writing, syncing or closing the new file failed
        Replace, // the complete new file could not take the old one's place
    };

    explicit SafeFile(const QString& path);
    ~SafeFile(); // a file neither committed nor cancelled is discarded
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Checks the target and creates the new file beside it. False when the target is refused or
    // the folder cannot take the file.
    bool open();
    // False on the first write that fails; later writes and commit then fail too.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Syncs, closes and puts the new file in place. False (and the old file untouched) when any
    // step fails.
    bool commit();
    // Drops the new file; the old one stays.
    void cancel();

    QString errorString() const { return error_; }
    Failure failure() const { return failure_; }
    // The new file was complete but could not take the old one's place.
    bool replaceFailed() const { return failure_ == Failure::Replace; }
    QString fileName() const { return path_; }

    // Whether path may be written: what open() checks before creating anything, so that a
    // command can refuse a bad --out before it does its work. False with the reason in *error.
    static bool checkTarget(const QString& path, QString* error = nullptr);

    // Marks a file the program has open so that no save replaces it; a database's journal files
    // beside it are covered too.
    enum class Role { HistoryDatabase, Input };
    static void protect(const QString& path, Role role);
    // Ends the protection of path (an input whose command is done).
    static void unprotect(const QString& path);
    // Forgets every protected file (for tests).
    static void clearProtected();

    // Test seam: makes the given step fail with errorNumber once the new file holds afterBytes
    // bytes (Write), or at that step (Sync, Close). Step::None switches it off.
    enum class Step { None, Write, Sync, Close };
    static void injectFault(Step step, int errorNumber, qint64 afterBytes = 0);

  private:
    bool failWith(Failure failure, const QString& reason);
    bool failWithErrno(Failure failure, int errorNumber);

    QString path_;   // as given
    QString target_; // the file replaced: path_, or where the user's own link leads
    QString temporary_;
    QString error_;
    Failure failure_ = Failure::None;
    qint64 written_ = 0;
    int fd_ = -1;
#ifndef Q_OS_UNIX
    class QFileDevice* fallback_ = nullptr; // the platform's own atomic save file

#endif
};

// Writes bytes as the whole file at path through SafeFile; false with the reason in *error.
bool saveFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

enum class InputFailure {
    None,
    NotFound,
    Refused,  // a directory, a device, a FIFO, a link another user could have planted
    TooLarge, // more than the budget
    Read,     // the system refused or failed to read it
};

// Reads the whole of a regular file of at most budget bytes into bytes; false with the reason
// (naming no path: callers add it) in *error. Devices, FIFOs, directories and links planted by
// another user are refused without waiting or reading; a larger file is refused before reading.
bool readInputFile(const QString& path, qint64 budget, QByteArray& bytes, QString* error = nullptr,
                   InputFailure* failure = nullptr);

// The words of the refusals and failures, translated.
namespace safefile {
QString text(const char* source);
} // namespace safefile
