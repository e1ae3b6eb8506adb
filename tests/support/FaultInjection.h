#pragma once

#include <QByteArray>
#include <QIODevice>

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

} // namespace vosmira::test
