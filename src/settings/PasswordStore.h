#pragma once

#include "IniFile.h"

#include <QString>

namespace vosmira {

// The password store: one ini file, section VOSMIRA, keys NOME and SENHA.
// NOME "default" (exactly) means no password is set; any other text means one
// is, and SENHA holds it as typed. Every read gives an empty text for a missing
// file, section or key; a refused write throws IniWriteError.
class PasswordStore
{
public:
    static QString fileName() { return QStringLiteral("VosmiraKEY.ini"); }
    static QString section() { return QStringLiteral("VOSMIRA"); }
    static QString nameKey() { return QStringLiteral("NOME"); }
    static QString passwordKey() { return QStringLiteral("SENHA"); }
    // The NOME of an unprotected program.
    static QString noPassword() { return QStringLiteral("default"); }
    // The NOME written when a password is created.
    static QString protectedName() { return QStringLiteral("ADMIN"); }

    PasswordStore();

    QString name() const;
    void setName(const QString &name);
    QString password() const;
    void setPassword(const QString &password);

    // NOME set and different from "default".
    bool isProtected() const;
    // The typed text against SENHA as stored now: exact, case-sensitive, untrimmed.
    bool matches(const QString &typed) const;

    // Each writes its keys in this order and stops at a refused write, so a
    // refused second write leaves the first one done.
    // NOME = "ADMIN", then SENHA = the password.
    void create(const QString &password);
    // NOME = "default"; SENHA keeps the old password.
    void remove();
    // NOME = "default", then SENHA = "" (the key stays, empty).
    void switchOff();

    QString path() const { return m_ini.fileName(); }

private:
    IniFile m_ini;
};

} // namespace vosmira
