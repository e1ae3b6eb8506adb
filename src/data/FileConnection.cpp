#include "FileConnection.h"

#include <QUrl>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

FileConnection::FileConnection(const QString &path, bool readOnly)
{
    static std::atomic<int> counter{0};
    m_name = u"vosmira-file-"_s + QString::number(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
                       + (readOnly ? u"?mode=ro"_s : u"?mode=rwc"_s));
    db.setConnectOptions(readOnly ? u"QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"_s
                                  : u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"_s);
    m_opened = db.open();
    if (!m_opened)
        m_error = db.lastError();
}

FileConnection::~FileConnection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}
