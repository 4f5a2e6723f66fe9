#pragma once
// The one way the program writes a file the user keeps (workbooks, report PDFs): the bytes go to
// a new file beside the target, every write and the final flush and close are checked, and only
// then does the new file take the old one's place. On any failure the old file stays byte for
// byte and errorString() says why in the system's words ("No space left on device").

#include <QByteArray>
#include <QString>

class SafeFile {
  public:
    explicit SafeFile(const QString& path);
    ~SafeFile(); // a file neither committed nor cancelled is discarded
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the new file beside the target. False when the directory cannot take it.
    bool open();
    // False on the first write that fails; later writes and commit then fail too.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Flushes, closes and puts the new file in place. False (and the old file untouched) when
    // any step fails.
    bool commit();
    // Drops the new file; the old one stays.
    void cancel();

    QString errorString() const { return error_; }
    // The new file was complete but could not take the old one's place.
    bool replaceFailed() const { return replaceFailed_; }
    QString fileName() const { return path_; }

  private:
    bool failWith(int errorNumber);

    QString path_;
    QString temporary_;
    QString error_;
    int fd_ = -1;
    bool failed_ = false;
    bool replaceFailed_ = false;
#ifndef Q_OS_UNIX
    class QSaveFile* fallback_ = nullptr;
#endif
};

// Writes bytes as the whole file at path through SafeFile; false with the reason in *error.
bool saveFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
