#include "UDMbanco.h"

#include "ClientSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

TDMbanco *DMbanco = nullptr;

namespace {

QString uniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return u"vosmira-dmbanco-"_s + QString::number(++counter);
}

} // namespace

TDMbanco::TDMbanco(const QString &programFolder, QObject *parent)
    : QObject(parent)
    , CDSCliente(new TClientDataSet(u"CDSCliente"_s, ClientSchema::clientsTable(), true, this))
    , CDS_PED_Cliente(new TClientDataSet(u"CDS_PED_Cliente"_s, ClientSchema::selectionTable(), false, this))
    , m_programFolder(QDir::fromNativeSeparators(programFolder))
    , m_connectionName(uniqueConnectionName())
{
    setObjectName(u"DMbanco"_s);
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
    CDSCliente->SetConnectionName(m_connectionName);
    CDS_PED_Cliente->SetConnectionName(m_connectionName);
#define VOSMIRA_BIND_FIELDS(name)                                                                                      \
    CDSCliente##name = CDSCliente->Fields(ClientRecord::col_##name);                                                   \
    CDS_PED_Cliente##name = CDS_PED_Cliente->Fields(ClientRecord::col_##name);
    VOSMIRA_CLIENT_COLUMNS(VOSMIRA_BIND_FIELDS)
#undef VOSMIRA_BIND_FIELDS
    try {
        m_server = DatabaseServer::fromSettings();
    } catch (const DatabaseError &e) {
        m_serverProblem = e.text();
    }
}

void TDMbanco::setServer(const std::optional<DatabaseServer> &server)
{
    closeAll();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
    m_server = server;
    m_serverProblem.clear();
}

QString TDMbanco::shownLocation() const
{
    if (!m_serverProblem.isEmpty())
        return DatabaseServer::settingsShown();
    if (m_server)
        return u"servidor "_s + m_server->shown();
    return QDir::toNativeSeparators(databasePath());
}

void TDMbanco::CatchUp()
{
    // A connection closed when it was found lost is opened again by the read.
    if (!m_server)
        return;
    if (!CDSCliente->Active() || CDSCliente->ChangeCount() != 0 || CDSCliente->State() != dsBrowse)
        return;
    // The list goes on showing what it read last; the user is told why it is not newer.
    try {
        if (!Connected())
            openConnection();
        QSqlDatabase db = database();
        // Reading 100,000 clients again takes a second; asking whether to takes milliseconds.
        QString version;
        try {
            version = ClientSchema::tableVersion(db, ClientSchema::clientsTable());
        } catch (const DatabaseError &e) {
            if (e.reason() == DatabaseError::Reason::Unreachable)
                db.close();
            throw;
        }
        if (version == m_clientsVersion)
            return;
        CDSCliente->Refresh();
        m_clientsVersion = version;
    } catch (const DatabaseError &e) {
        throw DatabaseError(u"A lista de clientes não foi lida de novo do servidor: %1."_s.arg(reasonText(e.reason())),
                            e.reason());
    }
}

TDMbanco::~TDMbanco()
{
    closeAll();
    // The connection may only be removed once no handle to it is left.
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString TDMbanco::databasePath() const
{
    return m_programFolder + u"Banco/Vosmira BANCO.mdb"_s;
}

QSqlDatabase TDMbanco::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TDMbanco::Connected() const
{
    return QSqlDatabase::contains(m_connectionName) && database().isOpen();
}

void TDMbanco::connectSequence()
{
    closeAll();
    openAll();
}

void TDMbanco::closeAll()
{
    CDSCliente->Close();
    CDS_PED_Cliente->Close();
    if (QSqlDatabase::contains(m_connectionName))
        database().close();
}

void TDMbanco::openAll()
{
    openConnection();
    if (m_server) {
        QSqlDatabase db = database();
        // A server database not yet prepared, or prepared for something else, is
        // named so that whoever set up the desks knows what to run.
        try {
            for (const QString &table : {ClientSchema::clientsTable(), ClientSchema::selectionTable()})
                ClientSchema::fieldSizes(db, table);
        } catch (const DatabaseError &e) {
            if (e.reason() != DatabaseError::Reason::NotADatabase)
                throw;
            throw DatabaseError(e.text() + u" Prepare o banco de dados do servidor com \"vosmira-db init\"."_s,
                                DatabaseError::Reason::Refused);
        }
        // Taken before the read: a change committed in between is read again later, never missed.
        m_clientsVersion = ClientSchema::tableVersion(db, ClientSchema::clientsTable());
    }
    CDSCliente->Open();
    CDS_PED_Cliente->Open();
}

void TDMbanco::openConnection()
{
    if (Connected())
        return;
    if (!m_serverProblem.isEmpty())
        throw DatabaseError(m_serverProblem, DatabaseError::Reason::Refused);
    if (m_server) {
        openServerConnection();
        return;
    }
    const QString path = databasePath();
    const QString shown = QDir::toNativeSeparators(path);
    // The program never creates the file: check it first, and open in a mode that
    // refuses to create it even if it disappears meanwhile.
    const QFileInfo info(path);
    using Reason = DatabaseError::Reason;
    if (!info.exists())
        throw DatabaseError(u"O arquivo %1 não existe."_s.arg(shown), Reason::Missing);
    if (!info.isFile())
        throw DatabaseError(u"%1 não é um arquivo."_s.arg(shown), Reason::NotADatabase);
    if (!info.isReadable())
        throw DatabaseError(u"O arquivo %1 não pode ser lido."_s.arg(shown), Reason::Unreadable);
    if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s))
        throw DatabaseError(u"O driver de banco de dados SQLite não está disponível."_s);

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? database()
                          : QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connectionName);
    db.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) + u"?mode=rw"_s);
    // A second program on the same file waits for a lock instead of failing at once.
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (!db.open()) {
        // The file was there a moment ago: whatever keeps it closed, it is not missing.
        const Reason reason = databaseReason(db.lastError());
        throw DatabaseError(u"%1: %2"_s.arg(shown, databaseMessage(db.lastError())),
                            reason == Reason::Missing ? Reason::Unreadable : reason);
    }
}

namespace {

// libpq reports a failed connection in words only; the server's refusals all
// come as FATAL, or from the password exchange.
DatabaseError serverConnectError(const QSqlError &error, const DatabaseServer &server)
{
    using Reason = DatabaseError::Reason;
    const QString text = error.databaseText() + u' ' + error.driverText();
    const bool refused = text.contains("FATAL"_L1) || text.contains("fe_sendauth"_L1)
                         || text.contains("password"_L1, Qt::CaseInsensitive) || text.contains("senha"_L1);
    if (!refused)
        return DatabaseError(u"O servidor %1 não respondeu."_s.arg(server.shown()), Reason::Unreachable);
    QString why;
    if (text.contains("database"_L1) && text.contains("does not exist"_L1))
        why = u"o banco de dados \"%1\" não existe no servidor."_s.arg(server.database);
    else if (text.contains("role"_L1) && text.contains("does not exist"_L1))
        why = u"o usuário \"%1\" não existe no servidor."_s.arg(server.user);
    else if (text.contains("password"_L1, Qt::CaseInsensitive) || text.contains("fe_sendauth"_L1)
             || text.contains("authentication"_L1))
        why = u"o usuário ou a senha não foram aceitos; confira o arquivo .pgpass deste computador."_s;
    else
        why = u"o servidor não aceitou este computador."_s;
    return DatabaseError(why, Reason::Refused);
}

} // namespace

void TDMbanco::openServerConnection()
{
    if (!QSqlDatabase::isDriverAvailable(u"QPSQL"_s))
        throw DatabaseError(u"O driver de banco de dados PostgreSQL não está disponível."_s,
                            DatabaseError::Reason::Refused);
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? database()
                          : QSqlDatabase::addDatabase(u"QPSQL"_s, m_connectionName);
    db.setHostName(m_server->host);
    db.setPort(m_server->port);
    db.setDatabaseName(m_server->database);
    db.setUserName(m_server->user);
    // The password comes from ~/.pgpass or the environment, as for every libpq
    // client; a dead network must not hang the start for minutes.
    db.setConnectOptions(u"connect_timeout=10;application_name=Vosmira"_s);
    if (!db.open())
        throw serverConnectError(db.lastError(), *m_server);
    QSqlQuery query(db);
    // Dates travel as yyyy-mm-dd whatever the server's own style.
    query.exec(u"SET DateStyle = 'ISO, YMD'"_s);
}
