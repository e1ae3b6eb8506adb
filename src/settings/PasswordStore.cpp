#include "PasswordStore.h"

namespace vosmira {

PasswordStore::PasswordStore()
    : m_ini(fileName())
{
}

QString PasswordStore::name() const
{
    return m_ini.ReadString(section(), nameKey(), QString());
}

void PasswordStore::setName(const QString &name)
{
    m_ini.WriteString(section(), nameKey(), name);
}

QString PasswordStore::password() const
{
    return m_ini.ReadString(section(), passwordKey(), QString());
}

void PasswordStore::setPassword(const QString &password)
{
    m_ini.WriteString(section(), passwordKey(), password);
}

bool PasswordStore::isProtected() const
{
    const QString stored = name();
    return !stored.isEmpty() && stored != noPassword();
}

bool PasswordStore::matches(const QString &typed) const
{
    return typed == password();
}

void PasswordStore::create(const QString &password)
{
    setName(protectedName());
    setPassword(password);
}

void PasswordStore::remove()
{
    setName(noPassword());
}

void PasswordStore::switchOff()
{
    setName(noPassword());
    setPassword(QString());
}

} // namespace vosmira
