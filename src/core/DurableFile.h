#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <ctime>
#include <optional>

namespace vosmira {

// Replaces a file's contents so that a failure at any step leaves the old file
// as it was: the bytes go to a temporary file in the target's folder, which is
// flushed to the disk and only then renamed over the target; the folder is
// synced last, so the rename itself survives a power cut. A symbolic link as
// target is kept and the file it points to replaced.
//
//     DurableFile file(path);
//     if (!file.open() || !file.write(bytes) || !file.commit())
//         report(file.errorString()); // the old file is untouched
//
// Once a step has failed, every later one fails at once with the first error.
// Destroying the object before commit() removes the temporary file.
class DurableFile
{
public:
    explicit DurableFile(const QString &target);
    ~DurableFile();
    DurableFile(const DurableFile &) = delete;
    DurableFile &operator=(const DurableFile &) = delete;

    // The file that commit() replaces, symbolic links resolved.
    QString target() const { return m_target; }

    bool open();
    bool write(const char *data, qint64 size);
    bool write(QByteArrayView data) { return write(data.data(), data.size()); }

    // What the new file gets before it takes the target's place. Without
    // permissions it keeps the old file's, or those of a newly created file.
    void setPermissions(unsigned mode) { m_mode = mode & 07777u; }
    void setModificationTime(const timespec &time) { m_mtime = time; }

    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    // In Portuguese, naming the file and the step that failed, and saying when
    // the file that was there is left as it was.
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &what, int error);
    bool fail(const QString &what, const QString &reason);
    void removeTemporary();

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    bool m_failed = false;
    bool m_committed = false;
    bool m_targetExisted = false;
    std::optional<unsigned> m_mode;
    std::optional<timespec> m_mtime;
    QString m_error;
};

// A DurableFile for writers that want a QIODevice (QPdfWriter, QTextStream):
// write-only and sequential, gathering small writes into blocks. Nothing
// reaches the target before commit(); close() without it drops the bytes.
class DurableFileDevice final : public QIODevice
{
    Q_OBJECT
public:
    explicit DurableFileDevice(const QString &target, QObject *parent = nullptr);
    ~DurableFileDevice() override;

    QString target() const { return m_file.target(); }

    // Write-only modes only.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    void close() override;
    // False with errorString() set when any write or the replacement failed.
    bool commit();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool drain();

    DurableFile m_file;
    QByteArray m_pending;
};

// The whole contents at once; false with the reason in *error on failure.
bool writeFileDurably(const QString &target, QByteArrayView contents, QString *error = nullptr);

// A system error number as the user reads it, in Portuguese.
QString systemErrorText(int error);

} // namespace vosmira
