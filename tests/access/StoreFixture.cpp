#include "StoreFixture.h"

#include <QDir>
#include <QFileInfo>

namespace vosmira::test {

void TempStore::write(const QByteArray &contents) const
{
    QDir().mkpath(QFileInfo(path()).path());
    QFile file(path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}

QByteArray TempStore::bytes() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TempStore::ownerOnly() const
{
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther;
    return QFile::exists(path()) && !(QFile::permissions(path()) & others);
}

WriteLimit::WriteLimit(rlim_t limit)
{
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = m_saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
}

WriteLimit::~WriteLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
}

ReadOnlyStore::ReadOnlyStore(const TempStore &store)
    : m_path(store.path())
    , m_saved(QFile::permissions(m_path))
{
    QFile::setPermissions(m_path, QFile::ReadOwner);
}

ReadOnlyStore::~ReadOnlyStore()
{
    QFile::setPermissions(m_path, m_saved);
}

} // namespace vosmira::test
