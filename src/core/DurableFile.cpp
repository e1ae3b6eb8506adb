#include "DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace vosmira {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The file a symbolic link leads to; the path itself for anything else.
QString resolved(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat st;
    if (::lstat(QFile::encodeName(absolute).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return absolute;
    char buffer[PATH_MAX];
    if (!::realpath(QFile::encodeName(absolute).constData(), buffer))
        return absolute; // a dangling link is replaced by the new file
    return QFile::decodeName(buffer);
}

unsigned newFileMode()
{
    // The program is single-threaded, so reading the mask by setting it is safe.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~unsigned(mask);
}

} // namespace

QString systemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return u"não há espaço suficiente no disco"_s;
    case EACCES:
    case EPERM: return u"permissão negada"_s;
    case EROFS: return u"o disco está protegido contra gravação"_s;
    case EFBIG: return u"o arquivo excede o tamanho máximo permitido"_s;
    case EIO: return u"erro de leitura ou gravação no disco"_s;
    case ENOENT: return u"o arquivo ou a pasta não existe"_s;
    case ENOTDIR: return u"uma parte do caminho não é uma pasta"_s;
    case EISDIR: return u"o caminho é uma pasta"_s;
    case ENAMETOOLONG: return u"o nome do arquivo é longo demais"_s;
    case EBUSY:
    case ETXTBSY: return u"o arquivo está em uso"_s;
    default: return u"erro do sistema %1 (%2)"_s.arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

DurableFile::DurableFile(const QString &target)
    : m_target(resolved(target))
{
}

DurableFile::~DurableFile()
{
    if (!m_committed)
        cancel();
}

bool DurableFile::fail(const QString &what, int error)
{
    return fail(what, systemErrorText(error));
}

bool DurableFile::fail(const QString &what, const QString &reason)
{
    if (!m_failed) {
        m_failed = true;
        m_error = what + u": "_s + reason + u'.';
        if (!m_committed && m_targetExisted)
            m_error += u" O arquivo existente não foi alterado."_s;
    }
    removeTemporary();
    return false;
}

void DurableFile::removeTemporary()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
}

void DurableFile::cancel()
{
    removeTemporary();
}

bool DurableFile::open()
{
    if (m_failed)
        return false;
    const QFileInfo info(m_target);
    const QString folder = info.absolutePath();
    struct stat st;
    m_targetExisted = ::stat(QFile::encodeName(m_target).constData(), &st) == 0;
    // A pipe or a device in the file's place would be replaced by the rename.
    if (m_targetExisted && !S_ISREG(st.st_mode)) {
        m_targetExisted = false;
        return fail(u"Não foi possível gravar em %1"_s.arg(shown(m_target)),
                    S_ISDIR(st.st_mode) ? systemErrorText(EISDIR) : u"não é um arquivo comum"_s);
    }
    // Hidden, beside the target, so the rename never crosses file systems.
    QByteArray name = QFile::encodeName(folder) + "/." + QFile::encodeName(info.fileName()).left(200) + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(u"Não foi possível gravar em %1"_s.arg(shown(m_target)), errno);
    m_fd = fd;
    m_temporary = QFile::decodeName(name);
    if (!m_mode)
        m_mode = m_targetExisted ? unsigned(st.st_mode) & 07777u : newFileMode();
    return true;
}

bool DurableFile::write(const char *data, qint64 size)
{
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail(u"Não foi possível gravar em %1"_s.arg(shown(m_target)), EBADF);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(u"Não foi possível gravar em %1"_s.arg(shown(m_target)), written < 0 ? errno : EIO);
        data += written;
        size -= written;
    }
    return true;
}

bool DurableFile::commit()
{
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail(u"Não foi possível gravar em %1"_s.arg(shown(m_target)), EBADF);
    if (::fchmod(m_fd, mode_t(*m_mode)) != 0)
        return fail(u"Não foi possível ajustar as permissões de %1"_s.arg(shown(m_target)), errno);
    if (m_mtime) {
        const timespec times[2] = {{0, UTIME_OMIT}, *m_mtime};
        if (::futimens(m_fd, times) != 0)
            return fail(u"Não foi possível ajustar a data de %1"_s.arg(shown(m_target)), errno);
    }
    if (::fsync(m_fd) != 0)
        return fail(u"Não foi possível gravar %1 no disco"_s.arg(shown(m_target)), errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(u"Não foi possível gravar %1 no disco"_s.arg(shown(m_target)), errno);
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        return fail(u"Não foi possível substituir %1"_s.arg(shown(m_target)), errno);
    m_temporary.clear();
    m_committed = true;

    // Without this the rename may be lost in a power cut, leaving the old file.
    const QString folder = QFileInfo(m_target).absolutePath();
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QString unsynced = u"%1 foi gravado, mas não foi possível gravar a pasta %2 no disco"_s;
    if (dir < 0)
        return fail(unsynced.arg(shown(m_target), shown(folder)), errno);
    const bool synced = ::fsync(dir) == 0 || errno == EINVAL; // some file systems cannot sync a folder
    const int syncError = errno;
    ::close(dir);
    if (!synced)
        return fail(unsynced.arg(shown(m_target), shown(folder)), syncError);
    return true;
}

namespace {
constexpr qsizetype kBlock = 64 * 1024;
} // namespace

DurableFileDevice::DurableFileDevice(const QString &target, QObject *parent)
    : QIODevice(parent)
    , m_file(target)
{
}

DurableFileDevice::~DurableFileDevice() = default;

bool DurableFileDevice::open(OpenMode mode)
{
    if ((mode & ReadOnly) || !(mode & WriteOnly)) {
        setErrorString(u"Não foi possível gravar em %1: modo de abertura inválido."_s.arg(shown(target())));
        return false;
    }
    if (!m_file.open()) {
        setErrorString(m_file.errorString());
        return false;
    }
    m_pending.reserve(kBlock);
    return QIODevice::open(mode | Unbuffered);
}

void DurableFileDevice::close()
{
    m_file.cancel();
    m_pending.clear();
    QIODevice::close();
}

bool DurableFileDevice::drain()
{
    const bool written = m_file.write(m_pending);
    m_pending.clear();
    if (!written)
        setErrorString(m_file.errorString());
    return written;
}

qint64 DurableFileDevice::writeData(const char *data, qint64 size)
{
    if (m_pending.size() + size > kBlock && !m_pending.isEmpty() && !drain())
        return -1;
    if (size >= kBlock) {
        if (!m_file.write(data, size)) {
            setErrorString(m_file.errorString());
            return -1;
        }
        return size;
    }
    m_pending.append(data, size);
    return size;
}

bool DurableFileDevice::commit()
{
    if (!isOpen()) {
        setErrorString(u"Não foi possível gravar em %1: o arquivo não foi aberto."_s.arg(shown(target())));
        return false;
    }
    const bool committed = drain() && m_file.commit();
    if (!committed)
        setErrorString(m_file.errorString());
    QIODevice::close();
    return committed;
}

bool writeFileDurably(const QString &target, QByteArrayView contents, QString *error)
{
    DurableFile file(target);
    const bool written = file.open() && file.write(contents) && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace vosmira
