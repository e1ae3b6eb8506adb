#include "FaultInjection.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vosmira::test {

FailingDevice::FailingDevice(QByteArray data, qint64 goodBytes, Fault fault)
    : m_data(std::move(data))
    , m_good(goodBytes)
    , m_fault(fault)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 FailingDevice::readData(char *data, qint64 maxSize)
{
    const qint64 available = std::min<qint64>(m_good, m_data.size()) - m_read;
    if (available <= 0) {
        if (m_fault == ReadError)
            setErrorString(QStringLiteral("injected read error"));
        return m_fault == ReadError ? -1 : 0;
    }
    const qint64 n = std::min(available, maxSize);
    std::memcpy(data, m_data.constData() + m_read, std::size_t(n));
    m_read += n;
    return n;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    // Past the limit the kernel also sends SIGXFSZ, which would end the test.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_previous);
    rlimit limit = m_previous;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

SmallFileSystem::SmallFileSystem(qint64 bytes, int inodes)
{
    if (::geteuid() != 0) {
        m_whyNot = "mounting a small file system needs root";
        return;
    }
    QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (inodes > 0)
        options += ",nr_inodes=" + QByteArray::number(inodes);
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        != 0) {
        m_whyNot = "cannot mount a small file system here: " + QByteArray(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

SmallFileSystem::~SmallFileSystem()
{
    // Detached, so a file a failed test left open cannot keep it mounted.
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool SmallFileSystem::fill(qint64 leave)
{
    struct statvfs vfs;
    if (!m_mounted || ::statvfs(QFile::encodeName(m_dir.path()).constData(), &vfs) != 0)
        return false;
    const qint64 free = qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
    const qint64 take = free - leave;
    if (take <= 0)
        return take == 0;
    QFile filler(m_dir.path() + QStringLiteral("/.filler"));
    return filler.open(QIODevice::WriteOnly | QIODevice::Append) && filler.write(QByteArray(take, '\0')) == take
           && filler.flush();
}

bool SmallFileSystem::useAllInodes()
{
    if (!m_mounted)
        return false;
    for (int i = 0;; ++i) {
        const QByteArray name = QFile::encodeName(m_dir.path()) + "/.inode" + QByteArray::number(i);
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno == ENOSPC;
        ::close(fd);
    }
}

} // namespace vosmira::test
