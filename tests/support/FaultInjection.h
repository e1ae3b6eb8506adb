#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace vosmira::test {

// A source that delivers its bytes up to a point and then fails its reads, or
// ends early (returns nothing) as a file cut short meanwhile would.
class FailingDevice final : public QIODevice
{
public:
    enum Fault { ReadError, EndsEarly };
    FailingDevice(QByteArray data, qint64 goodBytes, Fault fault);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_good;
    Fault m_fault;
    qint64 m_read = 0;
};

// Limits the size of any file this process writes, for the life of the object: a
// write past the limit fails (EFBIG) as a full disk would, midway through a copy.
// Works for every user, root included, unlike a read-only folder.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

// A real file system of a few kilobytes (tmpfs), mounted for the life of the
// object, to fill up as an office's disk fills up. Needs root; where mounting
// is impossible, isMounted() is false and whyNot() says why, for QSKIP.
class SmallFileSystem
{
public:
    // inodes: how many files and folders it can hold, 0 for the default.
    explicit SmallFileSystem(qint64 bytes, int inodes = 0);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    const char *whyNot() const { return m_whyNot.constData(); }
    QString path() const { return m_dir.path(); }
    // Takes all free space but `leave` bytes with a file of its own.
    bool fill(qint64 leave);
    // Takes every free inode with empty files.
    bool useAllInodes();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QByteArray m_whyNot;
};

} // namespace vosmira::test
