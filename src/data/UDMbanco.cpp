#include "UDMbanco.h"

#include "ClientSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
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
    CDSCliente->Open();
    CDS_PED_Cliente->Open();
}

void TDMbanco::openConnection()
{
    if (Connected())
        return;
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
