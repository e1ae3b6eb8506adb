#include "FileCopy.h"

#include "DurableFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace vosmira {

namespace {

CopyResult failed(const QString &error)
{
    return {CopyResult::Failed, error};
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

bool isSameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

CopyResult FileCopy(QIODevice &source, qint64 size, DurableFile &destination, const QString &sourceName)
{
    const std::unique_ptr<char[]> buffer(new char[kCopyBlockSize]);
    qint64 remaining = size;
    while (remaining > 0) {
        const qint64 got = source.read(buffer.get(), std::min(remaining, kCopyBlockSize));
        if (got < 0) {
            destination.cancel();
            return failed(u"Não foi possível ler o arquivo %1."_s.arg(shown(sourceName)));
        }
        if (got == 0) {
            destination.cancel();
            return failed(u"O arquivo %1 terminou antes do esperado (%2 de %3 bytes)."_s.arg(shown(sourceName))
                              .arg(size - remaining)
                              .arg(size));
        }
        if (!destination.write(buffer.get(), got))
            return failed(destination.errorString());
        remaining -= got;
    }
    if (!destination.commit())
        return failed(destination.errorString());
    return {CopyResult::Copied, QString()};
}

CopyResult FileCopy(const QString &source, const QString &destination, const CopyOptions &options)
{
    if (isSameFile(source, destination))
        return {CopyResult::SameFile, QString()};

    const int fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(u"Não foi possível abrir o arquivo %1: %2."_s.arg(shown(source), systemErrorText(errno)));
    QFile in;
    if (!in.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(u"Não foi possível abrir o arquivo %1."_s.arg(shown(source)));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return failed(u"Não foi possível abrir o arquivo %1: %2."_s.arg(shown(source), systemErrorText(errno)));
    if (!S_ISREG(st.st_mode))
        return failed(u"%1 não é um arquivo."_s.arg(shown(source)));

    DurableFile out(destination);
    out.setPermissions((unsigned(st.st_mode) | options.addedPermissions) & 07777u);
    out.setModificationTime(st.st_mtim);
    if (!out.open())
        return failed(out.errorString());
    return FileCopy(in, qint64(st.st_size), out, source);
}

} // namespace vosmira
