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

DatabaseError::Reason sqlStateReason(const QString &sqlState)
{
    using Reason = DatabaseError::Reason;
    const QStringView cls = QStringView(sqlState).left(2);
    if (cls == u"08" || sqlState == "57P01"_L1 || sqlState == "57P02"_L1 || sqlState == "57P03"_L1)
        return Reason::Unreachable;
    if (cls == u"28" || sqlState == "3D000"_L1)
        return Reason::Refused;
    if (sqlState == "40001"_L1 || sqlState == "40P01"_L1 || sqlState == "55P03"_L1 || sqlState == "57014"_L1)
        return Reason::InUse;
    if (sqlState == "42501"_L1 || sqlState == "25006"_L1)
        return Reason::ReadOnly;
    if (sqlState == "53100"_L1)
        return Reason::DiskFull;
    if (cls == u"58")
        return Reason::DiskError;
    if (sqlState == "XX001"_L1 || sqlState == "XX002"_L1)
        return Reason::Damaged;
    if (sqlState == "42P01"_L1 || sqlState == "42703"_L1)
        return Reason::NotADatabase;
    return Reason::Other;
}

DatabaseError::Reason databaseReason(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    bool ok = false;
    const int number = code.toInt(&ok);
    if (ok)
        return sqliteReason(number);
    // SQLSTATE: five digits and capitals; a number only when it is all digits.
    if (code.size() == 5)
        return sqlStateReason(code);
    return DatabaseError::Reason::Other;
}

DatabaseError::Reason serverReason(const QSqlError &error)
{
    if (error.nativeErrorCode().isEmpty())
        return DatabaseError::Reason::Unreachable;
    return databaseReason(error);
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
    case Reason::Unreachable:
        return u"não foi possível falar com o servidor de banco de dados; verifique a rede e tente de novo"_s;
    case Reason::Refused: return u"o servidor de banco de dados recusou a conexão"_s;
    case Reason::Other: break;
    }
    return u"o banco de dados recusou a alteração"_s;
}

QString refusedSaveMessage(const DatabaseError &error)
{
    // Saving again cannot help: the typing was made over values that are gone.
    if (error.reason() == DatabaseError::Reason::RowChanged)
        return u"O registro foi alterado ou excluído por outro usuário. O que você digitou continua na tela, mas não "
               "foi salvo: anote o que quiser manter, clique em Voltar e abra o cliente de novo para vê-lo como está "
               "agora."_s;
    return u"O cliente não foi salvo: %1."_s.arg(reasonText(error.reason()));
}

QString refusedDeleteMessage(const DatabaseError &error)
{
    if (error.reason() == DatabaseError::Reason::RowChanged)
        return u"O registro foi alterado ou excluído por outro usuário. O cliente não foi excluído."_s;
    return u"O cliente não foi excluído: %1."_s.arg(reasonText(error.reason()));
}

QString connectFailureMessage(const DatabaseError &error, const QString &shownPath)
{
    using Reason = DatabaseError::Reason;
    if (error.reason() == Reason::Missing) {
        return u"O seguinte arquivo não foi encontrado: ("_s + shownPath
               + u") a reinstalação do programa pode resolver o problema."_s;
    }
    if (error.reason() == Reason::Unreachable) {
        return u"Não foi possível conectar ao servidor de banco de dados: ("_s + shownPath
               + u") verifique se o servidor está ligado e se este computador o alcança pela rede."_s;
    }
    if (error.reason() == Reason::Refused)
        return u"Não foi possível conectar ao servidor de banco de dados (%1): %2"_s.arg(shownPath, error.text());
    const QString why = error.reason() == Reason::Other ? u"o arquivo não pôde ser aberto como banco de dados"_s
                                                        : reasonText(error.reason());
    return u"Não foi possível abrir o banco de dados (%1): %2."_s.arg(shownPath, why);
}
