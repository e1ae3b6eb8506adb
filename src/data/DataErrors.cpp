#include "DataErrors.h"

#include <QSqlError>

#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

DataError::DataError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString DataError::text() const
{
    return QString::fromUtf8(what());
}

DatabaseError::DatabaseError(const QString &message, Reason reason)
    : DataError(message)
    , m_reason(reason)
{
}

QString databaseMessage(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

DatabaseError::Reason sqliteReason(int resultCode)
{
    using Reason = DatabaseError::Reason;
    // Extended codes carry the primary code in their low byte.
    switch (resultCode & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Reason::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Reason::InUse;
    case SQLITE_FULL: return Reason::DiskFull;
    case SQLITE_IOERR: return Reason::DiskError;
    case SQLITE_CORRUPT: return Reason::Damaged;
    case SQLITE_NOTADB: return Reason::NotADatabase;
    case SQLITE_CANTOPEN: return Reason::Missing;
    default: return Reason::Other;
    }
}

DatabaseError::Reason databaseReason(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? sqliteReason(code) : DatabaseError::Reason::Other;
}

QString reasonText(DatabaseError::Reason reason)
{
    using Reason = DatabaseError::Reason;
    switch (reason) {
    case Reason::ReadOnly: return u"o arquivo do banco de dados pode ser lido, mas não alterado"_s;
    case Reason::InUse: return u"o banco de dados está em uso por outro programa; tente de novo em instantes"_s;
    case Reason::DiskFull: return u"o disco está cheio"_s;
    case Reason::DiskError: return u"houve um erro de leitura ou gravação no disco"_s;
    case Reason::Damaged: return u"o arquivo do banco de dados está danificado"_s;
    case Reason::NotADatabase: return u"o arquivo não é um banco de dados do Vosmira"_s;
    case Reason::Missing: return u"o arquivo do banco de dados não foi encontrado"_s;
    case Reason::Unreadable: return u"não há permissão para ler o arquivo do banco de dados"_s;
    case Reason::RowChanged: return u"o registro foi alterado ou excluído por outro usuário"_s;
    case Reason::Other: break;
    }
    return u"o banco de dados recusou a alteração"_s;
}

QString refusedSaveMessage(const DatabaseError &error)
{
    return u"O cliente não foi salvo: %1."_s.arg(reasonText(error.reason()));
}

QString refusedDeleteMessage(const DatabaseError &error)
{
    return u"O cliente não foi excluído: %1."_s.arg(reasonText(error.reason()));
}

QString connectFailureMessage(const DatabaseError &error, const QString &shownPath)
{
    using Reason = DatabaseError::Reason;
    if (error.reason() == Reason::Missing) {
        return u"O seguinte arquivo não foi encontrado: ("_s + shownPath
               + u") a reinstalação do programa pode resolver o problema."_s;
    }
    const QString why = error.reason() == Reason::Other ? u"o arquivo não pôde ser aberto como banco de dados"_s
                                                        : reasonText(error.reason());
    return u"Não foi possível abrir o banco de dados (%1): %2."_s.arg(shownPath, why);
}
